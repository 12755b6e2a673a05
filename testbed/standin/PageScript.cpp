#include "testbed/standin/PageScript.h"

#include <regex>

namespace {

const std::wregex kScript(L"<script[^>]*>([\\s\\S]*?)</script\\s*>", std::regex::icase);
const std::wregex kBody(L"<body\\b[^>]*>", std::regex::icase);
const std::wregex kOnload(L"\\sonload\\s*=\\s*(\"([^\"]*)\"|'([^']*)')", std::regex::icase);
const std::wregex kOpen(L"window\\.open\\s*\\(\\s*(['\"])([^'\"]*)\\1"
                        L"(\\s*,\\s*(['\"])[^'\"]*\\4(\\s*,\\s*(['\"])([^'\"]*)\\6)?)?\\s*\\)");
const std::wregex kClose(L"window\\.close\\s*\\(\\s*\\)");
const std::wregex kOpener(L"window\\.opener\\.location(\\.href)?\\s*=\\s*(['\"])([^'\"]*)\\2");
const std::wregex kThrow(L"throw\\b[\\s\\S]*");

std::wstring Trim(const std::wstring& str) {
    const size_t nFirst = str.find_first_not_of(L" \t\r\n");
    if (nFirst == std::wstring::npos)
        return L"";
    return str.substr(nFirst, str.find_last_not_of(L" \t\r\n") - nFirst + 1);
}

} // namespace

std::vector<CPageScript::CStatement> CPageScript::Parse(const std::wstring& strHtml) {
    std::vector<CStatement> vecOut;
    for (std::wsregex_iterator it(strHtml.begin(), strHtml.end(), kScript), end; it != end; ++it)
        AddStatements((*it)[1].str(), vecOut);
    std::wsmatch body, onload;
    if (std::regex_search(strHtml, body, kBody)) {
        const std::wstring strTag = body[0].str();
        if (std::regex_search(strTag, onload, kOnload))
            AddStatements(onload[2].matched ? onload[2].str() : onload[3].str(), vecOut);
    }
    return vecOut;
}

// Statements end at ';' or a line break; HTML comment fences are skipped.
void CPageScript::AddStatements(const std::wstring& strScript, std::vector<CStatement>& vecOut) {
    size_t nStart = 0;
    while (nStart <= strScript.size()) {
        const size_t nEnd = strScript.find_first_of(L";\n", nStart);
        const std::wstring strStatement =
            Trim(strScript.substr(nStart, nEnd == std::wstring::npos ? nEnd : nEnd - nStart));
        if (!strStatement.empty() && strStatement.compare(0, 4, L"<!--") != 0 &&
            strStatement.compare(0, 2, L"//") != 0)
            vecOut.push_back(Classify(strStatement));
        if (nEnd == std::wstring::npos)
            break;
        nStart = nEnd + 1;
    }
}

CPageScript::CStatement CPageScript::Classify(const std::wstring& strStatement) {
    std::wsmatch match;
    if (std::regex_match(strStatement, match, kOpen))
        return {OPEN, match[2].str(), match[7].str()};
    if (std::regex_match(strStatement, kClose))
        return {CLOSE, strStatement, L""};
    if (std::regex_match(strStatement, match, kOpener))
        return {OPENER_LOCATION, match[3].str(), L""};
    if (std::regex_match(strStatement, kThrow))
        return {ERROR_THROWN, strStatement, L""};
    return {NOT_RUN, strStatement, L""};
}
