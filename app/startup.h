#pragma once

#include <QWidget>

#include <memory>

namespace Tarnellbas {
class WindowSystem;
}

// Opens the window the program starts with and returns it; windows is how
// the program reaches AIM and must outlive the window.
std::unique_ptr<QWidget> openStartWindow(Tarnellbas::WindowSystem &windows);
