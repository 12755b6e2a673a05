// Page completion with arbitrary addresses and outer HTML: the end-marker
// test, the body extraction, and what the dialog does with them. Input: the
// address, a zero byte, then the page. Pages of 1 MiB, which mutation alone
// reaches only slowly, are checked once at start.
#include "tests/fuzz/FuzzCheck.h"
#include "web/PageCompletion.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace {

const size_t kLargePage = 1 << 20;

// A page dialog whose document is the fuzzed page.
class CPageRecorder : public IPageHost {
public:
    explicit CPageRecorder(const CString& html) : m_strHtml(html) {}
    BOOL ReadDocumentHtml(CString& html) override {
        html = m_strHtml;
        return TRUE;
    }
    void TurnScrollOff() override { ++m_nScrollOff; }
    void MoveBrowser(int, int, int, int) override { ++m_nMoves; }
    void KillTimer(UINT) override {}
    void DefaultProcessing() override {}
    void EndDialog(int) override { ++m_nEnds; }

    CString m_strHtml;
    int m_nScrollOff = 0, m_nMoves = 0, m_nEnds = 0;
};

bool HasAfterFirst(const std::string& address, const char* marker) {
    return address.size() > 1 && address.find(marker, 1) != std::string::npos;
}

void CheckCompletion(const CPageCompletion& completion, const std::string& address,
                     const CString& html) {
    CPageRecorder host(html);
    CString strResult("before");
    completion.OnDocumentComplete(host, address.c_str(), strResult);
    if (completion.HasEndMarker(address.c_str())) {
        FUZZ_CHECK(host.m_nEnds == 1 && host.m_nScrollOff == 0 && host.m_nMoves == 0);
        FUZZ_CHECK(strResult == CPageCompletion::BodyText(html));
    } else {
        FUZZ_CHECK(host.m_nEnds == 0 && host.m_nScrollOff == 1 && host.m_nMoves == 1);
        FUZZ_CHECK(strResult == "before");
    }
}

// The body text is a piece of the page between the two tags, or empty.
void CheckBody(const std::string& page, const CString& html) {
    const CString strBody = CPageCompletion::BodyText(html);
    if (page.find("<BODY>") == std::string::npos || page.find("</BODY>") == std::string::npos)
        FUZZ_CHECK(strBody.IsEmpty());
    const std::string body(strBody.GetString(), static_cast<size_t>(strBody.GetLength()));
    FUZZ_CHECK(body.empty() ||
               (body.size() + 13 <= page.size() && page.find(body) != std::string::npos));
}

void CheckPage(const std::string& address, const std::string& page) {
    const CString html(page.data(), static_cast<int>(page.size()));
    const bool setupEnds = CPageCompletion::SetupPage().HasEndMarker(address.c_str());
    const bool payTestEnds = CPageCompletion::PayTest().HasEndMarker(address.c_str());
    FUZZ_CHECK(!setupEnds || (payTestEnds && HasAfterFirst(address, "wizard_install")));
    FUZZ_CHECK(!payTestEnds || setupEnds || HasAfterFirst(address, "wizard_result"));
    CheckCompletion(CPageCompletion::SetupPage(), address, html);
    CheckCompletion(CPageCompletion::PayTest(), address, html);
    CheckBody(page, html);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    for (const char* piece : {"<BODY>", "\xB0<BODY>x</BODY>", "no tags "}) {
        std::string page;
        while (page.size() < kLargePage)
            page += piece;
        CheckPage("http://127.0.0.1/wizard_result", page);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    const size_t addressLength = strnlen(text, size);
    std::string page;
    if (addressLength < size)
        page.assign(text + addressLength + 1, size - addressLength - 1);
    CheckPage(std::string(text, addressLength), page);
    return 0;
}
