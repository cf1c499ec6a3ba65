#pragma once

#include "colorsetting.h"

#include <QPushButton>

class QPainter;

namespace Toolkit {

// A graphical command button: the face is filled with the button's own back
// colour and the caption drawn on it in "MS Sans Serif" 12 pt, whose weight
// is the one thing that changes at run time.
class CommandButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CommandButton(const QString &caption, QWidget *parent = nullptr);

    void setBackColor(ColorSetting color);
    ColorSetting backColor() const { return m_backColor; }

    void setFontBold(bool bold);
    bool fontBold() const { return font().bold(); }

    // A caption too wide for the face breaks between words onto more lines.
    void setWordWrap(bool on);
    bool wordWrap() const { return m_wordWrap; }

signals:
    // The pointer moved over the button (buttons held or not).
    void mouseMoved();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    static void drawFocusFrame(QPainter &painter, const QRect &box);

    ColorSetting m_backColor = systemColor(15);
    bool m_wordWrap = false;
};

} // namespace Toolkit
