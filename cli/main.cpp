#include "fadecommand.h"
#include "processsetup.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

bool asksForPreview(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            return false;
        if (std::strcmp(argv[i], "--preview") == 0 || std::strncmp(argv[i], "--preview=", 10) == 0)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    reportQtMessagesOnStandardError();
    // Fading needs no window system; a preview needs fonts but never a
    // window, so it draws off-screen where it can: the same picture with or
    // without a display, and no abort when DISPLAY names a server that is gone.
    std::unique_ptr<QCoreApplication> app;
    if (asksForPreview(argc, argv)) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && previewPlatform())
            qputenv("QT_QPA_PLATFORM", previewPlatform());
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QStringList arguments;
    QString error;
    if (!decodeArguments(argc, argv, &arguments, &error)) {
        std::fprintf(stderr, "quorvex-fade: %s\n", qPrintable(error));
        return ExitUsage;
    }
    return runFadeCommand(arguments, stdin, stdout, stderr);
}
