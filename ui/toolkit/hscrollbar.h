#pragma once

#include <QScrollBar>

namespace Toolkit {

// A horizontal scroll bar from 0 to 255, small and large change 1. change()
// follows every change of the value made by an arrow, the trough, a key or
// setValue(), and the release of a dragged thumb; while the thumb is being
// dragged the value stays put and nothing is signalled.
class HScrollBar : public QScrollBar
{
    Q_OBJECT

public:
    explicit HScrollBar(QWidget *parent = nullptr);

signals:
    void change();

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace Toolkit
