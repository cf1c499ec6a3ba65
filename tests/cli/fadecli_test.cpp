// quorvex-fade run as a user would from a shell.
#include "faderun.h"

#include "fade/fadetext.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// For each band of 16 rows, top first: 1 if it holds a clearly blue pixel, else 0.
QByteArray blueBands(const QImage &image)
{
    QByteArray bands((image.height() + 15) / 16, '0');
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qBlue(image.pixel(x, y)) - std::max(qRed(image.pixel(x, y)), qGreen(image.pixel(x, y))) > 100)
                bands[y / 16] = '1';
    return bands;
}

} // namespace

TEST(QuorvexFade, WritesExactlyTheFadeOrPreviewAskedFor)
{
    QTemporaryDir dir;
    // Qt takes its own options out of an argv it is given, even after "--"; the
    // program never hands it the user's words, with a preview or without.
    const QStringList qtOptions = {"-reverse", "-platform", "nonexistent", "-style", "fusion", "-qwindowgeometry", "1x1",
                                   "--platform=x", "-platformpluginpath", "/tmp", "-plugin", "tslib", "-sync", "-nograb"};
    const QByteArray wavyQtOptions = QString::fromStdU16String(VarloFade::FadeText(
        0xFF, 0xFF00, 0xFF0000, qtOptions.join(u' ').toStdU16String(), true)).toUtf8();
    const QByteArray html = "<b>Hi</b>\r<font color=#00ff00>there";
    const QByteArray hi = "\x1b[1mHi\x1b[0m\n\x1b[38;2;0;255;0mthere\x1b[0m\n";
    const struct { QStringList arguments; QByteArray input, out; QString setup = {}; } cases[] = {
        // Raw settings are 0x00BBGGRR; words are joined by single spaces.
        {{"-1", "0xFF", "-2", "0xFF00", "-3", "0xFF0000", "a", "c"}, {},
         "<Font Color=#808000>a<Font Color=#00FF00> <Font Color=#0000FF>c"},
        // Untouched colours are the system colour reference; standard input is taken exactly.
        {{}, "\r\xc3\xa9\xf0\x9f\x98\x80",
         "<Font Color=#070080>\r<Font Color=#070080>\xc3\xa9<Font Color=#070080>\xf0\x9f\x98\x80"},
        {{}, {}, {}},
        {QStringList{"--wavy"} + kRgb + QStringList{"--"} + qtOptions, {}, wavyQtOptions},
        {QStringList{"--wavy", "--preview", dir.filePath("p.png")} + kRgb + QStringList{"--"} + qtOptions, {}, wavyQtOptions},
        {{"--wavy", "--colors", "#FF0000,#00FF00", "--blend", "oklab", "abc"}, {},
         "<Font Color=#E58700><sup>a<Font Color=#B3C700></sup>b<Font Color=#00FF00><sub>c"},
        // Parts of 1, 2 and 1 characters; half way from green to blue in OKLab is 0, 169.70, 190.74.
        {{"--wavy", "--blend", "oklab", "--colors", "#FF0000,#00FF00,#0000FF,#FFFFFF", "--format", "bbcode", "abcd"}, {},
         "[sup][color=#00FF00]a[/color][/sup][color=#00AABF]b[/color][sub][color=#0000FF]c[/color][/sub]"
         "[color=#FFFFFF]d[/color]"},
        {kRgb + QStringList{"--format", "html", "<"}, {}, "<span style=\"color:#0000ff\">&lt;</span>"},
        {kRgb + QStringList{"--ansi", "--format", "bbcode", "ab"}, {}, "\x1b[38;2;0;255;0ma\x1b[38;2;0;0;255mb\x1b[0m\n"},
        // Each character in the colour of its tag: the wave leaves it on its line,
        // a CR ends the line, an LF is a blank and an emoji is one character.
        {{"--render", "--ansi"}, html, hi},
        {{"--render", "--ansi"}, html, "Hi\nthere\n", "export NO_COLOR=1"},
        {{"--render", "--ansi"}, html, hi, "export NO_COLOR="},
        {kRgb + QStringList{"--ansi", "--wavy"}, "a\r\nb\xf0\x9f\x98\x80",
         "\x1b[38;2;128;128;0ma\x1b[0m\n\x1b[38;2;0;170;85m \x1b[38;2;0;85;170mb\x1b[38;2;0;0;255m\xf0\x9f\x98\x80\x1b[0m\n"},
        // The name the program was started by is not an argument to check.
        {{}, {}, "<Font Color=#070080>z", "exec -a \"$(printf 'caf\\351')\" \"$0\" z"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE((c.setup + " " + c.arguments.join(u' ')).toStdString());
        const FadeRun run = fade(c.arguments, c.input, c.setup);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out, c.out);
        EXPECT_TRUE(run.err.isEmpty()) << run.err.constData();
    }
}

