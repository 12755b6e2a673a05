// Writes a tree back as the control gives outer HTML: in the legacy
// (default) document modes tag names in capitals, a line break before each
// block-level tag and simple attribute values unquoted; in modern modes as parsed.
#pragma once
#include "html/HtmlNode.h"

#include <string>

class CHtmlSerializer {
public:
    // Appends node's outer HTML to strOut.
    static void Write(const CHtmlNode& node, bool bLegacy, std::wstring& strOut);
};
