// The preview renderer, checked operation by operation against a surface that
// writes down what it is asked to do.
#include "fade/renderhtmlpreview.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

using VarloFade::RenderHtmlPreview;

namespace {

// Writes down each operation followed by a space, a drawn character as "c@x,y";
// measures 'H' as 8 pixels and every other character as 10.
class RecordingSurface : public VarloFade::PreviewSurface
{
public:
    mutable std::ostringstream ops;
    int scaleMode = 7; // not one the renderer sets, to show it is put back
    double x = 0, y = 0;

    int ScaleMode() const override { ops << "ScaleMode? "; return scaleMode; }
    void setScaleMode(int mode) override { scaleMode = mode; ops << "ScaleMode=" << mode << ' '; }
    void setFontName(std::u16string_view f) override { ops << "FontName=" << std::string(f.begin(), f.end()) << ' '; }
    void setFontSize(double points) override { ops << "FontSize=" << points << ' '; }
    void setFontBold(bool on) override { ops << "FontBold=" << on << ' '; }
    void setFontItalic(bool on) override { ops << "FontItalic=" << on << ' '; }
    void setFontUnderline(bool on) override { ops << "FontUnderline=" << on << ' '; }
    void setFontStrikethru(bool on) override { ops << "FontStrikethru=" << on << ' '; }
    void setAutoRedraw(bool on) override { ops << "AutoRedraw=" << on << ' '; }
    void setForeColor(VarloFade::ColorValue color) override { ops << "ForeColor=" << color << ' '; }
    void Cls() override { ops << "Cls "; }
    void setCurrentX(double to) override { x = to; }
    void setCurrentY(double to) override { y = to; }
    // Units outside ASCII are written as '?', so a surrogate pair prints "??".
    void Print(std::u16string_view text) override
    {
        for (char16_t c : text)
            ops << (c < 128 ? char(c) : '?');
        ops << '@' << x << ',' << y << ' ';
    }
    double TextWidth(std::u16string_view text) override { return text == u"H" ? 8 : 10; }
};

const std::string kPrepare = "ScaleMode? ScaleMode=3 FontName=Arial FontSize=10 FontBold=0 FontItalic=0 "
                            "FontUnderline=0 FontStrikethru=0 AutoRedraw=1 ForeColor=0 Cls ";

// Characters drawn one after another, from the left margin unless told.
std::string line(int y, const std::string &text, double x = 2)
{
    std::ostringstream ops;
    for (char c : text) {
        ops << c << '@' << x << ',' << y << ' ';
        x += c == 'H' ? 8 : 10;
    }
    return ops.str();
}

} // namespace

// The surface keeps the last font and colour; only ScaleMode is put back. An event
// turn is taken for each carriage return, all before the surface is touched, so a
// render run from one is over before this one starts drawing.
TEST(RenderHtmlPreview, TagRules)
{
    const struct { std::u16string html; std::string drawing; } cases[] = {
        {u"", ""},
        {u"<Font Color=#FF0000><sup>H<Font Color=#0000FF></sup>i\r<b>!",
         "ForeColor=255 " + line(-1, "H") + "ForeColor=16711680 " + line(0, "i", 10) + "FontBold=1 " + line(16, "!")},
        {u"<B><SUP>x<Font Color=#00FF00>y", "FontBold=1 " + line(-1, "x") + "ForeColor=65280 " + line(-1, "y", 12)},
        {u"<b >x</font><>y", line(0, "xy")},
        {u"<U><s><I>a</u></S></i><sUp>b</suB><su><sups><u/></><bb>c",
         "FontUnderline=1 FontStrikethru=1 FontItalic=1 a@2,0 FontUnderline=0 FontStrikethru=0 FontItalic=0 b@12,-1 c@22,0 "},
        {u"<sup><sub>x</sup>", line(1, "x")},
        {u"<sub>a\rb", line(1, "a") + line(17, "b")},
        {u"<font color=#f00>x", "ForeColor=240 " + line(0, "x")},
        {u"<font color=red>x", line(0, "x")},
        {u"<font face=\"Courier New\">x\ry", "FontName=courier new " + line(0, "x") + line(16, "y")},
        {u"a+chr13+b\r\r+CHR13+\n>", line(0, "a") + line(16, "b") + line(48, "+CHR13+\n>")},
        // A "<" that never closes is drawn, and so is what follows it.
        {u"a<b\rc", line(0, "a<b") + line(16, "c")},
        // Fade output for a typed 'a<b': the "<" swallows the colour tag of 'b'.
        {u"<Font Color=#FF0000>a<Font Color=#00FF00><<Font Color=#0000FF>b",
         "ForeColor=255 " + line(0, "a") + "ForeColor=65280 " + line(0, "b", 12)},
        // A surrogate pair is one character with one width; lone halves are one each.
        {u"a\U0001F600b", "a@2,0 ??@12,0 b@22,0 "},
        {u"<Font Color=#FF0000>\U0001F600<Font Color=#00FF00>c", "ForeColor=255 ??@2,0 ForeColor=65280 c@12,0 "},
        {u"\xDC00\xD800" u"b\xD83D", "?@2,0 ?@12,0 b@22,0 ?@32,0 "},
    };
    for (const auto &c : cases) {
        RecordingSurface surface;
        std::vector<std::size_t> opsAtTurns;
        RenderHtmlPreview(surface, c.html, [&] { opsAtTurns.push_back(surface.ops.str().size()); });
        EXPECT_EQ(surface.ops.str(), kPrepare + c.drawing + "ScaleMode=7 ");
        EXPECT_EQ(opsAtTurns, std::vector<std::size_t>(std::ranges::count(c.html, u'\r'), 0));
    }
}
