#pragma once

#include <QAccessibleWidget>

namespace Toolkit {

class PictureBox;

// A picture box as a screen reader sees it: an image, named as the control
// is, described by the text printed on it (the faded text of the preview),
// and labelled by the labels that have it as their buddy.
class PictureBoxAccessible : public QAccessibleWidget, public QAccessibleImageInterface
{
public:
    explicit PictureBoxAccessible(PictureBox *box);

    QString text(QAccessible::Text t) const override;
    QList<QPair<QAccessibleInterface *, QAccessible::Relation>>
    relations(QAccessible::Relation match = QAccessible::AllRelations) const override;
    void *interface_cast(QAccessible::InterfaceType t) override;

    QString imageDescription() const override;
    QSize imageSize() const override;
    QPoint imagePosition() const override;

private:
    PictureBox *box() const;
};

} // namespace Toolkit
