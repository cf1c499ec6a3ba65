#pragma once

#include "glyphwidths.h"
#include "multilinecontrol.h"
#include "textwrap.h"

#include <QAbstractScrollArea>

#include <vector>

class QMenu;
class QTimer;

namespace Toolkit {

// A multi-line text box with word wrap and a vertical scroll bar that keeps
// its text exactly as set: CR LF ends a line, a lone CR or LF stays in the
// text as an ordinary character, and Enter types CR LF. Every character is
// drawn at the sum of the advances before it on its line, the very widths the
// wrapping added, so no line runs under the scroll bar. Only the lines in view
// are drawn, so a text of hundreds of thousands of characters on one line
// costs one pass over its character widths. The editing is MultiLineControl's.
class MultiLineTextBox : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit MultiLineTextBox(QWidget *parent = nullptr);

    // The box takes the text as it is; a QString passed by value shares its buffer.
    void setText(QString text);
    const QString &text() const { return m_control.text(); }
    const MultiLineControl &control() const { return m_control; }

    qsizetype cursorPosition() const { return m_control.cursor(); }
    void setCursorPosition(qsizetype pos, bool keepAnchor = false);
    void setSelection(qsizetype anchor, qsizetype cursor);
    QString selectedText() const { return m_control.selectedText(); }
    void insertText(const QString &text);

    // Every line of the text; wraps what is not wrapped yet.
    const std::vector<VisualLine> &visualLines();
    // Whether every line is wrapped: a long text wraps what the box shows at
    // once and the rest in slices when the event loop is idle.
    bool wrapDone() const { return m_wrapFrom < 0; }
    int firstVisibleLine() const;
    int lineHeight() const;
    // Lines wrap at this width; the text area starts kMargin from the left.
    double wrapWidth() const { return m_wrapWidth; }
    // Where the character at pos is drawn, from the left of the text area:
    // the sum of the advances before it on its line, the same the wrapping added.
    double positionX(qsizetype pos);
    // How wide a line is drawn, the blanks hanging at its end left out.
    double naturalWidth(qsizetype line);

    // The shown line holding pos, [start, end) with the break that ends it.
    std::pair<qsizetype, qsizetype> lineRange(qsizetype pos);
    // Where the character at pos is shown, in the viewport's coordinates.
    QRect characterRect(qsizetype pos);
    // The position nearest a point of the viewport.
    qsizetype positionAt(const QPoint &viewportPos);
    // Scrolls pos into view, the cursor staying where it is.
    void scrollToPosition(qsizetype pos);

    // The platform's edit menu: Undo, Cut, Copy, Paste, Delete and Select All,
    // each enabled only where it would do something. The caller owns the menu.
    QMenu *createContextMenu();

    static constexpr int kMargin = 2;

public slots:
    void copy() const;
    void cut();
    void paste();
    void selectAll();
    void undo();

signals:
    void textChanged();

protected:
    void changeEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    double advance(QStringView text, qsizetype i, qsizetype units);
    qsizetype unitsAt(qsizetype pos) const;
    void relayout();
    void wrapMore(std::size_t lines);
    void wrapUntilLine(qsizetype index);
    qsizetype lineOf(qsizetype pos);
    void wrapSlice();
    void updateScrollBar();
    int visibleLineCount() const;
    void ensureCursorVisible() { scrollToPosition(m_control.cursor()); }
    // Tells assistive technology what changed.
    void reportCursor();
    void reportChange();
    qsizetype positionInLine(qsizetype line, double x);
    bool wrapsAtEnd(qsizetype line);
    // After the control moved the cursor or changed the text.
    void cursorMoved(bool keepPreferredX = false);
    void edited();

    MultiLineControl m_control;
    GlyphWidths m_widths;
    std::vector<VisualLine> m_lines; // wrapped so far
    qsizetype m_wrapFrom = -1;       // where the next line starts; -1 when all are wrapped
    QTimer *m_wrapTimer = nullptr;
    double m_preferredX = -1;
    double m_wrapWidth = 0;
    std::pair<qsizetype, qsizetype> m_reportedSelection{0, 0};
};

} // namespace Toolkit
