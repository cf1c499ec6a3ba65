#include "fonts.h"

#include <QStringList>

namespace Toolkit {

QFont msSansSerif(double points)
{
    QFont font;
    font.setFamilies(QStringList{QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setPointSizeF(points);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace Toolkit
