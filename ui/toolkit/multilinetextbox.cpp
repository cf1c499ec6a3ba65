#include "multilinetextbox.h"

#include "clipboardtext.h"
#include "colorsetting.h"
#include "fonts.h"
#include "multilinetextboxaccessible.h"
#include "scrollbarstyle.h"

#include <QAccessible>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <cmath>

namespace Toolkit {

namespace {

// Shown in place of a lone CR or LF, which stays in the text but does not
// break the line.
constexpr char16_t kLoneBreakGlyph = u'\u25A1';

// Lines wrapped per idle slice: about a millisecond's work.
constexpr std::size_t kWrapSlice = 4096;

// What a character is drawn as. A tab shows as one blank: a tab stop would
// draw wider than the wrapping measured, and hide the line's end.
QChar shownAs(QChar c)
{
    if (c == u'\r' || c == u'\n')
        return QChar(kLoneBreakGlyph);
    return c == u'\t' ? QChar(u' ') : c;
}

bool shownOtherwise(QChar c) { return c == u'\r' || c == u'\n' || c == u'\t'; }

} // namespace

MultiLineTextBox::MultiLineTextBox(QWidget *parent)
    : QAbstractScrollArea(parent), m_wrapTimer(new QTimer(this))
{
    m_wrapTimer->setSingleShot(true);
    m_wrapTimer->setInterval(0);
    connect(m_wrapTimer, &QTimer::timeout, this, &MultiLineTextBox::wrapSlice);
    setFont(msSansSerif(8));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The box is short: the arrows give way so the thumb can travel.
    auto *barStyle = new ScrollBarStyle(style()->name());
    barStyle->setParent(verticalScrollBar());
    verticalScrollBar()->setStyle(barStyle);
    viewport()->setCursor(Qt::IBeamCursor);
    QPalette p = viewport()->palette();
    p.setColor(QPalette::Base, resolveColor(kSysWindow));
    p.setColor(QPalette::Text, resolveColor(kSysWindowText));
    viewport()->setPalette(p);
    m_widths.setFont(font(), viewport());
    relayout();
    static const bool accessible = (QAccessible::installFactory(&MultiLineTextBoxAccessible::create), true);
    Q_UNUSED(accessible);
}

void MultiLineTextBox::setText(QString text)
{
    const QString old = QAccessible::isActive() ? this->text() : QString();
    m_control.setText(std::move(text));
    m_preferredX = -1;
    relayout();
    verticalScrollBar()->setValue(0);
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent event(this, 0, old, this->text());
        QAccessible::updateAccessibility(&event);
        reportCursor();
    }
    emit textChanged();
}

void MultiLineTextBox::setCursorPosition(qsizetype pos, bool keepAnchor)
{
    m_control.moveCursor(pos, keepAnchor);
    cursorMoved();
}

void MultiLineTextBox::setSelection(qsizetype anchor, qsizetype cursor)
{
    m_control.setSelection(anchor, cursor);
    cursorMoved();
}

void MultiLineTextBox::insertText(const QString &text)
{
    if (m_control.replaceSelection(text))
        edited();
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
    if (m_control.hasSelection())
        QGuiApplication::clipboard()->setMimeData(clipboardDataFor(m_control.selectedText()));
}

void MultiLineTextBox::cut()
{
    if (!m_control.hasSelection())
        return;
    copy();
    m_control.replaceSelection(QStringView());
    edited();
}

void MultiLineTextBox::paste()
{
    const QString pasted = pastedText(QGuiApplication::clipboard()->mimeData());
    if (pasted.isEmpty())
        return;
    m_control.replaceSelection(pasted);
    edited();
}

QMenu *MultiLineTextBox::createContextMenu()
{
    const bool selection = m_control.hasSelection();
    auto *menu = new QMenu(this);
    menu->addAction(tr("&Undo"), this, &MultiLineTextBox::undo)->setEnabled(m_control.canUndo());
    menu->addSeparator();
    menu->addAction(tr("Cu&t"), this, &MultiLineTextBox::cut)->setEnabled(selection);
    menu->addAction(tr("&Copy"), this, &MultiLineTextBox::copy)->setEnabled(selection);
    menu->addAction(tr("&Paste"), this, &MultiLineTextBox::paste)
        ->setEnabled(!pastedText(QGuiApplication::clipboard()->mimeData()).isEmpty());
    menu->addAction(tr("&Delete"), this, [this] {
            if (m_control.hasSelection()) {
                m_control.replaceSelection(QStringView());
                edited();
            }
        })->setEnabled(selection);
    menu->addSeparator();
    menu->addAction(tr("Select &All"), this, &MultiLineTextBox::selectAll)->setEnabled(!text().isEmpty());
    return menu;
}

