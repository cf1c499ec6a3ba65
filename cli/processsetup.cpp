#include "processsetup.h"

#include "fadecommand.h"

#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <csignal>
#endif

namespace {

QtMessageHandler qtHandler = nullptr;

void messageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg && qtHandler) {
        qtHandler(type, context, message);
        return;
    }
    std::fprintf(stderr, "quorvex-fade: %s\n", qPrintable(message));
    std::fflush(stderr);
    if (type == QtFatalMsg)
        std::_Exit(ExitFailed);
}

} // namespace

void reportQtMessagesOnStandardError()
{
#ifdef Q_OS_WIN
    // Nor the system's own boxes for a failing drive or a crash.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    // Qt writes to the debugger, not to standard error, when no console is attached.
    qtHandler = nullptr;
    qInstallMessageHandler(messageHandler);
#else
    qtHandler = qInstallMessageHandler(messageHandler);
#endif
}

void reportWriteFailuresAsErrors()
{
#ifndef Q_OS_WIN
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

const char *previewPlatform()
{
#ifdef Q_OS_WIN
    return nullptr;
#else
    return "offscreen";
#endif
}
