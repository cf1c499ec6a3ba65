#pragma once

#include <QString>

namespace Toolkit {

// The editing model of the multi-line text box, without a widget: the text
// kept exactly as set, the cursor and the selection anchor, one level of undo,
// moves by character and by word, and replacing the selection. CR LF and a
// surrogate pair are one character to the moves; a lone CR or LF is one
// character of its own. The text box maps keys and the mouse onto it.
class MultiLineControl
{
public:
    const QString &text() const { return m_text; }
    // Cursor and anchor to the start; nothing left to undo.
    void setText(QString text);

    qsizetype cursor() const { return m_cursor; }
    qsizetype anchor() const { return m_anchor; }
    bool hasSelection() const { return m_cursor != m_anchor; }
    qsizetype selectionStart() const { return std::min(m_cursor, m_anchor); }
    qsizetype selectionEnd() const { return std::max(m_cursor, m_anchor); }
    QString selectedText() const { return m_text.mid(selectionStart(), selectionEnd() - selectionStart()); }

    // Positions are clamped to the text. keepAnchor extends the selection.
    void moveCursor(qsizetype pos, bool keepAnchor = false);
    void setSelection(qsizetype anchor, qsizetype cursor);
    void selectAll() { setSelection(0, m_text.size()); }
    // The word around pos, up to the blanks on either side.
    void selectWordAt(qsizetype pos);

    qsizetype previousPosition(qsizetype pos) const;
    qsizetype nextPosition(qsizetype pos) const;
    // Back to the start of this or the previous word; on to the start of the next.
    qsizetype previousWord(qsizetype pos) const;
    qsizetype nextWord(qsizetype pos) const;

    // Puts text in place of the selection, the cursor after it. A run of
    // typing (typing true, nothing selected, nothing else in between) is undone
    // as a whole; any other edit starts a new undo step. Putting nothing in
    // place of nothing changes nothing, takes no undo step and returns false.
    bool replaceSelection(QStringView text, bool typing = false);
    // Backspace and Delete: the selection, else the character before or after
    // the cursor; false at the start or end with nothing selected.
    bool deleteBackward();
    bool deleteForward();

    // What the last change of the text did: at position, `removed` taken out
    // and `inserted` units put in (an undo: the whole text for the whole).
    struct Change
    {
        qsizetype position = 0;
        QString removed;
        qsizetype inserted = 0;
    };
    const Change &lastChange() const { return m_lastChange; }

    bool canUndo() const { return m_canUndo; }
    // One level, as the platform's box has: undoing twice restores the edit.
    void undo();

private:
    QString m_text;
    qsizetype m_cursor = 0;
    qsizetype m_anchor = 0;
    QString m_undoText;
    qsizetype m_undoCursor = 0;
    bool m_canUndo = false;
    bool m_typing = false; // the last edit was typing at the cursor, which goes on
    Change m_lastChange;
};

} // namespace Toolkit
