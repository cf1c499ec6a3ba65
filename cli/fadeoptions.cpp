#include "fadeoptions.h"

#include "colorargument.h"
#include "consoleio.h"
#include "previewimage.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <utility>

#ifdef Q_OS_WIN
#include <windows.h>
#include <shellapi.h>
#endif

namespace {

constexpr VarloFade::ColorValue kUntouchedSwatch = static_cast<VarloFade::ColorValue>(0x80000007u);

// The value of an option that takes one of a few names, or nothing.
template<typename T>
std::optional<T> namedValue(const QString &value, std::initializer_list<std::pair<const char *, T>> names)
{
    for (const auto &[name, v] : names)
        if (value == QLatin1String(name))
            return v;
    return std::nullopt;
}

} // namespace

bool decodeArguments(int argc, char *argv[], QStringList *arguments, QString *error)
{
    arguments->clear();
#ifdef Q_OS_WIN
    // The wide command line as Windows splits it; argv is in the ANSI code page.
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    int count = 0;
    wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) {
        // Running on with no arguments would fade standard input the user never meant to give.
        *error = QStringLiteral("the command line could not be read");
        return false;
    }
    for (int i = 0; i < count; ++i)
        arguments->append(QString::fromWCharArray(wide[i]));
    LocalFree(wide);
    return true;
#else
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

