#pragma once

#include <QRect>

class QPainter;

namespace Toolkit {

// Focus as the platform's controls show it: a thin dotted rectangle just
// inside box that inverts every other pixel it crosses, so it shows on any
// colour and leaves the control's own colours alone.
void drawFocusFrame(QPainter &painter, const QRect &box);

} // namespace Toolkit
