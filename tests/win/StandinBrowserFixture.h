// The stand-in browser created through the prefix's registration, activated
// in place in a window of the test's, with a recording sink on its events;
// navigated through IDispatch against the demo server (QEL_DEMO_BASE).
#pragma once
#include "tests/win/TestSink.h"
#include "tests/win/TestSite.h"
#include "web/WebBrowserDispid.h"

#include <exdisp.h>
#include <mshtml.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

extern const CLSID kClsidWebBrowser;
const UINT kRefreshTimer = 1;      // the stand-in's meta refresh timer
const UINT kFrameRefreshTimer = 2; // and a frame's

// The demo server's wizard folder, empty when QEL_DEMO_BASE is not set.
std::wstring DemoBase();
// Outer HTML of the root element of a browser object's document.
std::wstring OuterHtml(IDispatch* pBrowser);
// The ready state of a browser object's document.
std::wstring ReadyState(IDispatch* pBrowser);

class StandinBrowserFixture : public ::testing::Test {
protected:
    void SetUp() override {
        m_strBase = DemoBase();
        if (m_strBase.empty())
            GTEST_SKIP() << "QEL_DEMO_BASE not set (run through standin_test.py)";
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        m_hwndParent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 500, 320, nullptr,
                                       nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, m_hwndParent);
        ASSERT_EQ(S_OK, CoCreateInstance(kClsidWebBrowser, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IOleObject, reinterpret_cast<void**>(&m_pObject)));
        m_pSite = new CTestSite(m_hwndParent, RECT{0, 0, 0, 0}, m_pDocHost);
        ASSERT_EQ(S_OK, m_pObject->SetClientSite(m_pSite));
        RECT rc = {0, 0, 0, 0};
        ASSERT_EQ(S_OK, m_pObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, m_pSite, 0,
                                          m_hwndParent, &rc));
        IConnectionPointContainer* pContainer = nullptr;
        ASSERT_EQ(S_OK, m_pObject->QueryInterface(IID_IConnectionPointContainer,
                                                  reinterpret_cast<void**>(&pContainer)));
        pContainer->FindConnectionPoint(DIID_DWebBrowserEvents2, &m_pPoint);
        pContainer->Release();
        ASSERT_NE(nullptr, m_pPoint);
        m_pSink = new CTestSink();
        ASSERT_EQ(S_OK, m_pPoint->Advise(m_pSink, &m_dwCookie));
        ASSERT_EQ(S_OK,
                  m_pObject->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&m_pDisp)));
    }

    void TearDown() override {
        if (m_pSink)
            m_pSink->Clear();
        if (m_pPoint) {
            m_pPoint->Unadvise(m_dwCookie);
            m_pPoint->Release();
        }
        if (m_pDisp)
            m_pDisp->Release();
        if (m_pObject) {
            m_pObject->Close(OLECLOSE_NOSAVE);
            m_pObject->SetClientSite(nullptr);
            m_pObject->Release();
        }
        if (m_pSite) {
            EXPECT_EQ(m_pSite->m_nActivations, m_pSite->m_nDeactivations);
            m_pSite->Release();
        }
        if (m_pSink)
            m_pSink->Release();
        // Every object the server handed out is gone.
        if (HMODULE hStandin = GetModuleHandleW(L"QelStandin.dll")) {
            auto pfnCanUnload = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
                reinterpret_cast<void*>(GetProcAddress(hStandin, "DllCanUnloadNow")));
            ASSERT_NE(nullptr, pfnCanUnload);
            EXPECT_EQ(S_OK, pfnCanUnload());
        }
        if (m_hwndParent)
            DestroyWindow(m_hwndParent);
        if (!m_strBase.empty())
            OleUninitialize();
    }

    // Navigate2 through IDispatch, five arguments, the URL last first.
    void Navigate(const VARIANT& url) {
        VARIANT args[5];
        for (VARIANT& arg : args)
            VariantInit(&arg);
        args[4] = url;
        DISPPARAMS params = {args, nullptr, 5, 0};
        ASSERT_EQ(S_OK, m_pDisp->Invoke(DISPID_WEBBROWSER_NAVIGATE2, IID_NULL, 0, DISPATCH_METHOD,
                                        &params, nullptr, nullptr, nullptr));
    }

    void NavigateTo(const std::wstring& strPage) {
        VARIANT url;
        url.vt = VT_BSTR;
        url.bstrVal = SysAllocString((m_strBase + strPage).c_str());
        Navigate(url);
        VariantClear(&url);
    }

    // Pumps messages until nCount events have come, or ten seconds have passed.
    bool WaitForEvents(size_t nCount) {
        return PumpUntil([this, nCount] { return m_pSink->m_vecEvents.size() >= nCount; });
    }

    // Pumps messages until bDone() holds, or ten seconds have passed.
    static bool PumpUntil(const std::function<bool()>& bDone) {
        const DWORD dwEnd = GetTickCount() + 10000;
        while (!bDone()) {
            const DWORD dwNow = GetTickCount();
            if (static_cast<LONG>(dwEnd - dwNow) <= 0)
                return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, dwEnd - dwNow, QS_ALLINPUT);
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        return true;
    }

    HWND BrowserWindow() {
        IOleWindow* pWindow = nullptr;
        HWND hwnd = nullptr;
        if (SUCCEEDED(
                m_pObject->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&pWindow)))) {
            pWindow->GetWindow(&hwnd);
            pWindow->Release();
        }
        return hwnd;
    }

    // The meta refresh, without waiting its seconds.
    void FireRefresh(UINT nTimer = kRefreshTimer) {
        PostMessageW(BrowserWindow(), WM_TIMER, nTimer, 0);
    }

    bool IsTop(const CTestSink::CEvent& event) { return event.pDisp == m_pDisp; }

    std::wstring m_strBase;
    IUnknown* m_pDocHost = nullptr; // the site's document host, set before SetUp
    HWND m_hwndParent = nullptr;
    IOleObject* m_pObject = nullptr;
    IDispatch* m_pDisp = nullptr;
    CTestSite* m_pSite = nullptr;
    CTestSink* m_pSink = nullptr;
    IConnectionPoint* m_pPoint = nullptr;
    DWORD m_dwCookie = 0;
};
