#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

// Where text of one colour landed: pixels whose hue leans clearly to that
// colour (anti-aliased edges blend with the white background).
enum class Ink { Red, Green, Blue, Dark };

inline bool isInk(QRgb pixel, Ink ink)
{
    const int r = qRed(pixel), g = qGreen(pixel), b = qBlue(pixel);
    switch (ink) {
    case Ink::Red: return r - std::max(g, b) > 100;
    case Ink::Green: return g - std::max(r, b) > 100;
    case Ink::Blue: return b - std::max(r, g) > 100;
    case Ink::Dark: return std::max({r, g, b}) < 128;
    }
    return false;
}

inline QRect inkRect(const QImage &image, Ink ink)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (isInk(image.pixel(x, y), ink))
                box |= QRect(x, y, 1, 1);
    return box;
}
