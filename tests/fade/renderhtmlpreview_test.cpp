// The preview renderer, checked operation by operation against a surface that
// records what it is asked to do.
#include "recordingsurface.h"

#include "fade/previewtags.h"
#include "fade/renderhtmlpreview.h"

#include <gtest/gtest.h>

#include <random>

using VarloFade::RenderHtmlPreview;
using Ops = std::vector<std::string>;

namespace {

const Ops kPrepare = {"ScaleMode?", "ScaleMode=3", "FontName=Arial", "FontSize=10", "FontBold=0",
                      "FontItalic=0", "FontUnderline=0", "FontStrikethru=0", "AutoRedraw=1",
                      "ForeColor=0", "Cls"};

Ops drawnAt(double x, double y, char c)
{
    const std::string s(1, c);
    std::ostringstream cx, cy;
    cx << "CurrentX=" << x;
    cy << "CurrentY=" << y;
    return {cy.str(), cx.str(), "Print " + s, "TextWidth " + s};
}

Ops operator+(Ops a, const Ops &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Ops drawingOf(const std::u16string &html)
{
    RecordingSurface surface;
    RenderHtmlPreview(surface, html);
    return surface.drawing();
}

} // namespace

TEST(RenderHtmlPreview, WorkedExample)
{
    RecordingSurface surface;
    int turns = 0;
    RenderHtmlPreview(surface, u"<Font Color=#FF0000><sup>H<Font Color=#0000FF></sup>i\r<b>!", [&] { ++turns; });

    const double w = RecordingSurface::widthOf(u'H');
    const Ops expected = kPrepare + Ops{"ForeColor=255"} + drawnAt(2, -1, 'H') + Ops{"ForeColor=16711680"}
                         + drawnAt(2 + w, 0, 'i') + Ops{"FontBold=1"} + drawnAt(2, 16, '!') + Ops{"ScaleMode=1"};
    EXPECT_EQ(surface.ops, expected);
    EXPECT_EQ(turns, 1);
}

TEST(RenderHtmlPreview, EmptyHtmlClearsPreparesAndRestores)
{
    RecordingSurface surface;
    surface.scaleMode = 7;
    RenderHtmlPreview(surface, u"");
    EXPECT_EQ(surface.ops, kPrepare + Ops{"ScaleMode=7"});
}

// The surface keeps the last settings; only ScaleMode is put back.
TEST(RenderHtmlPreview, EndStateKeepsLastStylesAndFace)
{
    RecordingSurface surface;
    RenderHtmlPreview(surface, u"<i><u><s><font face=\"Courier New\"><Font Color=#00FF00>x");
    EXPECT_TRUE(surface.italic);
    EXPECT_TRUE(surface.underline);
    EXPECT_TRUE(surface.strikethru);
    EXPECT_FALSE(surface.bold);
    EXPECT_EQ(surface.fontName, "courier new");
    EXPECT_EQ(surface.foreColor, 0x00FF00);
    EXPECT_EQ(surface.fontSize, 10);

    // A second render starts from the fixed start state again.
    RenderHtmlPreview(surface, u"y");
    EXPECT_FALSE(surface.italic);
    EXPECT_FALSE(surface.underline);
    EXPECT_FALSE(surface.strikethru);
    EXPECT_EQ(surface.fontName, "Arial");
    EXPECT_EQ(surface.foreColor, 0);
}

struct TagCase
{
    const char *name;
    std::u16string html;
    Ops drawing;
};

class TagRules : public testing::TestWithParam<TagCase>
{
};

TEST_P(TagRules, DrawExactly)
{
    EXPECT_EQ(drawingOf(GetParam().html), GetParam().drawing);
}

INSTANTIATE_TEST_SUITE_P(
    RenderHtmlPreview, TagRules,
    testing::Values(
        TagCase{"CapitalTags", u"<B><SUP>x<Font Color=#00FF00>y",
                Ops{"FontBold=1"} + drawnAt(2, -1, 'x') + Ops{"ForeColor=65280"} + drawnAt(12, -1, 'y')},
        TagCase{"WholeTagOnly", u"<b >x</font>y<bold>z", drawnAt(2, 0, 'x') + drawnAt(12, 0, 'y') + drawnAt(22, 0, 'z')},
        TagCase{"EmptyTag", u"<>x", drawnAt(2, 0, 'x')},
        TagCase{"StylesOnAndOff", u"<i><u><s>x</i></u></s>y",
                Ops{"FontItalic=1", "FontUnderline=1", "FontStrikethru=1"} + drawnAt(2, 0, 'x')
                    + Ops{"FontItalic=0", "FontUnderline=0", "FontStrikethru=0"} + drawnAt(12, 0, 'y')},
        TagCase{"SupSubDoNotAddUp", u"<sup><sub>x</sup>y", drawnAt(2, 1, 'x') + drawnAt(12, 0, 'y')},
        TagCase{"SubThenSup", u"<sub><sup>x</sub>y", drawnAt(2, -1, 'x') + drawnAt(12, 0, 'y')},
        TagCase{"ShortColourCode", u"<font color=#f00>x", Ops{"ForeColor=240"} + drawnAt(2, 0, 'x')},
        TagCase{"OneDigitCode", u"<font color=#f>x", Ops{"ForeColor=983055"} + drawnAt(2, 0, 'x')},
        TagCase{"EmptyCode", u"<font color=#>x", Ops{"ForeColor=0"} + drawnAt(2, 0, 'x')},
        TagCase{"LongCodeReadsSix", u"<font color=#1234567>x",
                Ops{"ForeColor=" + std::to_string(0x12 + 256 * 0x34 + 65536 * 0x56)} + drawnAt(2, 0, 'x')},
        TagCase{"NotHexCountsZero", u"<font color=#zz00ff>x", Ops{"ForeColor=16711680"} + drawnAt(2, 0, 'x')},
        TagCase{"ColourAfterFirstHash", u"<font color=x#00ff00#ff0000>x", Ops{"ForeColor=65280"} + drawnAt(2, 0, 'x')},
        TagCase{"ColourWithoutHashIgnored", u"<font color=red>x", drawnAt(2, 0, 'x')},
        TagCase{"FaceQuoted", u"<font face=\"Courier New\" size=2>x", Ops{"FontName=courier new"} + drawnAt(2, 0, 'x')},
        TagCase{"FaceUnquoted", u"<font face =  Times >x", Ops{"FontName=times"} + drawnAt(2, 0, 'x')},
        TagCase{"FaceEmptyIgnored", u"<font face=\"\">x<font face>y", drawnAt(2, 0, 'x') + drawnAt(12, 0, 'y')},
        TagCase{"FaceKeepsLineHeight", u"<font face=\"Courier New\">x\ry",
                Ops{"FontName=courier new"} + drawnAt(2, 0, 'x') + drawnAt(2, 16, 'y')},
        TagCase{"CarriageReturnBreaks", u"ab\rc\r\rd",
                drawnAt(2, 0, 'a') + drawnAt(12, 0, 'b') + drawnAt(2, 16, 'c') + drawnAt(2, 48, 'd')},
        TagCase{"LiteralMarkerBreaks", u"a+chr13+b", drawnAt(2, 0, 'a') + drawnAt(2, 16, 'b')},
        TagCase{"MarkerIsCaseSensitive", u"+CHR13+",
                drawnAt(2, 0, '+') + drawnAt(12, 0, 'C') + drawnAt(22, 0, 'H') + drawnAt(30, 0, 'R')
                    + drawnAt(40, 0, '1') + drawnAt(50, 0, '3') + drawnAt(60, 0, '+')},
        TagCase{"PlusLineFeedAndStrayCloseDrawn", u"+\n>",
                drawnAt(2, 0, '+') + Ops{"CurrentY=0", "CurrentX=12", "Print \\n", "TextWidth \\n"} + drawnAt(22, 0, '>')},
        TagCase{"ShiftSurvivesLineBreak", u"<sub>a\rb", drawnAt(2, 1, 'a') + drawnAt(2, 17, 'b')},
        TagCase{"OpenWithoutCloseIsDrawn", u"a<b\rc", drawnAt(2, 0, 'a') + drawnAt(12, 0, '<') + drawnAt(22, 0, 'b')
                                                         + drawnAt(2, 16, 'c')},
        TagCase{"TrailingOpenAfterTag", u"<a>b<", drawnAt(2, 0, 'b') + drawnAt(12, 0, '<')},
        // Fade output for a typed 'a<b': the "<" swallows the colour tag of 'b'.
        TagCase{"OpenSwallowsNextTag", u"<Font Color=#FF0000>a<Font Color=#00FF00><<Font Color=#0000FF>b",
                Ops{"ForeColor=255"} + drawnAt(2, 0, 'a') + Ops{"ForeColor=65280"} + drawnAt(12, 0, 'b')}),
    [](const testing::TestParamInfo<TagCase> &info) { return std::string(info.param.name); });

TEST(RenderHtmlPreview, OneEventTurnPerCarriageReturnBeforeTheSurfaceIsTouched)
{
    RecordingSurface surface;
    std::vector<std::size_t> opsAtTurn;
    RenderHtmlPreview(surface, u"a\rb\rc\r", [&] { opsAtTurn.push_back(surface.ops.size()); });
    EXPECT_EQ(opsAtTurn, (std::vector<std::size_t>{0, 0, 0}));
}

TEST(RenderHtmlPreview, RenderRunFromAnEventTurnLeavesTheOuterPicture)
{
    RecordingSurface surface;
    bool inner = false;
    RenderHtmlPreview(surface, u"<b>a\rb", [&] {
        if (!inner) {
            inner = true;
            RenderHtmlPreview(surface, u"<i>z\rz\rz", [&] {});
        }
    });
    ASSERT_TRUE(inner);
    // The last Cls starts the outer picture, which then runs whole.
    std::size_t lastCls = 0;
    for (std::size_t k = 0; k < surface.ops.size(); ++k)
        if (surface.ops[k] == "Cls")
            lastCls = k;
    const Ops tail(surface.ops.begin() + static_cast<std::ptrdiff_t>(lastCls + 1), surface.ops.end());
    EXPECT_EQ(tail, Ops{"FontBold=1"} + drawnAt(2, 0, 'a') + drawnAt(2, 16, 'b') + Ops{"ScaleMode=1"});
    EXPECT_FALSE(surface.italic);
}

TEST(PreviewTags, ReadTheTagTable)
{
    using VarloFade::PreviewTag;
    EXPECT_EQ(VarloFade::ReadPreviewTag(u"sup").shift, -1);
    EXPECT_EQ(VarloFade::ReadPreviewTag(u"sub").shift, 1);
    EXPECT_EQ(VarloFade::ReadPreviewTag(u"/sub").kind, PreviewTag::Shift);
    EXPECT_EQ(VarloFade::ReadPreviewTag(u"/sub").shift, 0);
    EXPECT_EQ(VarloFade::ReadPreviewTag(u"font colo").kind, PreviewTag::None);
    EXPECT_EQ(VarloFade::ReadPreviewTag(u"font colors#ffffff").color, 0xFFFFFF); // prefix match
    EXPECT_EQ(VarloFade::ReadPreviewTag(u"font colour=#ffffff").kind, PreviewTag::None);
    EXPECT_EQ(VarloFade::ReadPreviewTag(u"SUP").kind, PreviewTag::None); // callers lower-case first
    EXPECT_EQ(VarloFade::LowerTagText(u"Font COLOR=#AbC\u00C9"), u"font color=#abc\u00C9");
}

// Arbitrary mixtures of tags, markers, line breaks and stray characters must
// render to the end with the surface's invariants kept.
TEST(RenderHtmlPreview, RandomHtmlAlwaysEndsWithTheSurfaceRestored)
{
    const std::u16string pieces[] = {u"<",       u">",        u"+",          u"+chr13+",   u"+chr13",
                                     u"\r",      u"\n",       u"#",          u"\"",        u"<font color=#",
                                     u"<font face=\"", u"<font face=", u"<sup>", u"</sub>", u"<sub>",
                                     u"<b>",     u"</i>",     u"ff",         u"a",         u"Z",
                                     u"\u00E9",  u"\xD83D",   std::u16string(1, u'\0'), u"<>", u"Font Color=#0"};
    std::mt19937 random(20261206);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1), length(0, 120);
    for (int round = 0; round < 3000; ++round) {
        std::u16string html;
        for (std::size_t k = length(random); k > 0; --k)
            html += pieces[pick(random)];
        RecordingSurface surface;
        surface.scaleMode = 1 + round % 7;
        int turns = 0;
        RenderHtmlPreview(surface, html, [&] { ++turns; });

        SCOPED_TRACE(RecordingSurface::narrow(html));
        ASSERT_GE(surface.ops.size(), kPrepare.size() + 1);
        EXPECT_EQ(Ops(surface.ops.begin(), surface.ops.begin() + kPrepare.size()), kPrepare);
        EXPECT_EQ(surface.ops.back(), "ScaleMode=" + std::to_string(1 + round % 7));
        EXPECT_EQ(turns, std::count(html.begin(), html.end(), u'\r'));
        std::size_t prints = 0;
        for (std::size_t k = kPrepare.size(); k + 1 < surface.ops.size(); ++k) {
            const std::string &op = surface.ops[k];
            ASSERT_NE(op, "Cls");
            ASSERT_NE(op.rfind("ScaleMode", 0), 0u);
            if (op.rfind("Print ", 0) == 0) {
                ++prints;
                ASSERT_EQ(surface.ops[k + 1], "TextWidth " + op.substr(6));
                // y is the line top, a multiple of 16, shifted at most one pixel.
                const int y = std::stoi(surface.ops[k - 2].substr(9));
                const int offset = ((y % 16) + 16) % 16;
                EXPECT_TRUE(offset == 0 || offset == 1 || offset == 15) << y;
            }
        }
        EXPECT_LE(prints, html.size());
    }
}
