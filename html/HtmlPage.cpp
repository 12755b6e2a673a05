#include "html/HtmlPage.h"

#include <algorithm>
#include <cctype>
#include <cwchar>
#include <cwctype>

struct CHtmlPage::CToken {
    enum EKind { kText, kStart, kEnd, kComment, kDownlevel, kDoctype };
    EKind eKind;
    std::wstring strName;                                        // lower-case tag name
    std::vector<std::pair<std::wstring, std::wstring>> vecAttrs; // values decoded
    std::vector<bool> vecHasValue;
    std::wstring strText; // text (decoded unless raw), comment or condition
    bool bRaw = false;    // script or style text: no references
};

struct CHtmlPage::CNode {
    enum EKind { kElement, kText, kComment };
    explicit CNode(EKind eKindOf, std::wstring strNameOf = std::wstring())
        : eKind(eKindOf), strName(std::move(strNameOf)) {}
    EKind eKind;
    std::wstring strName;
    std::vector<std::pair<std::wstring, std::wstring>> vecAttrs;
    std::vector<bool> vecHasValue;
    std::wstring strText;
    std::vector<std::unique_ptr<CNode>> vecChildren;

    CNode* Append(std::unique_ptr<CNode> pChild) {
        vecChildren.push_back(std::move(pChild));
        return vecChildren.back().get();
    }
    std::wstring Attribute(const wchar_t* pszName) const {
        for (const auto& attr : vecAttrs) {
            if (attr.first == pszName)
                return attr.second;
        }
        return std::wstring();
    }
};

namespace {

using CNode = CHtmlPage::CNode;

std::wstring Lower(std::wstring str) {
    for (wchar_t& c : str)
        c = static_cast<wchar_t>(std::towlower(c));
    return str;
}

std::wstring Upper(std::wstring str) {
    for (wchar_t& c : str)
        c = static_cast<wchar_t>(std::towupper(c));
    return str;
}

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\f';
}

bool IsNameChar(wchar_t c) {
    return std::iswalnum(c) || c == L'-' || c == L'_' || c == L':';
}

bool OneOf(const std::wstring& str, std::initializer_list<const wchar_t*> names) {
    for (const wchar_t* psz : names) {
        if (str == psz)
            return true;
    }
    return false;
}

bool IsVoid(const std::wstring& strName) {
    return OneOf(strName, {L"area", L"base", L"basefont", L"bgsound", L"br", L"col", L"embed",
                           L"frame", L"hr", L"img", L"input", L"isindex", L"keygen", L"link",
                           L"meta", L"param", L"source", L"track", L"wbr"});
}

bool IsRawText(const std::wstring& strName) {
    return OneOf(strName, {L"script", L"style", L"xmp", L"noscript", L"noframes"});
}

bool IsHeadElement(const std::wstring& strName) {
    return OneOf(strName, {L"title", L"meta", L"link", L"style", L"script", L"base"});
}

// &name; and &#n; / &#xh; decoded; anything else stays as written.
std::wstring DecodeReferences(const std::wstring& str) {
    static const struct {
        const wchar_t* pszName;
        wchar_t c;
    } kNamed[] = {{L"amp", L'&'},   {L"lt", L'<'},     {L"gt", L'>'},     {L"quot", L'"'},
                  {L"apos", L'\''}, {L"nbsp", 0x00A0}, {L"copy", 0x00A9}, {L"reg", 0x00AE}};
    std::wstring strOut;
    size_t i = 0;
    while (i < str.size()) {
        const size_t nAmp = str.find(L'&', i);
        if (nAmp == std::wstring::npos)
            break;
        strOut.append(str, i, nAmp - i);
        i = nAmp + 1;
        const size_t nSemi = str.find(L';', i);
        bool bDone = false;
        if (i < str.size() && str[i] == L'#') {
            const bool bHex = i + 1 < str.size() && (str[i + 1] == L'x' || str[i + 1] == L'X');
            size_t j = i + (bHex ? 2 : 1);
            unsigned long n = 0;
            const size_t nDigits = j;
            for (; j < str.size() && n < 0x110000; ++j) {
                const wchar_t c = static_cast<wchar_t>(std::towlower(str[j]));
                if (std::iswdigit(c))
                    n = n * (bHex ? 16 : 10) + (c - L'0');
                else if (bHex && c >= L'a' && c <= L'f')
                    n = n * 16 + (c - L'a' + 10);
                else
                    break;
            }
            if (j > nDigits && n > 0 && n < 0x10000) {
                strOut += static_cast<wchar_t>(n);
                i = j < str.size() && str[j] == L';' ? j + 1 : j;
                bDone = true;
            }
        } else if (nSemi != std::wstring::npos) {
            for (const auto& named : kNamed) {
                if (str.compare(i, nSemi - i, named.pszName) == 0) {
                    strOut += named.c;
                    i = nSemi + 1;
                    bDone = true;
                    break;
                }
            }
        }
        if (!bDone)
            strOut += L'&';
    }
    strOut.append(str, i, std::wstring::npos);
    return strOut;
}

