#pragma once

#include <QWidget>

#include <memory>

// Opens the window the program starts with and returns it.
std::unique_ptr<QWidget> openStartWindow();
