#include "startup.h"

#include "ui/fader/form1.h"

std::unique_ptr<QWidget> openStartWindow()
{
    auto window = std::make_unique<Form1>();
    window->show();
    return window;
}
