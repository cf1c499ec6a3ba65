#include "imagesurface.h"

#include "twips.h"

#include "fade/utf16.h"

#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace Toolkit {

namespace {

constexpr int kDotsPerMetreAt96Dpi = 3780; // 96 / 0.0254, rounded

QImage blankImage(QSize pixels, const QColor &color)
{
    QImage image(pixels.expandedTo(QSize(0, 0)), QImage::Format_RGB32);
    image.setDotsPerMeterX(kDotsPerMetreAt96Dpi);
    image.setDotsPerMeterY(kDotsPerMetreAt96Dpi);
    image.fill(color);
    return image;
}

// Measuring needs a device of the drawing's resolution even before the
// surface has a size.
const QImage &metricsDevice()
{
    static const QImage device = blankImage(QSize(1, 1), Qt::white);
    return device;
}

QString toQString(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar *>(text.data()), static_cast<qsizetype>(text.size()));
}

} // namespace

ImageSurface::ImageSurface(QSize pixels, ColorSetting backColor)
    : m_image(blankImage(pixels, resolveColor(backColor))), m_backColor(backColor)
{
    m_font.setFamily(QStringLiteral("MS Sans Serif"));
    m_font.setPointSizeF(8.25);
    fontChanged();
}

void ImageSurface::resize(QSize pixels)
{
    if (pixels == m_image.size())
        return;
    QImage grown = blankImage(pixels, resolveColor(m_backColor));
    if (!grown.isNull() && !m_image.isNull()) {
        QPainter painter(&grown);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, m_image);
    }
    m_image = grown;
    changed();
}

void ImageSurface::setBackColor(ColorSetting color)
{
    m_backColor = color;
    Cls();
}

void ImageSurface::setPicture(const QImage &picture)
{
    m_picture = picture;
    Cls();
}

void ImageSurface::setScaleMode(int mode)
{
    switch (mode) {
    case kScaleTwips:
    case kScalePoints:
    case kScalePixels:
    case kScaleInches:
    case kScaleMillimetres:
    case kScaleCentimetres:
        m_scaleMode = mode;
        m_unitsPerPixel = unitsPerPixel(mode);
        return;
    default:
        throw std::invalid_argument("Invalid property value");
    }
}

double ImageSurface::unitsPerPixel(int scaleMode)
{
    switch (scaleMode) {
    case kScaleTwips: return kTwipsPerPixel;
    case kScalePoints: return 0.75;
    case kScaleInches: return 1.0 / 96.0;
    case kScaleMillimetres: return 25.4 / 96.0;
    case kScaleCentimetres: return 2.54 / 96.0;
    default: return 1.0;
    }
}

double ImageSurface::scaleWidth() const { return fromPixels(m_image.width()); }
double ImageSurface::scaleHeight() const { return fromPixels(m_image.height()); }

void ImageSurface::setFontName(std::u16string_view face)
{
    m_font.setFamily(toQString(face));
    fontChanged();
}

void ImageSurface::setFontSize(double points)
{
    if (!(points > 0) || points > 2160)
        throw std::invalid_argument("Invalid property value");
    m_font.setPointSizeF(points);
    fontChanged();
}

void ImageSurface::setFontBold(bool on)
{
    m_font.setBold(on);
    fontChanged();
}

void ImageSurface::setFontItalic(bool on)
{
    m_font.setItalic(on);
    fontChanged();
}

void ImageSurface::setFontUnderline(bool on)
{
    m_font.setUnderline(on);
    fontChanged();
}

void ImageSurface::setFontStrikethru(bool on)
{
    m_font.setStrikeOut(on);
    fontChanged();
}

void ImageSurface::fontChanged()
{
    m_widths.setFont(m_font, &metricsDevice());
}

double ImageSurface::pixelWidth(std::u16string_view text)
{
    const QStringView view(text.data(), qsizetype(text.size()));
    // One character (a surrogate pair is one): its own advance.
    if (!text.empty() && VarloFade::UnitsOfCharacterAt(text, 0) == text.size())
        return m_widths.advance(view, 0, view.size());
    return m_widths.stringWidth(view);
}

void ImageSurface::Cls()
{
    m_image.fill(resolveColor(m_backColor));
    if (!m_picture.isNull() && !m_image.isNull()) {
        QPainter painter(&m_image);
        painter.drawImage(0, 0, m_picture);
    }
    m_penX = m_penY = 0;
    m_printedText.clear();
    m_printedEnd = 0;
    changed();
}

bool ImageSurface::printOnImage(std::u16string_view text)
{
    const double x = m_penX, y = m_penY;
    const double width = pixelWidth(text);
    m_penX += width;
    if (!m_printedText.isEmpty() && x < m_printedEnd)
        m_printedText += u'\n';
    m_printedText += QStringView(text.data(), qsizetype(text.size()));
    m_printedEnd = m_penX;

    // Glyphs may reach past their advance by an overhang; a font height of
    // slack on every side keeps the picture identical while characters far
    // outside the image cost no painting.
    const double slack = m_widths.height();
    if (m_image.isNull() || x - slack > m_image.width() || y - slack > m_image.height() || x + width + slack < 0
        || y + 2 * slack < 0)
        return false;
    QPainter painter(&m_image);
    painter.setFont(m_font);
    painter.setPen(resolveColor(m_foreColor));
    painter.drawText(QPointF(x, y + m_widths.ascent()), toQString(text));
    painter.end();
    changed();
    return true;
}

double ImageSurface::TextWidth(std::u16string_view text) { return fromPixels(pixelWidth(text)); }

double ImageSurface::TextHeight()
{
    return fromPixels(m_widths.height());
}

void ImageSurface::PaintPicture(const QImage &picture, double x, double y, double width, double height,
                                double srcX, double srcY, double srcWidth, double srcHeight)
{
    if (m_image.isNull() || picture.isNull() || width == 0 || height == 0 || srcWidth == 0 || srcHeight == 0)
        return;
    const QRectF target = QRectF(toPixels(x), toPixels(y), toPixels(width), toPixels(height)).normalized();
    const QRectF source = QRectF(toPixels(srcX), toPixels(srcY), toPixels(srcWidth), toPixels(srcHeight)).normalized();
    const bool mirrorX = (width < 0) != (srcWidth < 0);
    const bool mirrorY = (height < 0) != (srcHeight < 0);

    QPainter painter(&m_image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (mirrorX || mirrorY) {
        const QPointF centre = target.center();
        painter.translate(centre);
        painter.scale(mirrorX ? -1 : 1, mirrorY ? -1 : 1);
        painter.translate(-centre);
    }
    painter.drawImage(target, picture, source);
    painter.end();
    changed();
}

void ImageSurface::fillRect(double x1, double y1, double x2, double y2, ColorSetting color)
{
    if (m_image.isNull() || std::isnan(x1) || std::isnan(y1) || std::isnan(x2) || std::isnan(y2))
        return;
    const auto pixel = [this](double units) {
        // Far-off corners are clamped so that the box stays representable.
        return static_cast<int>(std::clamp(std::round(toPixels(units)), -1.0e6, 1.0e6));
    };
    const int left = pixel(x1), top = pixel(y1), right = pixel(x2), bottom = pixel(y2);
    const QRect box(QPoint(std::min(left, right), std::min(top, bottom)),
                    QPoint(std::max(left, right), std::max(top, bottom)));
    QPainter painter(&m_image);
    painter.fillRect(box, resolveColor(color));
    painter.end();
    changed();
}

} // namespace Toolkit
