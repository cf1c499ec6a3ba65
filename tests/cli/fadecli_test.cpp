// quorvex-fade run as a user would from a shell.
#include "faderun.h"

#include "fade/fadetext.h"

#include <QDir>
#include <QImage>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>

#include <sys/stat.h>
#include <unistd.h>

namespace {

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
    // Raw settings are 0x00BBGGRR; words are joined by single spaces.
    const FadeRun raw = fade({"-1", "0xFF", "-2", "0xFF00", "-3", "0xFF0000", "a", "c"});
    EXPECT_EQ(raw.exitCode, 0);
    EXPECT_EQ(raw.out, "<Font Color=#808000>a<Font Color=#00FF00> <Font Color=#0000FF>c");
    EXPECT_TRUE(raw.err.isEmpty());
    // Untouched colours are the system colour reference.
    EXPECT_EQ(fade({}, "\r\xc3\xa9\xf0\x9f\x98\x80").out,
              "<Font Color=#070080>\r<Font Color=#070080>\xc3\xa9<Font Color=#070080>\xf0\x9f\x98\x80");
    EXPECT_EQ(fade({}, QByteArray()).out, QByteArray());
    EXPECT_EQ(fade({}, QByteArray(32767, 'x')).out.size(), 21 * 32767);
    // The name the program was started by is not an argument to check.
    EXPECT_EQ(runProgram("/bin/bash", {"-c", "exec -a \"$(printf 'caf\\351')\" \"$0\" z", QUORVEX_FADE_BINARY}).out,
              "<Font Color=#070080>z");
}

