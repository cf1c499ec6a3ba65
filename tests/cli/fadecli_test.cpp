// Runs the real quorvex-fade binary as a user would from a shell, with no
// display to talk to.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct FadeRun { int exitCode; QByteArray out, err; };

FadeRun fade(const QStringList &arguments, const QByteArray &input = {},
             const QString &program = QStringLiteral(QUORVEX_FADE_BINARY))
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":9731")); // a display that is gone
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

const QStringList kRgb = {"-1", "#FF0000", "-2", "#00FF00", "-3", "#0000FF"};

bool hasBlueIn(const QImage &image, int firstRow, int lastRow)
{
    for (int y = firstRow; y <= lastRow; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qBlue(image.pixel(x, y)) - std::max(qRed(image.pixel(x, y)), qGreen(image.pixel(x, y))) > 100)
                return true;
    return false;
}

} // namespace

TEST(QuorvexFade, FadesArgumentsAndStandardInputExactly)
{
    const FadeRun plain = fade(kRgb + QStringList{"abc"});
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_EQ(plain.out, "<Font Color=#808000>a<Font Color=#00FF00>b<Font Color=#0000FF>c");
    EXPECT_TRUE(plain.err.isEmpty());
    EXPECT_EQ(fade(QStringList{"--wavy"} + kRgb + QStringList{"abc"}).out,
              "<Font Color=#808000><sup>a<Font Color=#00FF00></sup>b<Font Color=#0000FF><sub>c");
    // Raw settings are 0x00BBGGRR; words are joined by single spaces.
    EXPECT_EQ(fade({"-1", "0xFF", "-2", "0xFF00", "-3", "0xFF0000", "a", "c"}).out,
              "<Font Color=#808000>a<Font Color=#00FF00> <Font Color=#0000FF>c");
    // Untouched colours are the system colour reference.
    EXPECT_EQ(fade({}, "\r\xc3\xa9\xf0\x9f\x98\x80").out,
              "<Font Color=#070080>\r<Font Color=#070080>\xc3\xa9<Font Color=#070080>\xf0\x9f\x98\x80");
    EXPECT_EQ(fade({}, QByteArray()).out, QByteArray());
    EXPECT_EQ(fade({}, QByteArray(32767, 'x')).out.size(), 21 * 32767);
    // The name the program was started by is not an argument to check.
    EXPECT_EQ(fade({"-c", "exec -a \"$(printf 'caf\\351')\" \"$0\" z", QUORVEX_FADE_BINARY}, {}, "/bin/bash").out,
              "<Font Color=#070080>z");
}

TEST(QuorvexFade, RefusesBadInputWithNothingOnStandardOutput)
{
    const struct { QStringList arguments; QByteArray input; int exitCode; const char *says; } cases[] = {
        {{"-1", "#FF00", "x"}, {}, 2, "colour 1 '#FF00'"},
        {{"-3", "0x123456789", "x"}, {}, 2, "colour 3 '0x123456789'"},
        {{"--bogus", "x"}, {}, 2, "bogus"},
        {{"-2"}, {}, 2, "'-2'"},
        {{}, "ab\xff", 2, "not valid UTF-8"},
        {{}, "\xed\xa0\x80", 2, "not valid UTF-8"}, // an encoded surrogate half
        {{}, QByteArray(32768, 'x'), 1, "Overflow"},
        {{"--preview", "/proc/p.png", "--size", "0x25"}, {}, 2, "size '0x25' is not WxH"},
        {{"--preview", "/proc/p.png", "--size", "9000x10"}, {}, 2, "size '9000x10'"},
        {{"--preview", "/no/such/p.png", "a"}, {}, 2, "cannot write the preview to '/no/such/p.png'"},
        {{"--preview", "/", "a"}, {}, 2, "cannot write the preview to '/'"},
        {{"--preview", "/proc/p.png", "a"}, {}, 2, "cannot write the preview to '/proc/p.png'"},
        {{"--size", "10x10", "a"}, {}, 2, "--render and --size need --preview FILE"},
    };
    for (const auto &c : cases) {
        const FadeRun run = fade(c.arguments, c.input);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.says;
        EXPECT_TRUE(run.out.isEmpty()) << c.says;
        EXPECT_TRUE(run.err.contains(c.says)) << run.err.constData();
    }
    const FadeRun latin1 = fade({"-c", "\"$0\" \"$(printf 'caf\\351')\"", QUORVEX_FADE_BINARY}, {}, "/bin/bash");
    EXPECT_EQ(latin1.exitCode, 2);
    EXPECT_TRUE(latin1.out.isEmpty());
    EXPECT_TRUE(latin1.err.contains("argument 1 is not valid UTF-8"));
}

TEST(QuorvexFadePreview, WritesTheWindowSizedPreviewOrRendersGivenHtml)
{
    QTemporaryDir dir;
    const QString faded = dir.filePath("fade.png"), rendered = dir.filePath("render.png");
    const FadeRun run = fade({"-1", "#0000FF", "-2", "#0000FF", "-3", "#0000FF", "--preview", faded, "HHH"});
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.out, "<Font Color=#0000FF>H<Font Color=#0000FF>H<Font Color=#0000FF>H");
    const QImage image(faded);
    ASSERT_EQ(image.size(), QSize(313, 25));
    EXPECT_TRUE(hasBlueIn(image, 0, 15));
    EXPECT_FALSE(hasBlueIn(image, 16, 24));

    const FadeRun render = fade({"--render", "--preview=" + rendered, "--size=120X40"}, "x\r<Font Color=#0000FF>HHH");
    EXPECT_EQ(render.exitCode, 0) << render.err.constData();
    EXPECT_TRUE(render.out.isEmpty());
    const QImage html(rendered);
    ASSERT_EQ(html.size(), QSize(120, 40));
    EXPECT_FALSE(hasBlueIn(html, 0, 15));
    EXPECT_TRUE(hasBlueIn(html, 16, 31));
}

// A platform Qt cannot start is a failure on standard error, never an abort
// (nor, on Windows, a dialog waiting for OK).
TEST(QuorvexFadePreview, APlatformThatCannotStartFailsWithAMessage)
{
    QTemporaryDir dir;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("nowhere"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(QUORVEX_FADE_BINARY), {"--preview", dir.filePath("p.png"), "a"});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
    EXPECT_TRUE(process.readAllStandardError().contains("quorvex-fade: This application failed to start"));
    EXPECT_FALSE(QFile::exists(dir.filePath("p.png")));
}
