// Builds the tree the control would hold from a page's tokens: the document
// element always has a HEAD and a BODY (or a FRAMESET); the first content
// that belongs to neither the head nor the root opens the body; conditional
// comments are evaluated against the document mode.
#pragma once
#include "html/HtmlNode.h"
#include "html/HtmlToken.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

class CHtmlTreeBuilder {
public:
    explicit CHtmlTreeBuilder(int nMode);
    void Feed(const std::vector<CHtmlToken>& vecTokens);
    void Finish();

    // After Finish: the root (handed over), its body (or FRAMESET) and
    // whether the page is a frameset page.
    std::unique_ptr<CHtmlNode> TakeRoot() { return std::move(m_pRoot); }
    const CHtmlNode* Body() const { return m_pBody; }
    bool IsFrameset() const { return m_bFrameset; }

private:
    void Handle(const CHtmlToken& token);
    bool Condition(const std::wstring& strText);
    // D conditional comments: <!--[if cond]>markup<![endif]--> is parsed as
    // markup when cond holds in the document mode (modes up to 9), else kept
    // as a comment, as plain comments are ("<!--testing-->").
    void OnComment(const CHtmlToken& token);
    void OnText(const CHtmlToken& token);
    void OnStart(const CHtmlToken& token);
    void OnEnd(const CHtmlToken& token);
    // A new element ends the one it cannot sit in: P before a block, LI,
    // DT/DD, OPTION, TD/TH and TR before their own kind.
    void CloseImplied(const std::wstring& strName);
    void PopTo(std::initializer_list<const wchar_t*> names,
               std::initializer_list<const wchar_t*> stops);
    void OpenBody(const CHtmlToken* pToken);
    void Push(const CHtmlToken& token);

    // Conditional comments count up to mode 9.
    bool Conditionals() const { return m_nMode <= 9; }
    CHtmlNode* Top() const { return m_vecStack.back(); }

    static const size_t kMaxDepth = 256;

    const int m_nMode;
    std::unique_ptr<CHtmlNode> m_pRoot;
    CHtmlNode* m_pHead;
    const CHtmlNode* m_pBody = nullptr;
    std::vector<CHtmlNode*> m_vecStack;
    bool m_bFrameset = false;
    bool m_bHtmlTag = false;
    bool m_bContent = false;
    bool m_bAfterBody = false;
    bool m_bFramesetOpen = false;
    bool m_bSkipping = false;
};
