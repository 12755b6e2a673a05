// CVersionInfo: reads a VS_VERSIONINFO resource into its tree of blocks:
// each block has a key, a value (binary or text) and children.
#pragma once

#include "framework/WinTypes.h"

#include <string>
#include <vector>

class CVersionInfo {
public:
    struct CBlock {
        std::u16string key;
        WORD nType = 0; // 1: text value, 0: binary
        std::vector<BYTE> value;
        std::vector<CBlock> children;

        // The value as text, up to its terminator.
        std::u16string Text() const;
        const CBlock* Child(const std::u16string& childKey) const;
    };

    // FALSE when a block's lengths do not fit the data.
    BOOL Parse(const std::vector<BYTE>& data);
    const CBlock& Root() const { return m_root; }

private:
    static BOOL ParseBlock(const std::vector<BYTE>& data, size_t pos, size_t end, CBlock& block,
                           size_t& next);

    CBlock m_root;
};
