#pragma once

#include <QString>

class QKeyEvent;

namespace Toolkit {

// What a key does in the HTML box, as the platform's multi-line box maps it.
struct KeyAction
{
    enum Kind {
        None, // not the box's: the key goes on to the window
        Copy, Cut, Paste, SelectAll, Undo,
        NewLine, Backspace, Delete, Type,
        Left, Right, WordLeft, WordRight, Up, Down, PageUp, PageDown,
        LineStart, LineEnd, TextStart, TextEnd,
    };
    Kind kind = None;
    bool extend = false; // Shift held: a move extends the selection
    QString text = {};   // what Type types
};

KeyAction keyActionFor(const QKeyEvent &event);

class MultiLineControl;
class MultiLineLayout;

// Where a move takes the cursor. Up and Down keep to preferredX, the place the
// first of a run of vertical moves set out from (-1 before one; any other move
// sets it back to -1), as pageLines lines do Page Up and Page Down; past the
// first or last line they reach the start or end of the text.
qsizetype moveTarget(const KeyAction &action, const MultiLineControl &control, MultiLineLayout &layout,
                     qsizetype pageLines, double &preferredX);

} // namespace Toolkit
