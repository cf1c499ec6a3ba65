#include "labelaccessible.h"

#include "label.h"

namespace Toolkit {

namespace {

bool isSwatch(const Label *label) { return label->caption().isEmpty(); }

// An untouched swatch holds a system colour reference, which fades as a
// colour of its own rather than as the one it shows: it is not set.
QString describeColor(ColorSetting setting)
{
    if (isSystemColorReference(setting))
        return QStringLiteral("not set");
    const QColor colour = resolveColor(setting);
    return QStringLiteral("red %1, green %2, blue %3").arg(colour.red()).arg(colour.green()).arg(colour.blue());
}

} // namespace

LabelAccessible::LabelAccessible(Label *label) : QAccessibleWidget(label, QAccessible::StaticText) {}

Label *LabelAccessible::label() const { return static_cast<Label *>(widget()); }

QAccessible::Role LabelAccessible::role() const
{
    return isSwatch(label()) ? QAccessible::Graphic : QAccessible::StaticText;
}

QString LabelAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name:
        return label()->accessibleName().isEmpty() ? label()->caption() : label()->accessibleName();
    case QAccessible::Description:
        if (isSwatch(label()) && label()->accessibleDescription().isEmpty())
            return describeColor(label()->backColor());
        break;
    default:
        break;
    }
    return QAccessibleWidget::text(t);
}

QList<QPair<QAccessibleInterface *, QAccessible::Relation>> LabelAccessible::relations(QAccessible::Relation match) const
{
    auto related = QAccessibleWidget::relations(match);
    if ((match & QAccessible::Labelled) && label()->buddy())
        if (QAccessibleInterface *buddy = QAccessible::queryAccessibleInterface(label()->buddy()))
            related.append({buddy, QAccessible::Labelled});
    return related;
}

} // namespace Toolkit
