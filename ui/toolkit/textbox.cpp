#include "textbox.h"

#include "fonts.h"

#include <limits>

namespace Toolkit {

TextBox::TextBox(QWidget *parent)
    : QLineEdit(parent)
{
    setFont(msSansSerif(8));
    // QLineEdit would cut a text at 32,767 characters; a longer text must reach
    // the fade whole so that the fade can refuse it.
    setMaxLength(std::numeric_limits<int>::max());
}

} // namespace Toolkit
