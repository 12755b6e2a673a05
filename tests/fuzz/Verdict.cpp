// The payment verdict and its text handling on arbitrary code-page-949 bytes.
// Input: a separator length (low two bits of the first byte), the separator,
// then the result text.
#include "tests/fuzz/FuzzCheck.h"
#include "wizard/PaymentVerdict.h"

#include <cstdint>
#include <string>

namespace {

// Each token, the separator and the rest give back the text they came from.
void CheckTokenChain(CString text, const CString& separator) {
    const int steps = text.GetLength() + 1;
    for (int i = 0; i <= steps; ++i) {
        const CString before = text;
        const CString token = TakeToken(text, separator);
        if (separator.IsEmpty()) {
            FUZZ_CHECK(token.IsEmpty() && text == before);
            return;
        }
        if (text == before && token == before)
            return;
        FUZZ_CHECK(token + separator + text == before);
    }
    FUZZ_CHECK(!"token chain without end");
}

// Lower-casing changes only ASCII capitals, keeps the length, and agrees with
// the upper-cased text.
void CheckLower(const CString& text) {
    const CString lower = ToLower(text);
    FUZZ_CHECK(lower.GetLength() == text.GetLength());
    for (int i = 0; i < text.GetLength(); ++i) {
        const char c = text.GetAt(i);
        FUZZ_CHECK(lower.GetAt(i) == c || (c >= 'A' && c <= 'Z' && lower.GetAt(i) == c + 32));
    }
    CString upper = text;
    upper.MakeUpper();
    FUZZ_CHECK(ToLower(lower) == lower && ToLower(upper) == lower);
    FUZZ_CHECK(CompareLower(text, upper) == 0);
}

// Success exactly for a flag "y" or "Y": the text is that letter, then the
// end, a separator or a zero byte (where the compared text ends).
void CheckVerdict(const std::string& text) {
    const CString result(text.data(), static_cast<int>(text.size()));
    const bool yes = !text.empty() && (text[0] == 'y' || text[0] == 'Y') &&
                     (text.size() == 1 || text[1] == '|' || text[1] == '\0');
    FUZZ_CHECK(PaymentVerdict(result) == (yes ? 1 : 0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const size_t sepLength = data[0] & 3;
    if (size < 1 + sepLength)
        return 0;
    const std::string sep(reinterpret_cast<const char*>(data) + 1, sepLength);
    const std::string text(reinterpret_cast<const char*>(data) + 1 + sepLength,
                           size - 1 - sepLength);
    const CString strText(text.data(), static_cast<int>(text.size()));
    CheckTokenChain(strText, CString(sep.c_str()));
    CheckLower(strText);
    CheckVerdict(text);
    return 0;
}
