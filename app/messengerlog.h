#pragma once

#include "messenger/diagnostics.h"

#include <QLoggingCategory>

// Why a "Send IM" did nothing, in the Qt logging category quorvex.messenger:
// off unless turned on, e.g. QT_LOGGING_RULES=quorvex.messenger.debug=true.
Q_DECLARE_LOGGING_CATEGORY(lcMessenger)

// The messenger link's diagnostics, as debug messages of that category.
Tarnellbas::Diagnostics messengerLog();
