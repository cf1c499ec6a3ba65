#include "fadecommand.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments;
    QString error;
    if (!decodeArguments(argc, argv, &arguments, &error)) {
        std::fprintf(stderr, "quorvex-fade: %s\n", qPrintable(error));
        return ExitUsage;
    }
    return runFadeCommand(arguments, stdin, stdout, stderr);
}
