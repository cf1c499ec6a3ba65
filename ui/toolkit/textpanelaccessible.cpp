#include "textpanelaccessible.h"

#include "commandbutton.h"

namespace Toolkit {

TextPanelAccessible::TextPanelAccessible(CommandButton *panel) : QAccessibleWidget(panel, QAccessible::StaticText) {}

QString TextPanelAccessible::text(QAccessible::Text t) const
{
    const auto *panel = static_cast<const CommandButton *>(widget());
    if (t == QAccessible::Name && panel->accessibleName().isEmpty())
        return panel->text();
    return QAccessibleWidget::text(t);
}

} // namespace Toolkit
