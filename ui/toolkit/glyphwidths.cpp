#include "glyphwidths.h"

namespace Toolkit {

GlyphWidths::GlyphWidths(const QFont &font, const QPaintDevice *device)
{
    setFont(font, device);
}

void GlyphWidths::setFont(const QFont &font, const QPaintDevice *device)
{
    m_font = font;
    m_device = device;
    m_metrics.reset();
    m_latin1.fill(-1);
    m_other.clear();
}

const QFontMetricsF &GlyphWidths::metrics()
{
    if (!m_metrics) {
        if (m_device)
            m_metrics.emplace(m_font, m_device);
        else
            m_metrics.emplace(m_font);
        m_ascent = m_metrics->ascent();
        m_height = m_metrics->height();
    }
    return *m_metrics;
}

double GlyphWidths::otherAdvance(QStringView character)
{
    const char32_t key = character.size() == 2 ? QChar::surrogateToUcs4(character[0], character[1])
                                               : char32_t(character[0].unicode());
    auto it = m_other.constFind(key);
    if (it == m_other.constEnd())
        it = m_other.insert(key, measure(character));
    return *it;
}

} // namespace Toolkit
