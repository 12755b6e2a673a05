// One node of the tree the control holds for a page: an element with its
// attributes and children, a text or a comment.
#pragma once
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct CHtmlNode {
    enum EKind { kElement, kText, kComment };
    explicit CHtmlNode(EKind eKindOf, std::wstring strNameOf = std::wstring())
        : eKind(eKindOf), strName(std::move(strNameOf)) {}
    EKind eKind;
    std::wstring strName;
    std::vector<std::pair<std::wstring, std::wstring>> vecAttrs;
    std::vector<bool> vecHasValue;
    std::wstring strText;
    std::vector<std::unique_ptr<CHtmlNode>> vecChildren;

    CHtmlNode* Append(std::unique_ptr<CHtmlNode> pChild) {
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
    // Calls visit on this node and, while it returns true for a node, on
    // that node's children, in tree order.
    template <typename Visit> void Walk(Visit visit) const {
        if (!visit(*this))
            return;
        for (const auto& pChild : vecChildren)
            pChild->Walk(visit);
    }
};