// End of a tag that starts at nStart: the '>' outside quoted values (or the text's end).
size_t TagEnd(const std::wstring& str, size_t nStart) {
    wchar_t cQuote = 0;
    bool bAfterEquals = false;
    for (size_t i = nStart + 1; i < str.size(); ++i) {
        const wchar_t c = str[i];
        if (cQuote) {
            if (c == cQuote)
                cQuote = 0;
        } else if ((c == L'"' || c == L'\'') && bAfterEquals) {
            cQuote = c;
        } else if (c == L'>') {
            return i + 1;
        }
        if (!cQuote && !IsBlank(c))
            bAfterEquals = c == L'=';
    }
    return str.size();
}

// Attributes of a start tag's text after its name; values decoded, names lower case.
void ReadAttributes(const std::wstring& str, size_t i, size_t nEnd,
                    std::vector<std::pair<std::wstring, std::wstring>>& vecAttrs,
                    std::vector<bool>& vecHasValue) {
    while (i < nEnd) {
        while (i < nEnd && (IsBlank(str[i]) || str[i] == L'/'))
            ++i;
        const size_t nName = i;
        while (i < nEnd && !IsBlank(str[i]) && str[i] != L'=' && str[i] != L'>' &&
               !(str[i] == L'/' && i + 1 < nEnd && str[i + 1] == L'>'))
            ++i;
        if (i == nName)
            break;
        const std::wstring strName = Lower(str.substr(nName, i - nName));
        std::wstring strValue;
        bool bValue = false;
        size_t j = i;
        while (j < nEnd && IsBlank(str[j]))
            ++j;
        if (j < nEnd && str[j] == L'=') {
            bValue = true;
            i = j + 1;
            while (i < nEnd && IsBlank(str[i]))
                ++i;
            if (i < nEnd && (str[i] == L'"' || str[i] == L'\'')) {
                const size_t nClose = str.find(str[i], i + 1);
                const size_t nStop = nClose == std::wstring::npos || nClose > nEnd ? nEnd : nClose;
                strValue = str.substr(i + 1, nStop - i - 1);
                i = nStop + 1;
            } else {
                const size_t nValue = i;
                while (i < nEnd && !IsBlank(str[i]) && str[i] != L'>')
                    ++i;
                strValue = str.substr(nValue, i - nValue);
            }
        }
        const bool bDuplicate = std::any_of(vecAttrs.begin(), vecAttrs.end(),
                                            [&](const auto& a) { return a.first == strName; });
        if (!bDuplicate) {
            vecAttrs.emplace_back(strName, DecodeReferences(strValue));
            vecHasValue.push_back(bValue);
        }
    }
}

