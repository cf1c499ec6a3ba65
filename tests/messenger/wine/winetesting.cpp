#include "winetesting.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QThread>

#include <cstdio>

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

TestWindow::TestWindow(const QString &topLevelClass)
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

TestWindow::~TestWindow()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished();
    }
    QFile::remove(log_);
}

bool TestWindow::endsByItself()
{
    return process_.waitForFinished(30000) && process_.exitCode() == 0;
}

std::vector<Record> TestWindow::records() const
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

std::vector<QByteArray> TestWindow::kinds(const std::vector<Record> &records)
{
    std::vector<QByteArray> kinds;
    for (const auto &record : records)
        kinds.push_back(record.what + ' ' + record.role);
    return kinds;
}

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
