#pragma once
// Runs the real quorvex-fade binary as a user would from a shell, with no
// display to talk to.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

struct FadeRun { int exitCode; QByteArray out, err; };

inline const QStringList kRgb = {"-1", "#FF0000", "-2", "#00FF00", "-3", "#0000FF"};

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline void writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(data);
}

inline FadeRun runProgram(const QString &program, const QStringList &arguments, const QByteArray &input = {},
                          const QProcessEnvironment &changes = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("NO_COLOR"));
    environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":9731")); // a display that is gone
    environment.insert(changes);
    for (const QString &name : changes.keys())
        if (changes.value(name) == QStringLiteral("<unset>"))
            environment.remove(name);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

inline FadeRun fade(const QStringList &arguments, const QByteArray &input = {}, const QProcessEnvironment &changes = {})
{
    return runProgram(QStringLiteral(QUORVEX_FADE_BINARY), arguments, input, changes);
}

// quorvex-fade started by bash, which first runs setup (ulimit, trap, redirections).
inline FadeRun fadeAfter(const QString &setup, const QStringList &arguments)
{
    return runProgram(QStringLiteral("/bin/bash"),
                      QStringList{"-c", setup + QStringLiteral("; exec \"$0\" \"$@\""), QUORVEX_FADE_BINARY} + arguments);
}
