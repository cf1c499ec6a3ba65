// The fader window's "Send IM" button, pressed with the pointer on an X
// display, reaching the stand-in IM window through Wine's own user32. The
// window program finds the Wine helper beside itself. Runs on a virtual
// display of its own (with-xvfb.sh).
#include "winetesting.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <functional>

namespace {

// Window-relative pixel points of the controls a user touches.
struct Point
{
    int x, y;
};
constexpr Point kRed1{40, 16};
constexpr Point kText1{300, 57};
constexpr Point kFade{216, 24};
constexpr Point kSendIm{428, 24};

bool waitFor(const std::function<bool()> &condition, int milliseconds)
{
    QElapsedTimer waited;
    waited.start();
    while (!condition()) {
        if (waited.elapsed() > milliseconds)
            return false;
        QThread::msleep(50);
    }
    return true;
}

QString xdotool(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LANG", "C.UTF-8"); // so that it reads the typed text as UTF-8
    environment.remove("LC_ALL");
    process.setProcessEnvironment(environment);
    process.start("xdotool", arguments);
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "xdotool " << arguments.join(' ').toStdString() << " did not finish";
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// quorvex-aim-fader on the display, as the Wine prefix's user starts it.
class FaderProgram
{
public:
    FaderProgram()
    {
        QProcessEnvironment environment = wineEnvironment();
        environment.insert("DISPLAY", qEnvironmentVariable("DISPLAY"));
        environment.remove("QUORVEX_IM_HELPER"); // the one beside the program
        environment.remove("QT_QPA_PLATFORM");
        process_.setProcessEnvironment(environment);
        process_.start(QUORVEX_AIM_FADER_BINARY, {});
        EXPECT_TRUE(process_.waitForStarted());
    }

    ~FaderProgram()
    {
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished();
        }
    }

    // Another window may come first; wait for the fader window to show.
    bool waitForWindow()
    {
        return waitFor(
            [this] {
                if (!running())
                    return true;
                window_ = xdotool({"search", "--onlyvisible", "--name", "^Quorvex AimFader$"}).section('\n', 0, 0);
                return !window_.isEmpty();
            },
            30000)
               && !window_.isEmpty();
    }

    bool running() const { return process_.state() == QProcess::Running; }
    QByteArray errors() { return process_.readAllStandardError(); }

    void click(Point at)
    {
        xdotool({"mousemove", "--window", window_, "--sync", QString::number(at.x), QString::number(at.y)});
        xdotool({"click", "1"});
    }

    void key(const QString &keys) { xdotool({"key", "--clearmodifiers", keys}); }

    void type(const QString &text) { xdotool({"type", "--delay", "30", text}); }

    void focus() { xdotool({"windowfocus", "--sync", window_}); }

private:
    QProcess process_;
    QString window_;
};

QByteArray fadeWithQuorvexFade(const QStringList &arguments)
{
    QProcess process;
    process.setProcessEnvironment(wineEnvironment());
    process.start(QUORVEX_FADE_BINARY, arguments);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0);
    return process.readAllStandardOutput();
}

} // namespace

TEST(WineSendImButton, SendsTheFadeJustMadeInTheAnsiCodePageThenClicks)
{
    FaderProgram fader; // starts while the stand-in comes up
    TestWindow window;
    ASSERT_EQ(TestWindow::kinds(window.records()), std::vector<QByteArray>{"ready "});
    ASSERT_TRUE(fader.waitForWindow()) << fader.errors().toStdString();

    const QString typed = QString::fromUtf8("Caf\u00e9 \u20ac5, faded!");
    fader.focus();
    fader.click(kRed1);
    fader.key("End"); // colour 1 pure red; the other two swatches untouched
    fader.click(kText1);
    fader.key("ctrl+a");
    fader.type(typed);
    fader.click(kFade);
    QElapsedTimer sent;
    sent.start();
    fader.click(kSendIm);
    ASSERT_TRUE(window.endsByItself()) << "the stand-in logged " << window.records().size() << " lines";
    report("Send IM in the window program, Wine helper started cold, until the button-up", sent.elapsed());
    EXPECT_TRUE(fader.running()) << fader.errors().toStdString();

    const QByteArray html = fadeWithQuorvexFade({"-1", "0x000000FF", typed});
    ASSERT_FALSE(html.isEmpty());
    const auto records = window.records();
    ASSERT_EQ(TestWindow::kinds(records),
              (std::vector<QByteArray>{"ready ", "settext messagebox", "down button", "up button"}));
    EXPECT_EQ(records[1].text, inWindows1252(html));
    EXPECT_TRUE(records[1].text.contains(">\xe9<") && records[1].text.contains(">\x80<"));
    // Posted 100 ms apart; a little slack for when the window gets to them.
    EXPECT_GE(records[3].at - records[2].at, 95.0);
}

TEST(WineSendImButton, RightAfterStartUpSendsTheInitialText)
{
    FaderProgram fader;
    TestWindow window;
    ASSERT_TRUE(fader.waitForWindow()) << fader.errors().toStdString();

    fader.click(kSendIm);
    ASSERT_TRUE(window.endsByItself()) << "the stand-in logged " << window.records().size() << " lines";
    EXPECT_TRUE(fader.running()) << fader.errors().toStdString();

    const auto records = window.records();
    ASSERT_EQ(TestWindow::kinds(records),
              (std::vector<QByteArray>{"ready ", "settext messagebox", "down button", "up button"}));
    EXPECT_EQ(records[1].text, QByteArray("html code\r\n"));
    EXPECT_GE(records[3].at - records[2].at, 95.0);
}
