// CPaintDC: BeginPaint for the object's lifetime, EndPaint at its end.
#pragma once

#include "framework/DC.h"
#include "framework/Wnd.h"

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) { Attach(::BeginPaint(m_hWnd, &m_ps)); }
    ~CPaintDC() override {
        ::EndPaint(m_hWnd, &m_ps);
        Detach();
    }

    PAINTSTRUCT m_ps = {};

private:
    HWND m_hWnd;
};
