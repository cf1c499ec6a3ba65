#include "consoleio.h"

#include <QStringDecoder>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

void say(std::FILE *err, const QString &message)
{
    const QByteArray bytes = (QStringLiteral("quorvex-fade: ") + message + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), err);
    std::fflush(err);
}

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