void MultiLineTextBox::selectAll()
{
    m_control.selectAll();
    cursorMoved();
}

void MultiLineTextBox::undo()
{
    if (!m_control.canUndo())
        return;
    m_control.undo();
    edited();
}

double MultiLineTextBox::advance(QStringView text, qsizetype i, qsizetype units)
{
    if (units == 1 && shownOtherwise(text[i]))
        return m_widths.advance(shownAs(text[i]));
    return m_widths.advance(text, i, units);
}

qsizetype MultiLineTextBox::unitsAt(qsizetype pos) const
{
    const QString &t = text();
    return t[pos].isHighSurrogate() && pos + 1 < t.size() && t[pos + 1].isLowSurrogate() ? 2 : 1;
}

double MultiLineTextBox::positionX(qsizetype pos)
{
    const VisualLine &line = m_lines[lineOf(pos)];
    double x = 0;
    for (qsizetype at = line.start; at < std::min(pos, line.end());) {
        const qsizetype units = unitsAt(at);
        x += advance(text(), at, units);
        at += units;
    }
    return x;
}

double MultiLineTextBox::naturalWidth(qsizetype lineIndex)
{
    wrapUntilLine(lineIndex);
    const VisualLine &line = m_lines[lineIndex];
    double width = 0, inked = 0;
    for (qsizetype at = line.start; at < line.end();) {
        const qsizetype units = unitsAt(at);
        width += advance(text(), at, units);
        if (text()[at] != u' ')
            inked = width;
        at += units;
    }
    return inked;
}

// Only what the box shows is wrapped now; the rest follows in idle slices, or
// at once where a line further down is asked for.
void MultiLineTextBox::relayout()
{
    m_wrapWidth = std::max(1, viewport()->width() - 2 * kMargin);
    m_lines.clear();
    m_wrapFrom = 0;
    wrapUntilLine(firstVisibleLine() + visibleLineCount() + 1);
    viewport()->update();
}

void MultiLineTextBox::wrapMore(std::size_t lines)
{
    if (m_wrapFrom < 0)
        return;
    m_wrapFrom = wrapLines(
        text(), m_wrapFrom, m_wrapWidth,
        [this](QStringView text, qsizetype i, qsizetype units) { return advance(text, i, units); }, m_lines, lines);
    if (m_wrapFrom < 0)
        m_wrapTimer->stop();
    else if (!m_wrapTimer->isActive())
        m_wrapTimer->start();
    updateScrollBar();
}

void MultiLineTextBox::wrapUntilLine(qsizetype index)
{
    while (m_wrapFrom >= 0 && qsizetype(m_lines.size()) <= index)
        wrapMore(std::max<std::size_t>(64, std::size_t(index) + 1 - m_lines.size()));
}

qsizetype MultiLineTextBox::lineOf(qsizetype pos)
{
    // A position at a wrap belongs to the line it starts, so that line must be there.
    while (m_wrapFrom >= 0 && m_wrapFrom <= pos)
        wrapMore(kWrapSlice);
    return lineOfPosition(m_lines, pos);
}

void MultiLineTextBox::wrapSlice()
{
    wrapMore(kWrapSlice);
}

const std::vector<VisualLine> &MultiLineTextBox::visualLines()
{
    wrapMore(std::size_t(-1));
    return m_lines;
}

void MultiLineTextBox::updateScrollBar()
{
    const int visible = visibleLineCount();
    // Until every line is wrapped, the count is estimated from the part done.
    qsizetype lines = qsizetype(m_lines.size());
    if (m_wrapFrom > 0)
        lines = std::max(lines + 1, qsizetype(double(lines) * double(text().size()) / double(m_wrapFrom)));
    else if (m_wrapFrom == 0)
        lines += 1;
    QScrollBar *bar = verticalScrollBar();
    bar->setRange(0, int(std::min<qsizetype>(INT_MAX, std::max<qsizetype>(0, lines - visible))));
    bar->setPageStep(visible);
    bar->setSingleStep(1);
}

int MultiLineTextBox::visibleLineCount() const
{
    return std::max(1, (viewport()->height() - kMargin) / lineHeight());
}

std::pair<qsizetype, qsizetype> MultiLineTextBox::lineRange(qsizetype pos)
{
    const VisualLine &line = m_lines[lineOf(pos)];
    return {line.start, line.end() + line.breakLength};
}

