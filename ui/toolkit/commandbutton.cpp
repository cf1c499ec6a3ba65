#include "commandbutton.h"

#include "accessiblefactory.h"
#include "captioncolor.h"
#include "focusframe.h"
#include "fonts.h"

#include <QMouseEvent>
#include <QPainter>

namespace Toolkit {

CommandButton::CommandButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{
    installAccessibleFactory();
    setFont(msSansSerif(12));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void CommandButton::setBackColor(ColorSetting color)
{
    m_backColor = color;
    update();
}

void CommandButton::setFontBold(bool bold)
{
    if (font().bold() == bold)
        return;
    QFont f = font();
    f.setWeight(bold ? QFont::Bold : QFont::Normal);
    setFont(f);
    update();
}

void CommandButton::setWordWrap(bool on)
{
    m_wordWrap = on;
    update();
}

void CommandButton::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMoved();
    QPushButton::mouseMoveEvent(event);
    // The move belongs to the button; it must not reach the window's background.
    event->accept();
}

void CommandButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect r = rect();
    const bool sunken = isDown();
    const QColor face = resolveColor(m_backColor);
    painter.fillRect(r, face);

    // A raised (or, while pressed, sunken) two-pixel bevel.
    const QColor light = resolveColor(systemColor(20)), shadow = resolveColor(systemColor(16));
    const QColor dark = resolveColor(systemColor(21));
    auto bevel = [&painter](QRect box, const QColor &topLeft, const QColor &bottomRight) {
        painter.setPen(topLeft);
        painter.drawLine(box.topLeft(), box.topRight());
        painter.drawLine(box.topLeft(), box.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(box.bottomLeft(), box.bottomRight());
        painter.drawLine(box.topRight(), box.bottomRight());
    };
    if (sunken) {
        bevel(r, dark, dark);
        bevel(r.adjusted(1, 1, -1, -1), shadow, shadow);
    } else {
        bevel(r, light, dark);
        bevel(r.adjusted(1, 1, -1, -1), resolveColor(systemColor(22)), shadow);
    }

    painter.setFont(font());
    painter.setPen(readableCaptionColor(resolveColor(systemColor(18)), face));
    const QRect textRect = r.adjusted(3, 3, -3, -3).translated(sunken ? 1 : 0, sunken ? 1 : 0);
    painter.drawText(textRect, Qt::AlignCenter | (m_wordWrap ? Qt::TextWordWrap : Qt::TextSingleLine), text());

    // The style's focus frame would tint the face.
    if (hasFocus())
        drawFocusFrame(painter, r.adjusted(4, 4, -4, -4));
}

} // namespace Toolkit
