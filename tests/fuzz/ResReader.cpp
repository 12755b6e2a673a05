// The .res reader on arbitrary bytes: a file that reads holds entries within
// its size, each found again by its numbered type and name; dialog entries go
// on to the template parser.
#include "tests/fuzz/FuzzCheck.h"
#include "tests/unit/ResFile.h"

#include <cstdint>

namespace {

const WORD kDialog = 5; // RT_DIALOG

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CResFile res;
    if (!res.Parse(std::vector<BYTE>(data, data + size)))
        return 0;
    // The leading empty entry takes 32 bytes, every header at least 28.
    size_t total = 32;
    for (const CResFile::CEntry& entry : res.Entries()) {
        total += entry.data.size() + 28;
        if (!entry.type.bOrdinal || !entry.name.bOrdinal)
            continue;
        const CResFile::CEntry* found = res.Find(entry.type.nOrdinal, entry.name.nOrdinal);
        FUZZ_CHECK(found != nullptr && found->type == entry.type && found->name == entry.name);
        if (entry.type.nOrdinal == kDialog) {
            CDialogTemplate dlg;
            dlg.Parse(entry.data.data(), entry.data.size());
        }
    }
    FUZZ_CHECK(total <= size);
    return 0;
}
