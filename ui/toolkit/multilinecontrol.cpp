#include "multilinecontrol.h"

#include "textwrap.h"

#include <algorithm>

namespace Toolkit {

void MultiLineControl::setText(QString text)
{
    m_text = std::move(text);
    m_cursor = m_anchor = 0;
    m_undoText.clear();
    m_lastChange = {};
    m_canUndo = m_typing = false;
}

void MultiLineControl::moveCursor(qsizetype pos, bool keepAnchor)
{
    m_typing = false;
    m_cursor = std::clamp<qsizetype>(pos, 0, m_text.size());
    if (!keepAnchor)
        m_anchor = m_cursor;
}

void MultiLineControl::setSelection(qsizetype anchor, qsizetype cursor)
{
    m_anchor = std::clamp<qsizetype>(anchor, 0, m_text.size());
    moveCursor(cursor, true);
}

void MultiLineControl::selectWordAt(qsizetype pos)
{
    qsizetype from = std::clamp<qsizetype>(pos, 0, m_text.size()), to = from;
    while (from > 0 && !m_text[from - 1].isSpace())
        --from;
    while (to < m_text.size() && !m_text[to].isSpace())
        ++to;
    setSelection(from, to);
}

qsizetype MultiLineControl::previousPosition(qsizetype pos) const
{
    if (pos <= 0)
        return 0;
    if (pos >= 2 && m_text[pos - 2] == u'\r' && m_text[pos - 1] == u'\n')
        return pos - 2;
    return pos - unitsOfCharacterBefore(m_text, pos);
}

qsizetype MultiLineControl::nextPosition(qsizetype pos) const
{
    const qsizetype n = m_text.size();
    if (pos >= n)
        return n;
    if (pos + 1 < n && m_text[pos] == u'\r' && m_text[pos + 1] == u'\n')
        return pos + 2;
    return pos + unitsOfCharacterAt(m_text, pos);
}

qsizetype MultiLineControl::previousWord(qsizetype pos) const
{
    while (pos > 0 && m_text[pos - 1].isSpace())
        pos = previousPosition(pos);
    while (pos > 0 && !m_text[pos - 1].isSpace())
        pos = previousPosition(pos);
    return pos;
}

qsizetype MultiLineControl::nextWord(qsizetype pos) const
{
    const qsizetype n = m_text.size();
    while (pos < n && !m_text[pos].isSpace())
        pos = nextPosition(pos);
    while (pos < n && m_text[pos].isSpace())
        pos = nextPosition(pos);
    return pos;
}

bool MultiLineControl::replaceSelection(QStringView text, bool typing)
{
    const qsizetype from = selectionStart(), to = selectionEnd();
    if (from == to && text.isEmpty())
        return false;
    if (!(typing && m_typing && from == to)) {
        m_undoText = m_text;
        m_undoCursor = m_cursor;
        m_canUndo = true;
    }
    m_lastChange = {from, m_text.mid(from, to - from), text.size()};
    m_text.replace(from, to - from, text.data(), text.size());
    m_cursor = m_anchor = from + text.size();
    m_typing = typing;
    return true;
}

bool MultiLineControl::deleteBackward()
{
    if (!hasSelection())
        m_anchor = previousPosition(m_cursor);
    return replaceSelection(QStringView());
}

bool MultiLineControl::deleteForward()
{
    if (!hasSelection())
        m_anchor = nextPosition(m_cursor);
    return replaceSelection(QStringView());
}

void MultiLineControl::undo()
{
    if (!m_canUndo)
        return;
    std::swap(m_text, m_undoText);
    m_lastChange = {0, m_undoText, m_text.size()};
    const qsizetype cursor = std::min(m_undoCursor, m_text.size());
    m_undoCursor = m_cursor;
    m_cursor = m_anchor = cursor;
    m_typing = false;
}

} // namespace Toolkit
