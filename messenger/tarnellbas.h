#pragma once

// The messenger link: SendImText over a small window-system interface.
#include "messenger/platformwindowsystem.h"
#include "messenger/sendimtext.h"
#include "messenger/windowsystem.h"
