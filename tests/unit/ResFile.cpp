#include "tests/unit/ResFile.h"

#include <fstream>
#include <iterator>

namespace {

DWORD ReadDWord(const std::vector<BYTE>& b, size_t pos) {
    return static_cast<DWORD>(b[pos]) | (static_cast<DWORD>(b[pos + 1]) << 8) |
           (static_cast<DWORD>(b[pos + 2]) << 16) | (static_cast<DWORD>(b[pos + 3]) << 24);
}

WORD ReadWord(const std::vector<BYTE>& b, size_t pos) {
    return static_cast<WORD>(b[pos] | (b[pos + 1] << 8));
}

size_t Align4(size_t pos) {
    return (pos + 3) & ~static_cast<size_t>(3);
}

} // namespace

BOOL CResFile::Load(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return FALSE;
    std::vector<BYTE> bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    return Parse(bytes);
}

BOOL CResFile::Parse(const std::vector<BYTE>& b) {
    m_entries.clear();
    size_t pos = 0;
    while (pos < b.size()) {
        if (b.size() - pos < 8)
            return FALSE;
        const DWORD dataSize = ReadDWord(b, pos);
        const DWORD headerSize = ReadDWord(b, pos + 4);
        if (headerSize < 16 || headerSize > b.size() - pos ||
            dataSize > b.size() - pos - headerSize)
            return FALSE;
        const size_t headerEnd = pos + headerSize;
        CEntry entry;
        size_t at = pos + 8;
        if (!CDialogTemplate::ReadNameOrId(b.data(), headerEnd, at, entry.type) ||
            !CDialogTemplate::ReadNameOrId(b.data(), headerEnd, at, entry.name))
            return FALSE;
        // DataVersion, MemoryFlags, LanguageId, Version, Characteristics.
        at = Align4(at);
        if (at + 16 != headerEnd)
            return FALSE;
        entry.nMemoryFlags = ReadWord(b, at + 4);
        entry.nLanguage = ReadWord(b, at + 6);
        entry.data.assign(b.begin() + headerEnd, b.begin() + headerEnd + dataSize);
        // The leading empty entry marks the file as 32-bit and is no resource.
        const bool leader = pos == 0 && dataSize == 0 && entry.type.bOrdinal &&
                            entry.type.nOrdinal == 0 && entry.name.bOrdinal &&
                            entry.name.nOrdinal == 0;
        if (pos == 0 && !leader)
            return FALSE;
        if (!leader)
            m_entries.push_back(std::move(entry));
        pos = Align4(headerEnd + dataSize);
    }
    return !b.empty();
}

const CResFile::CEntry* CResFile::Find(WORD type, WORD name) const {
    for (const CEntry& e : m_entries) {
        if (e.type == CDialogTemplate::CNameOrId::Id(type) &&
            e.name == CDialogTemplate::CNameOrId::Id(name))
            return &e;
    }
    return nullptr;
}

const CResFile& CResFile::Compiled() {
    static const CResFile res = [] {
        CResFile r;
#ifdef QEL_RES_FILE
        if (!r.Load(QEL_RES_FILE))
            r = CResFile();
#endif
        return r;
    }();
    return res;
}