ParsedCommand parseFadeCommand(const QStringList &arguments, std::FILE *out, std::FILE *err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Fades TEXT (or standard input, read as UTF-8) into AIM instant-message HTML:\n"
        "a <Font Color=#RRGGBB> tag before every character, the colour running from\n"
        "colour 1 through colour 2 to colour 3. The HTML goes to standard output.\n\n"
        "COLOR is #RRGGBB, or 0x and 1 to 8 hex digits: a raw colour setting laid out\n"
        "0x00BBGGRR as in the fader window. Each colour defaults to 0x80000007, the\n"
        "setting of a swatch that was never touched."));
    // Qt never sees the arguments, so there are no Qt options to list: --help-all
    // is only a quiet synonym of --help.
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Show this help and exit."));
    QCommandLineOption helpAllOption(QStringLiteral("help-all"));
    helpAllOption.setFlags(QCommandLineOption::HiddenFromHelp);
    const QCommandLineOption versionOption({QStringLiteral("v"), QStringLiteral("version")},
                                           QStringLiteral("Show the version and exit."));
    const QCommandLineOption wavyOption(QStringLiteral("wavy"),
                                        QStringLiteral("Lift and lower the characters with <sup> and <sub>."));
    const QCommandLineOption colorOptions[3] = {
        {{QStringLiteral("1"), QStringLiteral("color1")}, QStringLiteral("First colour."), QStringLiteral("COLOR")},
        {{QStringLiteral("2"), QStringLiteral("color2")}, QStringLiteral("Middle colour."), QStringLiteral("COLOR")},
        {{QStringLiteral("3"), QStringLiteral("color3")}, QStringLiteral("Last colour."), QStringLiteral("COLOR")},
    };
    const QCommandLineOption colorsOption(
        QStringLiteral("colors"),
        QStringLiteral("2 to 10 colours, comma-separated, instead of -1, -2 and -3: the text fades through them "
                       "in equal parts."),
        QStringLiteral("COLOR,COLOR,..."));
    const QCommandLineOption blendOption(
        QStringLiteral("blend"),
        QStringLiteral("Blend the colours in sRGB (the default, as the fader window does) or in OKLab, which "
                       "keeps the middle of a fade from turning grey."),
        QStringLiteral("srgb|oklab"));
    const QCommandLineOption formatOption(
        QStringLiteral("format"),
        QStringLiteral("Write AIM HTML (the default), BBCode for forums or XHTML for web pages. Previews and "
                       "--send keep the AIM HTML."),
        QStringLiteral("aim|bbcode|html"));
    const QCommandLineOption sendOption(
        QStringLiteral("send"),
        QStringLiteral("Also paste the HTML into the open AIM instant-message window and press its send button "
                       "(on Linux, AIM running in Wine)."));
    const QCommandLineOption verboseOption(
        QStringLiteral("verbose"),
        QStringLiteral("With --send: say on standard error, step by step, why nothing was sent (the Wine sessions "
                       "looked at and why each was passed over, the window not found, the call that failed)."));
    const QCommandLineOption previewOption(
        QStringLiteral("preview"),
        QStringLiteral("Also write the preview of the HTML, as the fader window paints it, to FILE as PNG."),
        QStringLiteral("FILE"));
    const QCommandLineOption ansiOption(
        QStringLiteral("ansi"),
        QStringLiteral("Write the preview to standard output as 24-bit colour terminal text, instead of the HTML "
                       "(plain text when NO_COLOR is set)."));
    const QCommandLineOption renderOption(
        QStringLiteral("render"),
        QStringLiteral("Take the input as HTML and only preview it (needs --preview or --ansi)."));
    const QCommandLineOption sizeOption(
        QStringLiteral("size"),
        QStringLiteral("Size of the preview in pixels (default %1x%2).").arg(kPreviewPixels.width()).arg(kPreviewPixels.height()),
        QStringLiteral("WxH"));
    parser.addOption(helpOption);
    parser.addOption(helpAllOption);
    parser.addOption(versionOption);
    parser.addOption(wavyOption);
    for (const auto &option : colorOptions)
        parser.addOption(option);
    parser.addOption(colorsOption);
    parser.addOption(blendOption);
    parser.addOption(formatOption);
    parser.addOption(previewOption);
    parser.addOption(sizeOption);
    parser.addOption(ansiOption);
    parser.addOption(renderOption);
    parser.addOption(sendOption);
    parser.addOption(verboseOption);
    parser.addPositionalArgument(QStringLiteral("TEXT"),
                                 QStringLiteral("The text to fade; several words are joined by single spaces."),
                                 QStringLiteral("[TEXT]"));

    if (!parser.parse(arguments)) {
        say(err, parser.errorText() + QStringLiteral(" (see --help)"));
        return {std::nullopt, ExitUsage};
    }
    if (parser.isSet(helpOption) || parser.isSet(helpAllOption))
        return {std::nullopt,
                writeAll(out, parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("quorvex-fade")).toUtf8())
                    ? ExitOk
                    : ExitFailed};
    if (parser.isSet(versionOption))
        return {std::nullopt,
                writeAll(out, QStringLiteral("quorvex-fade %1\n").arg(QStringLiteral(QUORVEX_VERSION)).toUtf8())
                    ? ExitOk
                    : ExitFailed};

    FadeRequest request;
    std::fill(std::begin(request.colors), std::end(request.colors), kUntouchedSwatch);
    request.previewSize = kPreviewPixels;
    request.wavy = parser.isSet(wavyOption);
    for (int j = 0; j < 3; ++j) {
        if (!parser.isSet(colorOptions[j]))
            continue;
        const QString value = parser.values(colorOptions[j]).last();
        const auto color = parseColorArgument(value);
        if (!color) {
            say(err, QStringLiteral("colour %1 '%2' is not #RRGGBB or 0x followed by 1 to 8 hex digits")
                         .arg(j + 1)
                         .arg(value));
            return {std::nullopt, ExitUsage};
        }
        request.colors[j] = *color;
    }
    if (parser.isSet(colorsOption)) {
        if (std::any_of(std::begin(colorOptions), std::end(colorOptions),
                        [&](const QCommandLineOption &option) { return parser.isSet(option); })) {
            say(err, QStringLiteral("--colors replaces -1, -2 and -3: give one or the other"));
            return {std::nullopt, ExitUsage};
        }
        const QStringList values = parser.values(colorsOption).last().split(u',');
        if (values.size() < qsizetype(VarloFade::kMinFadeStops) || values.size() > qsizetype(VarloFade::kMaxFadeStops)) {
            say(err, QStringLiteral("--colors takes %1 to %2 colours, not %3")
                         .arg(VarloFade::kMinFadeStops)
                         .arg(VarloFade::kMaxFadeStops)
                         .arg(values.size()));
            return {std::nullopt, ExitUsage};
        }
        for (const QString &value : values) {
            const auto color = parseColorArgument(value);
            if (!color) {
                say(err, QStringLiteral("colour %1 '%2' is not #RRGGBB or 0x followed by 1 to 8 hex digits")
                             .arg(request.stops.size() + 1)
                             .arg(value));
                return {std::nullopt, ExitUsage};
            }
            request.stops.push_back(*color);
        }
    }
    if (parser.isSet(blendOption)) {
        const QString value = parser.values(blendOption).last();
        const auto blend = namedValue<VarloFade::FadeBlend>(
            value, {{"srgb", VarloFade::FadeBlend::Srgb}, {"oklab", VarloFade::FadeBlend::Oklab}});
        if (!blend) {
            say(err, QStringLiteral("--blend '%1' is not srgb or oklab").arg(value));
            return {std::nullopt, ExitUsage};
        }
        request.blend = *blend;
    }
    if (parser.isSet(formatOption)) {
        const QString value = parser.values(formatOption).last();
        const auto markup = namedValue<VarloFade::FadeMarkup>(value, {{"aim", VarloFade::FadeMarkup::Aim},
                                                                      {"bbcode", VarloFade::FadeMarkup::BbCode},
                                                                      {"html", VarloFade::FadeMarkup::Html}});
        if (!markup) {
            say(err, QStringLiteral("--format '%1' is not aim, bbcode or html").arg(value));
            return {std::nullopt, ExitUsage};
        }
        request.markup = *markup;
    }
    request.render = parser.isSet(renderOption);
    request.terminal = parser.isSet(ansiOption);
    request.colour = qEnvironmentVariableIsEmpty("NO_COLOR");
    request.send = parser.isSet(sendOption);
    request.verbose = parser.isSet(verboseOption);
    if (request.verbose && !request.send) {
        say(err, QStringLiteral("--verbose needs --send"));
        return {std::nullopt, ExitUsage};
    }
    if (parser.isSet(previewOption)) {
        request.previewPath = parser.values(previewOption).last();
        const QFileInfo file(*request.previewPath);
        if (request.previewPath->isEmpty() || file.isDir() || !file.absoluteDir().exists()) {
            say(err, QStringLiteral("cannot write the preview to '%1': not a file in an existing folder")
                         .arg(*request.previewPath));
            return {std::nullopt, ExitUsage};
        }
    }
    if (request.render && !request.previewPath && !request.terminal) {
        say(err, QStringLiteral("--render needs --preview FILE or --ansi"));
        return {std::nullopt, ExitUsage};
    }
    if (parser.isSet(sizeOption)) {
        if (!request.previewPath) {
            say(err, QStringLiteral("--size needs --preview FILE"));
            return {std::nullopt, ExitUsage};
        }
        const QString value = parser.values(sizeOption).last();
        const auto size = parsePreviewSize(value);
        if (!size) {
            say(err, QStringLiteral("size '%1' is not WxH with each side 1 to %2 pixels").arg(value).arg(kLargestPreviewSide));
            return {std::nullopt, ExitUsage};
        }
        request.previewSize = *size;
    }
    if (!parser.positionalArguments().isEmpty())
        request.text = parser.positionalArguments().join(u' ');
    return {request, ExitOk};
}
