#include "label.h"

#include "accessiblefactory.h"
#include "fonts.h"

#include <QAccessible>
#include <QPainter>

namespace Toolkit {

Label::Label(QWidget *parent)
    : QWidget(parent)
{
    installAccessibleFactory();
    setFont(msSansSerif(8));
    setFocusPolicy(Qt::NoFocus);
}

void Label::setCaption(const QString &caption)
{
    m_caption = caption;
    update();
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void Label::setBackColor(ColorSetting color)
{
    // The change shows at once, as a swatch must follow its bars.
    m_backColor = color;
    repaint();
    // A swatch is described by its colour.
    if (m_caption.isEmpty()) {
        QAccessibleEvent event(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void Label::setForeColor(ColorSetting color)
{
    m_foreColor = color;
    update();
}

void Label::setBorderStyle(BorderStyle style)
{
    m_borderStyle = style;
    update();
}

QList<Label *> Label::labelsOf(const QWidget *control)
{
    QList<Label *> labels;
    if (control && control->parentWidget())
        for (Label *label : control->parentWidget()->findChildren<Label *>(Qt::FindDirectChildrenOnly))
            if (label->buddy() == control)
                labels.append(label);
    return labels;
}

void Label::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), resolveColor(m_backColor));
    QRect inner = rect();
    if (m_borderStyle == FixedSingle) {
        painter.setPen(resolveColor(systemColor(6)));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        inner.adjust(1, 1, -1, -1);
    }
    if (!m_caption.isEmpty()) {
        painter.setPen(resolveColor(m_foreColor));
        painter.setFont(font());
        painter.drawText(inner, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, m_caption);
    }
}

} // namespace Toolkit
