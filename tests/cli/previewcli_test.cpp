// quorvex-fade --preview, --render and --size, run as a user would, with no
// display to talk to.
#include "fadeprocess.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

namespace {

using PreviewRun = FadeRun;

PreviewRun fade(const QStringList &arguments, const QByteArray &input = {}, const QString &display = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    if (!display.isEmpty())
        environment.insert(QStringLiteral("DISPLAY"), display);
    return runQuorvexFade(arguments, input, environment);
}

bool hasBlueIn(const QImage &image, int firstRow, int lastRow)
{
    for (int y = firstRow; y <= lastRow && y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qBlue(p) - std::max(qRed(p), qGreen(p)) > 100)
                return true;
        }
    return false;
}

} // namespace

TEST(QuorvexFadePreview, FadeWritesHtmlAndTheWindowSizedPreview)
{
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("fade.png"));
    const QStringList blue = {"-1", "#0000FF", "-2", "#0000FF", "-3", "#0000FF"};
    const PreviewRun run = fade(blue + QStringList{"--preview", png, "HHH"});
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.out, fade(blue + QStringList{"HHH"}).out);
    EXPECT_EQ(run.out, "<Font Color=#0000FF>H<Font Color=#0000FF>H<Font Color=#0000FF>H");

    const QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(313, 25));
    EXPECT_EQ(image.pixel(312, 24), qRgb(255, 255, 255));
    EXPECT_TRUE(hasBlueIn(image, 0, 15));
    EXPECT_FALSE(hasBlueIn(image, 16, 24));
}

TEST(QuorvexFadePreview, RenderPreviewsAnyHtmlFromArgumentOrInput)
{
    QTemporaryDir dir;
    const QString fromArgument = dir.filePath(QStringLiteral("a.png")), fromInput = dir.filePath(QStringLiteral("b.png"));
    const PreviewRun a = fade({"--render", "--preview", fromArgument, "--size", "120x40", "x\r<Font Color=#0000FF>HHH"});
    EXPECT_EQ(a.exitCode, 0) << a.err.constData();
    EXPECT_TRUE(a.out.isEmpty());
    const PreviewRun b = fade({"--render", "--preview=" + fromInput, "--size=120X40"}, "x\r<Font Color=#0000FF>HHH");
    EXPECT_EQ(b.exitCode, 0) << b.err.constData();

    const QImage image(fromArgument);
    EXPECT_EQ(image.size(), QSize(120, 40));
    EXPECT_FALSE(hasBlueIn(image, 0, 15));
    EXPECT_TRUE(hasBlueIn(image, 16, 31));
    EXPECT_EQ(QImage(fromInput), image);
}

TEST(QuorvexFadePreview, DrawsOffScreenEvenWhenTheDisplayIsGone)
{
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("p.png"));
    const PreviewRun run = fade({"--preview", png, "abc"}, {}, QStringLiteral(":9731"));
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(QImage(png).size(), QSize(313, 25));
}

struct BadPreview
{
    const char *name;
    QStringList arguments; // "@" stands for the temporary folder
};

class QuorvexFadePreviewRefuses : public testing::TestWithParam<BadPreview>
{
};

TEST_P(QuorvexFadePreviewRefuses, WithExitTwoAndNothingWritten)
{
    QTemporaryDir dir;
    QStringList arguments;
    for (const QString &argument : GetParam().arguments)
        arguments << QString(argument).replace(u'@', dir.path());
    const PreviewRun run = fade(arguments);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.contains("quorvex-fade: ")) << run.err.constData();
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QuorvexFadePreviewRefuses,
    testing::Values(BadPreview{"ZeroWidth", {"--preview", "@/p.png", "--size", "0x25", "a"}},
                    BadPreview{"ZeroHeight", {"--preview", "@/p.png", "--size", "313x0", "a"}},
                    BadPreview{"NoHeight", {"--preview", "@/p.png", "--size", "313", "a"}},
                    BadPreview{"Negative", {"--preview", "@/p.png", "--size", "-3x4", "a"}},
                    BadPreview{"TrailingText", {"--preview", "@/p.png", "--size", "3x4x", "a"}},
                    BadPreview{"Huge", {"--preview", "@/p.png", "--size", "9000x10", "a"}},
                    BadPreview{"Words", {"--preview", "@/p.png", "--size", "wide", "a"}},
                    BadPreview{"MissingFolder", {"--preview", "@/no/such/p.png", "a"}},
                    BadPreview{"Folder", {"--preview", "@", "a"}},
                    BadPreview{"EmptyPath", {"--preview", "", "a"}},
                    // The folder exists but takes no new files, whoever runs the test.
                    BadPreview{"UnwritableFolder", {"--preview", "/proc/quorvex-preview.png", "a"}},
                    BadPreview{"RenderWithoutPreview", {"--render", "a"}},
                    BadPreview{"SizeWithoutPreview", {"--size", "10x10", "a"}}),
    [](const testing::TestParamInfo<BadPreview> &info) { return std::string(info.param.name); });
