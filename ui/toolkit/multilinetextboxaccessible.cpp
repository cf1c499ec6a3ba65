#include "multilinetextboxaccessible.h"

#include "multilinetextbox.h"

#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace Toolkit {

MultiLineTextBoxAccessible::MultiLineTextBoxAccessible(MultiLineTextBox *box)
    : QAccessibleWidget(box, QAccessible::EditableText)
{
}

void MultiLineTextBoxAccessible::textReplaced(MultiLineTextBox *box, const QString &old)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleTextUpdateEvent event(box, 0, old, box->text());
    QAccessible::updateAccessibility(&event);
}

void MultiLineTextBoxAccessible::edited(MultiLineTextBox *box, const MultiLineControl::Change &change)
{
    if (!QAccessible::isActive())
        return;
    const QString inserted = box->text().mid(change.position, change.inserted);
    if (change.removed.isEmpty()) {
        QAccessibleTextInsertEvent event(box, int(change.position), inserted);
        QAccessible::updateAccessibility(&event);
    } else if (inserted.isEmpty()) {
        QAccessibleTextRemoveEvent event(box, int(change.position), change.removed);
        QAccessible::updateAccessibility(&event);
    } else {
        QAccessibleTextUpdateEvent event(box, int(change.position), change.removed, inserted);
        QAccessible::updateAccessibility(&event);
    }
}

void MultiLineTextBoxAccessible::cursorMoved(MultiLineTextBox *box, std::pair<qsizetype, qsizetype> &reported)
{
    if (!QAccessible::isActive())
        return;
    const MultiLineControl &c = box->control();
    const std::pair selection{c.selectionStart(), c.selectionEnd()};
    // A selection made, changed or gone; a bare caret moving is only a caret.
    if (selection != reported && (c.hasSelection() || reported.first != reported.second)) {
        QAccessibleTextSelectionEvent event(box, int(selection.first), int(selection.second));
        event.setCursorPosition(int(c.cursor()));
        QAccessible::updateAccessibility(&event);
    }
    reported = selection;
    QAccessibleTextCursorEvent event(box, int(c.cursor()));
    QAccessible::updateAccessibility(&event);
}

MultiLineTextBox *MultiLineTextBoxAccessible::box() const
{
    return static_cast<MultiLineTextBox *>(widget());
}

void *MultiLineTextBoxAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State MultiLineTextBoxAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.editable = s.multiLine = s.selectableText = true;
    return s;
}

QString MultiLineTextBoxAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return box()->text();
    return QAccessibleWidget::text(t);
}

void MultiLineTextBoxAccessible::setText(QAccessible::Text t, const QString &text)
{
    if (t != QAccessible::Value)
        return QAccessibleWidget::setText(t, text);
    box()->selectAll();
    box()->insertText(text);
}

void MultiLineTextBoxAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex == 0 && box()->control().hasSelection()) {
        *startOffset = int(box()->control().selectionStart());
        *endOffset = int(box()->control().selectionEnd());
    }
}

int MultiLineTextBoxAccessible::selectionCount() const
{
    return box()->control().hasSelection() ? 1 : 0;
}

void MultiLineTextBoxAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void MultiLineTextBoxAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        box()->setCursorPosition(box()->cursorPosition());
}

void MultiLineTextBoxAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        box()->setSelection(startOffset, endOffset);
}

int MultiLineTextBoxAccessible::cursorPosition() const
{
    return int(box()->cursorPosition());
}

void MultiLineTextBoxAccessible::setCursorPosition(int position)
{
    box()->setCursorPosition(position);
}

QString MultiLineTextBoxAccessible::text(int startOffset, int endOffset) const
{
    const QString &t = box()->text();
    startOffset = std::clamp(startOffset, 0, int(t.size()));
    endOffset = endOffset < 0 ? int(t.size()) : std::clamp(endOffset, startOffset, int(t.size()));
    return t.mid(startOffset, endOffset - startOffset);
}

