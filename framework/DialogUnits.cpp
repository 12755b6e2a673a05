#include "framework/DialogUnits.h"

CDialogUnits CDialogUnits::FromFontMetrics(int cxAlphabet, int cyHeight) {
    return CDialogUnits((cxAlphabet / 26 + 1) / 2, cyHeight);
}

int CDialogUnits::MulDiv(int n, int nNumerator, int nDenominator) {
    if (nDenominator == 0)
        return -1;
    long long product = static_cast<long long>(n) * nNumerator;
    long long divisor = nDenominator;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    const long long half = divisor / 2;
    return static_cast<int>(product >= 0 ? (product + half) / divisor : (product - half) / divisor);
}
