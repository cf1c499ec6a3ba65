#include "multilinelayout.h"

#include <QGlyphRun>
#include <QTextLine>

#include <algorithm>
#include <cmath>

namespace Toolkit {

namespace {

// Shown in place of a lone CR or LF, which stays in the text but does not
// break the line.
constexpr char16_t kLoneBreakGlyph = u'\u25A1';

// What a character is drawn as. A tab shows as one blank: a tab stop would
// draw wider than the wrapping measured, and hide the line's end.
QChar shownAs(QChar c)
{
    if (c == u'\r' || c == u'\n')
        return QChar(kLoneBreakGlyph);
    return c == u'\t' ? QChar(u' ') : c;
}

QString shownString(QString text)
{
    for (QChar &c : text)
        c = shownAs(c);
    return text;
}

// Printable ASCII, then the box shown for a lone CR or LF; a tab shows as a blank.
constexpr int kSymbols = 96;
int symbolOf(QChar c)
{
    if (c >= u' ' && c <= u'~')
        return c.unicode() - 0x20;
    if (c == u'\t')
        return 0;
    return c == u'\r' || c == u'\n' || c == QChar(kLoneBreakGlyph) ? kSymbols - 1 : -1;
}
QChar symbolChar(int i)
{
    return i < kSymbols - 1 ? QChar(char16_t(0x20 + i)) : QChar(kLoneBreakGlyph);
}

} // namespace

void MultiLineLayout::setFont(const QFont &font, const QPaintDevice *device)
{
    m_widths.setFont(font, device);
    m_device = device;
    m_kerningKnown = -1;
    reset();
}

void MultiLineLayout::setWidth(double width)
{
    m_width = std::max(1.0, width);
    reset();
}

void MultiLineLayout::reset()
{
    m_lines.clear();
    m_oldLines.clear();
    m_wrapFrom = 0;
}

void MultiLineLayout::edited(qsizetype position, qsizetype removed, qsizetype inserted)
{
    // The line before the edited one may take a word from it, so wrapping
    // starts again there; a line further up never looks this far.
    const qsizetype edited = m_wrapFrom >= 0 && position >= m_wrapFrom ? qsizetype(m_lines.size())
                                                                       : lineOfPosition(m_lines, position);
    const qsizetype from = std::max<qsizetype>(0, edited - 1);
    const qsizetype editEnd = position + removed;
    auto firstAfter = std::lower_bound(m_lines.begin() + from, m_lines.end(), editEnd,
                                       [](const VisualLine &l, qsizetype p) { return l.start < p; });
    m_oldLines.assign(firstAfter, m_lines.end());
    m_oldNext = 0;
    // Where the old wrapping stood, if past the edit: from there on it would go the same.
    m_oldWrapFrom = m_wrapFrom < 0 || m_wrapFrom >= editEnd ? m_wrapFrom : -2;
    m_shift = inserted - removed;
    if (from < qsizetype(m_lines.size())) {
        m_wrapFrom = m_lines[from].start;
        m_lines.resize(std::size_t(from));
    }
}

void MultiLineLayout::takeOverOldLines()
{
    if (m_wrapFrom < 0) {
        m_oldLines.clear();
        m_oldWrapFrom = -2;
        return;
    }
    while (m_oldNext < m_oldLines.size() && m_oldLines[m_oldNext].start + m_shift < m_wrapFrom)
        ++m_oldNext;
    if (m_oldNext < m_oldLines.size() && m_oldLines[m_oldNext].start + m_shift == m_wrapFrom) {
        for (auto it = m_oldLines.begin() + qsizetype(m_oldNext); it != m_oldLines.end(); ++it)
            m_lines.push_back({it->start + m_shift, it->length, it->breakLength});
        m_wrapFrom = m_oldWrapFrom == -1 ? -1 : m_oldWrapFrom + m_shift;
    } else if (m_oldNext < m_oldLines.size() || (m_oldWrapFrom >= 0 && m_oldWrapFrom + m_shift > m_wrapFrom)) {
        return; // not met yet
    }
    m_oldLines.clear();
    m_oldWrapFrom = -2;
}

void MultiLineLayout::wrapMore(std::size_t count)
{
    // Kerned as the line will be shaped, where the font's kerning is known;
    // what that misses, the check of the whole line catches.
    const bool kerned = kerningKnown();
    const auto advance = [this, kerned](QStringView text, qsizetype at, qsizetype units) {
        double w = glyphAdvance(text, at, units);
        if (kerned && units == 1 && at > 0) {
            const int a = symbolOf(text[at - 1]), b = symbolOf(text[at]);
            if (a >= 0 && b >= 0)
                w += m_kerning[a * kSymbols + b];
        }
        return w;
    };
    const auto fits = [this](qsizetype start, qsizetype end) { return this->fits(start, end); };
    std::size_t added = 0;
    while (m_wrapFrom >= 0 && added < count) {
        const bool takingOver = !m_oldLines.empty() || m_oldWrapFrom >= 0;
        const std::size_t before = m_lines.size();
        m_wrapFrom = wrapLines(m_text, m_wrapFrom, m_width, advance, fits, m_lines, takingOver ? 1 : count - added);
        added += m_lines.size() - before;
        if (takingOver)
            takeOverOldLines();
    }
}

void MultiLineLayout::wrapUntilLine(qsizetype index)
{
    while (m_wrapFrom >= 0 && qsizetype(m_lines.size()) <= index)
        wrapMore(std::max<std::size_t>(16, std::size_t(index) + 1 - m_lines.size()));
}

qsizetype MultiLineLayout::estimatedLineCount() const
{
    const qsizetype lines = qsizetype(m_lines.size());
    if (m_wrapFrom < 0)
        return lines;
    if (m_wrapFrom == 0)
        return lines + 1;
    return std::max(lines + 1, qsizetype(double(lines) * double(m_text.size()) / double(m_wrapFrom)));
}

const std::vector<VisualLine> &MultiLineLayout::lines()
{
    wrapMore(std::size_t(-1));
    return m_lines;
}

const VisualLine &MultiLineLayout::line(qsizetype index)
{
    wrapUntilLine(index);
    return m_lines[std::clamp<qsizetype>(index, 0, qsizetype(m_lines.size()) - 1)];
}

qsizetype MultiLineLayout::lineOf(qsizetype pos)
{
    // A position at a wrap belongs to the line it starts, so that line must be there.
    while (m_wrapFrom >= 0 && m_wrapFrom <= pos)
        wrapMore(256);
    return lineOfPosition(m_lines, pos);
}

bool MultiLineLayout::wrapsAtEnd(qsizetype index)
{
    wrapUntilLine(index + 1);
    const VisualLine &l = m_lines[index];
    return l.breakLength == 0 && index + 1 < qsizetype(m_lines.size()) && l.length > 0;
}

double MultiLineLayout::glyphAdvance(QStringView text, qsizetype at, qsizetype units)
{
    if (units == 1 && (text[at] == u'\r' || text[at] == u'\n' || text[at] == u'\t'))
        return m_widths.advance(shownAs(text[at]));
    return m_widths.advance(text, at, units);
}

QString MultiLineLayout::shownText(qsizetype start, qsizetype end) const
{
    return shownString(m_text.mid(start, end - start));
}

std::unique_ptr<QTextLayout> MultiLineLayout::shapeRange(qsizetype start, qsizetype end) const
{
    auto layout = std::make_unique<QTextLayout>(shownText(start, end), font(), m_device);
    QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(Qt::LeftToRight);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    layout->beginLayout();
    QTextLine line = layout->createLine();
    line.setPosition(QPointF(0, 0));
    layout->endLayout();
    return layout;
}


// The kerning of the font between any two of the symbols, read from one
// shaped line that holds every pair, and checked against lines shaped whole:
// where the font does more than pair kerning, every line is shaped instead.
bool MultiLineLayout::kerningKnown()
{
    if (m_kerningKnown < 0) {
        QString pairs;
        for (int a = 0; a < kSymbols; ++a) {
            for (int b = 0; b < kSymbols; ++b)
                pairs.append(symbolChar(a)).append(symbolChar(b));
        }
        QTextLayout layout(pairs, font(), m_device);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        std::vector<double> x;
        for (const QGlyphRun &run : layout.glyphRuns()) {
            for (const QPointF &p : run.positions())
                x.push_back(p.x());
        }
        std::sort(x.begin(), x.end());
        m_kerning.assign(kSymbols * kSymbols, 0);
        // The shaped width reaches over a last glyph's negative right bearing.
        const QFontMetricsF metrics = m_device ? QFontMetricsF(font(), m_device) : QFontMetricsF(font());
        m_overhang.resize(kSymbols);
        for (int i = 0; i < kSymbols; ++i)
            m_overhang[i] = std::max(0.0, -metrics.rightBearing(symbolChar(i)));
        m_kerningKnown = x.size() == std::size_t(pairs.size());
        for (qsizetype i = 1; m_kerningKnown && i < pairs.size(); ++i)
            m_kerning[symbolOf(pairs[i - 1]) * kSymbols + symbolOf(pairs[i])] =
                x[i] - x[i - 1] - glyphAdvance(pairs, i - 1, 1);
        for (QStringView sample : {u"AVAWAY Ta. To fit, <Font Color=#FF00A0>x</sup>y", u"\tW\ro\nrd'\"s {[|]} ~ ` @Lj"}) {
            if (m_kerningKnown)
                m_kerningKnown = std::abs(inkedWidth(shownString(sample.toString())) - kernedWidth(sample)) < 1e-3;
        }
    }
    return m_kerningKnown == 1;
}

// The shaped width of a line of symbols only, its trailing blanks left out;
// -1 where it holds another character.
double MultiLineLayout::kernedWidth(QStringView line)
{
    qsizetype inked = line.size();
    while (inked > 0 && (line[inked - 1] == u' ' || line[inked - 1] == u'\t'))
        --inked;
    double width = inked > 0 && symbolOf(line[inked - 1]) >= 0 ? m_overhang[symbolOf(line[inked - 1])] : 0;
    for (qsizetype i = 0; i < inked; ++i) {
        const int a = symbolOf(line[i]);
        if (a < 0)
            return -1;
        width += glyphAdvance(line, i, 1);
        // Kerning moves the glyph after the pair's first; the blank after the
        // last one does not move its ink.
        if (i + 1 < inked) {
            const int b = symbolOf(line[i + 1]);
            if (b < 0)
                return -1;
            width += m_kerning[a * kSymbols + b];
        }
    }
    return width;
}

// How wide the shaped text is drawn, up to its last glyph that is not a blank.
double MultiLineLayout::inkedWidth(const QString &shown) const
{
    qsizetype inked = shown.size();
    while (inked > 0 && shown[inked - 1] == u' ')
        --inked;
    QTextLayout layout(shown.left(inked), font(), m_device);
    QTextOption option;
    option.setTextDirection(Qt::LeftToRight);
    layout.setTextOption(option);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    return layout.lineAt(0).naturalTextWidth();
}

bool MultiLineLayout::fits(qsizetype start, qsizetype end)
{
    // A line of ASCII needs no shaping where the font only kerns it.
    if (kerningKnown()) {
        const double width = kernedWidth(QStringView(m_text).sliced(start, end - start));
        if (width >= 0)
            return width <= m_width;
    }
    return inkedWidth(shownText(start, end)) <= m_width;
}

std::unique_ptr<QTextLayout> MultiLineLayout::shaped(qsizetype index)
{
    const VisualLine &l = line(index);
    return shapeRange(l.start, l.end());
}

double MultiLineLayout::positionX(qsizetype pos)
{
    const qsizetype index = lineOf(pos);
    return shaped(index)->lineAt(0).cursorToX(int(std::min(pos, m_lines[index].end()) - m_lines[index].start));
}

double MultiLineLayout::naturalWidth(qsizetype index)
{
    const VisualLine &l = line(index);
    return inkedWidth(shownText(l.start, l.end()));
}

qsizetype MultiLineLayout::positionInLine(qsizetype index, double x, bool onCharacter)
{
    // Asked first: it may wrap the next line, which may move m_lines.
    const bool wraps = wrapsAtEnd(index);
    const VisualLine l = m_lines[index];
    const qsizetype pos = l.start + shapeRange(l.start, l.end())->lineAt(0).xToCursor(
                              x, onCharacter ? QTextLine::CursorOnCharacter : QTextLine::CursorBetweenCharacters);
    // A wrapped line's end is the next line's start; keep the cursor on this one.
    if (wraps && pos >= l.end())
        return l.end() - unitsOfCharacterBefore(m_text, l.end(), l.start);
    return std::min(pos, l.end());
}

} // namespace Toolkit
