// Document access against fake browser and document objects. The fakes are
// built from the interfaces' C vtables: only the members the program uses do
// anything; every other slot answers E_NOTIMPL and is never called.
#define CINTERFACE
#define COBJMACROS

#include "web/HtmlDocument.h"

#include <exdisp.h>
#include <mshtml.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct SFake;

// One interface of a fake object: a vtable pointer and its object.
struct SFace {
    const void* lpVtbl;
    SFake* pObject;
};

struct SFake {
    LONG nRefs = 1; // the test's own reference
    SFace faces[2] = {};
    const IID* iids[2] = {};

    void Offer(int i, const IID& iid, const void* vtbl) {
        faces[i] = {vtbl, this};
        iids[i] = &iid;
    }
    IDispatch* Face(int i = 0) { return reinterpret_cast<IDispatch*>(&faces[i]); }
};

// What the fake page offers; each link of the chains can be taken away.
struct SFakePage {
    SFake browser, document, body, root;
    bool bDocument = true, bBody = true, bRoot = true;
    const wchar_t* outerHtml = L"";
    std::wstring scroll;
};
SFakePage* g_page = nullptr;

HRESULT STDMETHODCALLTYPE NotImplemented(void*) {
    return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE FakeQueryInterface(SFace* self, REFIID riid, void** ppv) {
    *ppv = nullptr;
    SFake* obj = self->pObject;
    for (int i = 0; i < 2; ++i) {
        if (obj->iids[i] != nullptr &&
            (IsEqualIID(riid, *obj->iids[i]) ||
             (i == 0 && (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch))))) {
            ++obj->nRefs;
            *ppv = &obj->faces[i];
            return S_OK;
        }
    }
    return E_NOINTERFACE;
}
ULONG STDMETHODCALLTYPE FakeAddRef(SFace* self) {
    return static_cast<ULONG>(++self->pObject->nRefs);
}
ULONG STDMETHODCALLTYPE FakeRelease(SFace* self) {
    return static_cast<ULONG>(--self->pObject->nRefs);
}

// Hands out obj's first interface with a reference, or NULL.
template <typename T> HRESULT Give(SFake& obj, bool bThere, T** ppOut) {
    *ppOut = nullptr;
    if (!bThere)
        return S_OK;
    ++obj.nRefs;
    *ppOut = reinterpret_cast<T*>(obj.Face());
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BrowserGetDocument(IWebBrowser2*, IDispatch** ppDisp) {
    return Give(g_page->document, g_page->bDocument, ppDisp);
}
HRESULT STDMETHODCALLTYPE DocumentGetBody(IHTMLDocument2*, IHTMLElement** ppBody) {
    return Give(g_page->body, g_page->bBody, ppBody);
}
HRESULT STDMETHODCALLTYPE DocumentGetRoot(IHTMLDocument3*, IHTMLElement** ppRoot) {
    return Give(g_page->root, g_page->bRoot, ppRoot);
}
HRESULT STDMETHODCALLTYPE BodyPutScroll(IHTMLBodyElement*, BSTR v) {
    g_page->scroll = v;
    return S_OK;
}
HRESULT STDMETHODCALLTYPE ElementGetOuterHtml(IHTMLElement*, BSTR* p) {
    *p = g_page->outerHtml ? ::SysAllocString(g_page->outerHtml) : nullptr;
    return S_OK;
}

template <typename Vtbl> Vtbl MakeVtbl() {
    Vtbl vtbl;
    void** slots = reinterpret_cast<void**>(&vtbl);
    for (size_t i = 0; i < sizeof(vtbl) / sizeof(void*); ++i)
        slots[i] = reinterpret_cast<void*>(&NotImplemented);
    vtbl.QueryInterface = reinterpret_cast<decltype(vtbl.QueryInterface)>(&FakeQueryInterface);
    vtbl.AddRef = reinterpret_cast<decltype(vtbl.AddRef)>(&FakeAddRef);
    vtbl.Release = reinterpret_cast<decltype(vtbl.Release)>(&FakeRelease);
    return vtbl;
}

// A page whose browser, document and body offer the full chains.
class HtmlDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        static IWebBrowser2Vtbl browser = MakeVtbl<IWebBrowser2Vtbl>();
        static IHTMLDocument2Vtbl document2 = MakeVtbl<IHTMLDocument2Vtbl>();
        static IHTMLDocument3Vtbl document3 = MakeVtbl<IHTMLDocument3Vtbl>();
        static IHTMLElementVtbl element = MakeVtbl<IHTMLElementVtbl>();
        static IHTMLBodyElementVtbl bodyElement = MakeVtbl<IHTMLBodyElementVtbl>();
        browser.get_Document = BrowserGetDocument;
        document2.get_body = DocumentGetBody;
        document3.get_documentElement = DocumentGetRoot;
        element.get_outerHTML = ElementGetOuterHtml;
        bodyElement.put_scroll = BodyPutScroll;

        g_page = &m_page;
        m_page.browser.Offer(0, IID_IWebBrowser2, &browser);
        m_page.document.Offer(0, IID_IHTMLDocument2, &document2);
        m_page.document.Offer(1, IID_IHTMLDocument3, &document3);
        m_page.body.Offer(0, IID_IHTMLElement, &element);
        m_page.body.Offer(1, IID_IHTMLBodyElement, &bodyElement);
        m_page.root.Offer(0, IID_IHTMLElement, &element);
    }
    void TearDown() override { g_page = nullptr; }

    // Every reference handed out came back.
    void ExpectBalanced(const char* what) {
        for (SFake* obj : {&m_page.browser, &m_page.document, &m_page.body, &m_page.root})
            EXPECT_EQ(1, obj->nRefs) << what;
    }

    SFakePage m_page;
};

} // namespace

