#pragma once

#include "textwrap.h"

#include <QAbstractScrollArea>
#include <QHash>

#include <array>
#include <vector>

class QMenu;
class QTextLayout;

namespace Toolkit {

// A multi-line text box with word wrap and a vertical scroll bar that keeps
// its text exactly as set: CR LF ends a line, a lone CR or LF stays in the
// text as an ordinary character, and Enter types CR LF. Only the lines in view
// are laid out, so a text of hundreds of thousands of characters on one line
// costs one pass over its character widths, not a full text layout.
class MultiLineTextBox : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit MultiLineTextBox(QWidget *parent = nullptr);

    void setText(const QString &text);
    const QString &text() const { return m_text; }

    qsizetype cursorPosition() const { return m_cursor; }
    void setCursorPosition(qsizetype pos, bool keepAnchor = false);
    void setSelection(qsizetype anchor, qsizetype cursor);
    QString selectedText() const;
    void insertText(const QString &text);

    const std::vector<VisualLine> &visualLines() const { return m_lines; }
    int firstVisibleLine() const;
    int lineHeight() const;

    // The platform's edit menu: Undo, Cut, Copy, Paste, Delete and Select All,
    // each enabled only where it would do something. The caller owns the menu.
    QMenu *createContextMenu();

public slots:
    void copy() const;
    void cut();
    void paste();
    void selectAll();
    // One level, as the platform's box has: undoing twice restores the edit.
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
    static constexpr int kMargin = 2;

    double advance(QStringView text, qsizetype i, qsizetype units);
    QString displayText(const VisualLine &line) const;
    void layoutLine(QTextLayout &layout, const VisualLine &line) const;
    void relayout();
    void updateScrollBar();
    int visibleLineCount() const;
    void ensureCursorVisible();
    qsizetype positionAt(const QPoint &viewportPos) const;
    double cursorX(qsizetype pos) const;
    qsizetype positionInLine(qsizetype line, double x) const;
    qsizetype previousPosition(qsizetype pos) const;
    qsizetype nextPosition(qsizetype pos) const;
    qsizetype previousWord(qsizetype pos) const;
    qsizetype nextWord(qsizetype pos) const;
    void moveCursor(qsizetype pos, bool keepAnchor, bool keepPreferredX = false);
    void replaceSelection(const QString &text, bool typing = false);
    bool hasSelection() const { return m_cursor != m_anchor; }

    QString m_text;
    std::vector<VisualLine> m_lines;
    qsizetype m_cursor = 0;
    qsizetype m_anchor = 0;
    double m_preferredX = -1;
    QString m_undoText;
    qsizetype m_undoCursor = 0;
    bool m_canUndo = false;
    bool m_typing = false; // the last edit was typing at the cursor, which goes on
    double m_wrapWidth = 0;
    std::array<double, 256> m_latin1Widths{};
    QHash<char32_t, double> m_otherWidths;
};

} // namespace Toolkit
