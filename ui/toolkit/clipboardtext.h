#pragma once

#include <QString>

class QMimeData;

namespace Toolkit {

// The type under which the text boxes put the exact text on the clipboard,
// beside plain text: UTF-16 units as they are, lone CRs, LFs and surrogate
// halves included, so that a paste inside the program gives back what was copied.
inline constexpr char kExactTextMimeType[] = "application/x-quorvex-aim-fader-text";

// Clipboard data for copied text: the exact text, and plain text for other programs.
QMimeData *clipboardDataFor(const QString &text);

// The text a paste puts in: the exact text when this program copied it;
// otherwise plain text with every lone LF made CR LF, so that lines from other
// programs stay lines in a box that breaks them at CR LF only.
QString pastedText(const QMimeData *data);

} // namespace Toolkit
