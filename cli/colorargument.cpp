#include "colorargument.h"

#include <QRegularExpression>

std::optional<VarloFade::ColorValue> parseColorArgument(const QString &text)
{
    static const QRegularExpression html(QStringLiteral("\\A#([0-9A-Fa-f]{6})\\z"));
    static const QRegularExpression raw(QStringLiteral("\\A0[xX]([0-9A-Fa-f]{1,8})\\z"));

    if (const auto m = html.match(text); m.hasMatch()) {
        const uint rgb = m.captured(1).toUInt(nullptr, 16);
        const uint red = rgb >> 16, green = (rgb >> 8) & 0xFF, blue = rgb & 0xFF;
        return static_cast<VarloFade::ColorValue>(red + 256 * green + 65536 * blue);
    }
    if (const auto m = raw.match(text); m.hasMatch())
        return static_cast<VarloFade::ColorValue>(m.captured(1).toUInt(nullptr, 16));
    return std::nullopt;
}
