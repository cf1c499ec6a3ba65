#pragma once

#include <QColor>

namespace Toolkit {

// Contrast ratio of two colours by relative luminance, 1 (the same) to 21
// (black on white).
double contrastRatio(const QColor &a, const QColor &b);

// The colour a caption is drawn in on a face: the wanted colour while it
// stands out from the face, otherwise black or white, whichever stands out
// more. A face holding a system colour can take any colour the user's scheme
// gives it, the caption colour among them.
QColor readableCaptionColor(const QColor &wanted, const QColor &face);

} // namespace Toolkit
