// quorvex-fade's stops, blends and formats, run as a user would.
#include "faderun.h"

#include <QTemporaryDir>
#include <QXmlStreamReader>

TEST(QuorvexFadeStops, ThreeColorsAreTheThreeColourOptions)
{
    const QByteArray inputs[] = {"", "x", "ab cd", "line one\r\nline two\r", "a\xf0\x9f\x98\x80<b>&", QByteArray(14, 'z')};
    for (const QByteArray &input : inputs)
        for (const QStringList &wavy : {QStringList{}, QStringList{"--wavy"}}) {
            const FadeRun colors = fade(wavy + QStringList{"--colors", "#FF0000,0x80000007,0x1234567"}, input);
            EXPECT_EQ(colors.exitCode, 0) << colors.err.constData();
            EXPECT_EQ(colors.out, fade(wavy + QStringList{"-1", "#FF0000", "-2", "0x80000007", "-3", "0x1234567"}, input).out)
                << input.constData();
        }
}

TEST(QuorvexFadeStops, WritesEachFormatWhilePreviewsKeepTheAimFade)
{
    const QStringList stops = {"--wavy", "--blend", "oklab", "--colors", "#FF0000,#00FF00,#0000FF,#FFFFFF"};
    // Parts of 1, 2 and 1 characters; half way from green to blue in OKLab is 0, 169.70, 190.74.
    EXPECT_EQ(fade(stops + QStringList{"--format", "bbcode", "abcd"}).out,
              "[sup][color=#00FF00]a[/color][/sup][color=#00AABF]b[/color][sub][color=#0000FF]c[/color][/sub]"
              "[color=#FFFFFF]d[/color]");
    // Every character the markup must escape or replace, in a document of its own.
    const QByteArray text = "<p>&amp; \"q\" 'q'\r\nnext\rline\n\x1b\xf0\x9f\x98\x80\t]]>";
    const FadeRun html = fade(stops + QStringList{"--format", "html"}, text);
    ASSERT_EQ(html.exitCode, 0) << html.err.constData();
    EXPECT_TRUE(html.out.startsWith("<sup><span style=\"color:#")) << html.out.constData();
    EXPECT_EQ(html.out.count("<br/>"), 1);
    QXmlStreamReader xml("<p xmlns=\"http://www.w3.org/1999/xhtml\">" + html.out + "</p>");
    QString characters;
    int spans = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isCharacters())
            characters += xml.text();
        if (xml.isStartElement() && xml.name() == QStringLiteral("span"))
            ++spans;
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString() << " in " << html.out.constData();
    // XML reads a lone CR as LF.
    EXPECT_EQ(characters,
              QString::fromUtf8(text).remove(QStringLiteral("\r\n")).replace(u'\r', u'\n').replace(u'\x1b', u'\xFFFD'));
    EXPECT_EQ(spans, 32); // one for each of the 34 characters but the CR LF
    // The previews are the AIM fade's, whatever the format.
    QTemporaryDir dir;
    const auto preview = [&](const QString &name, const QStringList &more) {
        EXPECT_EQ(fade(stops + more + QStringList{"--preview", dir.filePath(name), "Quorvex"}).exitCode, 0);
        return readFile(dir.filePath(name));
    };
    const QByteArray aimPng = preview("aim.png", {});
    EXPECT_TRUE(aimPng.startsWith("\x89PNG"));
    for (const char *format : {"bbcode", "html"}) {
        const FadeRun ansi = fade(stops + QStringList{"--ansi", "--format", format, "Quorvex"});
        EXPECT_EQ(ansi.exitCode, 0);
        EXPECT_EQ(ansi.out, fade(stops + QStringList{"--ansi", "Quorvex"}).out);
        EXPECT_EQ(preview(QString::fromLatin1(format) + ".png", {"--format", format}), aimPng) << format;
    }
}
