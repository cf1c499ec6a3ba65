#pragma once

#include "fade/previewsurface.h"

#include <string>

// The preview as text for a terminal: each character in the exact colour of
// its tag as a 24-bit SGR sequence, bold, italic, underline and strikethrough
// as their SGR codes, and a new line wherever the preview starts a new line.
// Raised and lowered characters stay on their line. Nothing but SGR sequences
// is ever written: line feeds and tabs are blanks, as in the window, and other
// control characters are shown as symbols, so no text can move the cursor or
// talk to the terminal.
//
// Cls starts a fresh preview in the terminal's own ink; a colour set after it
// is written exactly. Without colour the text comes out plain, no escape codes.
class TerminalSurface : public VarloFade::PreviewSurface
{
public:
    explicit TerminalSurface(bool colour) : m_colour(colour) {}

    int ScaleMode() const override { return m_scaleMode; }
    void setScaleMode(int mode) override { m_scaleMode = mode; }

    void setFontName(std::u16string_view) override {}
    void setFontSize(double) override {}
    void setFontBold(bool on) override { m_style.bold = on; }
    void setFontItalic(bool on) override { m_style.italic = on; }
    void setFontUnderline(bool on) override { m_style.underline = on; }
    void setFontStrikethru(bool on) override { m_style.strikethru = on; }
    void setAutoRedraw(bool) override {}
    void setForeColor(VarloFade::ColorValue color) override;

    void Cls() override;
    void setCurrentX(double) override {}
    void setCurrentY(double y) override { m_y = y; }
    void Print(std::u16string_view text) override;
    // One column per character.
    double TextWidth(std::u16string_view text) override { return static_cast<double>(text.size()); }

    // What was printed since the last Cls, ending with a reset (in colour)
    // and a new line.
    std::string text() const;

private:
    struct Style
    {
        bool inked = false; // false: the terminal's own colour
        VarloFade::ColorValue color = 0;
        bool bold = false, italic = false, underline = false, strikethru = false;
        bool operator==(const Style &) const = default;
    };

    void moveToLine(long long line);
    void put(char32_t character, const Style &style);
    void flushPendingHalf();

    bool m_colour;
    int m_scaleMode = kScaleTwips;
    double m_y = 0;
    Style m_style;        // as the tags have set it
    Style m_written;      // as the terminal has been told
    long long m_line = 0; // the line being written
    std::string m_out;
    // A high surrogate waits for its low half: the pair is one character,
    // shown in the style of its first half.
    char16_t m_pendingHalf = 0;
    Style m_pendingStyle;
};

// The terminal preview of html, as the fader window would paint it.
std::string TerminalPreview(const std::u16string &html, bool colour);
