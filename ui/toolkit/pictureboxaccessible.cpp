#include "pictureboxaccessible.h"

#include "label.h"
#include "picturebox.h"

namespace Toolkit {

PictureBoxAccessible::PictureBoxAccessible(PictureBox *box) : QAccessibleWidget(box, QAccessible::Graphic) {}

PictureBox *PictureBoxAccessible::box() const { return static_cast<PictureBox *>(widget()); }

QString PictureBoxAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Description && box()->accessibleDescription().isEmpty())
        return box()->printedText();
    return QAccessibleWidget::text(t);
}

QList<QPair<QAccessibleInterface *, QAccessible::Relation>>
PictureBoxAccessible::relations(QAccessible::Relation match) const
{
    auto related = QAccessibleWidget::relations(match);
    if (match & QAccessible::Label)
        for (Label *label : Label::labelsOf(box()))
            if (QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(label))
                related.append({iface, QAccessible::Label});
    return related;
}

void *PictureBoxAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::ImageInterface)
        return static_cast<QAccessibleImageInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

QString PictureBoxAccessible::imageDescription() const { return text(QAccessible::Description); }

QSize PictureBoxAccessible::imageSize() const { return box()->size(); }

QPoint PictureBoxAccessible::imagePosition() const { return box()->mapToGlobal(QPoint(0, 0)); }

} // namespace Toolkit
