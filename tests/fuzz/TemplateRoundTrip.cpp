// The dialog-template parser and rebuilder on arbitrary bytes: a template
// that parses is rebuilt, parsed again to the same fields, and rebuilt to the
// same bytes; the control-initialisation lookup stays inside its data.
#include "framework/DialogTemplate.h"
#include "tests/fuzz/FuzzCheck.h"

#include <cstdint>

namespace {

bool SameItem(const CDialogTemplate::CItem& a, const CDialogTemplate::CItem& b) {
    return a.dwHelpId == b.dwHelpId && a.dwExStyle == b.dwExStyle && a.dwStyle == b.dwStyle &&
           a.x == b.x && a.y == b.y && a.cx == b.cx && a.cy == b.cy && a.nId == b.nId &&
           a.cls == b.cls && a.title == b.title && a.creationData == b.creationData;
}

// Every field but the source format (the rebuilt one is always extended).
bool SameTemplate(const CDialogTemplate& a, const CDialogTemplate& b) {
    if (a.m_items.size() != b.m_items.size())
        return false;
    for (size_t i = 0; i < a.m_items.size(); ++i) {
        if (!SameItem(a.m_items[i], b.m_items[i]))
            return false;
    }
    return a.m_dwHelpId == b.m_dwHelpId && a.m_dwExStyle == b.m_dwExStyle &&
           a.m_dwStyle == b.m_dwStyle && a.m_x == b.m_x && a.m_y == b.m_y && a.m_cx == b.m_cx &&
           a.m_cy == b.m_cy && a.m_menu == b.m_menu && a.m_class == b.m_class &&
           a.m_title == b.m_title && a.m_nPointSize == b.m_nPointSize &&
           a.m_nWeight == b.m_nWeight && a.m_bItalic == b.m_bItalic &&
           a.m_nCharSet == b.m_nCharSet && a.m_strTypeface == b.m_strTypeface;
}

void CheckInitData(const uint8_t* data, size_t size) {
    if (size < 4)
        return;
    const WORD nCtlId = static_cast<WORD>(data[0] | data[1] << 8);
    const WORD nMessage = static_cast<WORD>(data[2] | data[3] << 8);
    const BYTE* pInit = nullptr;
    DWORD cbInit = 0;
    if (CDialogTemplate::FindInitData(data, size, nCtlId, nMessage, pInit, cbInit))
        FUZZ_CHECK(pInit >= data + 8 && cbInit <= size && pInit + cbInit <= data + size);
    else
        FUZZ_CHECK(pInit == nullptr && cbInit == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckInitData(data, size);
    CDialogTemplate dlg;
    if (!dlg.Parse(data, size)) {
        FUZZ_CHECK(dlg.m_items.empty() && dlg.m_title.IsEmpty());
        return 0;
    }
    const std::vector<BYTE> built = dlg.Build();
    CDialogTemplate again;
    FUZZ_CHECK(again.Parse(built.data(), built.size()));
    FUZZ_CHECK(again.m_bEx && SameTemplate(dlg, again));
    FUZZ_CHECK(again.Build() == built);

    const size_t count = again.m_items.size();
    const int removed = again.RemoveActiveXItems();
    FUZZ_CHECK(again.m_items.size() + static_cast<size_t>(removed) == count);
    const std::vector<BYTE> kept = again.Build();
    CDialogTemplate rest;
    FUZZ_CHECK(rest.Parse(kept.data(), kept.size()) && SameTemplate(again, rest));
    return 0;
}
