#include "multilinekeymap.h"

#include "multilinecontrol.h"
#include "multilinelayout.h"

#include <QKeyEvent>
#include <QKeySequence>

#include <algorithm>
#include <utility>

namespace Toolkit {

KeyAction keyActionFor(const QKeyEvent &event)
{
    static constexpr std::pair<QKeySequence::StandardKey, KeyAction::Kind> kShortcuts[] = {
        {QKeySequence::Copy, KeyAction::Copy},           {QKeySequence::Cut, KeyAction::Cut},
        {QKeySequence::Paste, KeyAction::Paste},         {QKeySequence::SelectAll, KeyAction::SelectAll},
        {QKeySequence::Undo, KeyAction::Undo},
    };
    for (const auto &[key, kind] : kShortcuts) {
        if (event.matches(key))
            return {kind};
    }

    const bool shift = event.modifiers() & Qt::ShiftModifier;
    const bool ctrl = event.modifiers() & Qt::ControlModifier;
    auto move = [&](KeyAction::Kind kind) { return KeyAction{kind, shift}; };
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A line break of the platform's multi-line box; the window's default
        // button does not see this Enter.
        return {KeyAction::NewLine};
    case Qt::Key_Backspace:
        return {KeyAction::Backspace};
    case Qt::Key_Delete:
        return {KeyAction::Delete};
    case Qt::Key_Left:
        return move(ctrl ? KeyAction::WordLeft : KeyAction::Left);
    case Qt::Key_Right:
        return move(ctrl ? KeyAction::WordRight : KeyAction::Right);
    case Qt::Key_Up:
        return move(KeyAction::Up);
    case Qt::Key_Down:
        return move(KeyAction::Down);
    case Qt::Key_PageUp:
        return move(KeyAction::PageUp);
    case Qt::Key_PageDown:
        return move(KeyAction::PageDown);
    case Qt::Key_Home:
        return move(ctrl ? KeyAction::TextStart : KeyAction::LineStart);
    case Qt::Key_End:
        return move(ctrl ? KeyAction::TextEnd : KeyAction::LineEnd);
    default:
        break;
    }

    const QString typed = event.text();
    const bool printable = !typed.isEmpty() && std::all_of(typed.begin(), typed.end(), [](QChar ch) {
        return ch.isPrint() || ch == u'\t' || ch.isSurrogate();
    });
    // Ctrl with a letter is a command, but Ctrl+Alt (AltGr) types.
    if (printable && !(ctrl && !(event.modifiers() & Qt::AltModifier)))
        return {KeyAction::Type, false, typed};
    return {};
}

qsizetype moveTarget(const KeyAction &action, const MultiLineControl &c, MultiLineLayout &layout,
                     qsizetype pageLines, double &preferredX)
{
    const qsizetype cursor = c.cursor(), line = layout.lineOf(cursor);
    const bool collapse = c.hasSelection() && !action.extend;
    if (action.kind < KeyAction::Up || action.kind > KeyAction::PageDown)
        preferredX = -1;
    qsizetype lines = 0;
    switch (action.kind) {
    case KeyAction::Left:
        return collapse ? c.selectionStart() : c.previousPosition(cursor);
    case KeyAction::WordLeft:
        return collapse ? c.selectionStart() : c.previousWord(cursor);
    case KeyAction::Right:
        return collapse ? c.selectionEnd() : c.nextPosition(cursor);
    case KeyAction::WordRight:
        return collapse ? c.selectionEnd() : c.nextWord(cursor);
    case KeyAction::LineStart:
        return layout.line(line).start;
    case KeyAction::LineEnd:
        // The end of a wrapped line is the next line's start; stop before the
        // wrap (after the line's last character but one, its hanging space).
        return layout.wrapsAtEnd(line) ? c.previousPosition(layout.line(line).end()) : layout.line(line).end();
    case KeyAction::TextStart:
        return 0;
    case KeyAction::TextEnd:
        return c.text().size();
    case KeyAction::Up:
        lines = -1;
        break;
    case KeyAction::Down:
        lines = 1;
        break;
    case KeyAction::PageUp:
        lines = -pageLines;
        break;
    case KeyAction::PageDown:
        lines = pageLines;
        break;
    default:
        return cursor;
    }
    if (preferredX < 0)
        preferredX = layout.positionX(cursor);
    layout.wrapUntilLine(line + lines);
    const qsizetype target = std::clamp<qsizetype>(line + lines, 0, layout.wrappedLineCount() - 1);
    if (target == line)
        return lines < 0 ? 0 : c.text().size();
    return layout.positionInLine(target, preferredX);
}

} // namespace Toolkit
