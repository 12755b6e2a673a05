#include "framework/DialogTemplate.h"

#include <cstddef>

namespace {

// The fixed heads of the layouts read and written below, in the order the
// readers and writers take their fields: WORD-packed, little-endian.
#pragma pack(push, 2)
struct CDlgTemplateHead { // DLGTEMPLATE
    DWORD style, dwExtendedStyle;
    WORD cdit;
    short x, y, cx, cy;
};
struct CDlgItemHead { // DLGITEMTEMPLATE
    DWORD style, dwExtendedStyle;
    short x, y, cx, cy;
    WORD id;
};
struct CDlgTemplateExHead { // DLGTEMPLATEEX
    WORD dlgVer, signature;
    DWORD helpID, exStyle, style;
    WORD cDlgItems;
    short x, y, cx, cy;
};
struct CDlgItemExHead { // DLGITEMTEMPLATEEX
    DWORD helpID, exStyle, style;
    short x, y, cx, cy;
    DWORD id;
};
struct CDlgInitHead { // an RT_DLGINIT entry before its data
    WORD nCtlId, nMessage;
    DWORD cbData;
};
#pragma pack(pop)
static_assert(sizeof(CDlgTemplateHead) == 18 && offsetof(CDlgTemplateHead, cdit) == 8);
static_assert(sizeof(CDlgItemHead) == 18 && offsetof(CDlgItemHead, id) == 16);
static_assert(sizeof(CDlgTemplateExHead) == 26 && offsetof(CDlgTemplateExHead, cDlgItems) == 16);
static_assert(sizeof(CDlgItemExHead) == 24 && offsetof(CDlgItemExHead, id) == 20);
static_assert(sizeof(CDlgInitHead) == 8 && offsetof(CDlgInitHead, cbData) == 4);
#ifdef _WIN32
// The system's own declarations agree (the built template goes to it).
static_assert(sizeof(DLGTEMPLATE) == sizeof(CDlgTemplateHead) &&
              offsetof(DLGTEMPLATE, cdit) == offsetof(CDlgTemplateHead, cdit));
static_assert(sizeof(DLGITEMTEMPLATE) == sizeof(CDlgItemHead) &&
              offsetof(DLGITEMTEMPLATE, id) == offsetof(CDlgItemHead, id));
#endif

const DWORD kSetFont = 0x40; // DS_SETFONT
const WORD kOrdinalMark = 0xFFFF;

// Little-endian reads from a bounded buffer; every read checks the end.
class CReader {
public:
    CReader(const BYTE* data, size_t size, size_t& pos) : m_p(data), m_n(size), m_pos(pos) {}

    bool Word(WORD& v) {
        if (m_pos > m_n || m_n - m_pos < 2)
            return false;
        v = static_cast<WORD>(m_p[m_pos] | (m_p[m_pos + 1] << 8));
        m_pos += 2;
        return true;
    }
    bool Short(short& v) {
        WORD w = 0;
        if (!Word(w))
            return false;
        v = static_cast<short>(w);
        return true;
    }
    bool DWord(DWORD& v) {
        WORD lo = 0, hi = 0;
        if (!Word(lo) || !Word(hi))
            return false;
        v = static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16);
        return true;
    }
    bool Byte(BYTE& v) {
        if (m_pos >= m_n)
            return false;
        v = m_p[m_pos++];
        return true;
    }
    bool Bytes(size_t count, std::vector<BYTE>& out) {
        if (m_pos > m_n || m_n - m_pos < count)
            return false;
        out.assign(m_p + m_pos, m_p + m_pos + count);
        m_pos += count;
        return true;
    }
    bool String(std::u16string& s) {
        s.clear();
        for (;;) {
            WORD ch = 0;
            if (!Word(ch))
                return false;
            if (ch == 0)
                return true;
            s.push_back(static_cast<char16_t>(ch));
        }
    }
    bool Align() {
        m_pos = (m_pos + 3) & ~static_cast<size_t>(3);
        return m_pos <= m_n;
    }

private:
    const BYTE* m_p;
    size_t m_n;
    size_t& m_pos;
};

