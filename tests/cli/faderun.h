#pragma once
// Runs the real quorvex-fade binary as a user would from a shell, with no
// display to talk to.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

struct FadeRun { int exitCode; QByteArray out, err; };

inline const QStringList kRgb = {"-1", "#FF0000", "-2", "#00FF00", "-3", "#0000FF"};

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// quorvex-fade started by bash, which first runs setup (exports, ulimit, umask, redirections),
// with SIGPIPE and SIGXFSZ at their defaults however the test itself was started. The display
// is one that is gone, and the runtime folder one of its own: without it, Qt says so on standard error.
inline FadeRun fade(const QStringList &arguments, const QByteArray &input = {}, const QString &setup = {})
{
    static const QTemporaryDir runtime;
    const QString script = "unset QT_QPA_PLATFORM NO_COLOR; export DISPLAY=:9731 XDG_RUNTIME_DIR='" + runtime.path()
                           + "'\n" + setup + "\nexec env --default-signal=PIPE,XFSZ \"$0\" \"$@\"";
    QProcess process;
    process.start(QStringLiteral("/bin/bash"), QStringList{"-c", script, QUORVEX_FADE_BINARY} + arguments);
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}
