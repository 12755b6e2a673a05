// CDialogTemplate: an in-memory dialog template. Parses DLGTEMPLATE and
// DLGTEMPLATEEX resources with bounds checks and writes them back as
// DLGTEMPLATEEX, so that items (ActiveX controls) can be taken out before the
// system creates the dialog.
#pragma once

#include "framework/WinTypes.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class CDialogTemplate {
public:
    // A menu, class or title field: a 16-bit ordinal or a UTF-16 string.
    struct CNameOrId {
        bool bOrdinal = false;
        WORD nOrdinal = 0;
        std::u16string str;

        static CNameOrId Id(WORD n) { return CNameOrId{true, n, {}}; }
        static CNameOrId Name(std::u16string s) { return CNameOrId{false, 0, std::move(s)}; }
        bool IsEmpty() const { return !bOrdinal && str.empty(); }
        bool operator==(const CNameOrId& o) const {
            return bOrdinal == o.bOrdinal && nOrdinal == o.nOrdinal && str == o.str;
        }
    };

    struct CItem {
        DWORD dwHelpId = 0;
        DWORD dwExStyle = 0;
        DWORD dwStyle = 0;
        short x = 0, y = 0, cx = 0, cy = 0;
        DWORD nId = 0; // a WORD in DLGTEMPLATE; 0xFFFF there is IDC_STATIC
        CNameOrId cls;
        CNameOrId title;
        std::vector<BYTE> creationData;

        // An ActiveX control: its class is a class id in braces.
        bool IsActiveX() const { return !cls.bOrdinal && !cls.str.empty() && cls.str[0] == u'{'; }
    };

    // Header fields.
    bool m_bEx = false; // parsed from a DLGTEMPLATEEX
    DWORD m_dwHelpId = 0;
    DWORD m_dwExStyle = 0;
    DWORD m_dwStyle = 0;
    short m_x = 0, m_y = 0, m_cx = 0, m_cy = 0;
    CNameOrId m_menu;
    CNameOrId m_class;
    CNameOrId m_title;
    // Font, present when m_dwStyle has DS_SETFONT.
    WORD m_nPointSize = 0;
    WORD m_nWeight = 0;
    BYTE m_bItalic = 0;
    BYTE m_nCharSet = 1; // DEFAULT_CHARSET; DLGTEMPLATE has no field for it
    std::u16string m_strTypeface;

    std::vector<CItem> m_items;

    // Replaces the contents with the template in data. FALSE, and the object
    // left empty, when the bytes are truncated or malformed.
    BOOL Parse(const void* data, size_t size);

    // The template as DLGTEMPLATEEX, each item DWORD aligned.
    std::vector<BYTE> Build() const;

    // Takes the items that pred selects out of the template, keeping their
    // order; they are appended to GetRemovedItems(). Returns how many.
    int RemoveItemsIf(const std::function<bool(const CItem&)>& pred);
    int RemoveActiveXItems() {
        return RemoveItemsIf([](const CItem& item) { return item.IsActiveX(); });
    }
    const std::vector<CItem>& GetRemovedItems() const { return m_removed; }
    // For each removed item, its index among the items as they stood when it
    // was taken out: its place in the Z order, and so in the tab order.
    const std::vector<size_t>& GetRemovedPlaces() const { return m_removedPlaces; }

    // Reads an ordinal-or-string field at pos of data[0..size), advancing pos.
    // Shared with resource-file readers, whose type and name fields have the
    // same form. FALSE when the field runs past the end.
    static BOOL ReadNameOrId(const BYTE* data, size_t size, size_t& pos, CNameOrId& out);

    // In a control-initialisation resource (RT_DLGINIT: entries of control
    // id, message, 32-bit length and data, ended by a zero id), the data of
    // the first entry for nCtlId and nMessage. FALSE when there is none or
    // the entries run past the end before it.
    static BOOL FindInitData(const BYTE* data, size_t size, WORD nCtlId, WORD nMessage,
                             const BYTE*& pInit, DWORD& cbInit);

private:
    void Clear();
    BOOL ParseItem(const BYTE* data, size_t size, size_t& pos, CItem& item) const;

    std::vector<CItem> m_removed;
    std::vector<size_t> m_removedPlaces;
};
