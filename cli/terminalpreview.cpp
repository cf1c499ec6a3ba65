#include "terminalpreview.h"

#include "fade/renderhtmlpreview.h"
#include "fade/utf16.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The invisible format characters (general category Cf) and the line and
// paragraph separators. A terminal acts on them: the bidi controls and marks
// reorder the line, so the preview would no longer read as the text that is sent.
constexpr struct { char32_t first, last; } kFormatCharacters[] = {
    {0x00AD, 0x00AD},   {0x0600, 0x0605},   {0x061C, 0x061C},   {0x06DD, 0x06DD}, {0x070F, 0x070F},
    {0x0890, 0x0891},   {0x08E2, 0x08E2},   {0x180E, 0x180E},   {0x200B, 0x200F}, {0x2028, 0x202E},
    {0x2060, 0x2064},   {0x2066, 0x206F},   {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB}, {0x110BD, 0x110BD},
    {0x110CD, 0x110CD}, {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
    {0xE0020, 0xE007F},
};

bool isFormatCharacter(char32_t c)
{
    if (c < kFormatCharacters[0].first)
        return false;
    for (const auto &range : kFormatCharacters)
        if (c >= range.first && c <= range.last)
            return true;
    return false;
}

// A line feed and a tab are blanks, as the window's preview paints them; the
// other C0 controls and DEL are their Unicode control pictures, C1 controls
// and format characters the replacement character: a terminal would act on
// them instead of showing them.
char32_t shown(char32_t c)
{
    if (c == u'\n' || c == u'\t')
        return u' ';
    if (c < 0x20)
        return 0x2400 + c;
    if (c == 0x7F)
        return 0x2421;
    if ((c >= 0x80 && c < 0xA0) || isFormatCharacter(c))
        return kReplacement;
    return c;
}

} // namespace

void TerminalSurface::setForeColor(VarloFade::ColorValue color)
{
    m_style.inked = true;
    m_style.color = color;
}

void TerminalSurface::Cls()
{
    m_out.clear();
    m_line = 0;
    m_style.inked = false;
    m_style.color = 0;
    m_written = Style{};
    m_pendingHalf = 0;
}

void TerminalSurface::Print(std::u16string_view text)
{
    // The renderer draws in pixels. A raised or lowered character is one pixel
    // off its line's top.
    constexpr double kLine = VarloFade::kPreviewLineHeight;
    moveToLine(static_cast<long long>(std::floor((m_y + kLine / 2) / kLine)));
    for (const char16_t unit : text) {
        if (m_pendingHalf && VarloFade::IsLowSurrogate(unit)) {
            const char32_t pair = 0x10000 + ((char32_t(m_pendingHalf) - 0xD800) << 10) + (unit - 0xDC00);
            m_pendingHalf = 0;
            put(shown(pair), m_pendingStyle);
            continue;
        }
        flushPendingHalf();
        if (VarloFade::IsHighSurrogate(unit)) {
            m_pendingHalf = unit;
            m_pendingStyle = m_style;
        } else {
            put(VarloFade::IsLowSurrogate(unit) ? kReplacement : shown(unit), m_style);
        }
    }
}

void TerminalSurface::flushPendingHalf()
{
    if (!m_pendingHalf)
        return;
    m_pendingHalf = 0;
    put(kReplacement, m_pendingStyle);
}

void TerminalSurface::moveToLine(long long line)
{
    if (line <= m_line)
        return;
    flushPendingHalf();
    if (m_colour && !(m_written == Style{}))
        m_out += "\x1b[0m";
    m_written = Style{};
    m_out.append(static_cast<std::size_t>(line - m_line), '\n');
    m_line = line;
}

void TerminalSurface::put(char32_t character, const Style &style)
{
    if (m_colour && !(style == m_written)) {
        std::string codes;
        const auto add = [&codes](const std::string &code) { codes += (codes.empty() ? "" : ";") + code; };
        if (style.inked != m_written.inked || style.color != m_written.color) {
            if (style.inked) {
                const auto rgb = static_cast<std::uint32_t>(style.color);
                add("38;2;" + std::to_string(rgb & 0xFF) + ';' + std::to_string((rgb >> 8) & 0xFF) + ';'
                    + std::to_string((rgb >> 16) & 0xFF));
            } else {
                add("39");
            }
        }
        if (style.bold != m_written.bold)
            add(style.bold ? "1" : "22");
        if (style.italic != m_written.italic)
            add(style.italic ? "3" : "23");
        if (style.underline != m_written.underline)
            add(style.underline ? "4" : "24");
        if (style.strikethru != m_written.strikethru)
            add(style.strikethru ? "9" : "29");
        m_out += "\x1b[" + codes + 'm';
        m_written = style;
    }
    appendUtf8(m_out, character);
}

std::string TerminalSurface::text() const
{
    TerminalSurface finished = *this;
    finished.flushPendingHalf(); // a high half that never met its low half
    std::string out = std::move(finished.m_out);
    if (m_colour)
        out += "\x1b[0m";
    out += '\n';
    return out;
}

std::string TerminalPreview(const std::u16string &html, bool colour)
{
    TerminalSurface surface(colour);
    VarloFade::RenderHtmlPreview(surface, html);
    return surface.text();
}
