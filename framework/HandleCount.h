// Live counts of the GDI and USER objects made and freed through the class
// library's wrappers (and the skin's cursor copies). Always kept, at the cost
// of an interlocked add: where GetGuiResources answers 0 (Wine), the handle
// accounting test reads these.
#pragma once

#include "framework/WinTypes.h"

class CHandleCount {
public:
    // nKind is GR_GDIOBJECTS or GR_USEROBJECTS.
    static void Add(DWORD nKind, LONG nDelta) { ::InterlockedExchangeAdd(&Counter(nKind), nDelta); }
    static LONG Live(DWORD nKind) { return ::InterlockedExchangeAdd(&Counter(nKind), 0); }

private:
    static LONG& Counter(DWORD nKind) {
        static LONG counts[2] = {};
        return counts[nKind == GR_USEROBJECTS ? 1 : 0];
    }
};
