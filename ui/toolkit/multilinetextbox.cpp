#include "multilinetextbox.h"

#include "accessiblefactory.h"
#include "clipboardtext.h"
#include "colorsetting.h"
#include "fonts.h"
#include "multilinekeymap.h"
#include "multilinetextboxaccessible.h"
#include "scrollbarstyle.h"

#include <QAccessible>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace Toolkit {

MultiLineTextBox::MultiLineTextBox(QWidget *parent)
    : QAbstractScrollArea(parent), m_wrapTimer(new QTimer(this))
{
    installAccessibleFactory();
    m_wrapTimer->setSingleShot(true);
    m_wrapTimer->setInterval(0);
    connect(m_wrapTimer, &QTimer::timeout, this, [this] {
        m_view.wrapSlice();
        updateScrollBar();
    });
    setFont(msSansSerif(8));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The box is short: the arrows give way so the thumb can travel.
    auto *barStyle = new ScrollBarStyle(style()->name());
    barStyle->setParent(verticalScrollBar());
    verticalScrollBar()->setStyle(barStyle);
    verticalScrollBar()->setSingleStep(1);
    viewport()->setCursor(Qt::IBeamCursor);
    QPalette p = viewport()->palette();
    p.setColor(QPalette::Base, resolveColor(kSysWindow));
    p.setColor(QPalette::Text, resolveColor(kSysWindowText));
    viewport()->setPalette(p);
    m_layout.setFont(font(), viewport());
    relayout();
}

void MultiLineTextBox::setText(QString text)
{
    const QString old = QAccessible::isActive() ? this->text() : QString();
    m_control.setText(std::move(text));
    m_preferredX = -1;
    m_layout.reset();
    relayout();
    verticalScrollBar()->setValue(0);
    MultiLineTextBoxAccessible::textReplaced(this, old);
    MultiLineTextBoxAccessible::cursorMoved(this, m_reportedSelection);
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
    replaceSelection(text);
}

void MultiLineTextBox::replaceSelection(QStringView text, bool typing)
{
    if (m_control.replaceSelection(text, typing))
        edited();
}

int MultiLineTextBox::firstVisibleLine() const
{
    return verticalScrollBar()->value();
}

void MultiLineTextBox::copy() const
{
    if (m_control.hasSelection())
        QGuiApplication::clipboard()->setMimeData(clipboardDataFor(m_control.selectedText()));
}

void MultiLineTextBox::cut()
{
    copy();
    replaceSelection(QStringView());
}

void MultiLineTextBox::paste()
{
    // An empty clipboard leaves the selection alone.
    const QString pasted = pastedText(QGuiApplication::clipboard()->mimeData());
    if (!pasted.isEmpty())
        replaceSelection(pasted);
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

// Only what the box shows is wrapped now; the rest follows in idle slices, or
// at once where a line further down is asked for.
void MultiLineTextBox::relayout()
{
    m_view.setViewport(viewport()->size(), fontMetrics().lineSpacing());
    m_view.wrapShown(firstVisibleLine());
    updateScrollBar();
    viewport()->update();
}

void MultiLineTextBox::updateScrollBar()
{
    if (m_layout.done())
        m_wrapTimer->stop();
    else if (!m_wrapTimer->isActive())
        m_wrapTimer->start();
    verticalScrollBar()->setRange(0, m_view.lastFirstLine());
    verticalScrollBar()->setPageStep(m_view.pageLines());
}

void MultiLineTextBox::scrollToPosition(qsizetype pos)
{
    const qsizetype line = m_layout.lineOf(pos);
    updateScrollBar();
    const int first = firstVisibleLine(), shown = m_view.firstLineShowing(line, first);
    if (shown != first)
        verticalScrollBar()->setValue(shown);
}

void MultiLineTextBox::cursorMoved(bool keepPreferredX)
{
    if (!keepPreferredX)
        m_preferredX = -1;
    scrollToPosition(m_control.cursor());
    viewport()->update();
    MultiLineTextBoxAccessible::cursorMoved(this, m_reportedSelection);
}

void MultiLineTextBox::edited()
{
    const MultiLineControl::Change &change = m_control.lastChange();
    m_layout.edited(change.position, change.removed.size(), change.inserted);
    m_preferredX = -1;
    scrollToPosition(m_control.cursor());
    relayout();
    MultiLineTextBoxAccessible::edited(this, change);
    MultiLineTextBoxAccessible::cursorMoved(this, m_reportedSelection);
    emit textChanged();
}

void MultiLineTextBox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        m_layout.setFont(font(), viewport());
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
    const KeyAction action = keyActionFor(*event);
    switch (action.kind) {
    case KeyAction::None:
        return QAbstractScrollArea::keyPressEvent(event);
    case KeyAction::Copy:
        return copy();
    case KeyAction::Cut:
        return cut();
    case KeyAction::Paste:
        return paste();
    case KeyAction::SelectAll:
        return selectAll();
    case KeyAction::Undo:
        return undo();
    case KeyAction::NewLine:
        return replaceSelection(u"\r\n");
    case KeyAction::Backspace:
        if (m_control.deleteBackward())
            edited();
        return;
    case KeyAction::Delete:
        if (m_control.deleteForward())
            edited();
        return;
    case KeyAction::Type:
        return replaceSelection(action.text, true);
    default:
        m_control.moveCursor(moveTarget(action, m_control, m_layout, m_view.pageLines(), m_preferredX), action.extend);
        return cursorMoved(true);
    }
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
    const QColor ink = resolveColor(kSysWindowText);
    QTextCharFormat selected;
    selected.setBackground(palette().color(QPalette::Highlight));
    selected.setForeground(palette().color(QPalette::HighlightedText));
    const qsizetype selFrom = m_control.selectionStart(), selTo = m_control.selectionEnd();
    const qsizetype cursor = m_control.cursor();
    const qsizetype cursorLine = hasFocus() ? m_layout.lineOf(cursor) : -1;
    const int first = firstVisibleLine(), last = m_view.lastPaintedLine(first), height = lineHeight();
    const double ascent = m_layout.ascent();

    painter.setPen(ink);
    for (int i = first; i <= last; ++i) {
        const VisualLine line = m_layout.line(i);
        const std::unique_ptr<QTextLayout> shaped = m_layout.shaped(i);
        const QTextLine textLine = shaped->lineAt(0);
        const double top = m_view.lineTop(i, first);
        QList<QTextLayout::FormatRange> selections;
        const qsizetype from = std::max(selFrom, line.start), to = std::min(selTo, line.end());
        if (from < to)
            selections.append({int(from - line.start), int(to - from), selected});
        // One baseline for every line, whatever fallback fonts a line needs.
        shaped->draw(&painter, QPointF(kMargin, top + ascent - textLine.ascent()), selections);
        if (i == cursorLine) {
            const double x = kMargin + textLine.cursorToX(int(std::min(cursor, line.end()) - line.start));
            painter.fillRect(QRectF(std::floor(x), top, 1, height), ink);
        }
    }
}

void MultiLineTextBox::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

void MultiLineTextBox::scrollContentsBy(int, int)
{
    viewport()->update();
}

} // namespace Toolkit
