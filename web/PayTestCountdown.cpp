#include "web/PayTestCountdown.h"

#include "wizard/PaymentVerdict.h"

void CPayTestCountdown::OnTick(int& nCountdown, CString& strResult, IPageHost& host) {
    if (nCountdown != 0) {
        --nCountdown;
        host.DefaultProcessing();
        return;
    }
    strResult = PAYTEST_TIMEOUT_RESULT;
    host.KillTimer(TIMER_ID);
    host.DefaultProcessing();
    host.EndDialog(0);
}