TEST_F(HtmlDocumentTest, ScrollBarsTurnedOffOnTheBody) {
    TurnDocumentScrollOff(m_page.browser.Face());
    EXPECT_EQ(L"no", m_page.scroll);
    ExpectBalanced("full chain");
}

TEST_F(HtmlDocumentTest, ScrollChainStopsAtEachMissingLink) {
    m_page.body.iids[1] = nullptr; // a frameset's body: no IHTMLBodyElement
    TurnDocumentScrollOff(m_page.browser.Face());
    ExpectBalanced("frameset");

    m_page.bBody = false;
    TurnDocumentScrollOff(m_page.browser.Face());
    ExpectBalanced("no body");

    m_page.document.iids[0] = nullptr;
    TurnDocumentScrollOff(m_page.browser.Face());
    ExpectBalanced("no IHTMLDocument2");

    m_page.bDocument = false;
    TurnDocumentScrollOff(m_page.browser.Face());
    ExpectBalanced("no document");

    m_page.browser.iids[0] = nullptr; // not a browser object
    TurnDocumentScrollOff(m_page.browser.Face());
    TurnDocumentScrollOff(nullptr);
    ExpectBalanced("no IWebBrowser2");
    EXPECT_EQ(L"", m_page.scroll);
}

TEST_F(HtmlDocumentTest, OuterHtmlReadInTheAnsiCodePage) {
    ASSERT_EQ(949u, ::GetACP());
    m_page.outerHtml = L"<HTML><HEAD></HEAD><BODY>y|결제 완료|</BODY></HTML>";
    CString html;
    EXPECT_TRUE(ReadDocumentOuterHtml(m_page.document.Face(), html));
    EXPECT_EQ(CString("<HTML><HEAD></HEAD><BODY>y|결제 완료|</BODY></HTML>"), html);
    ExpectBalanced("read");

    const std::wstring longText(10000, L'가');
    m_page.outerHtml = longText.c_str();
    EXPECT_TRUE(ReadDocumentOuterHtml(m_page.document.Face(), html));
    EXPECT_EQ(20000, html.GetLength());

    m_page.outerHtml = nullptr;
    EXPECT_TRUE(ReadDocumentOuterHtml(m_page.document.Face(), html));
    EXPECT_EQ(CString(), html);
    ExpectBalanced("long and missing outer HTML");
}

TEST_F(HtmlDocumentTest, NoOuterHtmlWithoutTheDocumentInterfaces) {
    CString html("kept");
    m_page.bRoot = false;
    EXPECT_FALSE(ReadDocumentOuterHtml(m_page.document.Face(), html));
    ExpectBalanced("no root element");

    m_page.document.iids[1] = nullptr;
    EXPECT_FALSE(ReadDocumentOuterHtml(m_page.document.Face(), html));
    ExpectBalanced("no IHTMLDocument3");

    m_page.document.iids[0] = nullptr;
    EXPECT_FALSE(ReadDocumentOuterHtml(m_page.document.Face(), html));
    EXPECT_FALSE(ReadDocumentOuterHtml(nullptr, html));
    ExpectBalanced("no IHTMLDocument2");
    EXPECT_EQ(CString("kept"), html);
}

TEST(AnsiFromVariantTest, StringsDirectOrByReference) {
    VARIANT var;
    ::VariantInit(&var);
    EXPECT_EQ(CString(), AnsiFromVariant(&var));
    EXPECT_EQ(CString(), AnsiFromVariant(nullptr));
    V_VT(&var) = VT_BSTR;
    V_BSTR(&var) = nullptr;
    EXPECT_EQ(CString(), AnsiFromVariant(&var));
    V_BSTR(&var) = ::SysAllocString(L"http://h/wizard_install.html");
    VARIANT ref;
    V_VT(&ref) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&ref) = &var;
    EXPECT_EQ(CString("http://h/wizard_install.html"), AnsiFromVariant(&var));
    EXPECT_EQ(CString("http://h/wizard_install.html"), AnsiFromVariant(&ref));
    ::VariantClear(&var);
}