// A conditional comment's condition (IE, !IE, lt/lte/gt/gte IE n, &, |,
// parentheses) against the document mode.
class CCondition {
public:
    CCondition(const std::wstring& str, int nVersion) : m_str(Lower(str)), m_nVersion(nVersion) {}
    bool Evaluate() { return Or(); }

private:
    void Skip() {
        while (m_i < m_str.size() && IsBlank(m_str[m_i]))
            ++m_i;
    }
    bool Take(const wchar_t* psz) {
        Skip();
        const size_t n = std::wcslen(psz);
        if (m_str.compare(m_i, n, psz) != 0)
            return false;
        m_i += n;
        return true;
    }
    bool Or() {
        bool b = And();
        while (Take(L"|"))
            b = And() || b;
        return b;
    }
    bool And() {
        bool b = Factor();
        while (Take(L"&"))
            b = Factor() && b;
        return b;
    }
    bool Factor() {
        if (Take(L"!"))
            return !Factor();
        if (Take(L"(")) {
            const bool b = Or();
            Take(L")");
            return b;
        }
        int nOp = 0; // 0 ==, 1 <, 2 <=, 3 >, 4 >=
        if (Take(L"lte "))
            nOp = 2;
        else if (Take(L"lt "))
            nOp = 1;
        else if (Take(L"gte "))
            nOp = 4;
        else if (Take(L"gt "))
            nOp = 3;
        if (!Take(L"ie")) {
            while (m_i < m_str.size() && !OneOf(std::wstring(1, m_str[m_i]), {L"&", L"|", L")"}))
                ++m_i;
            return false; // a feature other than IE
        }
        Skip();
        int nWanted = 0;
        bool bVersion = false;
        while (m_i < m_str.size() && std::iswdigit(m_str[m_i]))
            nWanted = nWanted * 10 + (m_str[m_i++] - L'0'), bVersion = true;
        while (m_i < m_str.size() && (std::iswdigit(m_str[m_i]) || m_str[m_i] == L'.'))
            ++m_i;
        if (!bVersion)
            return true;
        switch (nOp) {
        case 1:
            return m_nVersion < nWanted;
        case 2:
            return m_nVersion <= nWanted;
        case 3:
            return m_nVersion > nWanted;
        case 4:
            return m_nVersion >= nWanted;
        default:
            return m_nVersion == nWanted;
        }
    }

    const std::wstring m_str;
    const int m_nVersion;
    size_t m_i = 0;
};

void Tokenize(const std::wstring& str, std::vector<CHtmlPage::CToken>& vecTokens);

} // namespace

namespace {

void AddText(std::vector<CHtmlPage::CToken>& vecTokens, const std::wstring& strText, bool bRaw) {
    if (strText.empty())
        return;
    if (!vecTokens.empty() && vecTokens.back().eKind == CHtmlPage::CToken::kText &&
        vecTokens.back().bRaw == bRaw) {
        vecTokens.back().strText += strText;
        return;
    }
    CHtmlPage::CToken token{CHtmlPage::CToken::kText, L"", {}, {}, strText, bRaw};
    vecTokens.push_back(token);
}

void Tokenize(const std::wstring& str, std::vector<CHtmlPage::CToken>& vecTokens) {
    using CToken = CHtmlPage::CToken;
    const std::wstring strLower = Lower(str);
    size_t i = 0;
    while (i < str.size()) {
        const bool bTagStart = str[i] == L'<' && i + 1 < str.size() &&
                               (std::iswalpha(str[i + 1]) || str[i + 1] == L'/' ||
                                str[i + 1] == L'!' || str[i + 1] == L'?');
        if (!bTagStart) {
            const size_t nNext = str.find(L'<', i + 1);
            const size_t nEnd = nNext == std::wstring::npos ? str.size() : nNext;
            AddText(vecTokens, DecodeReferences(str.substr(i, nEnd - i)), false);
            i = nEnd;
            continue;
        }
        if (str.compare(i, 4, L"<!--") == 0) {
            const size_t nClose = str.find(L"-->", i + 4);
            const size_t nEnd = nClose == std::wstring::npos ? str.size() : nClose;
            vecTokens.push_back({CToken::kComment, L"", {}, {}, str.substr(i + 4, nEnd - i - 4)});
            i = nEnd == str.size() ? nEnd : nEnd + 3;
            continue;
        }
        const size_t nEnd = TagEnd(str, i);
        const size_t nInner = nEnd > i + 1 && str[nEnd - 1] == L'>' ? nEnd - 1 : nEnd;
        if (str[i + 1] == L'!' || str[i + 1] == L'?') {
            const bool bDownlevel = str.compare(i, 3, L"<![") == 0;
            const bool bDoctype = Lower(str.substr(i, 9)) == L"<!doctype";
            const CToken::EKind eKind = bDownlevel ? CToken::kDownlevel
                                        : bDoctype ? CToken::kDoctype
                                                   : CToken::kComment;
            vecTokens.push_back({eKind, L"", {}, {}, str.substr(i + 2, nInner - i - 2)});
            i = nEnd;
            continue;
        }
        CToken token{str[i + 1] == L'/' ? CToken::kEnd : CToken::kStart, L"", {}, {}, L""};
        size_t nName = i + (token.eKind == CToken::kEnd ? 2 : 1);
        while (nName < nInner && IsNameChar(str[nName]))
            token.strName += str[nName++];
        token.strName = Lower(token.strName);
        if (token.eKind == CToken::kStart)
            ReadAttributes(str, nName, nInner, token.vecAttrs, token.vecHasValue);
        const std::wstring strName = token.strName;
        vecTokens.push_back(token);
        i = nEnd;
        if (token.eKind == CToken::kStart &&
            (IsRawText(strName) || strName == L"title" || strName == L"textarea")) {
            // Their text runs to their end tag, whatever it holds.
            const size_t nClose = strLower.find(L"</" + strName, i);
            const size_t nText = nClose == std::wstring::npos ? str.size() : nClose;
            const std::wstring strText = str.substr(i, nText - i);
            const bool bRaw = IsRawText(strName);
            AddText(vecTokens, bRaw ? strText : DecodeReferences(strText), bRaw);
            i = nText;
        }
    }
}

} // namespace

