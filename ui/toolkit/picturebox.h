#pragma once

#include "imagesurface.h"

#include <QWidget>

namespace Toolkit {

// The forms toolkit's picture box: it shows an image surface of its own,
// which callers draw on, so the drawing survives being covered. With
// AutoRedraw off the drawing still lands in that image, as a Qt widget cannot
// paint on the screen outside its paint event. When it has the keyboard focus
// a dotted rectangle runs round its edge, unless the box is told not to show it.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);

    // What the box shows; a change shows at the next paint. A box that is not
    // shown yet learns its size late, so the surface is brought to the box's
    // size here first.
    ImageSurface &surface();
    // The text printed on the box since it was last cleared.
    const QString &printedText() const { return m_surface.printedText(); }

    void setShowsFocus(bool on);
    bool showsFocus() const { return m_showsFocus; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void surfaceChanged();

    ImageSurface m_surface;
    QString m_announcedText;
    bool m_textNewsPending = false;
    bool m_showsFocus = true;
};

} // namespace Toolkit
