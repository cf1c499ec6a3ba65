#include "fadecommand.h"

#include "colorargument.h"
#include "fade/varlofade.h"
#include "messenger/tarnellbas.h"
#include "previewimage.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringDecoder>

#include <optional>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr VarloFade::ColorValue kUntouchedSwatch = static_cast<VarloFade::ColorValue>(0x80000007u);

void say(std::FILE *err, const QString &message)
{
    const QByteArray bytes = (QStringLiteral("quorvex-fade: ") + message + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), err);
    std::fflush(err);
}

// Strict UTF-8: a byte sequence that is not UTF-8 is an error, never replaced.
std::optional<QString> decodeUtf8(const QByteArray &bytes)
{
    // Stateless, so that a sequence cut off at the end counts as an error too.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

QByteArray readAll(std::FILE *in)
{
#ifdef Q_OS_WIN
    _setmode(_fileno(in), _O_BINARY);
#endif
    QByteArray bytes;
    char buffer[65536];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, in)) > 0;)
        bytes.append(buffer, static_cast<qsizetype>(got));
    return bytes;
}

bool writeAll(std::FILE *out, const QByteArray &bytes)
{
#ifdef Q_OS_WIN
    _setmode(_fileno(out), _O_BINARY);
#endif
    return std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), out)
               == static_cast<size_t>(bytes.size())
           && std::fflush(out) == 0;
}

struct Request
{
    VarloFade::ColorValue colors[3] = {kUntouchedSwatch, kUntouchedSwatch, kUntouchedSwatch};
    bool wavy = false;
    std::optional<QString> text; // absent: read standard input
    std::optional<QString> previewPath;
    QSize previewSize = kPreviewPixels;
    bool render = false; // the input is HTML to preview, not text to fade
    bool send = false;
};

// A request to carry out, or the exit status when there is nothing more to do
// (help, version, a usage error already reported).
struct ParsedCommand
{
    std::optional<Request> request;
    int exitCode = ExitOk;
};

ParsedCommand parseCommand(const QStringList &arguments, std::FILE *out, std::FILE *err);

} // namespace

bool decodeArguments(int argc, char *argv[], QStringList *arguments, QString *error)
{
#ifdef Q_OS_WIN
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    Q_UNUSED(error);
    *arguments = QCoreApplication::arguments();
    return true;
#else
    arguments->clear();
    // The program's own name is whatever path it was started by: never a reason to refuse.
    if (argc > 0)
        arguments->append(QString::fromLocal8Bit(argv[0]));
    for (int i = 1; i < argc; ++i) {
        const auto decoded = decodeUtf8(QByteArray(argv[i]));
        if (!decoded) {
            *error = QStringLiteral("argument %1 is not valid UTF-8").arg(i);
            return false;
        }
        arguments->append(*decoded);
    }
    return true;
#endif
}

