#pragma once

#include "colorsetting.h"
#include "glyphwidths.h"
#include "fade/previewsurface.h"

#include <QFont>
#include <QImage>
#include <QString>

#include <functional>

namespace Toolkit {

// The drawing of a picture box over an image of its own: text printed at a
// position, filled boxes and stretched copies of pictures, all in the current
// ScaleMode. The picture box shows it on screen; quorvex-fade and the tests
// use it off-screen. Images are 96 dots per inch, so 10 points are 13 1/3 pixels.
class ImageSurface : public VarloFade::PreviewSurface
{
public:
    // ScaleMode values besides twips (1) and pixels (3).
    static constexpr int kScalePoints = 2;
    static constexpr int kScaleInches = 5;
    static constexpr int kScaleMillimetres = 6;
    static constexpr int kScaleCentimetres = 7;

    explicit ImageSurface(QSize pixels = {}, ColorSetting backColor = systemColor(15));

    const QImage &image() const { return m_image; }
    // Keeps what is drawn at the top left; new area shows the background.
    void resize(QSize pixels);

    // Reads back exactly as set; setting it clears the drawing, as Cls does.
    void setBackColor(ColorSetting color);
    ColorSetting backColor() const { return m_backColor; }

    // Shown at the top left under the drawing, and again after every Cls.
    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }

    // Throws std::invalid_argument for a mode other than 1, 2, 3, 5, 6 or 7.
    int ScaleMode() const override { return m_scaleMode; }
    void setScaleMode(int mode) override;
    double scaleWidth() const;
    double scaleHeight() const;

    void setFontName(std::u16string_view face) override;
    void setFontSize(double points) override;
    void setFontBold(bool on) override;
    void setFontItalic(bool on) override;
    void setFontUnderline(bool on) override;
    void setFontStrikethru(bool on) override;
    QString fontName() const { return m_font.family(); }
    double fontSize() const { return m_font.pointSizeF(); }
    const QFont &font() const { return m_font; }

    void setAutoRedraw(bool on) override { m_autoRedraw = on; }
    bool autoRedraw() const { return m_autoRedraw; }
    void setForeColor(VarloFade::ColorValue color) override { m_foreColor = color; }
    VarloFade::ColorValue foreColor() const { return m_foreColor; }

    void Cls() override;
    void setCurrentX(double x) override { m_penX = toPixels(x); }
    void setCurrentY(double y) override { m_penY = toPixels(y); }
    double currentX() const { return fromPixels(m_penX); }
    double currentY() const { return fromPixels(m_penY); }
    // Leaves the position after the printed text, on the same line.
    void Print(std::u16string_view text) override { printOnImage(text); }
    // Print that says whether it painted: text wholly outside the image is
    // measured but not painted.
    bool printOnImage(std::u16string_view text);
    double TextWidth(std::u16string_view text) override;
    double TextHeight();

    // The text printed since the last Cls, a line feed wherever printing went
    // back to the left: what the drawing says, for a screen reader.
    const QString &printedText() const { return m_printedText; }

    // Called after every change of the image (a picture box repaints then).
    void setChangeHandler(std::function<void()> handler) { m_changed = std::move(handler); }

    // Stretch-copies the source rectangle of picture (in this surface's scale
    // unit) onto the destination rectangle, replacing what was there (SRCCOPY);
    // a negative width or height mirrors.
    void PaintPicture(const QImage &picture, double x, double y, double width, double height,
                      double srcX, double srcY, double srcWidth, double srcHeight);
    // Fills the box between two corners, both corners' pixels included.
    void fillRect(double x1, double y1, double x2, double y2, ColorSetting color);

private:
    static double unitsPerPixel(int scaleMode);
    double toPixels(double units) const { return units / m_unitsPerPixel; }
    double fromPixels(double pixels) const { return pixels * m_unitsPerPixel; }
    double pixelWidth(std::u16string_view text);
    void fontChanged();
    void changed() const
    {
        if (m_changed)
            m_changed();
    }

    QImage m_image;
    QImage m_picture;
    ColorSetting m_backColor;
    int m_scaleMode = kScaleTwips;
    double m_unitsPerPixel = unitsPerPixel(kScaleTwips);
    QFont m_font;
    GlyphWidths m_widths;
    bool m_autoRedraw = false;
    VarloFade::ColorValue m_foreColor = 0;
    double m_penX = 0, m_penY = 0; // pixels
    QString m_printedText;
    double m_printedEnd = 0; // pixels, where the last printed text ended
    std::function<void()> m_changed;
};

} // namespace Toolkit
