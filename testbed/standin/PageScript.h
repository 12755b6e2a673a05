// The only script the stand-in runs: the statements of a page's inline
// SCRIPT elements, in document order, then its BODY's onload, of these forms:
//   window.open('address' [, 'name' [, 'features']])   a pop-up
//   window.close()                      the window closes itself
//   window.opener.location='address'    (or .location.href) the opener moves on
//   throw …                             an error the page does not catch
// Any other statement is listed as not run.
#pragma once
#include <string>
#include <vector>

class CPageScript {
public:
    enum EKind { OPEN, CLOSE, OPENER_LOCATION, ERROR_THROWN, NOT_RUN };
    struct CStatement {
        EKind nKind;
        std::wstring strText;     // the address for OPEN and OPENER_LOCATION, else the statement
        std::wstring strFeatures; // OPEN's third argument ("width=400,height=300")
    };

    static std::vector<CStatement> Parse(const std::wstring& strHtml);

private:
    static void AddStatements(const std::wstring& strScript, std::vector<CStatement>& vecOut);
    static CStatement Classify(const std::wstring& strStatement);
};
