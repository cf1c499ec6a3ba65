#include "multilinetextbox.h"

#include "colorsetting.h"
#include "fonts.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace Toolkit {

namespace {

// Shown in place of a lone CR or LF, which stays in the text but does not
// break the line.
constexpr char16_t kLoneBreakGlyph = u'\u25A1';

bool isLoneBreak(QChar c) { return c == u'\r' || c == u'\n'; }

// What a character is drawn as. A tab shows as one blank: a line laid out with
// tab stops would run wider than the wrapping measured, and hide its end.
QChar shownAs(QChar c)
{
    if (isLoneBreak(c))
        return QChar(kLoneBreakGlyph);
    return c == u'\t' ? QChar(u' ') : c;
}

} // namespace

MultiLineTextBox::MultiLineTextBox(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    setFont(msSansSerif(8));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setCursor(Qt::IBeamCursor);
    QPalette p = viewport()->palette();
    p.setColor(QPalette::Base, resolveColor(kSysWindow));
    p.setColor(QPalette::Text, resolveColor(kSysWindowText));
    viewport()->setPalette(p);
    m_latin1Widths.fill(-1);
    relayout();
}

void MultiLineTextBox::setText(const QString &text)
{
    m_text = text;
    m_canUndo = m_typing = false;
    m_undoText.clear();
    m_cursor = m_anchor = 0;
    m_preferredX = -1;
    relayout();
    verticalScrollBar()->setValue(0);
    emit textChanged();
}

void MultiLineTextBox::setCursorPosition(qsizetype pos, bool keepAnchor)
{
    moveCursor(std::clamp<qsizetype>(pos, 0, m_text.size()), keepAnchor);
}

void MultiLineTextBox::setSelection(qsizetype anchor, qsizetype cursor)
{
    m_anchor = std::clamp<qsizetype>(anchor, 0, m_text.size());
    moveCursor(std::clamp<qsizetype>(cursor, 0, m_text.size()), true);
}

QString MultiLineTextBox::selectedText() const
{
    const qsizetype from = std::min(m_cursor, m_anchor), to = std::max(m_cursor, m_anchor);
    return m_text.mid(from, to - from);
}

void MultiLineTextBox::insertText(const QString &text)
{
    replaceSelection(text);
}

int MultiLineTextBox::firstVisibleLine() const
{
    return verticalScrollBar()->value();
}

int MultiLineTextBox::lineHeight() const
{
    return std::max(1, fontMetrics().lineSpacing());
}

void MultiLineTextBox::copy() const
{
    if (hasSelection())
        QGuiApplication::clipboard()->setText(selectedText());
}

void MultiLineTextBox::cut()
{
    if (!hasSelection())
        return;
    copy();
    replaceSelection(QString());
}

void MultiLineTextBox::paste()
{
    QString pasted = QGuiApplication::clipboard()->text();
    // Text from the X clipboard ends its lines with LF alone; this box breaks
    // lines at CR LF only, as the platform's own multi-line box does.
    for (qsizetype i = 0; i < pasted.size(); ++i) {
        if (pasted[i] == u'\n' && (i == 0 || pasted[i - 1] != u'\r'))
            pasted.insert(i++, u'\r');
    }
    if (!pasted.isEmpty())
        replaceSelection(pasted);
}

QMenu *MultiLineTextBox::createContextMenu()
{
    auto *menu = new QMenu(this);
    menu->addAction(tr("&Undo"), this, &MultiLineTextBox::undo)->setEnabled(m_canUndo);
    menu->addSeparator();
    menu->addAction(tr("Cu&t"), this, &MultiLineTextBox::cut)->setEnabled(hasSelection());
    menu->addAction(tr("&Copy"), this, &MultiLineTextBox::copy)->setEnabled(hasSelection());
    menu->addAction(tr("&Paste"), this, &MultiLineTextBox::paste)
        ->setEnabled(!QGuiApplication::clipboard()->text().isEmpty());
    menu->addAction(tr("&Delete"), this, [this] {
            if (hasSelection())
                replaceSelection(QString());
        })->setEnabled(hasSelection());
    menu->addSeparator();
    menu->addAction(tr("Select &All"), this, &MultiLineTextBox::selectAll)->setEnabled(!m_text.isEmpty());
    return menu;
}

void MultiLineTextBox::selectAll()
{
    m_anchor = 0;
    moveCursor(m_text.size(), true);
}

