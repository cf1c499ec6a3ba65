#pragma once

#include <QAccessibleWidget>

namespace Toolkit {

class Label;

// A label as a screen reader sees it: static text named by its caption and
// marked as the label of its buddy, or, without a caption, a swatch: an image
// whose description is the colour it shows.
class LabelAccessible : public QAccessibleWidget
{
public:
    explicit LabelAccessible(Label *label);

    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    QList<QPair<QAccessibleInterface *, QAccessible::Relation>>
    relations(QAccessible::Relation match = QAccessible::AllRelations) const override;

private:
    Label *label() const;
};

} // namespace Toolkit