QString MultiLineTextBoxAccessible::lineAt(int offset, int *startOffset, int *endOffset) const
{
    MultiLineLayout &layout = box()->layout();
    const VisualLine &line = layout.line(layout.lineOf(std::clamp<qsizetype>(offset, 0, box()->text().size())));
    *startOffset = int(line.start);
    *endOffset = int(line.end() + line.breakLength);
    return text(*startOffset, *endOffset);
}

// Lines are the lines the box shows; other boundaries are the text's own.
QString MultiLineTextBoxAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType type,
                                                     int *startOffset, int *endOffset) const
{
    if (type != QAccessible::LineBoundary)
        return QAccessibleTextInterface::textBeforeOffset(offset, type, startOffset, endOffset);
    lineAt(offset, startOffset, endOffset);
    if (*startOffset == 0) {
        *startOffset = *endOffset = -1;
        return QString();
    }
    return lineAt(*startOffset - 1, startOffset, endOffset);
}

QString MultiLineTextBoxAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType type,
                                                    int *startOffset, int *endOffset) const
{
    if (type != QAccessible::LineBoundary)
        return QAccessibleTextInterface::textAfterOffset(offset, type, startOffset, endOffset);
    lineAt(offset, startOffset, endOffset);
    if (*endOffset >= characterCount()) {
        *startOffset = *endOffset = -1;
        return QString();
    }
    return lineAt(*endOffset, startOffset, endOffset);
}

QString MultiLineTextBoxAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType type, int *startOffset,
                                                 int *endOffset) const
{
    if (type != QAccessible::LineBoundary)
        return QAccessibleTextInterface::textAtOffset(offset, type, startOffset, endOffset);
    return lineAt(offset, startOffset, endOffset);
}

int MultiLineTextBoxAccessible::characterCount() const
{
    return int(box()->text().size());
}

QRect MultiLineTextBoxAccessible::characterRect(int offset) const
{
    if (offset < 0 || offset >= characterCount())
        return QRect();
    // Rounded outwards to whole pixels, in the order the characters are drawn.
    MultiLineLayout &layout = box()->layout();
    const qsizetype index = layout.lineOf(offset);
    const VisualLine line = layout.line(index);
    const std::unique_ptr<QTextLayout> shaped = layout.shaped(index);
    const QTextLine textLine = shaped->lineAt(0);
    const double a = textLine.cursorToX(int(offset - line.start));
    const double b = offset < line.end() ? textLine.cursorToX(int(box()->control().nextPosition(offset) - line.start)) : a;
    const int left = MultiLineTextBox::kMargin + int(std::floor(std::min(a, b)));
    const int right = MultiLineTextBox::kMargin + int(std::ceil(std::max(a, b)));
    const int top = box()->view().lineTop(index, box()->firstVisibleLine());
    return QRect(box()->viewport()->mapToGlobal(QPoint(left, top)), QSize(std::max(1, right - left), box()->lineHeight()));
}

int MultiLineTextBoxAccessible::offsetAtPoint(const QPoint &point) const
{
    const QPoint at = box()->viewport()->mapFromGlobal(point);
    if (!box()->viewport()->rect().contains(at))
        return -1;
    return int(box()->positionAt(at, true));
}

void MultiLineTextBoxAccessible::scrollToSubstring(int startIndex, int)
{
    box()->scrollToPosition(std::clamp<qsizetype>(startIndex, 0, box()->text().size()));
}

QString MultiLineTextBoxAccessible::attributes(int, int *startOffset, int *endOffset) const
{
    // One font and one colour throughout.
    *startOffset = 0;
    *endOffset = characterCount();
    return QString();
}

void MultiLineTextBoxAccessible::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, QString());
}

void MultiLineTextBoxAccessible::insertText(int offset, const QString &text)
{
    replaceText(offset, offset, text);
}

void MultiLineTextBoxAccessible::replaceText(int startOffset, int endOffset, const QString &text)
{
    box()->setSelection(startOffset, endOffset);
    box()->insertText(text);
}

} // namespace Toolkit
