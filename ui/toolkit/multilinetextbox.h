#pragma once

#include "multilinecontrol.h"
#include "multilinelayout.h"
#include "multilineview.h"

#include <QAbstractScrollArea>

#include <utility>
#include <vector>

class QMenu;
class QTimer;

namespace Toolkit {

// A multi-line text box with word wrap and a vertical scroll bar that keeps
// its text exactly as set: CR LF ends a line, a lone CR or LF stays in the
// text as an ordinary character, and Enter types CR LF. The editing is
// MultiLineControl's, the lines and their shaping MultiLineLayout's, where they
// show MultiLineView's, the keys keyActionFor's; the box maps events onto them,
// paints the lines in view and tells assistive technology what changed.
class MultiLineTextBox : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit MultiLineTextBox(QWidget *parent = nullptr);

    // The box takes the text as it is; a QString passed by value shares its buffer.
    void setText(QString text);
    const QString &text() const { return m_control.text(); }
    const MultiLineControl &control() const { return m_control; }
    MultiLineLayout &layout() { return m_layout; }
    const MultiLineView &view() const { return m_view; }

    qsizetype cursorPosition() const { return m_control.cursor(); }
    void setCursorPosition(qsizetype pos, bool keepAnchor = false);
    void setSelection(qsizetype anchor, qsizetype cursor);
    QString selectedText() const { return m_control.selectedText(); }
    void insertText(const QString &text);

    // Every line of the text; wraps what is not wrapped yet.
    const std::vector<VisualLine> &visualLines() { return m_layout.lines(); }
    // Whether every line is wrapped: a long text wraps what the box shows at
    // once and the rest in slices when the event loop is idle.
    bool wrapDone() const { return m_layout.done(); }
    int firstVisibleLine() const;
    int lineHeight() const { return m_view.lineHeight(); }
    // Lines wrap at this width; the text area starts kMargin from the left.
    double wrapWidth() const { return m_layout.width(); }
    double naturalWidth(qsizetype line) { return m_layout.naturalWidth(line); }

    // The position nearest a point of the viewport, or the character under it.
    qsizetype positionAt(const QPoint &viewportPos, bool onCharacter = false)
    {
        return m_view.positionAt(viewportPos, firstVisibleLine(), onCharacter);
    }
    // Scrolls pos into view, the cursor staying where it is.
    void scrollToPosition(qsizetype pos);

    // The platform's edit menu: Undo, Cut, Copy, Paste, Delete and Select All,
    // each enabled only where it would do something. The caller owns the menu.
    QMenu *createContextMenu();

    static constexpr int kMargin = MultiLineView::kMargin;

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
    void relayout();
    void updateScrollBar();
    void replaceSelection(QStringView text, bool typing = false);
    // After the control moved the cursor or changed the text.
    void cursorMoved(bool keepPreferredX = false);
    void edited();

    MultiLineControl m_control;
    MultiLineLayout m_layout{m_control.text()};
    MultiLineView m_view{m_layout};
    QTimer *m_wrapTimer = nullptr;
    double m_preferredX = -1;
    std::pair<qsizetype, qsizetype> m_reportedSelection{0, 0}; // as assistive technology knows it
};

} // namespace Toolkit
