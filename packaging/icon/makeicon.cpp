// Draws the program's icon from the credits artwork: the middle square of the
// picture with rounded corners and the three-colour fade along its foot.
// Writes NAME.png at every size asked for and NAME.ico holding them all.
//   makeicon ARTWORK.gif OUTDIR NAME SIZE...
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtEndian>

#include <cstdio>

namespace {

QImage drawIcon(const QImage &artwork, int size)
{
    const int side = qMin(artwork.width(), artwork.height());
    const QImage square = artwork.copy((artwork.width() - side) / 2, (artwork.height() - side) / 2, side, side)
                              .convertToFormat(QImage::Format_ARGB32_Premultiplied);

    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF whole(0, 0, size, size);
    QPainterPath rounded;
    rounded.addRoundedRect(whole, size * 0.18, size * 0.18);
    p.setClipPath(rounded);
    p.drawImage(whole, square);

    // The fade: red through green to blue, as the window's worked example.
    QLinearGradient fade(0, 0, size, 0);
    fade.setColorAt(0.0, QColor(255, 0, 0));
    fade.setColorAt(0.5, QColor(0, 255, 0));
    fade.setColorAt(1.0, QColor(0, 0, 255));
    p.fillRect(QRectF(0, size * 0.78, size, size * 0.22), fade);
    return icon;
}

QByteArray pngOf(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// An ICO whose images are PNG streams, as Windows has read them since Vista.
QByteArray icoOf(const QList<QImage> &images)
{
    QByteArray header, data;
    auto put16 = [](QByteArray &to, quint16 v) { v = qToLittleEndian(v); to.append(reinterpret_cast<const char *>(&v), 2); };
    auto put32 = [](QByteArray &to, quint32 v) { v = qToLittleEndian(v); to.append(reinterpret_cast<const char *>(&v), 4); };
    put16(header, 0);
    put16(header, 1);
    put16(header, quint16(images.size()));
    const quint32 firstImage = 6 + 16 * quint32(images.size());
    for (const QImage &image : images) {
        const QByteArray png = pngOf(image);
        header.append(char(image.width() >= 256 ? 0 : image.width()));
        header.append(char(image.height() >= 256 ? 0 : image.height()));
        header.append(char(0)); // no palette
        header.append(char(0));
        put16(header, 1);  // colour planes
        put16(header, 32); // bits per pixel
        put32(header, quint32(png.size()));
        put32(header, firstImage + quint32(data.size()));
        data.append(png);
    }
    return header + data;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5) {
        std::fprintf(stderr, "usage: makeicon ARTWORK OUTDIR NAME SIZE...\n");
        return 2;
    }
    const QImage artwork(args[1]);
    if (artwork.isNull()) {
        std::fprintf(stderr, "makeicon: cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    const QDir out(args[2]);
    QDir().mkpath(out.path());
    QList<QImage> images;
    for (const QString &size : args.mid(4)) {
        const QImage icon = drawIcon(artwork, size.toInt());
        if (icon.isNull() || !icon.save(out.filePath(QStringLiteral("%1-%2.png").arg(args[3], size)))) {
            std::fprintf(stderr, "makeicon: cannot write the %s-pixel icon\n", qPrintable(size));
            return 1;
        }
        images.append(icon);
    }
    QFile ico(out.filePath(args[3] + QStringLiteral(".ico")));
    if (!ico.open(QIODevice::WriteOnly) || ico.write(icoOf(images)) < 0) {
        std::fprintf(stderr, "makeicon: cannot write %s\n", qPrintable(ico.fileName()));
        return 1;
    }
    return 0;
}
