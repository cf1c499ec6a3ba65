// Runs the real quorvex-fade binary as a user would from a shell.
#include "fadeprocess.h"

#include <gtest/gtest.h>

#include <QProcess>

namespace {

FadeRun fade(const QStringList &arguments, const QByteArray &input = {})
{
    return runQuorvexFade(arguments, input);
}

const QStringList kRgb = {"-1", "#FF0000", "-2", "#00FF00", "-3", "#0000FF"};

} // namespace

TEST(QuorvexFade, FadesTheTextArgument)
{
    const FadeRun plain = fade(kRgb + QStringList{"abc"});
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_EQ(plain.out, "<Font Color=#808000>a<Font Color=#00FF00>b<Font Color=#0000FF>c");
    EXPECT_TRUE(plain.err.isEmpty());

    const FadeRun wavy = fade(QStringList{"--wavy"} + kRgb + QStringList{"abc"});
    EXPECT_EQ(wavy.out, "<Font Color=#808000><sup>a<Font Color=#00FF00></sup>b<Font Color=#0000FF><sub>c");

    // Raw settings in 0x00BBGGRR order give the same fade.
    EXPECT_EQ(fade({"-1", "0xFF", "-2", "0xFF00", "-3", "0xFF0000", "abc"}).out, plain.out);
    // Words are joined by single spaces.
    EXPECT_EQ(fade(kRgb + QStringList{"a", "b"}).out, fade(kRgb + QStringList{"a b"}).out);
}

TEST(QuorvexFade, UntouchedColoursAreTheSystemColourReference)
{
    EXPECT_EQ(fade({"z"}).out, "<Font Color=#070080>z");
    EXPECT_EQ(fade({"-3", "0x80000007", "z"}).out, "<Font Color=#070080>z");
}

TEST(QuorvexFade, ReadsStandardInputExactly)
{
    const QByteArray text = "a\r\nb\xc3\xa9\xf0\x9f\x98\x80";
    const FadeRun run = fade({"-1", "#FF0000", "-2", "#FF0000", "-3", "#FF0000"}, text);
    EXPECT_EQ(run.exitCode, 0);
    QByteArray expected;
    for (const char *c : {"a", "\r", "\n", "b", "\xc3\xa9", "\xf0\x9f\x98\x80"})
        expected += QByteArray("<Font Color=#FF0000>") + c;
    EXPECT_EQ(run.out, expected);

    EXPECT_EQ(fade({}, QByteArray()).out, QByteArray());
    // A byte-order mark is text like any other.
    EXPECT_EQ(fade({}, "\xef\xbb\xbfq").out, "<Font Color=#070080>\xef\xbb\xbf<Font Color=#070080>q");
}

TEST(QuorvexFade, RefusesBadInputWithNothingOnStandardOutput)
{
    const struct { QStringList arguments; QByteArray input; int exitCode; const char *says; } cases[] = {
        {{"-1", "#FF00", "x"}, {}, 2, "colour 1 '#FF00'"},
        {{"-3", "blue", "x"}, {}, 2, "colour 3 'blue'"},
        {{"--bogus", "x"}, {}, 2, "bogus"},
        {{"-2"}, {}, 2, "'-2'"}, // a colour option without its value
        {{}, "ab\xff", 2, "not valid UTF-8"},
        {{}, "\xc3", 2, "not valid UTF-8"},
        {{}, "\xed\xa0\x80", 2, "not valid UTF-8"}, // an encoded surrogate half
        {{}, QByteArray(32768, 'x'), 1, "Overflow"},
    };
    for (const auto &c : cases) {
        const FadeRun run = fade(c.arguments, c.input);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.says;
        EXPECT_TRUE(run.out.isEmpty()) << c.says;
        EXPECT_TRUE(run.err.contains(c.says)) << run.err.constData();
    }
}

TEST(QuorvexFade, ArgumentsAreUtf8)
{
    const FadeRun accented = fade({QStringLiteral("caf\u00e9")});
    EXPECT_EQ(accented.exitCode, 0);
    EXPECT_EQ(accented.out, "<Font Color=#070080>c<Font Color=#070080>a<Font Color=#070080>f<Font Color=#070080>\xc3\xa9");

    // A Latin-1 byte from the shell is not UTF-8.
    QProcess shell;
    shell.start("/bin/sh", {"-c", QStringLiteral("'%1' \"$(printf 'caf\\351')\"").arg(QUORVEX_FADE_BINARY)});
    ASSERT_TRUE(shell.waitForFinished(30000));
    EXPECT_EQ(shell.exitCode(), 2);
    EXPECT_TRUE(shell.readAllStandardOutput().isEmpty());
    EXPECT_TRUE(shell.readAllStandardError().contains("argument 1 is not valid UTF-8"));

    // The name the program was started by is not an argument to check.
    QProcess renamed;
    renamed.start("/bin/bash", {"-c", QStringLiteral("exec -a \"$(printf 'caf\\351')\" '%1' abc").arg(QUORVEX_FADE_BINARY)});
    ASSERT_TRUE(renamed.waitForFinished(30000));
    EXPECT_EQ(renamed.exitCode(), 0) << renamed.readAllStandardError().constData();
    EXPECT_EQ(renamed.readAllStandardOutput(), fade({"abc"}).out);
}

TEST(QuorvexFade, LongestTextIsFaded)
{
    const FadeRun run = fade({}, QByteArray(32767, 'x'));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.size(), 21 * 32767);
}

TEST(QuorvexFade, HelpAndVersion)
{
    const FadeRun help = fade({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("--wavy"));
    EXPECT_TRUE(help.out.contains("0x80000007"));
    const FadeRun version = fade({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith("quorvex-fade 1.0"));
}
