#pragma once

#include <QBasicTimer>
#include <QScrollBar>

namespace Toolkit {

// A horizontal scroll bar from 0 to 255, small and large change 1. change()
// follows every change of the value made by an arrow, the trough, a key or
// setValue(), and the release of a dragged thumb; while the thumb is being
// dragged the value stays put and nothing is signalled. With the keyboard
// focus its thumb blinks at the caret's rate, as the platform's bars do.
class HScrollBar : public QScrollBar
{
    Q_OBJECT

public:
    explicit HScrollBar(QWidget *parent = nullptr);

signals:
    void change();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    QRect thumbRect() const;

    QBasicTimer m_blink;
    bool m_thumbLit = false;
};

} // namespace Toolkit
