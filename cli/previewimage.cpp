#include "previewimage.h"

#include "fade/renderhtmlpreview.h"
#include "namedfile.h"
#include "ui/toolkit/imagesurface.h"

#include <QBuffer>
#include <QImageWriter>
#include <QRegularExpression>

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

bool savePreviewImage(const QImage &image, const QString &path, QString *why)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!QImageWriter(&buffer, "png").write(image)) {
        *why = QStringLiteral("the image cannot be encoded");
        return false;
    }
    return writeNamedFile(path, png, why);
}
