#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <optional>
#include <string>

// The fader window's preview surface: 4695 x 375 twips.
inline constexpr QSize kPreviewPixels(313, 25);
inline constexpr int kLargestPreviewSide = 8192;

// "WxH" in pixels, each side 1 to kLargestPreviewSide.
std::optional<QSize> parsePreviewSize(const QString &text);

// The preview of html as the window paints it, on its white background.
// Needs a QGuiApplication.
QImage renderPreviewImage(const std::u16string &html, QSize pixels);

// Writes image to path as PNG, as writeNamedFile() writes; false with the
// reason when it cannot.
bool savePreviewImage(const QImage &image, const QString &path, QString *why);
