#pragma once
// Runs the real quorvex-fade binary as a user would from a shell, with no
// display to talk to.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

struct FadeRun { int exitCode; QByteArray out, err; };

inline const QStringList kRgb = {"-1", "#FF0000", "-2", "#00FF00", "-3", "#0000FF"};

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// env: NAME=value settings for this run only; program: another one (bash) that starts quorvex-fade.
inline FadeRun fade(const QStringList &arguments, const QByteArray &input = {}, const QStringList &env = {},
                    const QString &program = QStringLiteral(QUORVEX_FADE_BINARY))
{
    static const QTemporaryDir runtime; // without one of its own, Qt says so on standard error
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("NO_COLOR"));
    environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":9731")); // a display that is gone
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    for (const QString &setting : env)
        environment.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

// quorvex-fade started by bash, which first runs setup (ulimit, umask, redirections),
// with SIGPIPE and SIGXFSZ at their defaults however the test itself was started.
inline FadeRun fadeAfter(const QString &setup, const QStringList &arguments, const QByteArray &input = {})
{
    return fade(QStringList{"-c", setup + QStringLiteral("; exec env --default-signal=PIPE,XFSZ \"$0\" \"$@\""),
                            QUORVEX_FADE_BINARY} + arguments,
                input, {}, QStringLiteral("/bin/bash"));
}
