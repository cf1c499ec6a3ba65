#pragma once

#include "glyphwidths.h"
#include "textwrap.h"

#include <QFont>
#include <QString>
#include <QTextLayout>

#include <memory>
#include <vector>

class QPaintDevice;

namespace Toolkit {

// The lines of the HTML box, without a widget: wraps the text (the editing
// model's, held by reference) at a width, and shapes each line with the
// platform's text layout (bidirectional order, joining, kerning), whose widths
// decide where a line may end, where the cursor stands and which character a
// point hits, so a line is drawn exactly as wide as it was measured. A lone CR
// or LF shows as a box and a tab as a blank; CR LF ends a line.
//
// Wrapping is lazy: lines are wrapped as they are asked for, or in slices
// (wrapMore) while the box is idle. An edit wraps again from the line before
// it and takes over the lines after it, shifted, once the wrap meets them.
class MultiLineLayout
{
public:
    explicit MultiLineLayout(const QString &text) : m_text(text) {}

    // device gives the resolution.
    void setFont(const QFont &font, const QPaintDevice *device);
    const QFont &font() const { return m_widths.font(); }
    double ascent() { return m_widths.ascent(); }
    void setWidth(double width);
    double width() const { return m_width; }

    // The whole text changed.
    void reset();
    // `removed` units at position became `inserted` units.
    void edited(qsizetype position, qsizetype removed, qsizetype inserted);

    bool done() const { return m_wrapFrom < 0; }
    void wrapMore(std::size_t lines);
    void wrapUntilLine(qsizetype index);
    qsizetype wrappedLineCount() const { return qsizetype(m_lines.size()); }
    // The number of lines, estimated from the part wrapped while not done.
    qsizetype estimatedLineCount() const;
    // Every line; wraps the rest.
    const std::vector<VisualLine> &lines();
    // Line index (clamped to the text's lines), wrapped on as far as needed.
    const VisualLine &line(qsizetype index);
    // The line that shows pos; a position at a wrap belongs to the line it starts.
    qsizetype lineOf(qsizetype pos);
    // Whether the line ends by wrapping onto the next (not at CR LF or the end).
    bool wrapsAtEnd(qsizetype index);

    // The line as shaped and drawn, its one text line at (0, 0).
    std::unique_ptr<QTextLayout> shaped(qsizetype index);
    // Where the cursor at pos stands, from the left of its line.
    double positionX(qsizetype pos);
    // How wide the line is drawn, its hanging blanks left out.
    double naturalWidth(qsizetype index);
    // The position nearest x on the line, or with onCharacter the character
    // under x; not past the wrap of a wrapped line.
    qsizetype positionInLine(qsizetype index, double x, bool onCharacter = false);

private:
    QString shownText(qsizetype start, qsizetype end) const;
    std::unique_ptr<QTextLayout> shapeRange(qsizetype start, qsizetype end) const;
    double inkedWidth(const QString &shown) const;
    double glyphAdvance(QStringView text, qsizetype at, qsizetype units);
    bool fits(qsizetype start, qsizetype end);
    bool kerningKnown();
    double kernedWidth(QStringView line);
    void takeOverOldLines();

    const QString &m_text;
    GlyphWidths m_widths;
    const QPaintDevice *m_device = nullptr;
    double m_width = 1;
    int m_kerningKnown = -1; // whether m_kerning gives ASCII lines their shaped widths; -1: not tried yet
    std::vector<double> m_kerning, m_overhang;
    std::vector<VisualLine> m_lines; // wrapped so far
    qsizetype m_wrapFrom = 0;        // where the next line starts; -1 when all are wrapped
    // Lines after the last edit, in the text before it, and what became of
    // their positions: they hold again once the wrap reaches one past the edit.
    std::vector<VisualLine> m_oldLines;
    std::size_t m_oldNext = 0;
    qsizetype m_oldWrapFrom = -1;
    qsizetype m_shift = 0;
};

} // namespace Toolkit
