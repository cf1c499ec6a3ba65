#pragma once

#include "fade/previewsurface.h"

#include <sstream>
#include <string>
#include <vector>

// A preview surface that writes down every operation, and measures 'H' as 8,
// 'i' as 3 and every other character as 10 pixels.
class RecordingSurface : public VarloFade::PreviewSurface
{
public:
    std::vector<std::string> ops;
    int scaleMode = kScaleTwips;
    bool bold = false, italic = false, underline = false, strikethru = false, autoRedraw = false;
    VarloFade::ColorValue foreColor = 0;
    std::string fontName;
    double fontSize = 0;

    static double widthOf(char16_t c) { return c == u'H' ? 8 : c == u'i' ? 3 : 10; }

    int ScaleMode() const override
    {
        const_cast<RecordingSurface *>(this)->ops.push_back("ScaleMode?");
        return scaleMode;
    }
    void setScaleMode(int mode) override { scaleMode = mode; say("ScaleMode", mode); }
    void setFontName(std::u16string_view face) override
    {
        fontName = narrow(face);
        ops.push_back("FontName=" + fontName);
    }
    void setFontSize(double points) override { fontSize = points; say("FontSize", points); }
    void setFontBold(bool on) override { bold = on; say("FontBold", on); }
    void setFontItalic(bool on) override { italic = on; say("FontItalic", on); }
    void setFontUnderline(bool on) override { underline = on; say("FontUnderline", on); }
    void setFontStrikethru(bool on) override { strikethru = on; say("FontStrikethru", on); }
    void setAutoRedraw(bool on) override { autoRedraw = on; say("AutoRedraw", on); }
    void setForeColor(VarloFade::ColorValue color) override { foreColor = color; say("ForeColor", color); }
    void Cls() override { ops.push_back("Cls"); }
    void setCurrentX(double x) override { say("CurrentX", x); }
    void setCurrentY(double y) override { say("CurrentY", y); }
    void Print(std::u16string_view text) override { ops.push_back("Print " + narrow(text)); }
    double TextWidth(std::u16string_view text) override
    {
        ops.push_back("TextWidth " + narrow(text));
        double width = 0;
        for (char16_t c : text)
            width += widthOf(c);
        return width;
    }

    // Everything drawn between Cls and the closing ScaleMode.
    std::vector<std::string> drawing() const
    {
        std::vector<std::string> body;
        bool started = false;
        for (std::size_t k = 0; k + 1 < ops.size(); ++k) {
            if (started)
                body.push_back(ops[k]);
            started = started || ops[k] == "Cls";
        }
        return body;
    }

    static std::string narrow(std::u16string_view text)
    {
        std::string out;
        for (char16_t c : text) {
            if (c == u'\n')
                out += "\\n";
            else if (c < 0x80)
                out += static_cast<char>(c);
            else
                out += "\\u" + std::to_string(int(c));
        }
        return out;
    }

private:
    template <typename T>
    void say(const char *name, T value)
    {
        std::ostringstream line;
        line << name << '=' << value;
        ops.push_back(line.str());
    }
};