QRect MultiLineTextBox::characterRect(qsizetype pos)
{
    const qsizetype lineIndex = lineOf(pos);
    const VisualLine &line = m_lines[lineIndex];
    const double left = positionX(pos);
    double right = left;
    if (pos < line.end())
        right += advance(text(), pos, unitsAt(pos));
    const int top = kMargin + int(lineIndex - firstVisibleLine()) * lineHeight();
    const int x = kMargin + int(std::floor(left));
    return QRect(x, top, std::max(1, int(std::ceil(kMargin + right)) - x), lineHeight());
}

void MultiLineTextBox::scrollToPosition(qsizetype pos)
{
    const int line = int(lineOf(pos));
    const int first = firstVisibleLine(), visible = visibleLineCount();
    if (line < first)
        verticalScrollBar()->setValue(line);
    else if (line >= first + visible)
        verticalScrollBar()->setValue(line - visible + 1);
}

qsizetype MultiLineTextBox::positionAt(const QPoint &viewportPos)
{
    const int row = int(std::floor(double(viewportPos.y() - kMargin) / lineHeight()));
    wrapUntilLine(firstVisibleLine() + std::max(row, 0));
    const qsizetype line = std::clamp<qsizetype>(firstVisibleLine() + row, 0, qsizetype(m_lines.size()) - 1);
    return positionInLine(line, viewportPos.x() - kMargin);
}

bool MultiLineTextBox::wrapsAtEnd(qsizetype lineIndex)
{
    wrapUntilLine(lineIndex + 1);
    const VisualLine &line = m_lines[lineIndex];
    return line.breakLength == 0 && lineIndex + 1 < qsizetype(m_lines.size()) && line.length > 0;
}

qsizetype MultiLineTextBox::positionInLine(qsizetype lineIndex, double x)
{
    // Asked first: it may wrap the next line, which may move m_lines.
    const bool wraps = wrapsAtEnd(lineIndex);
    const VisualLine line = m_lines[lineIndex];
    double left = 0;
    for (qsizetype at = line.start; at < line.end();) {
        const qsizetype units = unitsAt(at);
        const double w = advance(text(), at, units);
        if (x < left + w / 2)
            return at;
        left += w;
        at += units;
    }
    // A wrapped line's end is the next line's start; keep the cursor on this one.
    return wraps ? m_control.previousPosition(line.end()) : line.end();
}

void MultiLineTextBox::cursorMoved(bool keepPreferredX)
{
    if (!keepPreferredX)
        m_preferredX = -1;
    ensureCursorVisible();
    viewport()->update();
    reportCursor();
}

void MultiLineTextBox::edited()
{
    m_preferredX = -1;
    relayout();
    ensureCursorVisible();
    reportChange();
    reportCursor();
    emit textChanged();
}

void MultiLineTextBox::reportCursor()
{
    if (!QAccessible::isActive())
        return;
    const std::pair selection{m_control.selectionStart(), m_control.selectionEnd()};
    if (selection != m_reportedSelection && (m_control.hasSelection() || m_reportedSelection.first != m_reportedSelection.second)) {
        QAccessibleTextSelectionEvent event(this, int(selection.first), int(selection.second));
        event.setCursorPosition(int(m_control.cursor()));
        QAccessible::updateAccessibility(&event);
    }
    m_reportedSelection = selection;
    QAccessibleTextCursorEvent event(this, int(m_control.cursor()));
    QAccessible::updateAccessibility(&event);
}

void MultiLineTextBox::reportChange()
{
    if (!QAccessible::isActive())
        return;
    const MultiLineControl::Change &change = m_control.lastChange();
    const QString inserted = text().mid(change.position, change.inserted);
    if (change.removed.isEmpty()) {
        QAccessibleTextInsertEvent event(this, int(change.position), inserted);
        QAccessible::updateAccessibility(&event);
    } else if (inserted.isEmpty()) {
        QAccessibleTextRemoveEvent event(this, int(change.position), change.removed);
        QAccessible::updateAccessibility(&event);
    } else {
        QAccessibleTextUpdateEvent event(this, int(change.position), change.removed, inserted);
        QAccessible::updateAccessibility(&event);
    }
}

