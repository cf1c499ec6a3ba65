// quorvex-fade --send through Wine's own user32 into a stand-in IM window.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <cstdio>

namespace {

QProcessEnvironment wineEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("WINEPREFIX", WINE_PREFIX);
    environment.insert("WINEDEBUG", "-all");
    environment.insert("QUORVEX_IM_HELPER", IM_HELPER_EXE);
    environment.insert("LANG", "C.UTF-8"); // Windows-1252 as the ANSI code page
    environment.remove("LC_ALL");
    environment.remove("DISPLAY");
    return environment;
}

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

struct Record
{
    QByteArray what, role, text;
    double at = 0;
};

// The stand-in IM window, running under Wine, and what it logged.
class TestWindow
{
public:
    explicit TestWindow(const QString &topLevelClass = {})
    {
        log_ = QDir(QString::fromStdString(::testing::TempDir()))
                   .filePath(QString("aim-window-%1-%2.log")
                                 .arg(QString::fromLatin1(
                                     ::testing::UnitTest::GetInstance()->current_test_info()->name()))
                                 .arg(QCoreApplication::applicationPid()));
        QFile::remove(log_);
        QString windowsPath = "Z:" + log_;
        windowsPath.replace('/', '\\');
        QStringList arguments = {AIM_TEST_WINDOW_EXE, windowsPath};
        if (!topLevelClass.isEmpty())
            arguments << topLevelClass;
        process_.setProcessEnvironment(wineEnvironment());
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start("wine", arguments);
        EXPECT_TRUE(process_.waitForStarted());
        for (int i = 0; i < 300 && !QFile(log_).exists(); ++i)
            QThread::msleep(50);
        for (int i = 0; i < 300 && records().empty(); ++i)
            QThread::msleep(50);
    }

    ~TestWindow()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
        QFile::remove(log_);
    }

    bool endsByItself() { return process_.waitForFinished(30000) && process_.exitCode() == 0; }

    std::vector<Record> records() const
    {
        QFile file(log_);
        std::vector<Record> found;
        if (!file.open(QIODevice::ReadOnly))
            return found;
        const QByteArray bytes = file.readAll();
        for (qsizetype at = 0; at < bytes.size();) {
            const qsizetype end = bytes.indexOf('\n', at);
            if (end < 0)
                break;
            const QList<QByteArray> fields = bytes.mid(at, end - at).split(' ');
            at = end + 1;
            Record record{fields[0], fields.value(1), {}, 0};
            if (record.what == "settext") {
                const qsizetype size = fields.value(2).toLongLong();
                record.text = bytes.mid(at, size);
                at += size + 1;
            } else if (fields.size() > 2) {
                record.at = fields[2].toDouble();
            }
            found.push_back(record);
        }
        return found;
    }

    static std::vector<QByteArray> kinds(const std::vector<Record> &records)
    {
        std::vector<QByteArray> kinds;
        for (const auto &record : records)
            kinds.push_back(record.what + ' ' + record.role);
        return kinds;
    }

private:
    QString log_;
    QProcess process_;
};

// What the fade printed, in the code page the window must receive.
QByteArray inWindows1252(QByteArray utf8)
{
    utf8.replace("\xc3\xa9", "\xe9");     // é
    utf8.replace("\xe2\x82\xac", "\x80"); // €
    utf8.replace("\xe2\x98\xba", "?");    // ☺ is not in the code page
    return utf8;
}

void report(const char *what, qint64 milliseconds)
{
    std::printf("[ figure ] %s: %lld ms\n", what, static_cast<long long>(milliseconds));
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
