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
    QString text;        // what Type types

    bool isMove() const { return kind >= Left; }
};

KeyAction keyActionFor(const QKeyEvent &event);

} // namespace Toolkit