class CWriter {
public:
    explicit CWriter(std::vector<BYTE>& out) : m_out(out) {}

    void Word(WORD v) {
        m_out.push_back(static_cast<BYTE>(v & 0xFF));
        m_out.push_back(static_cast<BYTE>(v >> 8));
    }
    void DWord(DWORD v) {
        Word(static_cast<WORD>(v & 0xFFFF));
        Word(static_cast<WORD>(v >> 16));
    }
    void String(const std::u16string& s) {
        for (char16_t ch : s)
            Word(static_cast<WORD>(ch));
        Word(0);
    }
    void NameOrId(const CDialogTemplate::CNameOrId& name) {
        if (name.bOrdinal) {
            Word(kOrdinalMark);
            Word(name.nOrdinal);
        } else {
            String(name.str);
        }
    }
    void Align() {
        while (m_out.size() % 4 != 0)
            m_out.push_back(0);
    }

private:
    std::vector<BYTE>& m_out;
};

} // namespace

BOOL CDialogTemplate::ReadNameOrId(const BYTE* data, size_t size, size_t& pos, CNameOrId& out) {
    CReader in(data, size, pos);
    WORD first = 0;
    if (!in.Word(first))
        return FALSE;
    out = CNameOrId();
    if (first == kOrdinalMark) {
        out.bOrdinal = true;
        return in.Word(out.nOrdinal);
    }
    if (first == 0)
        return TRUE;
    std::u16string rest;
    if (!in.String(rest))
        return FALSE;
    out.str = static_cast<char16_t>(first) + rest;
    return TRUE;
}

void CDialogTemplate::Clear() {
    *this = CDialogTemplate();
}

BOOL CDialogTemplate::Parse(const void* data, size_t size) {
    Clear();
    const BYTE* p = static_cast<const BYTE*>(data);
    size_t pos = 0;
    CReader in(p, size, pos);
    WORD ver = 0, sig = 0;
    bool ok = in.Word(ver) && in.Word(sig);
    if (!ok)
        return FALSE;
    m_bEx = ver == 1 && sig == kOrdinalMark;
    WORD count = 0;
    if (m_bEx) {
        ok = in.DWord(m_dwHelpId) && in.DWord(m_dwExStyle) && in.DWord(m_dwStyle);
    } else {
        pos = 0;
        ok = in.DWord(m_dwStyle) && in.DWord(m_dwExStyle);
    }
    ok = ok && in.Word(count) && in.Short(m_x) && in.Short(m_y) && in.Short(m_cx) &&
         in.Short(m_cy) && ReadNameOrId(p, size, pos, m_menu) &&
         ReadNameOrId(p, size, pos, m_class) && ReadNameOrId(p, size, pos, m_title);
    if (ok && (m_dwStyle & kSetFont)) {
        ok = in.Word(m_nPointSize);
        if (ok && m_bEx)
            ok = in.Word(m_nWeight) && in.Byte(m_bItalic) && in.Byte(m_nCharSet);
        ok = ok && in.String(m_strTypeface);
    }
    for (WORD i = 0; ok && i < count; ++i) {
        CItem item;
        ok = in.Align() && ParseItem(p, size, pos, item);
        if (ok)
            m_items.push_back(std::move(item));
    }
    if (!ok) {
        Clear();
        return FALSE;
    }
    return TRUE;
}

