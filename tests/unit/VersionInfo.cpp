#include "tests/unit/VersionInfo.h"

namespace {

WORD ReadWord(const std::vector<BYTE>& b, size_t pos) {
    return static_cast<WORD>(b[pos] | (b[pos + 1] << 8));
}

size_t Align4(size_t pos) {
    return (pos + 3) & ~static_cast<size_t>(3);
}

} // namespace

std::u16string CVersionInfo::CBlock::Text() const {
    std::u16string text;
    for (size_t i = 0; i + 1 < value.size(); i += 2) {
        const char16_t ch = static_cast<char16_t>(value[i] | (value[i + 1] << 8));
        if (ch == 0)
            break;
        text.push_back(ch);
    }
    return text;
}

const CVersionInfo::CBlock* CVersionInfo::CBlock::Child(const std::u16string& childKey) const {
    for (const CBlock& child : children) {
        if (child.key == childKey)
            return &child;
    }
    return nullptr;
}

BOOL CVersionInfo::Parse(const std::vector<BYTE>& data) {
    m_root = CBlock();
    size_t next = 0;
    return ParseBlock(data, 0, data.size(), m_root, next);
}

// Block: wLength, wValueLength (characters for text, bytes otherwise), wType,
// key, padding, value, padding, children.
BOOL CVersionInfo::ParseBlock(const std::vector<BYTE>& b, size_t pos, size_t end, CBlock& block,
                              size_t& next) {
    if (end < 6 || pos > end - 6)
        return FALSE;
    const size_t length = ReadWord(b, pos);
    const size_t valueLength = ReadWord(b, pos + 2);
    block.nType = ReadWord(b, pos + 4);
    if (length < 6 || length > end - pos)
        return FALSE;
    const size_t blockEnd = pos + length;
    size_t at = pos + 6;
    for (;;) {
        if (at + 2 > blockEnd)
            return FALSE;
        const WORD ch = ReadWord(b, at);
        at += 2;
        if (ch == 0)
            break;
        block.key.push_back(static_cast<char16_t>(ch));
    }
    at = Align4(at);
    const size_t valueBytes = block.nType == 1 ? valueLength * 2 : valueLength;
    if (valueBytes > 0) {
        if (at + valueBytes > blockEnd)
            return FALSE;
        block.value.assign(b.begin() + static_cast<long>(at),
                           b.begin() + static_cast<long>(at + valueBytes));
    }
    at = Align4(at + valueBytes);
    while (at < blockEnd) {
        CBlock child;
        size_t childNext = 0;
        if (!ParseBlock(b, at, blockEnd, child, childNext))
            return FALSE;
        block.children.push_back(std::move(child));
        at = Align4(childNext);
    }
    next = blockEnd;
    return TRUE;
}
