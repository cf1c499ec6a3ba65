#include "renderhtmlpreview.h"

#include "previewtags.h"
#include "utf16.h"

#include <cstdint>

namespace VarloFade {

namespace {

constexpr std::u16string_view kLineBreakMarker = u"+chr13+";
constexpr double kLeftMargin = 2;

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

void RenderHtmlPreview(PreviewSurface &surface, std::u16string_view html, const EventTurn &processEvents)
{
    // The renderer's own copy is needed only when there are carriage returns
    // to mark; without them it reads the caller's text as it is.
    std::u16string marked;
    std::u16string_view text = html;
    if (html.find(u'\r') != std::u16string_view::npos) {
        marked = ReplaceText(std::u16string(html), u"\r", std::u16string(kLineBreakMarker), processEvents);
        text = marked;
    }

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
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t c = text[i];
        if (c == u'<' && lastClose != std::u16string::npos && lastClose > i) {
            const std::size_t close = text.find(u'>', i + 1);
            const PreviewTag tag = ReadPreviewTag(text.substr(i + 1, close - i - 1));
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
        } else if (c == u'+' && text.substr(i, kLineBreakMarker.size()) == kLineBreakMarker) {
            lineTop += kPreviewLineHeight;
            penX = 0;
            i += kLineBreakMarker.size() - 1;
        } else {
            // A surrogate pair is one character, as the fade treats it; a
            // lone half is a character of its own.
            const std::size_t units = UnitsOfCharacterAt(text, i);
            const std::u16string_view character = text.substr(i, units);
            i += units - 1;
            surface.setCurrentY(static_cast<double>(lineTop + shift));
            surface.setCurrentX(penX + kLeftMargin);
            surface.Print(character);
            penX += surface.TextWidth(character);
        }
    }
}

} // namespace VarloFade