namespace {

ParsedCommand parseCommand(const QStringList &arguments, std::FILE *out, std::FILE *err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Fades TEXT (or standard input, read as UTF-8) into AIM instant-message HTML:\n"
        "a <Font Color=#RRGGBB> tag before every character, the colour running from\n"
        "colour 1 through colour 2 to colour 3. The HTML goes to standard output.\n\n"
        "COLOR is #RRGGBB, or 0x and 1 to 8 hex digits: a raw colour setting laid out\n"
        "0x00BBGGRR as in the fader window. Each colour defaults to 0x80000007, the\n"
        "setting of a swatch that was never touched."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption wavyOption(QStringLiteral("wavy"),
                                        QStringLiteral("Lift and lower the characters with <sup> and <sub>."));
    const QCommandLineOption colorOptions[3] = {
        {{QStringLiteral("1"), QStringLiteral("color1")}, QStringLiteral("First colour."), QStringLiteral("COLOR")},
        {{QStringLiteral("2"), QStringLiteral("color2")}, QStringLiteral("Middle colour."), QStringLiteral("COLOR")},
        {{QStringLiteral("3"), QStringLiteral("color3")}, QStringLiteral("Last colour."), QStringLiteral("COLOR")},
    };
    const QCommandLineOption sendOption(QStringLiteral("send"),
                                        QStringLiteral("Also paste the HTML into the open AIM instant-message window\n"
                                                       "and press its send button (on Linux, AIM running in Wine)."));
    const QCommandLineOption previewOption(
        QStringLiteral("preview"),
        QStringLiteral("Also write the preview of the HTML, as the fader window paints it, to FILE as PNG."),
        QStringLiteral("FILE"));
    const QCommandLineOption renderOption(
        QStringLiteral("render"),
        QStringLiteral("Take the input as HTML and only write its preview (needs --preview)."));
    const QCommandLineOption sizeOption(
        QStringLiteral("size"),
        QStringLiteral("Size of the preview in pixels (default %1x%2).").arg(kPreviewPixels.width()).arg(kPreviewPixels.height()),
        QStringLiteral("WxH"));
    parser.addOption(wavyOption);
    parser.addOption(previewOption);
    parser.addOption(renderOption);
    parser.addOption(sizeOption);
    parser.addOption(sendOption);
    for (const auto &option : colorOptions)
        parser.addOption(option);
    parser.addPositionalArgument(QStringLiteral("TEXT"),
                                 QStringLiteral("The text to fade; several words are joined by single spaces."),
                                 QStringLiteral("[TEXT]"));

    if (!parser.parse(arguments)) {
        say(err, parser.errorText() + QStringLiteral(" (see --help)"));
        return {std::nullopt, ExitUsage};
    }
    if (parser.isSet(helpOption))
        return {std::nullopt, writeAll(out, parser.helpText().toUtf8()) ? ExitOk : ExitFailed};
    if (parser.isSet(versionOption))
        return {std::nullopt,
                writeAll(out, QStringLiteral("quorvex-fade %1\n").arg(QStringLiteral(QUORVEX_VERSION)).toUtf8())
                    ? ExitOk
                    : ExitFailed};

    Request request;
    request.wavy = parser.isSet(wavyOption);
    for (int j = 0; j < 3; ++j) {
        if (!parser.isSet(colorOptions[j]))
            continue;
        const QStringList values = parser.values(colorOptions[j]);
        const auto color = parseColorArgument(values.last());
        if (!color) {
            say(err, QStringLiteral("colour %1 '%2' is not #RRGGBB or 0x followed by 1 to 8 hex digits")
                         .arg(j + 1)
                         .arg(values.last()));
            return {std::nullopt, ExitUsage};
        }
        request.colors[j] = *color;
    }
    request.render = parser.isSet(renderOption);
    request.send = parser.isSet(sendOption);
    if (parser.isSet(previewOption)) {
        request.previewPath = parser.values(previewOption).last();
        const QFileInfo file(*request.previewPath);
        if (request.previewPath->isEmpty() || file.isDir() || !file.absoluteDir().exists()) {
            say(err, QStringLiteral("cannot write the preview to '%1': not a file in an existing folder")
                         .arg(*request.previewPath));
            return {std::nullopt, ExitUsage};
        }
    }
    if (!request.previewPath && (request.render || parser.isSet(sizeOption))) {
        say(err, QStringLiteral("--render and --size need --preview FILE"));
        return {std::nullopt, ExitUsage};
    }
    if (parser.isSet(sizeOption)) {
        const QString value = parser.values(sizeOption).last();
        const auto size = parsePreviewSize(value);
        if (!size) {
            say(err, QStringLiteral("size '%1' is not WxH with each side 1 to %2 pixels").arg(value).arg(kLargestPreviewSide));
            return {std::nullopt, ExitUsage};
        }
        request.previewSize = *size;
    }
    if (request.previewPath && !qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        say(err, QStringLiteral("a preview needs the graphical application"));
        return {std::nullopt, ExitFailed};
    }
    if (!parser.positionalArguments().isEmpty())
        request.text = parser.positionalArguments().join(u' ');
    return {request, ExitOk};
}

} // namespace

int runFadeCommand(const QStringList &arguments, std::FILE *in, std::FILE *out, std::FILE *err)
{
    const ParsedCommand parsed = parseCommand(arguments, out, err);
    if (!parsed.request)
        return parsed.exitCode;
    const Request &request = *parsed.request;

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

    std::u16string html;
    if (request.render) {
        html = text.toStdU16String();
    } else {
        try {
            html = VarloFade::FadeText(request.colors[0], request.colors[1], request.colors[2],
                                       text.toStdU16String(), request.wavy);
        } catch (const VarloFade::OverflowError &error) {
            say(err, QStringLiteral("%1: the text has %2 UTF-16 units, at most %3 can be faded")
                         .arg(QString::fromUtf8(error.what()))
                         .arg(text.size())
                         .arg(VarloFade::kMaxFadeUnits));
            return ExitFailed;
        }
    }

    // A preview that cannot be written is refused before anything is printed or sent.
    if (request.previewPath
        && !renderPreviewImage(html, request.previewSize).save(*request.previewPath, "PNG")) {
        say(err, QStringLiteral("cannot write the preview to '%1'").arg(*request.previewPath));
        return ExitUsage;
    }

    const bool written = request.render || writeAll(out, QString::fromStdU16String(html).toUtf8());
    if (!written)
        say(err, QStringLiteral("cannot write to standard output"));
    // Like the window's "Send IM": nothing is reported, and no IM window is no error.
    if (request.send) {
        const auto windows = Tarnellbas::makePlatformWindowSystem();
        Tarnellbas::SendImText(*windows, html, [] { QCoreApplication::processEvents(); });
    }
    return written ? ExitOk : ExitFailed;
}
