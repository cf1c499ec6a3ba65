#pragma once

#include <QAccessibleWidget>

namespace Toolkit {

class CommandButton;

// A command button used as a text panel, as a screen reader sees it: static
// text, its caption for its name, nothing to press.
class TextPanelAccessible : public QAccessibleWidget
{
public:
    explicit TextPanelAccessible(CommandButton *panel);

    QString text(QAccessible::Text t) const override;
};

} // namespace Toolkit
