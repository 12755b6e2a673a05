// One token of a served page, as the tokenizer reads it.
#pragma once
#include <string>
#include <utility>
#include <vector>

struct CHtmlToken {
    enum EKind { kText, kStart, kEnd, kComment, kDownlevel, kDoctype };
    EKind eKind;
    std::wstring strName;                                        // lower-case tag name
    std::vector<std::pair<std::wstring, std::wstring>> vecAttrs; // values decoded
    std::vector<bool> vecHasValue;
    std::wstring strText; // text (decoded unless raw), comment or condition
    bool bRaw = false;    // script or style text: no references
};
