#pragma once

// What the tests against Wine's user32 share: the environment of the test
// prefix and the stand-in IM window that logs what reaches it.
#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

#include <vector>

// The test prefix, headless, with Windows-1252 as its ANSI code page.
QProcessEnvironment wineEnvironment();

// One line of the stand-in's log: "ready", "settext ROLE" with its bytes, or
// "down/up ROLE" at a time in milliseconds.
struct Record
{
    QByteArray what, role, text;
    double at = 0;
};

// The stand-in IM window, running under Wine, and what it logged. Ready once
// constructed: its window tree stands and its log says so.
class TestWindow
{
public:
    explicit TestWindow(const QString &topLevelClass = {});
    ~TestWindow();
    TestWindow(const TestWindow &) = delete;
    TestWindow &operator=(const TestWindow &) = delete;

    // True when the stand-in ends by itself (after a click on its send
    // button) within half a minute.
    bool endsByItself();
    std::vector<Record> records() const;
    static std::vector<QByteArray> kinds(const std::vector<Record> &records);

private:
    QString log_;
    QProcess process_;
};

// UTF-8 text of é, € and ☺ as the ANSI code page Windows-1252 holds them.
QByteArray inWindows1252(QByteArray utf8);

// Prints a measured figure beside the test output.
void report(const char *what, qint64 milliseconds);