void MultiLineTextBox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        m_widths.setFont(font(), viewport());
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
    if (!event->commitString().isEmpty()) {
        m_control.replaceSelection(event->commitString());
        edited();
    }
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

    MultiLineControl &c = m_control;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const qsizetype line = lineOf(c.cursor());
    auto move = [&](qsizetype pos) {
        c.moveCursor(pos, shift);
        cursorMoved();
    };
    auto verticalMove = [&](qsizetype lines) {
        if (m_preferredX < 0)
            m_preferredX = positionX(c.cursor());
        wrapUntilLine(line + lines);
        const qsizetype target = std::clamp<qsizetype>(line + lines, 0, qsizetype(m_lines.size()) - 1);
        c.moveCursor(target == line && lines != 0 ? (lines < 0 ? 0 : text().size()) : positionInLine(target, m_preferredX),
                     shift);
        cursorMoved(true);
    };

    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A line break of the platform's multi-line box; the window's default
        // button does not see this Enter.
        c.replaceSelection(u"\r\n");
        edited();
        return;
    case Qt::Key_Left:
        if (c.hasSelection() && !shift)
            move(c.selectionStart());
        else
            move(ctrl ? c.previousWord(c.cursor()) : c.previousPosition(c.cursor()));
        return;
    case Qt::Key_Right:
        if (c.hasSelection() && !shift)
            move(c.selectionEnd());
        else
            move(ctrl ? c.nextWord(c.cursor()) : c.nextPosition(c.cursor()));
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
        move(ctrl ? 0 : m_lines[line].start);
        return;
    case Qt::Key_End:
        // The end of a wrapped line is the next line's start; stop before the
        // wrap (after the line's last character but one, its hanging space).
        move(ctrl ? text().size() : wrapsAtEnd(line) ? c.previousPosition(m_lines[line].end()) : m_lines[line].end());
        return;
    case Qt::Key_Backspace:
        if (c.deleteBackward())
            edited();
        return;
    case Qt::Key_Delete:
        if (c.deleteForward())
            edited();
        return;
    default:
        break;
    }

    const QString typed = event->text();
    const bool printable = !typed.isEmpty() && std::all_of(typed.begin(), typed.end(), [](QChar ch) {
        return ch.isPrint() || ch == u'\t' || ch.isSurrogate();
    });
    if (printable && !(ctrl && !(event->modifiers() & Qt::AltModifier))) {
        c.replaceSelection(typed, true);
        edited();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void MultiLineTextBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    m_control.moveCursor(positionAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
    cursorMoved();
}

void MultiLineTextBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mouseDoubleClickEvent(event);
    m_control.selectWordAt(positionAt(event->position().toPoint()));
    cursorMoved();
}

void MultiLineTextBox::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return QAbstractScrollArea::mouseMoveEvent(event);
    m_control.moveCursor(positionAt(event->position().toPoint()), true);
    cursorMoved();
}

void MultiLineTextBox::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
}

void MultiLineTextBox::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), resolveColor(kSysWindow));
    painter.setFont(font());

    const QColor ink = resolveColor(kSysWindowText);
    const QColor highlight = palette().color(QPalette::Highlight);
    const QColor highlightedInk = palette().color(QPalette::HighlightedText);
    const qsizetype selFrom = m_control.selectionStart(), selTo = m_control.selectionEnd();
    const qsizetype cursor = m_control.cursor();
    const qsizetype cursorLine = hasFocus() ? lineOf(cursor) : -1;
    const int first = firstVisibleLine(), height = lineHeight();
    wrapUntilLine(first + viewport()->height() / height + 1);
    const int last = std::min<int>(int(m_lines.size()) - 1, first + viewport()->height() / height + 1);
    const double ascent = m_widths.ascent();
    const QString &t = text();
    QString shown;

    for (int i = first; i <= last; ++i) {
        const VisualLine &line = m_lines[i];
        const double top = kMargin + (i - first) * height;
        double x = kMargin, cursorX = -1;
        for (qsizetype at = line.start; at < line.end();) {
            const qsizetype units = unitsAt(at);
            const double w = advance(t, at, units);
            const bool selected = at >= selFrom && at < selTo;
            if (at == cursor)
                cursorX = x;
            if (selected)
                painter.fillRect(QRectF(x, top, w, height), highlight);
            const QChar c = t[at];
            if (c != u' ') {
                // Refilled in place: one buffer for every character drawn.
                const QChar glyph = shownAs(c);
                shown.setUnicode(units == 2 ? t.constData() + at : &glyph, units);
                painter.setPen(selected ? highlightedInk : ink);
                painter.drawText(QPointF(x, top + ascent), shown);
            }
            x += w;
            at += units;
        }
        if (i == cursorLine && hasFocus()) {
            if (cursorX < 0)
                cursorX = x;
            painter.fillRect(QRectF(std::floor(cursorX), top, 1, height), ink);
        }
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
