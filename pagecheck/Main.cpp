// pagecheck: what the wizard would do with a page of the wizard server.
//   pagecheck --address URL [--charset NAME] [--compatible VALUE] [--status N]
//             [--headers HEADERS] [FILE]
// Reads the page from FILE, or standard input without one. Exit status: 0 the
// payment test would succeed on it (or the page ends no payment test), 1 it
// would fail, 2 unusable input.
#include "pagecheck/PageCheck.h"

#include "html/HtmlCharset.h"
#include "pagecheck/ResponseHeaders.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace {

int Usage(const char* pszWhy) {
    std::cerr << "pagecheck: " << pszWhy << "\n"
              << "usage: pagecheck --address URL [--charset NAME] [--compatible VALUE] "
                 "[--status N] [--headers HEADERS] [FILE]\n"
              << "  URL: the address the page is served at; FILE: the page (default: standard "
                 "input)\n"
              << "  NAME: the charset of the server's Content-Type header, if it names one\n"
              << "  VALUE: the server's X-UA-Compatible header, if it sends one\n"
              << "  N: the answer's HTTP status (default: that of HEADERS, else 200)\n"
              << "  HEADERS: a file of the answer's raw header lines (curl -D); its status,\n"
              << "    charset and X-UA-Compatible count unless given above\n";
    return CPageCheck::CHECK_UNUSABLE;
}

} // namespace

int main(int argc, char** argv) {
    std::string strAddress, strCharset, strCompatible, strFile, strStatus, strHeadersFile;
    bool bAddress = false;
    for (int i = 1; i < argc; ++i) {
        const char* pszArg = argv[i];
        std::string* pValue = nullptr;
        if (std::strcmp(pszArg, "--address") == 0)
            pValue = &strAddress, bAddress = true;
        else if (std::strcmp(pszArg, "--charset") == 0)
            pValue = &strCharset;
        else if (std::strcmp(pszArg, "--compatible") == 0)
            pValue = &strCompatible;
        else if (std::strcmp(pszArg, "--status") == 0)
            pValue = &strStatus;
        else if (std::strcmp(pszArg, "--headers") == 0)
            pValue = &strHeadersFile;
        else if (pszArg[0] == '-' && pszArg[1] != '\0')
            return Usage((std::string("unknown option ") + pszArg).c_str());
        else if (!strFile.empty())
            return Usage("one page at a time");
        else
            strFile = pszArg;
        if (pValue) {
            if (++i == argc)
                return Usage((std::string(pszArg) + " needs a value").c_str());
            *pValue = argv[i];
        }
    }
    if (!bAddress)
        return Usage("--address is required: the markers are read from it");

    std::ostringstream page;
    if (strFile.empty() || strFile == "-") {
        page << std::cin.rdbuf();
    } else {
        std::ifstream file(strFile, std::ios::binary);
        if (!file)
            return Usage(("cannot read " + strFile).c_str());
        page << file.rdbuf();
    }
    unsigned long nStatus = 0;
    if (!strStatus.empty()) {
        char* pszEnd = nullptr;
        nStatus = std::strtoul(strStatus.c_str(), &pszEnd, 10);
        if (*pszEnd != '\0' || nStatus < 100 || nStatus > 599)
            return Usage(("--status " + strStatus + " is no HTTP status").c_str());
    }
    std::string strHeaders;
    if (!strHeadersFile.empty()) {
        std::ifstream file(strHeadersFile, std::ios::binary);
        if (!file)
            return Usage(("cannot read " + strHeadersFile).c_str());
        std::ostringstream text;
        text << file.rdbuf();
        strHeaders = text.str();
        const CResponseHeaders headers(strHeaders);
        if (strStatus.empty())
            nStatus = headers.Status();
        if (strCharset.empty())
            strCharset = CHtmlCharset::Charset(headers.Value("Content-Type"));
        if (strCompatible.empty())
            strCompatible = headers.Value("X-UA-Compatible");
    }
    CPageCheck check(page.str(), strAddress, strCharset, strCompatible);
    check.SetAnswer(nStatus, strHeadersFile.empty() ? nullptr : &strHeaders);
    const int nExit = check.Check();
    for (const std::string& strLine : check.Report())
        std::cout << strLine << "\n";
    for (const std::string& strLine : check.Warnings())
        std::cout << "warning: " << strLine << "\n";
    if (nExit != CPageCheck::CHECK_UNUSABLE && check.Warnings().empty())
        std::cout << "no rule of the server's contract broken\n";
    return nExit;
}
