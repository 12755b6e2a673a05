// CResFile: reads a compiled resource file (.res, as windres writes it) into
// memory: an empty 32-byte entry, then one RESOURCEHEADER and its data per
// resource, each DWORD aligned.
#pragma once

#include "framework/DialogTemplate.h"

#include <string>
#include <vector>

class CResFile {
public:
    struct CEntry {
        CDialogTemplate::CNameOrId type;
        CDialogTemplate::CNameOrId name;
        WORD nLanguage = 0;
        WORD nMemoryFlags = 0;
        std::vector<BYTE> data;
    };

    // FALSE when the file cannot be read or its layout is broken.
    BOOL Load(const std::string& path);
    BOOL Parse(const std::vector<BYTE>& bytes);

    // The entry of a numbered type and name, or nullptr.
    const CEntry* Find(WORD type, WORD name) const;

    const std::vector<CEntry>& Entries() const { return m_entries; }

    // The program's resources as windres compiled them (QEL_RES_FILE), loaded
    // once; empty when the file is missing or broken.
    static const CResFile& Compiled();

private:
    std::vector<CEntry> m_entries;
};