BOOL CDialogTemplate::ParseItem(const BYTE* p, size_t size, size_t& pos, CItem& item) const {
    CReader in(p, size, pos);
    bool ok;
    if (m_bEx) {
        ok = in.DWord(item.dwHelpId) && in.DWord(item.dwExStyle) && in.DWord(item.dwStyle);
    } else {
        ok = in.DWord(item.dwStyle) && in.DWord(item.dwExStyle);
    }
    ok = ok && in.Short(item.x) && in.Short(item.y) && in.Short(item.cx) && in.Short(item.cy);
    if (ok && m_bEx) {
        ok = in.DWord(item.nId);
    } else if (ok) {
        WORD id = 0;
        ok = in.Word(id);
        item.nId = id;
    }
    WORD extra = 0;
    ok = ok && ReadNameOrId(p, size, pos, item.cls) && ReadNameOrId(p, size, pos, item.title) &&
         in.Word(extra) && in.Bytes(extra, item.creationData);
    return ok;
}

std::vector<BYTE> CDialogTemplate::Build() const {
    std::vector<BYTE> out;
    CWriter w(out);
    w.Word(1);
    w.Word(kOrdinalMark);
    w.DWord(m_dwHelpId);
    w.DWord(m_dwExStyle);
    w.DWord(m_dwStyle);
    w.Word(static_cast<WORD>(m_items.size()));
    for (short v : {m_x, m_y, m_cx, m_cy})
        w.Word(static_cast<WORD>(v));
    w.NameOrId(m_menu);
    w.NameOrId(m_class);
    w.NameOrId(m_title);
    if (m_dwStyle & kSetFont) {
        w.Word(m_nPointSize);
        w.Word(m_nWeight);
        out.push_back(m_bItalic);
        out.push_back(m_nCharSet);
        w.String(m_strTypeface);
    }
    for (const CItem& item : m_items) {
        w.Align();
        w.DWord(item.dwHelpId);
        w.DWord(item.dwExStyle);
        w.DWord(item.dwStyle);
        for (short v : {item.x, item.y, item.cx, item.cy})
            w.Word(static_cast<WORD>(v));
        w.DWord(item.nId);
        w.NameOrId(item.cls);
        w.NameOrId(item.title);
        w.Word(static_cast<WORD>(item.creationData.size()));
        out.insert(out.end(), item.creationData.begin(), item.creationData.end());
    }
    return out;
}

int CDialogTemplate::RemoveItemsIf(const std::function<bool(const CItem&)>& pred) {
    int removed = 0;
    std::vector<CItem> kept;
    for (size_t i = 0; i < m_items.size(); ++i) {
        CItem& item = m_items[i];
        if (pred(item)) {
            m_removed.push_back(std::move(item));
            m_removedPlaces.push_back(i);
            ++removed;
        } else {
            kept.push_back(std::move(item));
        }
    }
    m_items = std::move(kept);
    return removed;
}

BOOL CDialogTemplate::FindInitData(const BYTE* data, size_t size, WORD nCtlId, WORD nMessage,
                                   const BYTE*& pInit, DWORD& cbInit) {
    pInit = nullptr;
    cbInit = 0;
    size_t pos = 0;
    while (data != nullptr && pos + 2 <= size) {
        const WORD nId = static_cast<WORD>(data[pos] | (data[pos + 1] << 8));
        if (nId == 0 || pos + sizeof(CDlgInitHead) > size)
            break;
        const BYTE* pHead = data + pos;
        const size_t nMsgAt = offsetof(CDlgInitHead, nMessage);
        const size_t nLenAt = offsetof(CDlgInitHead, cbData);
        const WORD nMsg = static_cast<WORD>(pHead[nMsgAt] | (pHead[nMsgAt + 1] << 8));
        const DWORD nLen = static_cast<DWORD>(pHead[nLenAt]) |
                           (static_cast<DWORD>(pHead[nLenAt + 1]) << 8) |
                           (static_cast<DWORD>(pHead[nLenAt + 2]) << 16) |
                           (static_cast<DWORD>(pHead[nLenAt + 3]) << 24);
        pos += sizeof(CDlgInitHead);
        if (nLen > size - pos)
            break;
        if (nId == nCtlId && nMsg == nMessage) {
            pInit = data + pos;
            cbInit = nLen;
            return TRUE;
        }
        pos += nLen;
    }
    return FALSE;
}
