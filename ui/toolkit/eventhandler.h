#pragma once

#include <QString>

#include <functional>

namespace Toolkit {

// Where an error that leaves an event handler goes: the application's
// top-level error report, given the error's message.
using ErrorReport = std::function<void(const QString &error)>;

// Installs the report; the application does this once at start-up.
void setErrorReport(ErrorReport report);

// Runs one event handler. An error it raises ends the handler, goes to the
// report, and the program carries on; exceptions never unwind through Qt.
void runEventHandler(const std::function<void()> &handler);

} // namespace Toolkit