void MultiLineTextBox::undo()
{
    if (!m_canUndo)
        return;
    std::swap(m_text, m_undoText);
    const qsizetype cursor = std::min(m_undoCursor, m_text.size());
    m_undoCursor = m_cursor;
    m_cursor = m_anchor = cursor;
    m_typing = false;
    m_preferredX = -1;
    relayout();
    ensureCursorVisible();
    emit textChanged();
}

double MultiLineTextBox::advance(QStringView text, qsizetype i, qsizetype units)
{
    const QChar c = text[i];
    if (units == 1 && c.unicode() < 256) {
        double &w = m_latin1Widths[c.unicode()];
        if (w < 0)
            w = fontMetrics().horizontalAdvance(shownAs(c));
        return w;
    }
    const char32_t key = units == 2 ? QChar::surrogateToUcs4(c, text[i + 1]) : char32_t(c.unicode());
    auto it = m_otherWidths.find(key);
    if (it == m_otherWidths.end())
        it = m_otherWidths.insert(key, QFontMetricsF(font()).horizontalAdvance(text.mid(i, units).toString()));
    return *it;
}

QString MultiLineTextBox::displayText(const VisualLine &line) const
{
    QString shown = m_text.mid(line.start, line.length);
    for (QChar &c : shown)
        c = shownAs(c);
    return shown;
}

void MultiLineTextBox::layoutLine(QTextLayout &layout, const VisualLine &line) const
{
    layout.setText(displayText(line));
    layout.setFont(font());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine textLine = layout.createLine();
    textLine.setPosition(QPointF(0, 0));
    layout.endLayout();
}

void MultiLineTextBox::relayout()
{
    m_wrapWidth = std::max(1, viewport()->width() - 2 * kMargin);
    m_lines = wrapText(m_text, m_wrapWidth,
                       [this](QStringView text, qsizetype i, qsizetype units) { return advance(text, i, units); });
    updateScrollBar();
    viewport()->update();
}

void MultiLineTextBox::updateScrollBar()
{
    const int visible = visibleLineCount();
    QScrollBar *bar = verticalScrollBar();
    bar->setRange(0, std::max(0, int(m_lines.size()) - visible));
    bar->setPageStep(visible);
    bar->setSingleStep(1);
}

int MultiLineTextBox::visibleLineCount() const
{
    return std::max(1, (viewport()->height() - kMargin) / lineHeight());
}

void MultiLineTextBox::ensureCursorVisible()
{
    const int line = int(lineOfPosition(m_lines, m_cursor));
    const int first = firstVisibleLine(), visible = visibleLineCount();
    if (line < first)
        verticalScrollBar()->setValue(line);
    else if (line >= first + visible)
        verticalScrollBar()->setValue(line - visible + 1);
}

qsizetype MultiLineTextBox::positionAt(const QPoint &viewportPos) const
{
    const int row = int(std::floor(double(viewportPos.y() - kMargin) / lineHeight()));
    const qsizetype line = std::clamp<qsizetype>(firstVisibleLine() + row, 0, qsizetype(m_lines.size()) - 1);
    return positionInLine(line, viewportPos.x() - kMargin);
}

double MultiLineTextBox::cursorX(qsizetype pos) const
{
    const VisualLine &line = m_lines[lineOfPosition(m_lines, pos)];
    QTextLayout layout;
    layoutLine(layout, line);
    return layout.lineAt(0).cursorToX(int(pos - line.start));
}

qsizetype MultiLineTextBox::positionInLine(qsizetype lineIndex, double x) const
{
    const VisualLine &line = m_lines[lineIndex];
    QTextLayout layout;
    layoutLine(layout, line);
    qsizetype pos = line.start + layout.lineAt(0).xToCursor(x);
    // A wrapped line's end is the next line's start; keep the cursor on this one.
    if (pos == line.end() && line.breakLength == 0 && lineIndex + 1 < qsizetype(m_lines.size()) && line.length > 0)
        pos = previousPosition(pos);
    return pos;
}

qsizetype MultiLineTextBox::previousPosition(qsizetype pos) const
{
    if (pos <= 0)
        return 0;
    if (pos >= 2 && ((m_text[pos - 2] == u'\r' && m_text[pos - 1] == u'\n')
                     || (m_text[pos - 2].isHighSurrogate() && m_text[pos - 1].isLowSurrogate())))
        return pos - 2;
    return pos - 1;
}

