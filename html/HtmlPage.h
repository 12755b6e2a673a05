// A served page as the browser control holds it: a small tree built from the
// page's tokens (HTML, HEAD and BODY implied where missing, conditional
// comments evaluated), serialised back the way the control gives outer HTML:
// capitals and re-written attributes in the default document mode, lower
// case in a modern one. No scripts, no styles, no layout. Portable.
#pragma once
#include "html/HtmlNode.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class CHtmlPage {
public:
    // strCompatible: the page's X-UA-Compatible response header, if any.
    explicit CHtmlPage(const std::wstring& strSource, const std::wstring& strCompatible = L"");
    ~CHtmlPage();
    CHtmlPage(const CHtmlPage&) = delete;
    CHtmlPage& operator=(const CHtmlPage&) = delete;

    // The root element's outer HTML.
    const std::wstring& OuterHtml() const { return m_strOuter; }
    // The body's outer HTML: the BODY element, or a frameset page's FRAMESET.
    const std::wstring& BodyOuterHtml() const { return m_strBody; }
    // A frameset page: its body is the FRAMESET element, not a BODY.
    bool IsFrameset() const { return m_bFrameset; }
    // The document mode: 7 by default in the control, 9 and later serialise in lower case.
    int DocumentMode() const { return m_nMode; }
    // The text of the first TITLE element; empty without one.
    std::wstring Title() const;
    // The text a reader sees: the body's text without tags.
    std::wstring Text() const;
    // The src of every iframe and frame, in tree order.
    std::vector<std::wstring> FrameSources() const;
    // Where the page can lead, in tree order: each link's or area's href
    // ("link"), each form's action ("form"), each frame's src ("frame").
    std::vector<std::pair<std::wstring, std::wstring>> Destinations() const;
    // A meta refresh: true with its delay and address when the page has one.
    bool Refresh(int& nSeconds, std::wstring& strUrl) const;

    // The document mode an X-UA-Compatible value asks for; 0 when it names none.
    static int CompatibleMode(const std::wstring& strValue);

private:
    std::unique_ptr<CHtmlNode> m_pRoot;
    const CHtmlNode* m_pBody = nullptr;
    bool m_bFrameset = false;
    int m_nMode = 7;
    std::wstring m_strOuter;
    std::wstring m_strBody;
};