TEST(QuorvexFade, RefusesBadInputWithNothingOnStandardOutput)
{
    QTemporaryDir dir;
    const struct { QStringList arguments; QByteArray input; int exitCode; const char *says; QString platform = {}; } cases[] = {
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
        {{"--preview", dir.filePath("p.png"), "a"}, {}, 1, "quorvex-fade: This application failed to start", "nowhere"},
    };
    const auto expectRefused = [](const FadeRun &run, int exitCode, const char *says) {
        EXPECT_EQ(run.exitCode, exitCode) << says;
        EXPECT_TRUE(run.out.isEmpty()) << says;
        EXPECT_TRUE(run.err.contains(says)) << run.err.constData();
    };
    for (const auto &c : cases) {
        QProcessEnvironment platform;
        if (!c.platform.isEmpty())
            platform.insert(QStringLiteral("QT_QPA_PLATFORM"), c.platform);
        expectRefused(fade(c.arguments, c.input, platform), c.exitCode, c.says);
    }
    expectRefused(runProgram("/bin/bash", {"-c", "\"$0\" \"$(printf 'caf\\351')\"", QUORVEX_FADE_BINARY}), 2,
                  "argument 1 is not valid UTF-8");
    EXPECT_FALSE(QFile::exists(dir.filePath("p.png")));
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

// Qt takes its own options out of an argv it is given, even after "--"; the
// program never hands it the user's arguments.
TEST(QuorvexFade, FadesExactlyTheWordsGivenWithOrWithoutAPreview)
{
    QTemporaryDir dir;
    const QStringList cases[] = {
        {"-reverse"},
        {"hello", "-platform", "nonexistent", "-style", "fusion", "-qwindowgeometry", "1x1", "-display", ":0"},
        {"--platform=x", "-platformpluginpath", "/tmp", "-plugin", "tslib", "-sync", "-nograb"},
    };
    for (const QStringList &words : cases) {
        const QByteArray expected = QString::fromStdU16String(VarloFade::FadeText(
            0xFF, 0xFF00, 0xFF0000, words.join(u' ').toStdU16String(), true)).toUtf8();
        for (const QStringList &preview : {QStringList{}, QStringList{"--preview", dir.filePath("p.png")}}) {
            const FadeRun run = fade(QStringList{"--wavy"} + kRgb + preview + QStringList{"--"} + words);
            EXPECT_EQ(run.exitCode, 0) << words.join(u' ').toStdString() << run.err.constData();
            EXPECT_EQ(run.out, expected) << words.join(u' ').toStdString();
        }
    }
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
    const QString old = dir.filePath("old.png"), fresh = dir.filePath("fresh.png");
    const QString fifo = elsewhere.filePath("fifo"), preview = elsewhere.filePath("p.png");
    const QStringList bigPreview = {"--size", "2000x300", QString(400, u'W')};
    // Standard output a pipe whose reader has gone, or a file past the limit.
    const QString gone = QStringLiteral("mkfifo '%1' && exec 3<>'%1' >'%1' 3>&-").arg(fifo);
    const QString limited = QStringLiteral("ulimit -f 0; exec >'%1'").arg(elsewhere.filePath("out"));
    const QByteArray output = "cannot write to standard output", previewTo = "cannot write the preview to '";
    const struct { QString setup; QStringList arguments; int exitCode; QByteArray says; } cases[] = {
        {"true", {"--preview", "/dev/full", "abc"}, 2, previewTo + "/dev/full'"},
        {"ulimit -f 0", {"--preview", old, "abc"}, 2, previewTo + old.toUtf8() + "'"},
        {"ulimit -f 1", QStringList{"--preview", old} + bigPreview, 2, previewTo + old.toUtf8() + "'"}, // fails half-way
        {"ulimit -f 0", {"--preview", fresh, "abc"}, 2, previewTo + fresh.toUtf8() + "'"},
        {"ulimit -f 1", QStringList{"--preview", fresh} + bigPreview, 2, previewTo + fresh.toUtf8() + "'"},
        {gone, {"abc"}, 1, output},
        {gone, {"--ansi", "abc"}, 1, output},
        {gone, {"--help"}, 1, ""},
        {gone, {"--version"}, 1, ""},
        {gone, {"--preview", preview, "abc"}, 1, output},
        {gone, {"--preview", "/dev/stdout", "abc"}, 2, previewTo + "/dev/stdout'"},
        {limited, {"abc"}, 1, output},
        {limited, {"--render", "--ansi", "abc"}, 1, output},
    };
    // A shell that started with a signal ignored cannot reset it: check it can.
    const QString atDefaults = QStringLiteral("trap - XFSZ PIPE; ");
    const QByteArray status = runProgram("/bin/bash", {"-c", atDefaults + "exec cat /proc/self/status"}).out;
    const qsizetype at = status.indexOf("SigIgn:") + 7;
    const unsigned long long ignored = status.mid(at, status.indexOf('\n', at) - at).trimmed().toULongLong(nullptr, 16);
    ASSERT_EQ(ignored & ((1ull << (SIGPIPE - 1)) | (1ull << (SIGXFSZ - 1))), 0u) << "SIGPIPE or SIGXFSZ ignored on entry";
    for (const auto &c : cases) {
        SCOPED_TRACE((c.setup + " " + c.arguments.join(u' ')).toStdString());
        writeFile(old, "an earlier preview");
        QFile::remove(fifo);
        const FadeRun run = fadeAfter(atDefaults + c.setup, c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_TRUE(run.out.isEmpty()) << "nothing is printed when the preview fails";
        EXPECT_TRUE(run.err.contains(c.says)) << run.err.constData();
        EXPECT_EQ(readFile(old), "an earlier preview");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.png"});
    }
    EXPECT_FALSE(QFileInfo("/dev/full").isFile()) << "/dev/full must stay a device";
    EXPECT_EQ(QImage(preview).size(), QSize(313, 25)) << "a preview written before the output failed stays";

    // A replaced file keeps its permissions and, run by root, its owner; a
    // new one gets the umask's. Another hard link keeps the earlier preview.
    const QByteArray oldName = QFile::encodeName(old);
    ::chmod(oldName.constData(), 0640);
    const bool root = ::geteuid() == 0;
    ASSERT_TRUE(!root || ::chown(oldName.constData(), 4321, 4322) == 0) << "chown as root";
    ASSERT_EQ(::link(oldName.constData(), QFile::encodeName(dir.filePath("link.png")).constData()), 0);
    EXPECT_EQ(fadeAfter("umask 077", {"--preview", old, "x"}).exitCode, 0);
    EXPECT_EQ(fadeAfter("umask 022", {"--preview", fresh, "x"}).exitCode, 0);
    EXPECT_EQ(QImage(old).size(), QSize(313, 25));
    const auto mode = [](const QString &path) {
        struct stat status {};
        return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 0777 : ~0u;
    };
    EXPECT_EQ(mode(old), 0640u);
    EXPECT_EQ(mode(fresh), 0644u);
    if (root) {
        EXPECT_EQ(std::pair(QFileInfo(old).ownerId(), QFileInfo(old).groupId()), std::pair(4321u, 4322u));
    }
    EXPECT_EQ(readFile(dir.filePath("link.png")), "an earlier preview");
}

// A path that names a descriptor, the program's own or another process's, is
// written after what is already there: a file behind it is never replaced.
TEST(QuorvexFadePreview, ADescriptorIsWrittenThroughNotReplaced)
{
    QTemporaryDir dir;
    const QString log = dir.filePath("log.txt");
    const QByteArray html = "<Font Color=#070080>a";
    // Another process's descriptor is opened anew, at the start unless appended to.
    QProcess other;
    other.setStandardOutputFile(log, QIODevice::Append);
    other.start(QStringLiteral("sleep"), {QStringLiteral("60")});
    ASSERT_TRUE(other.waitForStarted());
    const auto stopOther = qScopeGuard([&] { other.kill(); other.waitForFinished(); });
    const QString othersOutput = QStringLiteral("/proc/%1/fd/1").arg(other.processId());
    const struct { QString redirect, path; QByteArray kept; bool htmlToo; } cases[] = {
        {">>", "/dev/stdout", "earlier line\n", true},
        {">", "/dev/stdout", "", true}, // one offset: the HTML comes after the preview
        {">>", "/proc/self/fd/1", "earlier line\n", true},
        {">>", othersOutput, "earlier line\n", true},
        {"2>>", "/dev/stderr", "earlier line\n", false},
        {"3>>", "/dev/fd/3", "earlier line\n", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE((c.redirect + " " + c.path).toStdString());
        writeFile(log, "earlier line\n");
        // Qt says nothing on standard error when it has a runtime folder.
        const FadeRun run = fadeAfter("export XDG_RUNTIME_DIR='" + dir.path() + "'; exec " + c.redirect + "'" + log + "'",
                                      {"--preview", c.path, "a"});
        EXPECT_EQ(run.exitCode, 0);
        const QByteArray written = readFile(log);
        ASSERT_TRUE(written.startsWith(c.kept + "\x89PNG")) << written.left(40).toHex().constData();
        const qsizetype end = written.indexOf("IEND") + 8;
        ASSERT_GT(end, 8);
        EXPECT_EQ(QImage::fromData(written.mid(c.kept.size(), end - c.kept.size())).size(), QSize(313, 25));
        EXPECT_EQ(written.mid(end), c.htmlToo ? html : QByteArray());
        EXPECT_EQ(run.out, c.htmlToo ? QByteArray() : html);
    }
}
