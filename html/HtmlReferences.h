// Character references in page text and attribute values.
#pragma once
#include <string>

class CHtmlReferences {
public:
    // &name; and &#n; / &#xh; decoded; anything else stays as written.
    static std::wstring Decode(const std::wstring& str);
};
