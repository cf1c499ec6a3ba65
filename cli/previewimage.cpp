#include "previewimage.h"

#include "fade/renderhtmlpreview.h"
#include "ui/toolkit/imagesurface.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>

std::optional<QSize> parsePreviewSize(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("\\A([0-9]{1,5})[xX]([0-9]{1,5})\\z"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int width = match.captured(1).toInt(), height = match.captured(2).toInt();
    if (width < 1 || height < 1 || width > kLargestPreviewSide || height > kLargestPreviewSide)
        return std::nullopt;
    return QSize(width, height);
}

QImage renderPreviewImage(const std::u16string &html, QSize pixels)
{
    Toolkit::ImageSurface surface(pixels, Toolkit::colorValueOf(255, 255, 255));
    VarloFade::RenderHtmlPreview(surface, html);
    return surface.image();
}

namespace {

// Every byte written and flushed, or false with the reason. The last bytes
// leave the buffer only at the flush, and a write cut short by a full disk or
// a file-size limit must count as the failure it is.
bool writeWhole(QFileDevice &file, const QByteArray &bytes, QString *why)
{
    const qint64 written = file.write(bytes);
    if (written == bytes.size() && file.flush() && file.error() == QFileDevice::NoError)
        return true;
    *why = file.error() != QFileDevice::NoError
               ? file.errorString()
               : QStringLiteral("only %1 of %2 bytes could be written").arg(std::max<qint64>(written, 0)).arg(bytes.size());
    return false;
}

} // namespace

bool savePreviewImage(const QImage &image, const QString &path, QString *why)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!QImageWriter(&buffer, "png").write(image)) {
        *why = QStringLiteral("the image cannot be encoded");
        return false;
    }
    // A device or a pipe (/dev/stdout, a FIFO) is written to as it is: it
    // cannot be replaced, and renaming a file over it would destroy it.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile()) {
        QFile device(path);
        if (!device.open(QIODevice::WriteOnly)) {
            *why = device.errorString();
            return false;
        }
        return writeWhole(device, png, why);
    }
    // Written beside the target and renamed over it only when complete: a
    // failed write leaves an earlier file as it was and no partial one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *why = file.errorString();
        return false;
    }
    if (!writeWhole(file, png, why)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *why = file.errorString();
        return false;
    }
    return true;
}
