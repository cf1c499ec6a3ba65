#include "focusframe.h"

#include <QPainter>

namespace Toolkit {

void drawFocusFrame(QPainter &painter, const QRect &box)
{
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    QPen dots(Qt::white, 0);
    dots.setDashPattern({1, 1});
    painter.setPen(dots);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.restore();
}

} // namespace Toolkit
