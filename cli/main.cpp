#include "fadeapplication.h"
#include "fadecommand.h"
#include "processsetup.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    // Qt's messages go to standard error, and a fatal one ends the run with 1.
    reportQtMessagesOnStandardError();
    reportWriteFailuresAsErrors();
    // The arguments are read before Qt is started, and Qt never sees them.
    QStringList arguments;
    QString error;
    if (!decodeArguments(argc, argv, &arguments, &error)) {
        std::fprintf(stderr, "quorvex-fade: %s\n", qPrintable(error));
        return ExitUsage;
    }
    const ParsedCommand parsed = parseFadeCommand(arguments, stdout, stderr);
    if (!parsed.request)
        return parsed.exitCode;
    // Fading needs no window system; a preview image needs fonts but never a window.
    const FadeApplication application(argc > 0 ? argv[0] : nullptr, parsed.request->previewPath.has_value());
    return runFadeRequest(*parsed.request, stdin, stdout, stderr);
}
