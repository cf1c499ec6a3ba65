#include "renderhtmlpreview.h"

#include "previewtags.h"

#include <cstdint>

namespace VarloFade {

namespace {

constexpr std::u16string_view kLineBreakMarker = u"+chr13+";
constexpr double kLeftMargin = 2;
constexpr std::int64_t kLineHeight = 16;

// Puts the caller's ScaleMode back however the render ends.
class ScaleModeRestorer
{
public:
    explicit ScaleModeRestorer(PreviewSurface &surface) : m_surface(surface), m_mode(surface.ScaleMode()) {}
    ~ScaleModeRestorer() { m_surface.setScaleMode(m_mode); }
    ScaleModeRestorer(const ScaleModeRestorer &) = delete;
    ScaleModeRestorer &operator=(const ScaleModeRestorer &) = delete;

private:
    PreviewSurface &m_surface;
    int m_mode;
};

} // namespace

void RenderHtmlPreview(PreviewSurface &surface, std::u16string html, const EventTurn &processEvents)
{
    const std::u16string text = ReplaceText(std::move(html), u"\r", std::u16string(kLineBreakMarker), processEvents);

    ScaleModeRestorer restorer(surface);
    surface.setScaleMode(PreviewSurface::kScalePixels);

    double penX = 0;
    // Wider than the window's integers: a pasted text may hold more lines
    // than a 16-bit line top could count.
    std::int64_t lineTop = 0;
    int shift = 0;

    surface.setFontName(u"Arial");
    surface.setFontSize(10);
    surface.setFontBold(false);
    surface.setFontItalic(false);
    surface.setFontUnderline(false);
    surface.setFontStrikethru(false);
    surface.setAutoRedraw(true);
    surface.setForeColor(0);
    surface.Cls();

    // A "<" with no ">" after it starts no tag: it and the rest are drawn.
    const std::size_t lastClose = text.rfind(u'>');
    const std::size_t n = text.size();
    std::u16string tagText;
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t c = text[i];
        if (c == u'<' && lastClose != std::u16string::npos && lastClose > i) {
            const std::size_t close = text.find(u'>', i + 1);
            LowerTagText(std::u16string_view(text).substr(i + 1, close - i - 1), tagText);
            const PreviewTag tag = ReadPreviewTag(tagText);
            i = close;
            switch (tag.kind) {
            case PreviewTag::Underline: surface.setFontUnderline(tag.on); break;
            case PreviewTag::Strikethru: surface.setFontStrikethru(tag.on); break;
            case PreviewTag::Bold: surface.setFontBold(tag.on); break;
            case PreviewTag::Italic: surface.setFontItalic(tag.on); break;
            case PreviewTag::Shift: shift = tag.shift; break;
            case PreviewTag::Color: surface.setForeColor(tag.color); break;
            case PreviewTag::Face: surface.setFontName(tag.face); break;
            case PreviewTag::None: break;
            }
        } else if (c == u'+' && std::u16string_view(text).substr(i, kLineBreakMarker.size()) == kLineBreakMarker) {
            lineTop += kLineHeight;
            penX = 0;
            i += kLineBreakMarker.size() - 1;
        } else {
            const std::u16string_view character(&text[i], 1);
            surface.setCurrentY(static_cast<double>(lineTop + shift));
            surface.setCurrentX(penX + kLeftMargin);
            surface.Print(character);
            penX += surface.TextWidth(character);
        }
    }
}

} // namespace VarloFade