qsizetype MultiLineTextBox::nextPosition(qsizetype pos) const
{
    const qsizetype n = m_text.size();
    if (pos >= n)
        return n;
    if (pos + 1 < n && ((m_text[pos] == u'\r' && m_text[pos + 1] == u'\n')
                        || (m_text[pos].isHighSurrogate() && m_text[pos + 1].isLowSurrogate())))
        return pos + 2;
    return pos + 1;
}

qsizetype MultiLineTextBox::previousWord(qsizetype pos) const
{
    while (pos > 0 && m_text[pos - 1].isSpace())
        pos = previousPosition(pos);
    while (pos > 0 && !m_text[pos - 1].isSpace())
        pos = previousPosition(pos);
    return pos;
}

qsizetype MultiLineTextBox::nextWord(qsizetype pos) const
{
    const qsizetype n = m_text.size();
    while (pos < n && !m_text[pos].isSpace())
        pos = nextPosition(pos);
    while (pos < n && m_text[pos].isSpace())
        pos = nextPosition(pos);
    return pos;
}

void MultiLineTextBox::moveCursor(qsizetype pos, bool keepAnchor, bool keepPreferredX)
{
    m_typing = false;
    m_cursor = pos;
    if (!keepAnchor)
        m_anchor = pos;
    if (!keepPreferredX)
        m_preferredX = -1;
    ensureCursorVisible();
    viewport()->update();
}

void MultiLineTextBox::replaceSelection(const QString &text, bool typing)
{
    const qsizetype from = std::min(m_cursor, m_anchor), to = std::max(m_cursor, m_anchor);
    // A run of typing is undone as a whole; any other edit starts afresh.
    if (!(typing && m_typing && from == to)) {
        m_undoText = m_text;
        m_undoCursor = m_cursor;
        m_canUndo = true;
    }
    m_text.replace(from, to - from, text);
    m_cursor = m_anchor = from + text.size();
    m_preferredX = -1;
    relayout();
    ensureCursorVisible();
    m_typing = typing;
    emit textChanged();
}

void MultiLineTextBox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        m_latin1Widths.fill(-1);
        m_otherWidths.clear();
        relayout();
    }
    QAbstractScrollArea::changeEvent(event);
}

void MultiLineTextBox::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void MultiLineTextBox::focusInEvent(QFocusEvent *event)
{
    viewport()->update();
    QAbstractScrollArea::focusInEvent(event);
}

void MultiLineTextBox::focusOutEvent(QFocusEvent *event)
{
    viewport()->update();
    QAbstractScrollArea::focusOutEvent(event);
}

void MultiLineTextBox::inputMethodEvent(QInputMethodEvent *event)
{
    if (!event->commitString().isEmpty())
        replaceSelection(event->commitString());
    event->accept();
}

