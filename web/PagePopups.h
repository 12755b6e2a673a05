// CPagePopups: the pop-up windows a page dialog's pages open (window.open,
// TARGET=_blank, a pop-up's own pop-ups). Each is a CPopupWnd owned by the
// dialog; they all close when the dialog's window goes, or with CloseAll.
#pragma once

#include "framework/WinTypes.h"

#include <oaidl.h>
#include <vector>

class CWnd;
class CPopupWnd;

class CPagePopups {
public:
    explicit CPagePopups(CWnd& owner) : m_owner(owner) {}
    CPagePopups(const CPagePopups&) = delete;
    CPagePopups& operator=(const CPagePopups&) = delete;
    ~CPagePopups();

    // NewWindow3: a pop-up to an address of a foreign scheme is cancelled;
    // otherwise, unless another handler has answered already, a new pop-up
    // window's browser goes back through ppDisp. NewWindow2 passes no
    // address: the pop-up's own BeforeNavigate2 checks it.
    void OnNewWindow(IDispatch** ppDisp, VARIANT_BOOL* Cancel, LPCTSTR lpszUrl);
    // Destroys every pop-up window.
    void CloseAll();
    // The owner has moved or changed size: centres again the pop-ups the
    // pages have not placed.
    void OnOwnerMoved();

    size_t GetCount() const { return m_popups.size(); }
    CPopupWnd* GetAt(size_t i) const { return m_popups[i]; }

    // Called by a pop-up as its window goes.
    void Remove(CPopupWnd* pPopup);

private:
    CWnd& m_owner;
    std::vector<CPopupWnd*> m_popups;
};