TEST(QuorvexFade, RefusesBadInputWithNothingOnStandardOutput)
{
    QTemporaryDir dir;
    // setup: what bash does before it starts the program.
    const struct { QStringList arguments; QByteArray input; int exitCode; const char *says; QString setup = {}; } cases[] = {
        {{"-1", "#FF00", "x"}, {}, 2, "colour 1 '#FF00'"},
        {{"-3", "0x123456789", "x"}, {}, 2, "colour 3 '0x123456789'"},
        {{"--bogus", "x"}, {}, 2, "bogus"},
        {{}, "ab\xff", 2, "not valid UTF-8"},
        {{}, QByteArray(32768, 'x'), 1, "Overflow"},
        {{"--preview", "/proc/p.png", "--size", "0x25"}, {}, 2, "size '0x25' is not WxH"},
        {{"--preview", "/proc/p.png", "--size", "9000x10"}, {}, 2, "size '9000x10'"},
        {{"--preview", "/proc/p.png", "a"}, {}, 2, "cannot write the preview to '/proc/p.png'"},
        {{"--preview", "/proc/p.png", "--size", "10x10\n"}, {}, 2, "size '10x10\n' is not WxH"},
        {{"--size", "10x10", "a"}, {}, 2, "--size needs --preview FILE"},
        {{"--render", "a"}, {}, 2, "--render needs --preview FILE or --ansi"},
        {{"--colors", "#000000,#FFFFFF", "-2", "#808080", "x"}, {}, 2, "--colors replaces -1, -2 and -3"},
        {{"-3", "#808080", "--colors", "#000000,#FFFFFF", "x"}, {}, 2, "--colors replaces -1, -2 and -3"},
        {{"--colors", "#000000", "x"}, {}, 2, "--colors takes 2 to 10 colours, not 1"},
        {{"--colors", "1,2,3,4,5,6,7,8,9,10,11", "x"}, {}, 2, "not 11"},
        {{"--colors", "#000000,,#FFFFFF", "x"}, {}, 2, "colour 2 '' is not #RRGGBB"},
        {{"--colors", "#000000, #FFFFFF", "x"}, {}, 2, "colour 2 ' #FFFFFF'"},
        {{"--blend", "lab", "x"}, {}, 2, "--blend 'lab' is not srgb or oklab"},
        {{"--format", "HTML", "x"}, {}, 2, "--format 'HTML' is not aim, bbcode or html"},
        {{"--format", "html", "--colors", "0x1,0x2,0x3,0x4,0x5,0x6,0x7,0x8,0x9,0xA", "--blend", "oklab"}, QByteArray(32768, 'x'), 1,
         "Overflow"},
        // A platform Qt cannot start is a failure on standard error, never an abort
        // (nor, on Windows, a dialog waiting for OK), and writes no file.
        {{"--preview", dir.filePath("p.png"), "a"}, {}, 1, "quorvex-fade: This application failed to start",
         "export QT_QPA_PLATFORM=nowhere"},
        {{}, {}, 2, "argument 1 is not valid UTF-8", "set -- \"$(printf 'caf\\351')\""},
    };
    for (const auto &c : cases) {
        const FadeRun run = fade(c.arguments, c.input, c.setup);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.says;
        EXPECT_TRUE(run.out.isEmpty()) << c.says;
        EXPECT_TRUE(run.err.contains(c.says)) << run.err.constData();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("p.png")));
}

TEST(QuorvexFadePreview, WritesTheWindowSizedPreviewOrRendersGivenHtml)
{
    QTemporaryDir dir;
    const QString faded = dir.filePath("fade.png"), rendered = dir.filePath("render.png");
    const QStringList blue = {"-1", "#0000FF", "-2", "#0000FF", "-3", "#0000FF"};
    const FadeRun run = fade(blue + QStringList{"--preview", faded, "HHH"});
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(QImage(faded).size(), QSize(313, 25));
    EXPECT_EQ(blueBands(QImage(faded)), "10");
    // Another markup is written instead of the AIM HTML; the preview stays the AIM fade's.
    for (const QString format : {"bbcode", "html"}) {
        EXPECT_EQ(fade(blue + QStringList{"--format", format, "--preview", dir.filePath(format), "HHH"}).exitCode, 0);
        EXPECT_EQ(readFile(dir.filePath(format)), readFile(faded)) << format.toStdString();
    }

    const FadeRun render = fade({"--render", "--preview=" + rendered, "--size=120X40"}, "x\r<Font Color=#0000FF>HHH");
    EXPECT_EQ(render.exitCode, 0) << render.err.constData();
    EXPECT_TRUE(render.out.isEmpty());
    EXPECT_EQ(QImage(rendered).size(), QSize(120, 40));
    EXPECT_EQ(blueBands(QImage(rendered)), "010");
}

TEST(QuorvexFade, HelpAllIsHelpWithoutQtsOwnOptions)
{
    const FadeRun help = fade({"--help"}, "not faded");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: quorvex-fade [options] [TEXT]\n")) << help.out.constData();
    EXPECT_FALSE(help.out.contains("help-all"));
    EXPECT_EQ(fade({"--help-all"}, "not faded").out, help.out);
}

