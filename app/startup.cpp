#include "startup.h"

#include "ui/fader/form1.h"

std::unique_ptr<QWidget> openStartWindow(Tarnellbas::WindowSystem &windows)
{
    auto window = std::make_unique<Form1>(windows);
    window->show();
    return window;
}