void MultiLineTextBox::keyPressEvent(QKeyEvent *event)
{
    using Action = void (*)(MultiLineTextBox &);
    static constexpr std::pair<QKeySequence::StandardKey, Action> kShortcuts[] = {
        {QKeySequence::Copy, [](MultiLineTextBox &box) { box.copy(); }},
        {QKeySequence::Cut, [](MultiLineTextBox &box) { box.cut(); }},
        {QKeySequence::Paste, [](MultiLineTextBox &box) { box.paste(); }},
        {QKeySequence::SelectAll, [](MultiLineTextBox &box) { box.selectAll(); }},
        {QKeySequence::Undo, [](MultiLineTextBox &box) { box.undo(); }},
    };
    for (const auto &[key, action] : kShortcuts) {
        if (event->matches(key)) {
            action(*this);
            return;
        }
    }

    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const qsizetype line = lineOfPosition(m_lines, m_cursor);
    auto verticalMove = [&](qsizetype lines) {
        if (m_preferredX < 0)
            m_preferredX = cursorX(m_cursor);
        const qsizetype target = std::clamp<qsizetype>(line + lines, 0, qsizetype(m_lines.size()) - 1);
        const double x = m_preferredX;
        moveCursor(target == line && lines != 0 ? (lines < 0 ? 0 : m_text.size()) : positionInLine(target, x),
                   shift, true);
        m_preferredX = x;
    };

    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A line break of the platform's multi-line box; the window's default
        // button does not see this Enter.
        replaceSelection(QStringLiteral("\r\n"));
        return;
    case Qt::Key_Left:
        if (hasSelection() && !shift)
            moveCursor(std::min(m_cursor, m_anchor), false);
        else
            moveCursor(ctrl ? previousWord(m_cursor) : previousPosition(m_cursor), shift);
        return;
    case Qt::Key_Right:
        if (hasSelection() && !shift)
            moveCursor(std::max(m_cursor, m_anchor), false);
        else
            moveCursor(ctrl ? nextWord(m_cursor) : nextPosition(m_cursor), shift);
        return;
    case Qt::Key_Up:
        verticalMove(-1);
        return;
    case Qt::Key_Down:
        verticalMove(1);
        return;
    case Qt::Key_PageUp:
        verticalMove(-visibleLineCount());
        return;
    case Qt::Key_PageDown:
        verticalMove(visibleLineCount());
        return;
    case Qt::Key_Home:
        moveCursor(ctrl ? 0 : m_lines[line].start, shift);
        return;
    case Qt::Key_End: {
        // The end of a wrapped line is the next line's start; stop before the
        // wrap (after the line's last character but one, its hanging space).
        const VisualLine &l = m_lines[line];
        const bool wraps = l.breakLength == 0 && line + 1 < qsizetype(m_lines.size()) && l.length > 0;
        moveCursor(ctrl ? m_text.size() : (wraps ? previousPosition(l.end()) : l.end()), shift);
        return;
    }
    case Qt::Key_Backspace:
        if (!hasSelection())
            m_anchor = previousPosition(m_cursor);
        replaceSelection(QString());
        return;
    case Qt::Key_Delete:
        if (!hasSelection())
            m_anchor = nextPosition(m_cursor);
        replaceSelection(QString());
        return;
    default:
        break;
    }

    const QString typed = event->text();
    const bool printable = !typed.isEmpty() && std::all_of(typed.begin(), typed.end(), [](QChar c) {
        return c.isPrint() || c == u'\t' || c.isSurrogate();
    });
    if (printable && !(ctrl && !(event->modifiers() & Qt::AltModifier))) {
        replaceSelection(typed, true);
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void MultiLineTextBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    moveCursor(positionAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
}

void MultiLineTextBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mouseDoubleClickEvent(event);
    // The word under the pointer, up to the spaces around it.
    const qsizetype at = positionAt(event->position().toPoint());
    qsizetype from = at, to = at;
    while (from > 0 && !m_text[from - 1].isSpace())
        --from;
    while (to < m_text.size() && !m_text[to].isSpace())
        ++to;
    m_anchor = from;
    moveCursor(to, true);
}

void MultiLineTextBox::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return QAbstractScrollArea::mouseMoveEvent(event);
    moveCursor(positionAt(event->position().toPoint()), true);
}

void MultiLineTextBox::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
}

void MultiLineTextBox::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), resolveColor(kSysWindow));
    painter.setPen(resolveColor(kSysWindowText));

    const qsizetype selFrom = std::min(m_cursor, m_anchor), selTo = std::max(m_cursor, m_anchor);
    const qsizetype cursorLine = lineOfPosition(m_lines, m_cursor);
    const int first = firstVisibleLine(), height = lineHeight();
    const int last = std::min<int>(int(m_lines.size()) - 1, first + viewport()->height() / height + 1);
    QTextCharFormat selected;
    selected.setBackground(palette().brush(QPalette::Highlight));
    selected.setForeground(palette().brush(QPalette::HighlightedText));

    for (int i = first; i <= last; ++i) {
        const VisualLine &line = m_lines[i];
        QTextLayout layout;
        layoutLine(layout, line);
        QList<QTextLayout::FormatRange> selections;
        const qsizetype from = std::max(selFrom, line.start), to = std::min(selTo, line.end());
        if (from < to)
            selections.append({int(from - line.start), int(to - from), selected});
        const QPointF origin(kMargin, kMargin + (i - first) * height);
        layout.draw(&painter, origin, selections);
        if (i == cursorLine && hasFocus())
            layout.drawCursor(&painter, origin, int(m_cursor - line.start));
    }
}

void MultiLineTextBox::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (std::max(1, viewport()->width() - 2 * kMargin) != m_wrapWidth)
        relayout();
    else
        updateScrollBar();
}

void MultiLineTextBox::scrollContentsBy(int, int)
{
    viewport()->update();
}

} // namespace Toolkit