// Builds the tree the control would hold: the document element always has a
// HEAD and a BODY (or a FRAMESET); the first content that belongs to neither
// the head nor the root opens the body.
class CHtmlPage::CBuilder {
public:
    CBuilder(CHtmlPage& page) : m_page(page) {
        m_page.m_pRoot.reset(new CNode(CNode::kElement, L"html"));
        m_pHead =
            m_page.m_pRoot->Append(std::unique_ptr<CNode>(new CNode(CNode::kElement, L"head")));
        m_vecStack = {m_page.m_pRoot.get(), m_pHead};
    }

    void Feed(const std::vector<CToken>& vecTokens) {
        for (const CToken& token : vecTokens)
            Handle(token);
    }

    void Finish() {
        // D test_defaults: even "<html></html>" has a body.
        if (!m_pBody)
            OpenBody(nullptr);
        m_page.m_pBody = m_pBody;
    }

private:
    // Conditional comments count up to mode 9.
    bool Conditionals() const { return m_page.m_nMode <= 9; }

    void Handle(const CToken& token) {
        if (m_bSkipping) {
            // Inside a downlevel-revealed block whose condition failed.
            if (token.eKind == CToken::kDownlevel && Lower(token.strText).find(L"endif") == 1)
                m_bSkipping = false;
            return;
        }
        switch (token.eKind) {
        case CToken::kDoctype:
            return;
        case CToken::kDownlevel:
            // <![if cond]> ... <![endif]>: the markers vanish; a false condition hides its content.
            if (Conditionals() && Lower(token.strText).compare(0, 4, L"[if ") == 0)
                m_bSkipping = !Condition(token.strText.substr(4));
            return;
        case CToken::kComment:
            OnComment(token);
            return;
        case CToken::kText:
            OnText(token);
            return;
        case CToken::kStart:
            OnStart(token);
            return;
        case CToken::kEnd:
            OnEnd(token);
            return;
        }
    }

    bool Condition(const std::wstring& strText) {
        const size_t nClose = strText.find(L']');
        return CCondition(strText.substr(0, nClose), m_page.m_nMode).Evaluate();
    }

