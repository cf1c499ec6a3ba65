#pragma once

#include <QColor>
#include <QtGlobal>

// A colour setting as the forms toolkit holds it: either a ColorValue
// (0x00BBGGRR, red in the low byte) or a system colour reference 0x80000000 + n
// standing for the platform's system colour n. A setting reads back exactly as
// it was set; only drawing resolves it.
namespace Toolkit {

using ColorSetting = qint32;

inline constexpr ColorSetting systemColor(int n) { return static_cast<ColorSetting>(0x80000000u + static_cast<quint32>(n)); }
inline constexpr bool isSystemColorReference(ColorSetting setting) { return (static_cast<quint32>(setting) & 0x80000000u) != 0; }

// COLOR_WINDOW, COLOR_MENUTEXT, COLOR_WINDOWTEXT, COLOR_CAPTIONTEXT.
inline constexpr ColorSetting kSysWindow = systemColor(5);
inline constexpr ColorSetting kSysMenuText = systemColor(7);
inline constexpr ColorSetting kSysWindowText = systemColor(8);
inline constexpr ColorSetting kSysCaptionText = systemColor(9);

// The colour a setting shows now: GetSysColor on Windows, the standard Windows
// colour scheme elsewhere. Unknown system colours show black, as GetSysColor gives.
QColor resolveColor(ColorSetting setting);

// red + 256 x green + 65536 x blue.
inline constexpr ColorSetting colorValueOf(int red, int green, int blue) { return red + 256 * green + 65536 * blue; }

} // namespace Toolkit
