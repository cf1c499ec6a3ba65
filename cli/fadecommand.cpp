#include "fadecommand.h"

#include "consoleio.h"
#include "fade/varlofade.h"
#include "messenger/tarnellbas.h"
#include "previewimage.h"
#include "terminalpreview.h"

#include <QCoreApplication>
#include <QGuiApplication>

int runFadeRequest(const FadeRequest &request, std::FILE *in, std::FILE *out, std::FILE *err)
{
    if (request.previewPath && !qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        say(err, QStringLiteral("a preview needs the graphical application"));
        return ExitFailed;
    }

    QString text;
    if (request.text) {
        text = *request.text;
    } else {
        const auto decoded = decodeUtf8(readAll(in));
        if (!decoded) {
            say(err, QStringLiteral("standard input is not valid UTF-8"));
            return ExitUsage;
        }
        text = *decoded;
    }

    std::u16string html;   // AIM HTML: previewed, sent and, in the AIM format, written
    std::u16string markup; // the fade in another format, to write instead
    if (request.render) {
        html = text.toStdU16String();
    } else {
        try {
            const std::u16string faded = text.toStdU16String();
            const std::vector<VarloFade::ColorValue> stops = request.stops.empty()
                ? std::vector<VarloFade::ColorValue>(std::begin(request.colors), std::end(request.colors))
                : request.stops;
            const bool otherFormat = request.markup != VarloFade::FadeMarkup::Aim && !request.terminal;
            // The AIM HTML of another format's fade is made only where it is previewed or sent.
            if (!otherFormat || request.previewPath || request.send)
                html = request.stops.empty() && request.blend == VarloFade::FadeBlend::Srgb
                    ? VarloFade::FadeText(request.colors[0], request.colors[1], request.colors[2], faded, request.wavy)
                    : VarloFade::FadeStops(stops, faded, request.wavy, request.blend);
            if (otherFormat)
                markup = VarloFade::FadeStops(stops, faded, request.wavy, request.blend, request.markup);
        } catch (const VarloFade::OverflowError &error) {
            say(err, QStringLiteral("%1: the text has %2 UTF-16 units, at most %3 can be faded")
                         .arg(QString::fromUtf8(error.what()))
                         .arg(text.size())
                         .arg(VarloFade::kMaxFadeUnits));
            return ExitFailed;
        }
    }

    // A preview that cannot be written is refused before anything is printed or sent.
    if (request.previewPath) {
        QString why;
        if (!savePreviewImage(renderPreviewImage(html, request.previewSize), *request.previewPath, &why)) {
            say(err, QStringLiteral("cannot write the preview to '%1': %2").arg(*request.previewPath, why));
            return ExitUsage;
        }
    }

    bool written = true;
    if (request.terminal) {
        const std::string terminal = TerminalPreview(html, request.colour);
        written = writeAll(out, QByteArray(terminal.data(), static_cast<qsizetype>(terminal.size())));
    } else if (!request.render) {
        written = writeAll(out, QString::fromStdU16String(
                                    request.markup == VarloFade::FadeMarkup::Aim ? html : markup).toUtf8());
    }
    if (!written)
        say(err, QStringLiteral("cannot write to standard output"));
    // Like the window's "Send IM": no IM window is no error, and the exit
    // status does not change; --verbose says why nothing was sent.
    if (request.send) {
        Tarnellbas::Diagnostics diagnostics;
        if (request.verbose)
            diagnostics = [err](const std::string &line) { say(err, QString::fromStdString(line)); };
        const auto windows = Tarnellbas::makePlatformWindowSystem({}, std::move(diagnostics));
        Tarnellbas::SendImText(*windows, html, [] { QCoreApplication::processEvents(); });
    }
    return written ? ExitOk : ExitFailed;
}