    // D conditional comments: <!--[if cond]>markup<![endif]--> is parsed as
    // markup when cond holds in the document mode (modes up to 9), else kept
    // as a comment, as plain comments are ("<!--testing-->").
    void OnComment(const CToken& token) {
        const std::wstring& strText = token.strText;
        if (Conditionals() && strText.compare(0, 4, L"[if ") == 0) {
            const size_t nOpen = strText.find(L"]>");
            if (nOpen != std::wstring::npos && Condition(strText.substr(4))) {
                std::wstring strInner = strText.substr(nOpen + 2);
                const size_t nEndif = strInner.rfind(L"<![endif]");
                if (nEndif != std::wstring::npos)
                    strInner.erase(nEndif);
                if (strInner == L"<!")
                    return; // <!--[if cond]><!--> ... : the content follows as markup
                std::vector<CToken> vecInner;
                Tokenize(strInner, vecInner);
                Feed(vecInner);
                return;
            }
        }
        if (Conditionals() && strText == L"<![endif]")
            return;
        if (!m_bContent && !m_bHtmlTag)
            return; // before the document element
        std::unique_ptr<CNode> pNode(new CNode(CNode::kComment));
        pNode->strText = strText;
        Top()->Append(std::move(pNode));
    }

    void OnText(const CToken& token) {
        std::wstring strText = token.strText;
        if (m_bFramesetOpen)
            return;
        if (!m_pBody && Top() == m_pHead) {
            // Blanks between head elements are dropped; other text opens the body.
            size_t nFirst = 0;
            while (nFirst < strText.size() && IsBlank(strText[nFirst]))
                ++nFirst;
            if (nFirst == strText.size())
                return;
            strText.erase(0, nFirst);
            OpenBody(nullptr);
        } else if (m_bAfterBody) {
            if (std::all_of(strText.begin(), strText.end(), IsBlank))
                return;
        }
        CNode* pTop = Top();
        if (!pTop->vecChildren.empty() && pTop->vecChildren.back()->eKind == CNode::kText) {
            pTop->vecChildren.back()->strText += strText;
            return;
        }
        std::unique_ptr<CNode> pNode(new CNode(CNode::kText));
        pNode->strText = strText;
        pTop->Append(std::move(pNode));
    }

    void OnStart(const CToken& token) {
        const std::wstring& strName = token.strName;
        m_bContent = true;
        if (strName == L"html") {
            if (!m_bHtmlTag && m_page.m_pRoot->vecAttrs.empty()) {
                m_page.m_pRoot->vecAttrs = token.vecAttrs;
                m_page.m_pRoot->vecHasValue = token.vecHasValue;
            }
            m_bHtmlTag = true;
            return;
        }
        if (m_bFramesetOpen) {
            // D frameset tests: a frameset page holds frames, not content.
            if (OneOf(strName, {L"frameset", L"frame", L"noframes"}))
                Push(token);
            return;
        }
        if (!m_pBody) {
            if (strName == L"head")
                return;
            if (IsHeadElement(strName) && Top() == m_pHead) {
                Push(token);
                return;
            }
            if (strName == L"frameset") {
                m_bFramesetOpen = true;
                m_vecStack.resize(1);
                Push(token);
                m_pBody = m_vecStack.back();
                m_page.m_bFrameset = true;
                return;
            }
            OpenBody(strName == L"body" ? &token : nullptr);
            if (strName == L"body")
                return;
        }
        if (strName == L"body" || strName == L"head" || strName == L"frameset")
            return;
        m_bAfterBody = false;
        CloseImplied(strName);
        if (strName == L"tr" && Top()->strName == L"table") {
            // The table's rows go into an implied TBODY.
            m_vecStack.push_back(
                Top()->Append(std::unique_ptr<CNode>(new CNode(CNode::kElement, L"tbody"))));
        }
        Push(token);
    }

    void OnEnd(const CToken& token) {
        const std::wstring& strName = token.strName;
        if (strName == L"body" || strName == L"html") {
            if (m_pBody && !m_bFramesetOpen) {
                m_vecStack.resize(1);
                m_vecStack.push_back(const_cast<CNode*>(m_pBody));
                m_bAfterBody = true;
            }
            return;
        }
        // The nearest open element of that name above the head or body closes.
        for (size_t i = m_vecStack.size(); i > 2; --i) {
            if (m_vecStack[i - 1]->strName == strName) {
                m_vecStack.resize(i - 1);
                return;
            }
            if (OneOf(m_vecStack[i - 1]->strName, {L"table", L"td", L"th"}) &&
                !OneOf(strName, {L"table", L"td", L"th", L"tr", L"tbody"}))
                return;
        }
    }

