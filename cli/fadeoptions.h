#pragma once

#include "fade/fadeerror.h"
#include "fade/fadestops.h"

#include <QSize>
#include <QStringList>

#include <cstdio>
#include <optional>
#include <vector>

// Exit statuses of quorvex-fade.
enum FadeExit : int { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

// What one run of quorvex-fade is asked to do.
struct FadeRequest
{
    VarloFade::ColorValue colors[3] = {};
    std::vector<VarloFade::ColorValue> stops; // --colors; empty: the three colours above
    VarloFade::FadeBlend blend = VarloFade::FadeBlend::Srgb;
    VarloFade::FadeMarkup markup = VarloFade::FadeMarkup::Aim; // of standard output; previews and --send take AIM
    bool wavy = false;
    std::optional<QString> text; // absent: read standard input
    std::optional<QString> previewPath;
    QSize previewSize;
    bool render = false; // the input is HTML to preview, not text to fade
    bool terminal = false; // the preview as terminal text on standard output, instead of the HTML
    bool colour = true;    // terminal text in colour (NO_COLOR unset or empty)
    bool send = false;
    bool verbose = false; // say on standard error why a send did nothing
};

// A request to carry out, or the exit status when there is nothing more to do
// (help, version, a usage error already reported).
struct ParsedCommand
{
    std::optional<FadeRequest> request;
    int exitCode = ExitOk;
};

// The command line as strings, or a message naming the argument that is not
// valid UTF-8 (on Windows the platform's own wide command line is used).
bool decodeArguments(int argc, char *argv[], QStringList *arguments, QString *error);

// Reads decoded arguments (program name first); writes help and version to
// out and usage errors to err. Needs no Qt application.
ParsedCommand parseFadeCommand(const QStringList &arguments, std::FILE *out, std::FILE *err);
