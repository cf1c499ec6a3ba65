#include "colorsetting.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace Toolkit {

namespace {

QColor fromColorValue(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

#ifndef Q_OS_WIN
// The standard Windows scheme, by GetSysColor index, as 0x00BBGGRR.
constexpr quint32 kStandardScheme[] = {
    0xC8C8C8, 0x808000, 0x800000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000, // 0-7
    0x000000, 0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x800000, 0xFFFFFF, 0xC0C0C0, // 8-15
    0x808080, 0x808080, 0x000000, 0xC0C0C0, 0xFFFFFF, 0x000000, 0xDFDFDF, 0x000000, // 16-23
    0xE1FFFF, 0x000000, 0x800000, 0xD08410, 0xB5B5B5, 0xC56A31, 0xD8E9EC,           // 24-30
};
#endif

} // namespace

QColor resolveColor(ColorSetting setting)
{
    if (!isSystemColorReference(setting))
        return fromColorValue(static_cast<quint32>(setting) & 0xFFFFFF);
    const quint32 n = static_cast<quint32>(setting) & 0x7FFFFFFF;
#ifdef Q_OS_WIN
    return n < 31 ? fromColorValue(GetSysColor(int(n))) : QColor(Qt::black);
#else
    return n < std::size(kStandardScheme) ? fromColorValue(kStandardScheme[n]) : QColor(Qt::black);
#endif
}

} // namespace Toolkit
