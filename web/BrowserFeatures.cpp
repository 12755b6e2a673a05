#include "web/BrowserFeatures.h"

#include "framework/SystemLibrary.h"

const INTERNETFEATURELIST CBrowserFeatures::s_aFeatures[] = {
    FEATURE_ZONE_ELEVATION,
    FEATURE_MIME_SNIFFING,
    FEATURE_MIME_HANDLING,
    FEATURE_OBJECT_CACHING,
    FEATURE_SAFE_BINDTOOBJECT,
    FEATURE_WINDOW_RESTRICTIONS,
    FEATURE_HTTP_USERNAME_PASSWORD_DISABLE,
    FEATURE_VALIDATE_NAVIGATE_URL,
    FEATURE_UNC_SAVEDFILECHECK,
    FEATURE_DISABLE_MK_PROTOCOL,
    FEATURE_DISABLE_TELNET_PROTOCOL,
};
const int CBrowserFeatures::s_nFeatures = sizeof(s_aFeatures) / sizeof(s_aFeatures[0]);

int CBrowserFeatures::EnableForProcess() {
    typedef HRESULT(WINAPI * PFNSETFEATUREENABLED)(INTERNETFEATURELIST, DWORD, BOOL);
    // Kept for the life of the process: the settings live in URLMON.
    static HMODULE s_hUrlmon = AfxLoadSystemLibrary("urlmon.dll");
    PFNSETFEATUREENABLED pfnSet =
        s_hUrlmon ? ModuleFunction<PFNSETFEATUREENABLED>(s_hUrlmon, "CoInternetSetFeatureEnabled")
                  : nullptr;
    if (pfnSet == nullptr)
        return 0;
    int nSet = 0;
    for (int i = 0; i < s_nFeatures; ++i) {
        if (SUCCEEDED(pfnSet(s_aFeatures[i], SET_FEATURE_ON_PROCESS, TRUE)))
            ++nSet;
    }
    return nSet;
}
