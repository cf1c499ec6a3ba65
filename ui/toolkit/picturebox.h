#pragma once

#include "imagesurface.h"

#include <QWidget>

namespace Toolkit {

// The forms toolkit's picture box: everything is drawn into the box's own
// image, which paintEvent shows, so the drawing survives being covered. With
// AutoRedraw off the drawing still lands in that image, as a Qt widget cannot
// paint on the screen outside its paint event.
class PictureBox : public QWidget, public VarloFade::PreviewSurface
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);

    const QImage &image() const { return surface().image(); }

    void setBackColor(ColorSetting color);
    ColorSetting backColor() const { return surface().backColor(); }
    void setPicture(const QImage &picture);
    const QImage &picture() const { return surface().picture(); }

    int ScaleMode() const override { return surface().ScaleMode(); }
    void setScaleMode(int mode) override { surface().setScaleMode(mode); }
    double scaleWidth() const { return surface().scaleWidth(); }
    double scaleHeight() const { return surface().scaleHeight(); }

    void setFontName(std::u16string_view face) override { surface().setFontName(face); }
    void setFontSize(double points) override { surface().setFontSize(points); }
    void setFontBold(bool on) override { surface().setFontBold(on); }
    void setFontItalic(bool on) override { surface().setFontItalic(on); }
    void setFontUnderline(bool on) override { surface().setFontUnderline(on); }
    void setFontStrikethru(bool on) override { surface().setFontStrikethru(on); }
    QString fontName() const { return surface().fontName(); }
    double fontSize() const { return surface().fontSize(); }
    const QFont &drawingFont() const { return surface().font(); }

    void setAutoRedraw(bool on) override { surface().setAutoRedraw(on); }
    bool autoRedraw() const { return surface().autoRedraw(); }
    void setForeColor(VarloFade::ColorValue color) override { surface().setForeColor(color); }
    VarloFade::ColorValue foreColor() const { return surface().foreColor(); }

    void Cls() override;
    void setCurrentX(double x) override { surface().setCurrentX(x); }
    void setCurrentY(double y) override { surface().setCurrentY(y); }
    double currentX() const { return surface().currentX(); }
    double currentY() const { return surface().currentY(); }
    void Print(std::u16string_view text) override;
    double TextWidth(std::u16string_view text) override { return surface().TextWidth(text); }
    double TextHeight() { return surface().TextHeight(); }

    void PaintPicture(const QImage &picture, double x, double y, double width, double height,
                      double srcX, double srcY, double srcWidth, double srcHeight);
    void fillRect(double x1, double y1, double x2, double y2, ColorSetting color);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // A widget that is not shown yet gets its resize event late, so the image
    // follows the widget's size whenever it is used.
    ImageSurface &surface() const
    {
        m_surface.resize(size());
        return m_surface;
    }

    mutable ImageSurface m_surface;
};

} // namespace Toolkit
