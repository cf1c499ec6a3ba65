#pragma once
// Mutes the credits' timers and runs the roll by hand, a tick at a time.
#include "ui/credits/form2.h"
#include "ui/toolkit/timer.h"

inline void rollByHand(Form2 &credits, int ticks)
{
    for (Toolkit::Timer *t : {credits.Timer1(), credits.Timer2(), credits.Timer3()})
        t->blockSignals(true);
    while (ticks-- > 0)
        credits.Timer3_Timer();
}