    // A new element ends the one it cannot sit in: P before a block, LI,
    // DT/DD, OPTION, TD/TH and TR before their own kind.
    void CloseImplied(const std::wstring& strName) {
        const bool bBlock = OneOf(
            strName, {L"p",       L"div",    L"ul", L"ol", L"dl",  L"table",   L"h1",         L"h2",
                      L"h3",      L"h4",     L"h5", L"h6", L"pre", L"form",    L"blockquote", L"hr",
                      L"address", L"center", L"li", L"dd", L"dt",  L"fieldset"});
        if (bBlock)
            PopTo({L"p"}, {L"td", L"th", L"table", L"button", L"object", L"marquee"});
        if (strName == L"li")
            PopTo({L"li"}, {L"ul", L"ol", L"table"});
        else if (strName == L"dd" || strName == L"dt")
            PopTo({L"dd", L"dt"}, {L"dl", L"table"});
        else if (strName == L"option" && Top()->strName == L"option")
            m_vecStack.pop_back();
        else if (strName == L"td" || strName == L"th")
            PopTo({L"td", L"th"}, {L"tr", L"table"});
        else if (strName == L"tr")
            PopTo({L"tr"}, {L"table", L"tbody", L"thead", L"tfoot"});
    }

    void PopTo(std::initializer_list<const wchar_t*> names,
               std::initializer_list<const wchar_t*> stops) {
        for (size_t i = m_vecStack.size(); i > 2; --i) {
            const std::wstring& strOpen = m_vecStack[i - 1]->strName;
            if (OneOf(strOpen, names)) {
                m_vecStack.resize(i - 1);
                return;
            }
            if (OneOf(strOpen, stops))
                return;
        }
    }

    void OpenBody(const CToken* pToken) {
        std::unique_ptr<CNode> pBody(new CNode(CNode::kElement, L"body"));
        if (pToken) {
            pBody->vecAttrs = pToken->vecAttrs;
            pBody->vecHasValue = pToken->vecHasValue;
        }
        m_vecStack.resize(1);
        m_pBody = m_page.m_pRoot->Append(std::move(pBody));
        m_vecStack.push_back(const_cast<CNode*>(m_pBody));
    }

    void Push(const CToken& token) {
        std::unique_ptr<CNode> pNode(new CNode(CNode::kElement, token.strName));
        pNode->vecAttrs = token.vecAttrs;
        pNode->vecHasValue = token.vecHasValue;
        CNode* pAdded = Top()->Append(std::move(pNode));
        // Nesting beyond any real page's stays flat, so that writing it out stays shallow.
        if (!IsVoid(token.strName) && m_vecStack.size() < kMaxDepth)
            m_vecStack.push_back(pAdded);
    }

    CNode* Top() const { return m_vecStack.back(); }

    static const size_t kMaxDepth = 256;

    CHtmlPage& m_page;
    CNode* m_pHead;
    const CNode* m_pBody = nullptr;
    std::vector<CNode*> m_vecStack;
    bool m_bHtmlTag = false;
    bool m_bContent = false;
    bool m_bAfterBody = false;
    bool m_bFramesetOpen = false;
    bool m_bSkipping = false;
};

