#pragma once

#include "messenger/diagnostics.h"

// Why a "Send IM" did nothing, as debug messages of the Qt logging category
// quorvex.messenger: off unless turned on, e.g.
// QT_LOGGING_RULES=quorvex.messenger.debug=true.
Tarnellbas::Diagnostics messengerLog();
