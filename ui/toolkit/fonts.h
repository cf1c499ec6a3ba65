#pragma once

#include <QFont>

namespace Toolkit {

// "MS Sans Serif" at the given size. Where the face is missing, the metric-compatible
// sans faces come next, so captions keep roughly the width they were designed for.
QFont msSansSerif(double points);

} // namespace Toolkit
