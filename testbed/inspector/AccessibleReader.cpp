#include "testbed/inspector/AccessibleReader.h"

#include <oleacc.h>

#include <string>

namespace {

std::string Utf8(BSTR bstr) {
    const int nChars = static_cast<int>(SysStringLen(bstr));
    const int n = WideCharToMultiByte(CP_UTF8, 0, bstr, nChars, nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, bstr, nChars, &out[0], n, nullptr, nullptr);
    return out;
}

// One text property: the string when the object gives one, JSON null when not.
template <typename TGet> void WriteText(CJsonWriter& json, const char* key, TGet get) {
    BSTR bstr = nullptr;
    const HRESULT hr = get(&bstr);
    if (hr == S_OK && bstr != nullptr)
        json.String(key, Utf8(bstr));
    else
        json.Null(key);
    SysFreeString(bstr);
}

long ReadLong(IAccessible* pAcc, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*)) {
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT value;
    VariantInit(&value);
    const HRESULT hr = (pAcc->*get)(self, &value);
    const long result = hr == S_OK && value.vt == VT_I4 ? value.lVal : -1;
    VariantClear(&value);
    return result;
}

} // namespace

void CAccessibleReader::Write(CJsonWriter& json, HWND hWnd) {
    IAccessible* pAcc = nullptr;
    // __uuidof: oleacc's import library exports IID_IAccessible as a function.
    if (FAILED(AccessibleObjectFromWindow(hWnd, static_cast<DWORD>(OBJID_CLIENT),
                                          __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&pAcc))) ||
        pAcc == nullptr) {
        json.Null("acc");
        return;
    }
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    json.BeginObject("acc");
    json.Int("role", ReadLong(pAcc, &IAccessible::get_accRole));
    WriteText(json, "name", [&](BSTR* p) { return pAcc->get_accName(self, p); });
    WriteText(json, "description", [&](BSTR* p) { return pAcc->get_accDescription(self, p); });
    WriteText(json, "value", [&](BSTR* p) { return pAcc->get_accValue(self, p); });
    WriteText(json, "action", [&](BSTR* p) { return pAcc->get_accDefaultAction(self, p); });
    json.Int("state", ReadLong(pAcc, &IAccessible::get_accState));
    json.EndObject();
    pAcc->Release();
}
