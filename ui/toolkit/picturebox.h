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

    const QImage &image() const { return m_surface.image(); }

    void setBackColor(ColorSetting color);
    ColorSetting backColor() const { return m_surface.backColor(); }
    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_surface.picture(); }

    int ScaleMode() const override { return m_surface.ScaleMode(); }
    void setScaleMode(int mode) override { m_surface.setScaleMode(mode); }
    double scaleWidth() const { return m_surface.scaleWidth(); }
    double scaleHeight() const { return m_surface.scaleHeight(); }

    void setFontName(std::u16string_view face) override { m_surface.setFontName(face); }
    void setFontSize(double points) override { m_surface.setFontSize(points); }
    void setFontBold(bool on) override { m_surface.setFontBold(on); }
    void setFontItalic(bool on) override { m_surface.setFontItalic(on); }
    void setFontUnderline(bool on) override { m_surface.setFontUnderline(on); }
    void setFontStrikethru(bool on) override { m_surface.setFontStrikethru(on); }
    QString fontName() const { return m_surface.fontName(); }
    double fontSize() const { return m_surface.fontSize(); }
    const QFont &drawingFont() const { return m_surface.font(); }

    void setAutoRedraw(bool on) override { m_surface.setAutoRedraw(on); }
    bool autoRedraw() const { return m_surface.autoRedraw(); }
    void setForeColor(VarloFade::ColorValue color) override { m_surface.setForeColor(color); }
    VarloFade::ColorValue foreColor() const { return m_surface.foreColor(); }

    void Cls() override;
    void setCurrentX(double x) override { m_surface.setCurrentX(x); }
    void setCurrentY(double y) override { m_surface.setCurrentY(y); }
    double currentX() const { return m_surface.currentX(); }
    double currentY() const { return m_surface.currentY(); }
    void Print(std::u16string_view text) override;
    double TextWidth(std::u16string_view text) override { return m_surface.TextWidth(text); }
    double TextHeight() { return m_surface.TextHeight(); }

    void PaintPicture(const QImage &picture, double x, double y, double width, double height,
                      double srcX, double srcY, double srcWidth, double srcHeight);
    void fillRect(double x1, double y1, double x2, double y2, ColorSetting color);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    ImageSurface m_surface;
};

} // namespace Toolkit
