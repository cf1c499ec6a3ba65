#pragma once

// Runs the real quorvex-fade binary as a user would from a shell.
#include <gtest/gtest.h>

#include <QProcess>

struct FadeRun
{
    int exitCode = -1;
    QByteArray out, err;
};

inline FadeRun runQuorvexFade(const QStringList &arguments, const QByteArray &input = {},
                              const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(QUORVEX_FADE_BINARY), arguments);
    EXPECT_TRUE(process.waitForStarted());
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}
