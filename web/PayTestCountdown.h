// The payment test's time limit: the dialog allows 180 ticks of its timer
// and times out on the 181st.
#pragma once

#include "web/PageHost.h"

class CPayTestCountdown {
public:
    enum { TICKS = 180, TIMER_ID = 1, TIMER_ELAPSE = 1000 };

    // One tick (any timer id): counts down while anything is left; at 0 sets
    // strResult to the time-out result text, stops the timer and ends the
    // dialog with 0.
    static void OnTick(int& nCountdown, CString& strResult, IPageHost& host);
};
