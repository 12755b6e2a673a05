// A served page, read by a tiny tag tokenizer (no parser): the root
// element's outer HTML as the browser control gives it for simple pages (tag
// names in capitals, attributes and text as served), the body's, the visible
// text, the frames' addresses and a meta refresh. Portable.
#pragma once
#include <string>
#include <vector>

class CHtmlPage {
public:
    explicit CHtmlPage(const std::wstring& strSource);

    // From the root start tag through its end tag; wrapped in <HTML>...</HTML>
    // when the page has no root tag. Without body tags the text has none.
    const std::wstring& OuterHtml() const { return m_strOuter; }
    // From the body start tag through its end tag; empty without a body tag.
    const std::wstring& BodyOuterHtml() const { return m_strBody; }
    // The text a reader sees: the body's (or the page's) text without tags.
    std::wstring Text() const;
    // The src of every iframe and frame, in page order.
    std::vector<std::wstring> FrameSources() const;
    // A meta refresh: true with its delay and address when the page has one.
    bool Refresh(int& nSeconds, std::wstring& strUrl) const;

    // The charset a Content-Type value or a page's bytes name ("charset=..."),
    // lower-cased; empty when none is named.
    static std::string Charset(const std::string& strText);

private:
    struct CToken {
        bool bTag;
        bool bEnd;
        std::wstring strName; // lower-case tag name
        std::wstring strRaw;
    };
    void Tokenize(const std::wstring& strSource);
    void BuildOuter();
    static std::wstring Attribute(const std::wstring& strRaw, const wchar_t* pszName);

    std::vector<CToken> m_vecTokens;
    std::wstring m_strOuter;
    std::wstring m_strBody;
};
