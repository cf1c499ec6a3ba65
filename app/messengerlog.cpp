#include "messengerlog.h"

#include <QString>

Q_LOGGING_CATEGORY(lcMessenger, "quorvex.messenger", QtWarningMsg)

Tarnellbas::Diagnostics messengerLog()
{
    return [](const std::string &line) { qCDebug(lcMessenger).noquote() << QString::fromStdString(line); };
}