namespace {

void EscapeText(const std::wstring& str, bool bAttribute, std::wstring& strOut) {
    for (wchar_t c : str) {
        if (c == L'&')
            strOut += L"&amp;";
        else if (c == 0x00A0)
            strOut += L"&nbsp;";
        else if (c == L'"' && bAttribute)
            strOut += L"&quot;";
        else if ((c == L'<' || c == L'>') && !bAttribute)
            strOut += c == L'<' ? L"&lt;" : L"&gt;";
        else
            strOut += c;
    }
}

// KB206891: in the default modes a value of letters, digits and -_.# is written
// unquoted, any other in double quotes; modern modes quote every value.
bool IsPlainValue(const std::wstring& str) {
    return !str.empty() && std::all_of(str.begin(), str.end(), [](wchar_t c) {
        return c < 0x80 && (std::iswalnum(c) || c == L'-' || c == L'_' || c == L'.' || c == L'#');
    });
}

void Serialise(const CNode& node, bool bLegacy, bool bRawParent, std::wstring& strOut) {
    if (node.eKind == CNode::kText) {
        if (bRawParent)
            strOut += node.strText;
        else
            EscapeText(node.strText, false, strOut);
        return;
    }
    if (node.eKind == CNode::kComment) {
        strOut += L"<!--" + node.strText + L"-->";
        return;
    }
    // KB206891 and D tagName "HTML": capitals, and a line break before BODY, in the
    // default modes; documentmode.js in mode 11: "<b>bold</b>".
    const std::wstring strName = bLegacy ? Upper(node.strName) : node.strName;
    if (bLegacy && node.strName == L"body")
        strOut += L"\r\n";
    strOut += L"<" + strName;
    for (size_t i = 0; i < node.vecAttrs.size(); ++i) {
        const std::wstring& strValue = node.vecAttrs[i].second;
        strOut += L" " + node.vecAttrs[i].first;
        if (bLegacy && !node.vecHasValue[i])
            continue;
        if (bLegacy && IsPlainValue(strValue)) {
            strOut += L"=" + strValue;
            continue;
        }
        strOut += L"=\"";
        EscapeText(strValue, true, strOut);
        strOut += L"\"";
    }
    strOut += L">";
    if (IsVoid(node.strName))
        return;
    for (const auto& pChild : node.vecChildren)
        Serialise(*pChild, bLegacy, IsRawText(node.strName), strOut);
    strOut += L"</" + strName + L">";
}

template <typename Visit> void Walk(const CNode& node, Visit visit) {
    if (!visit(node))
        return;
    for (const auto& pChild : node.vecChildren)
        Walk(*pChild, visit);
}

} // namespace

CHtmlPage::CHtmlPage(const std::wstring& strSource, const std::wstring& strCompatible) {
    std::vector<CToken> vecTokens;
    Tokenize(strSource, vecTokens);
    // A meta X-UA-Compatible wins over the response header.
    int nMode = CompatibleMode(strCompatible);
    for (const CToken& token : vecTokens) {
        if (token.eKind != CToken::kStart || token.strName != L"meta")
            continue;
        for (size_t i = 0; i < token.vecAttrs.size(); ++i) {
            if (token.vecAttrs[i].first == L"http-equiv" &&
                Lower(token.vecAttrs[i].second) == L"x-ua-compatible") {
                for (const auto& attr : token.vecAttrs) {
                    if (attr.first == L"content" && CompatibleMode(attr.second))
                        nMode = CompatibleMode(attr.second);
                }
            }
        }
    }
    m_nMode = nMode ? nMode : 7;
    CBuilder builder(*this);
    builder.Feed(vecTokens);
    builder.Finish();
    const bool bLegacy = m_nMode < 9;
    Serialise(*m_pRoot, bLegacy, false, m_strOuter);
    Serialise(*m_pBody, bLegacy, false, m_strBody);
    if (bLegacy && m_strBody.compare(0, 2, L"\r\n") == 0)
        m_strBody.erase(0, 2);
}

CHtmlPage::~CHtmlPage() = default;

int CHtmlPage::CompatibleMode(const std::wstring& strValue) {
    int nMode = 0;
    const std::wstring strLower = Lower(strValue);
    size_t i = 0;
    while ((i = strLower.find(L"ie=", i)) != std::wstring::npos) {
        i += 3;
        if (strLower.compare(i, 4, L"edge") == 0) {
            nMode = std::max(nMode, 11);
            continue;
        }
        if (strLower.compare(i, 9, L"emulateie") == 0)
            i += 9;
        int n = 0;
        while (i < strLower.size() && std::iswdigit(strLower[i]))
            n = n * 10 + (strLower[i++] - L'0');
        nMode = std::max(nMode, std::min(n, 11));
    }
    return nMode;
}

