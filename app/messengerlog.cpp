#include "messengerlog.h"

#include <QLoggingCategory>
#include <QString>

namespace {
Q_LOGGING_CATEGORY(lcMessenger, "quorvex.messenger", QtWarningMsg)
}

Tarnellbas::Diagnostics messengerLog()
{
    return [](const std::string &line) { qCDebug(lcMessenger).noquote() << QString::fromStdString(line); };
}
