#include "html/HtmlTreeBuilder.h"

#include "html/HtmlCondition.h"
#include "html/HtmlText.h"
#include "html/HtmlTokenizer.h"

#include <algorithm>

using namespace HtmlText;

CHtmlTreeBuilder::CHtmlTreeBuilder(int nMode) : m_nMode(nMode) {
    m_pRoot.reset(new CHtmlNode(CHtmlNode::kElement, L"html"));
    m_pHead =
        m_pRoot->Append(std::unique_ptr<CHtmlNode>(new CHtmlNode(CHtmlNode::kElement, L"head")));
    m_vecStack = {m_pRoot.get(), m_pHead};
}

void CHtmlTreeBuilder::Feed(const std::vector<CHtmlToken>& vecTokens) {
    for (const CHtmlToken& token : vecTokens)
        Handle(token);
}

void CHtmlTreeBuilder::Finish() {
    // D test_defaults: even "<html></html>" has a body.
    if (!m_pBody)
        OpenBody(nullptr);
}

void CHtmlTreeBuilder::Handle(const CHtmlToken& token) {
    if (m_bSkipping) {
        // Inside a downlevel-revealed block whose condition failed.
        if (token.eKind == CHtmlToken::kDownlevel && Lower(token.strText).find(L"endif") == 1)
            m_bSkipping = false;
        return;
    }
    switch (token.eKind) {
    case CHtmlToken::kDoctype:
        return;
    case CHtmlToken::kDownlevel:
        // <![if cond]> ... <![endif]>: the markers vanish; a false condition hides its content.
        if (Conditionals() && Lower(token.strText).compare(0, 4, L"[if ") == 0)
            m_bSkipping = !Condition(token.strText.substr(4));
        return;
    case CHtmlToken::kComment:
        OnComment(token);
        return;
    case CHtmlToken::kText:
        OnText(token);
        return;
    case CHtmlToken::kStart:
        OnStart(token);
        return;
    case CHtmlToken::kEnd:
        OnEnd(token);
        return;
    }
}

bool CHtmlTreeBuilder::Condition(const std::wstring& strText) {
    const size_t nClose = strText.find(L']');
    return CHtmlCondition(strText.substr(0, nClose), m_nMode).Evaluate();
}

// D conditional comments: <!--[if cond]>markup<![endif]--> is parsed as
// markup when cond holds in the document mode (modes up to 9), else kept
// as a comment, as plain comments are ("<!--testing-->").
void CHtmlTreeBuilder::OnComment(const CHtmlToken& token) {
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
            std::vector<CHtmlToken> vecInner;
            CHtmlTokenizer::Tokenize(strInner, vecInner);
            Feed(vecInner);
            return;
        }
    }
    if (Conditionals() && strText == L"<![endif]")
        return;
    if (!m_bContent && !m_bHtmlTag)
        return; // before the document element
    std::unique_ptr<CHtmlNode> pNode(new CHtmlNode(CHtmlNode::kComment));
    pNode->strText = strText;
    Top()->Append(std::move(pNode));
}

void CHtmlTreeBuilder::OnText(const CHtmlToken& token) {
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
    CHtmlNode* pTop = Top();
    if (!pTop->vecChildren.empty() && pTop->vecChildren.back()->eKind == CHtmlNode::kText) {
        pTop->vecChildren.back()->strText += strText;
        return;
    }
    std::unique_ptr<CHtmlNode> pNode(new CHtmlNode(CHtmlNode::kText));
    pNode->strText = strText;
    pTop->Append(std::move(pNode));
}

void CHtmlTreeBuilder::OnStart(const CHtmlToken& token) {
    const std::wstring& strName = token.strName;
    m_bContent = true;
    if (strName == L"html") {
        if (!m_bHtmlTag && m_pRoot->vecAttrs.empty()) {
            m_pRoot->vecAttrs = token.vecAttrs;
            m_pRoot->vecHasValue = token.vecHasValue;
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
            m_bFrameset = true;
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
        m_vecStack.push_back(Top()->Append(
            std::unique_ptr<CHtmlNode>(new CHtmlNode(CHtmlNode::kElement, L"tbody"))));
    }
    Push(token);
}

void CHtmlTreeBuilder::OnEnd(const CHtmlToken& token) {
    const std::wstring& strName = token.strName;
    if (strName == L"body" || strName == L"html") {
        if (m_pBody && !m_bFramesetOpen) {
            m_vecStack.resize(1);
            m_vecStack.push_back(const_cast<CHtmlNode*>(m_pBody));
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
void CHtmlTreeBuilder::CloseImplied(const std::wstring& strName) {
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

void CHtmlTreeBuilder::PopTo(std::initializer_list<const wchar_t*> names,
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

void CHtmlTreeBuilder::OpenBody(const CHtmlToken* pToken) {
    std::unique_ptr<CHtmlNode> pBody(new CHtmlNode(CHtmlNode::kElement, L"body"));
    if (pToken) {
        pBody->vecAttrs = pToken->vecAttrs;
        pBody->vecHasValue = pToken->vecHasValue;
    }
    m_vecStack.resize(1);
    m_pBody = m_pRoot->Append(std::move(pBody));
    m_vecStack.push_back(const_cast<CHtmlNode*>(m_pBody));
}

void CHtmlTreeBuilder::Push(const CHtmlToken& token) {
    std::unique_ptr<CHtmlNode> pNode(new CHtmlNode(CHtmlNode::kElement, token.strName));
    pNode->vecAttrs = token.vecAttrs;
    pNode->vecHasValue = token.vecHasValue;
    CHtmlNode* pAdded = Top()->Append(std::move(pNode));
    // Nesting beyond any real page's stays flat, so that writing it out stays shallow.
    if (!IsVoid(token.strName) && m_vecStack.size() < kMaxDepth)
        m_vecStack.push_back(pAdded);
}
