#include "testbed/standin/FeatureControls.h"

#include "testbed/standin/CallLog.h"

#include <windows.h>

#include <urlmon.h>

#include <string>

namespace {

struct CFeature {
    INTERNETFEATURELIST nFeature;
    const char* pszName;
};

// Those a host sets for itself to lock the control down, and those it leaves
// off so that an install or a pop-up is not blocked silently.
const CFeature kFeatures[] = {
    {FEATURE_OBJECT_CACHING, "OBJECT_CACHING"},
    {FEATURE_ZONE_ELEVATION, "ZONE_ELEVATION"},
    {FEATURE_MIME_HANDLING, "MIME_HANDLING"},
    {FEATURE_MIME_SNIFFING, "MIME_SNIFFING"},
    {FEATURE_WINDOW_RESTRICTIONS, "WINDOW_RESTRICTIONS"},
    {FEATURE_WEBOC_POPUPMANAGEMENT, "WEBOC_POPUPMANAGEMENT"},
    {FEATURE_DISABLE_MK_PROTOCOL, "DISABLE_MK_PROTOCOL"},
    {FEATURE_LOCALMACHINE_LOCKDOWN, "LOCALMACHINE_LOCKDOWN"},
    {FEATURE_SECURITYBAND, "SECURITYBAND"},
    {FEATURE_RESTRICT_ACTIVEXINSTALL, "RESTRICT_ACTIVEXINSTALL"},
    {FEATURE_VALIDATE_NAVIGATE_URL, "VALIDATE_NAVIGATE_URL"},
    {FEATURE_RESTRICT_FILEDOWNLOAD, "RESTRICT_FILEDOWNLOAD"},
    {FEATURE_PROTOCOL_LOCKDOWN, "PROTOCOL_LOCKDOWN"},
    {FEATURE_HTTP_USERNAME_PASSWORD_DISABLE, "HTTP_USERNAME_PASSWORD_DISABLE"},
    {FEATURE_SAFE_BINDTOOBJECT, "SAFE_BINDTOOBJECT"},
    {FEATURE_UNC_SAVEDFILECHECK, "UNC_SAVEDFILECHECK"},
    {FEATURE_DISABLE_TELNET_PROTOCOL, "DISABLE_TELNET_PROTOCOL"},
};

} // namespace

// S_OK: on; S_FALSE: off; anything else (a feature this urlmon does not
// know) is listed apart.
void CFeatureControls::Log(const char* pszOwner, long nOwnerId) {
    std::string strOn, strOff, strUnknown;
    for (const CFeature& feature : kFeatures) {
        const HRESULT hr = CoInternetIsFeatureEnabled(feature.nFeature, GET_FEATURE_FROM_PROCESS);
        std::string& strList = hr == S_OK ? strOn : hr == S_FALSE ? strOff : strUnknown;
        strList += std::string(" ") + feature.pszName;
    }
    CCallLog::Write("%s#%ld features on:%s; off:%s; unknown:%s", pszOwner, nOwnerId,
                    strOn.empty() ? " none" : strOn.c_str(),
                    strOff.empty() ? " none" : strOff.c_str(),
                    strUnknown.empty() ? " none" : strUnknown.c_str());
}