std::wstring CHtmlPage::Text() const {
    std::wstring strText;
    if (!m_bFrameset) {
        Walk(*m_pBody, [&](const CNode& node) {
            if (node.eKind == CNode::kText)
                strText += node.strText;
            else if (node.eKind == CNode::kElement && OneOf(node.strName, {L"br", L"p", L"div"}))
                strText += L'\n';
            return node.eKind == CNode::kElement &&
                   !OneOf(node.strName, {L"script", L"style", L"title", L"noscript"});
        });
    }
    // Runs of blanks read as one space; line breaks come from the tags above.
    std::wstring strOut;
    bool bBlank = false;
    for (wchar_t c : strText) {
        if (IsBlank(c) || c == 0x00A0) {
            if (c == L'\n' && !strOut.empty() && strOut.back() != L'\n')
                strOut += L'\n', bBlank = false;
            else
                bBlank = true;
            continue;
        }
        if (bBlank && !strOut.empty() && strOut.back() != L'\n')
            strOut += L' ';
        bBlank = false;
        strOut += c;
    }
    return strOut;
}

std::wstring CHtmlPage::Title() const {
    std::wstring strTitle;
    bool bFound = false;
    Walk(*m_pRoot, [&](const CNode& node) {
        if (!bFound && node.eKind == CNode::kElement && node.strName == L"title") {
            bFound = true;
            for (const auto& pChild : node.vecChildren)
                strTitle += pChild->strText;
        }
        return !bFound;
    });
    return strTitle;
}

std::vector<std::wstring> CHtmlPage::FrameSources() const {
    std::vector<std::wstring> vecSources;
    Walk(*m_pRoot, [&](const CNode& node) {
        if (node.eKind == CNode::kElement && OneOf(node.strName, {L"iframe", L"frame"}) &&
            !node.Attribute(L"src").empty())
            vecSources.push_back(node.Attribute(L"src"));
        return true;
    });
    return vecSources;
}

bool CHtmlPage::Refresh(int& nSeconds, std::wstring& strUrl) const {
    const CNode* pMeta = nullptr;
    Walk(*m_pRoot, [&](const CNode& node) {
        if (!pMeta && node.eKind == CNode::kElement && node.strName == L"meta" &&
            Lower(node.Attribute(L"http-equiv")) == L"refresh")
            pMeta = &node;
        return !pMeta;
    });
    if (!pMeta)
        return false;
    const std::wstring strContent = pMeta->Attribute(L"content");
    size_t i = 0;
    nSeconds = 0;
    while (i < strContent.size() && std::iswdigit(strContent[i]))
        nSeconds = nSeconds * 10 + (strContent[i++] - L'0');
    if (i == 0)
        return false;
    const size_t nUrl = Lower(strContent).find(L"url=", i);
    strUrl.clear();
    if (nUrl != std::wstring::npos) {
        strUrl = strContent.substr(nUrl + 4);
        while (!strUrl.empty() &&
               (strUrl.back() == L' ' || strUrl.back() == L'\'' || strUrl.back() == L'"'))
            strUrl.pop_back();
        while (!strUrl.empty() && (strUrl[0] == L' ' || strUrl[0] == L'\'' || strUrl[0] == L'"'))
            strUrl.erase(0, 1);
    }
    return true;
}

int CHtmlPage::CodePage(const std::string& strCharset) {
    if (strCharset == "utf-8" || strCharset == "utf8")
        return 65001;
    if (strCharset == "euc-kr" || strCharset == "cp949" || strCharset == "ks_c_5601-1987" ||
        strCharset == "windows-949" || strCharset == "x-windows-949" || strCharset == "uhc")
        return 949;
    if (strCharset == "iso-8859-1" || strCharset == "us-ascii" || strCharset == "windows-1252")
        return 1252;
    return 0;
}

std::string CHtmlPage::Charset(const std::string& strText) {
    std::string strLower = strText;
    for (char& c : strLower)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    const size_t nAt = strLower.find("charset=");
    if (nAt == std::string::npos)
        return std::string();
    size_t i = nAt + 8;
    while (i < strLower.size() && (strLower[i] == '"' || strLower[i] == '\''))
        ++i;
    std::string strName;
    while (i < strLower.size() && (std::isalnum(static_cast<unsigned char>(strLower[i])) ||
                                   strLower[i] == '-' || strLower[i] == '_'))
        strName += strLower[i++];
    return strName;
}
