// quorvex-fade --send and the window program's "Send IM" through Wine's own
// user32 into the stand-in IM window. Runs on a display of its own (with-xvfb.sh).
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <functional>

namespace {

// Other users of this machine may run Wine sessions of their own; the
// programs under test see only the processes of this test in a table of
// their own: the stand-in window's.
const QTemporaryDir processTableFolder;
const QString processTable = processTableFolder.filePath("proc");

void showToSessionSearch(qint64 pid)
{
    QDir().mkpath(processTable);
    QFile::link("/proc/" + QString::number(pid), processTable + "/" + QString::number(pid));
}

enum class Prefix { Named, Found };

// The test prefix, headless, with Windows-1252 as its ANSI code page, named
// by WINEPREFIX or left to be found (HOME elsewhere, WINEPREFIX unset); the
// window program gets the display and finds the helper beside itself.
QProcessEnvironment wineEnvironment(bool windowProgram = false, Prefix prefix = Prefix::Named)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"LC_ALL", "DISPLAY", "QT_QPA_PLATFORM", "WINEPREFIX"})
        environment.remove(name);
    if (prefix == Prefix::Named)
        environment.insert("WINEPREFIX", WINE_PREFIX);
    else
        environment.insert("HOME", processTableFolder.filePath("home"));
    environment.insert("WINEDEBUG", "-all");
    environment.insert("LANG", "C.UTF-8");
    environment.insert("QUORVEX_PROC_ROOT", processTable);
    environment.insert(windowProgram ? "DISPLAY" : "QUORVEX_IM_HELPER",
                       windowProgram ? qEnvironmentVariable("DISPLAY") : IM_HELPER_EXE);
    return environment;
}

bool waitFor(const std::function<bool()> &condition)
{
    for (QDeadlineTimer deadline(30000); !deadline.hasExpired(); QThread::msleep(50))
        if (condition())
            return true;
    return false;
}

// Runs the stand-in IM window under Wine, makes the send once it stands, and
// checks its log once it has ended by itself after the click: the text
// reached the message box, then came the click on the send button.
void expectTextThenClick(const QByteArray &text, const std::function<void()> &send)
{
    const QTemporaryDir directory;
    const QString log = directory.filePath("aim-window.log");
    QProcess window;
    window.setProcessEnvironment(wineEnvironment());
    window.start("wine", {AIM_TEST_WINDOW_EXE, "Z:" + QString(log).replace('/', '\\')});
    ASSERT_TRUE(waitFor([&] { return QFileInfo(log).size() > 0; }));
    showToSessionSearch(window.processId());
    send();
    EXPECT_TRUE(window.waitForFinished(30000));
    QFile file(log);
    const QByteArray logged = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    EXPECT_TRUE(logged == "ready\nsettext QuorvexTestMessageBox\n" + text + "\ndown _Oscar_IconBtn\nup _Oscar_IconBtn\n")
        << logged.size() << " bytes: " << logged.left(300).toStdString();
}

// quorvex-fade --send, red on all three stops, the text on its input.
void fadeSend(const QByteArray &input, Prefix prefix)
{
    QProcess fade;
    fade.setProcessEnvironment(wineEnvironment(false, prefix));
    fade.start(QUORVEX_FADE_BINARY, {"--send", "-1", "#FF0000", "-2", "#FF0000", "-3", "#FF0000"});
    fade.write(input);
    fade.closeWriteChannel();
    EXPECT_TRUE(fade.waitForFinished(120000));
    EXPECT_EQ(fade.exitCode(), 0);
}

} // namespace

// Found with no WINEPREFIX, as the window program's is named by it.
TEST(WineSend, TheLongestFadeArrivesWholeInTheAnsiCodePage)
{
    // 32,767 characters; é and € become Windows-1252 E9 and 80, ☺ is not there: "?".
    QByteArray input, expected;
    for (int i = 0; i < 32767; ++i) {
        input += QByteArrayList{"\xc3\xa9", "\xe2\x82\xac", "\xe2\x98\xba", "x"}[i % 4];
        expected += "<Font Color=#FF0000>" + QByteArrayList{"\xe9", "\x80", "?", "x"}[i % 4];
    }
    expectTextThenClick(expected, [&] { fadeSend(input, Prefix::Found); });
    EXPECT_FALSE(QFileInfo::exists(processTableFolder.filePath("home"))) << "nothing made in HOME";
}

TEST(WineSend, TheWindowProgramsSendImButtonSendsTheBox)
{
    QProcess fader;
    fader.setProcessEnvironment(wineEnvironment(true));
    fader.start(QUORVEX_AIM_FADER_BINARY, QStringList());
    const auto xdotool = [](const QStringList &arguments) {
        QProcess process;
        process.start("xdotool", arguments);
        EXPECT_TRUE(process.waitForFinished(10000));
        return QString::fromUtf8(process.readAllStandardOutput()).section('\n', 0, 0);
    };
    expectTextThenClick("html code\r\n", [&] {
        QString id; // the credits window comes first
        ASSERT_TRUE(waitFor([&] { return !(id = xdotool({"search", "--onlyvisible", "--name", "^Quorvex AimFader$"})).isEmpty(); }));
        xdotool({"mousemove", "--window", id, "--sync", "428", "24"}); // on "Send IM"
        xdotool({"click", "1"});
    });
    EXPECT_FALSE(fader.waitForFinished(100)) << "the window program ended: " << fader.readAllStandardError().toStdString();
    fader.terminate();
    fader.waitForFinished();
}
