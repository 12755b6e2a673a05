// Splits a served page into tokens: text (references decoded, script and
// style text raw), start and end tags with their attributes, comments,
// downlevel-revealed markers and the doctype.
#pragma once
#include "html/HtmlToken.h"

#include <string>
#include <vector>

class CHtmlTokenizer {
public:
    // Appends the tokens of str to vecTokens.
    static void Tokenize(const std::wstring& str, std::vector<CHtmlToken>& vecTokens);
};