// The PNG is written beside the target and renamed over it when complete; a
// device is written to in place and never replaced. With SIGPIPE and SIGXFSZ
// at their defaults, a write that fails still ends with the documented status
// (1: output, 2: the preview), never the signal.
TEST(QuorvexFadePreview, AFailedWriteExitsWithItsStatusAndLeavesTheOldFile)
{
    QTemporaryDir dir, elsewhere;
    const QString old = dir.filePath("old.png");
    const QString fifo = elsewhere.filePath("fifo"), preview = elsewhere.filePath("p.png");
    // Standard output a pipe whose reader has gone, or a file past the limit.
    const QString gone = QStringLiteral("mkfifo '%1' && exec 3<>'%1' >'%1' 3>&-").arg(fifo);
    const QByteArray output = "cannot write to standard output", previewTo = "cannot write the preview to '";
    const QString reset = QStringLiteral("printf 'an earlier preview' >'%1' && rm -f '%2'; ").arg(old, fifo);
    const struct { QString setup; QStringList arguments; int exitCode; QByteArray says; } cases[] = {
        {"true", {"--preview", "/dev/full", "abc"}, 2, previewTo + "/dev/full'"},
        {"ulimit -f 0", {"--preview", old, "abc"}, 2, previewTo + old.toUtf8() + "'"},
        // This one fails half-way.
        {"ulimit -f 1", {"--preview", old, "--size", "2000x300", QString(400, u'W')}, 2, previewTo + old.toUtf8() + "'"},
        {gone, {"abc"}, 1, output},
        {gone, {"--ansi", "abc"}, 1, output},
        {gone, {"--help"}, 1, ""},
        {gone, {"--version"}, 1, ""},
        {gone, {"--preview", preview, "abc"}, 1, output},
        {gone, {"--preview", "/dev/stdout", "abc"}, 2, previewTo + "/dev/stdout'"},
        {QStringLiteral("ulimit -f 0; exec >'%1'").arg(elsewhere.filePath("out")), {"abc"}, 1, output},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE((c.setup + " " + c.arguments.join(u' ')).toStdString());
        const FadeRun run = fade(c.arguments, {}, reset + c.setup);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_TRUE(run.out.isEmpty()) << "nothing is printed when the preview fails";
        EXPECT_TRUE(run.err.contains(c.says)) << run.err.constData();
        EXPECT_EQ(readFile(old), "an earlier preview");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.png"});
    }
    EXPECT_FALSE(QFileInfo("/dev/full").isFile()) << "/dev/full must stay a device";
    EXPECT_EQ(QImage(preview).size(), QSize(313, 25)) << "a preview written before the output failed stays";

    // A replaced file keeps its permissions and, run by root, its owner.
    // Another hard link keeps the earlier preview.
    const bool root = ::geteuid() == 0;
    const QString setup = (root ? QStringLiteral("chown 4321:4322 '%1' && ") : QString())
                          + QStringLiteral("chmod 640 '%1' && ln '%1' '%2' && umask 077");
    EXPECT_EQ(fade({"--preview", old, "x"}, {}, setup.arg(old, dir.filePath("link.png"))).exitCode, 0);
    EXPECT_EQ(QImage(old).size(), QSize(313, 25));
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(old).constData(), &status), 0);
    EXPECT_EQ(std::tuple(status.st_mode & 0777, status.st_uid, status.st_gid),
              std::tuple(0640u, root ? 4321u : ::geteuid(), root ? 4322u : ::getegid()));
    EXPECT_EQ(readFile(dir.filePath("link.png")), "an earlier preview");
}

// A path that names a descriptor, the program's own or another process's, is
// written after what is already there: a file behind it is never replaced.
TEST(QuorvexFadePreview, ADescriptorIsWrittenThroughNotReplaced)
{
    QTemporaryDir dir;
    const QString log = dir.filePath("log.txt");
    const QByteArray html = "<Font Color=#070080>a";
    ASSERT_EQ(fade({"--preview", dir.filePath("a.png"), "a"}).exitCode, 0);
    const QByteArray png = readFile(dir.filePath("a.png"));
    // Another process's descriptor (here this test's own) is opened anew, at the start unless appended to.
    QFile other(log);
    ASSERT_TRUE(other.open(QIODevice::Append));
    const QString othersOutput = QStringLiteral("/proc/%1/fd/%2").arg(::getpid()).arg(other.handle());
    const struct { QString redirect, path; QByteArray kept; bool htmlToo; } cases[] = {
        {">>", "/dev/stdout", "earlier line\n", true},
        {">", "/dev/stdout", "", true}, // one offset: the HTML comes after the preview
        {">>", othersOutput, "earlier line\n", true},
        {"3>>", "/dev/fd/3", "earlier line\n", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE((c.redirect + " " + c.path).toStdString());
        const FadeRun run = fade({"--preview", c.path, "a"}, {},
                                 "echo earlier line >'" + log + "'; exec " + c.redirect + "'" + log + "'");
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(readFile(log), c.kept + png + (c.htmlToo ? html : QByteArray()));
        EXPECT_EQ(run.out, c.htmlToo ? QByteArray() : html);
    }
}
