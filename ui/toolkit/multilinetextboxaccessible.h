#pragma once

#include "multilinecontrol.h"

#include <QAccessibleWidget>

#include <utility>

namespace Toolkit {

class MultiLineTextBox;

// What a screen reader or a magnifier sees of the HTML box: editable
// multi-line text with its caret, selection, lines and the screen place of
// every character, as the platform's own text box offers. Offsets are UTF-16
// units, as the box's positions.
class MultiLineTextBoxAccessible : public QAccessibleWidget,
                                   public QAccessibleTextInterface,
                                   public QAccessibleEditableTextInterface
{
public:
    explicit MultiLineTextBoxAccessible(MultiLineTextBox *box);

    // What the box tells assistive technology, while one listens: its whole
    // text replaced (old is what it held), an edit, the cursor or selection
    // moved (reported is the selection last told, kept up to date).
    static void textReplaced(MultiLineTextBox *box, const QString &old);
    static void edited(MultiLineTextBox *box, const MultiLineControl::Change &change);
    static void cursorMoved(MultiLineTextBox *box, std::pair<qsizetype, qsizetype> &reported);

    void *interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString &text) override;

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int *startOffset,
                             int *endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int *startOffset,
                            int *endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int *startOffset,
                         int *endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

private:
    MultiLineTextBox *box() const;
    // The shown line holding offset, as [start, end) with its line break.
    QString lineAt(int offset, int *startOffset, int *endOffset) const;
};

} // namespace Toolkit
