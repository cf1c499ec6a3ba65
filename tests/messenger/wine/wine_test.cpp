// quorvex-fade --send through Wine's own user32 into a stand-in IM window.
#include "winetesting.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

namespace {

struct FadeRun
{
    int exitCode = -1;
    QByteArray out;
    qint64 milliseconds = 0;
};

FadeRun fade(const QStringList &arguments, const QByteArray &input = {},
             const QProcessEnvironment &environment = wineEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    QElapsedTimer timer;
    timer.start();
    process.start(QUORVEX_FADE_BINARY, arguments);
    EXPECT_TRUE(process.waitForStarted());
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(120000));
    return {process.exitCode(), process.readAllStandardOutput(), timer.elapsed()};
}

const QStringList kRed = {"-1", "#FF0000", "-2", "#FF0000", "-3", "#FF0000"};

} // namespace

TEST(WineSend, NonAsciiTextArrivesInTheAnsiCodePageThenTheClick)
{
    TestWindow window;
    ASSERT_EQ(TestWindow::kinds(window.records()), std::vector<QByteArray>{"ready "});

    const FadeRun run = fade(QStringList{"--send"} + kRed + QStringList{"\u00e9\u20ac\u263a x"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, fade(kRed + QStringList{"\u00e9\u20ac\u263a x"}).out);
    ASSERT_TRUE(window.endsByItself());
    report("quorvex-fade --send, Wine helper started cold", run.milliseconds);

    const auto records = window.records();
    EXPECT_EQ(TestWindow::kinds(records),
              (std::vector<QByteArray>{"ready ", "settext messagebox", "down button", "up button"}));
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[1].text, inWindows1252(run.out));
    EXPECT_EQ(records[1].text, "<Font Color=#FF0000>\xe9<Font Color=#FF0000>\x80<Font Color=#FF0000>?"
                               "<Font Color=#FF0000> <Font Color=#FF0000>x");
    // Posted 100 ms apart; a little slack for when the window gets to them.
    EXPECT_GE(records[3].at - records[2].at, 95.0);
}

TEST(WineSend, WithNoImWindowNothingArrives)
{
    TestWindow window("AIM_SomethingElse"); // the same tree under another top-level class
    const FadeRun run = fade(QStringList{"--send"} + kRed + QStringList{"abc"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, fade(kRed + QStringList{"abc"}).out);
    report("quorvex-fade --send with no IM window (10 passes)", run.milliseconds);
    QThread::msleep(300); // time for a stray message to show
    EXPECT_EQ(TestWindow::kinds(window.records()), std::vector<QByteArray>{"ready "});
}

TEST(WineSend, EmptyTextSetsNothingButClicks)
{
    TestWindow window;
    // The helper is the one built beside quorvex-fade.
    QProcessEnvironment besideTheProgram = wineEnvironment();
    besideTheProgram.remove("QUORVEX_IM_HELPER");
    const FadeRun run = fade({"--send", ""}, {}, besideTheProgram);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QByteArray());
    ASSERT_TRUE(window.endsByItself());
    EXPECT_EQ(TestWindow::kinds(window.records()),
              (std::vector<QByteArray>{"ready ", "down button", "up button"}));
}

TEST(WineSend, TheLongestFadeArrivesWhole)
{
    TestWindow window;
    QByteArray text;
    for (int i = 0; i < 32767; ++i)
        text += i % 7 == 0 ? QByteArray("\xc3\xa9") : QByteArray(1, static_cast<char>('a' + i % 26));
    const FadeRun run = fade({"--send", "-1", "#FF0000", "-2", "#00FF00", "-3", "#0000FF"}, text);
    EXPECT_EQ(run.exitCode, 0);
    ASSERT_TRUE(window.endsByItself());
    report("quorvex-fade --send of the longest fade (688,107 characters)", run.milliseconds);

    const auto records = window.records();
    ASSERT_EQ(TestWindow::kinds(records),
              (std::vector<QByteArray>{"ready ", "settext messagebox", "down button", "up button"}));
    EXPECT_EQ(records[1].text.size(), 688107);
    EXPECT_EQ(records[1].text, inWindows1252(run.out));
}

TEST(WineSend, WithoutWineOrHelperTheFadeIsStillPrinted)
{
    const FadeRun expected = fade(kRed + QStringList{"abc"});
    QProcessEnvironment noHelper = wineEnvironment();
    noHelper.insert("QUORVEX_IM_HELPER", "/nonexistent/quorvex-im-helper.exe");
    QProcessEnvironment noWine = wineEnvironment();
    noWine.insert("PATH", "/nonexistent");
    for (const auto &environment : {noHelper, noWine}) {
        const FadeRun run = fade(QStringList{"--send"} + kRed + QStringList{"abc"}, {}, environment);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out, expected.out);
    }
}
