#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QStringView>

#include <array>
#include <optional>

class QPaintDevice;

namespace Toolkit {

// The advance of one character in one font on one device, as drawing places
// it. The text box and the picture box draw every character at the sum of the
// advances before it, so what they measure is exactly what they draw. A
// surrogate pair is one character. Widths are kept per font: a preview
// measures every character, and the font changes only at style tags.
class GlyphWidths
{
public:
    // device gives the resolution; none means the screen's.
    explicit GlyphWidths(const QFont &font = QFont(), const QPaintDevice *device = nullptr);

    void setFont(const QFont &font, const QPaintDevice *device = nullptr);
    const QFont &font() const { return m_font; }

    // The character of units (1, or 2 for a pair) at text[at].
    double advance(QStringView text, qsizetype at, qsizetype units)
    {
        const char16_t c = text[at].unicode();
        if (units == 1 && c < m_latin1.size()) {
            double &w = m_latin1[c];
            if (w < 0)
                w = measure(text.sliced(at, 1));
            return w;
        }
        return otherAdvance(text.sliced(at, units));
    }
    double advance(QChar c) { return advance(QStringView(&c, 1), 0, 1); }
    // A whole string as the font shapes it (TextWidth of several characters).
    double stringWidth(QStringView text) { return metrics().horizontalAdvance(text.toString()); }

    double ascent() { metrics(); return m_ascent; }
    double height() { metrics(); return m_height; }

private:
    const QFontMetricsF &metrics();
    double measure(QStringView character) { return metrics().horizontalAdvance(character.toString()); }
    double otherAdvance(QStringView character);

    QFont m_font;
    const QPaintDevice *m_device = nullptr;
    std::optional<QFontMetricsF> m_metrics;
    double m_ascent = 0, m_height = 0; // of m_metrics
    std::array<double, 256> m_latin1;
    QHash<char32_t, double> m_other;
};

} // namespace Toolkit
