// The process's Internet feature controls as the control reads them when it
// is created (CoInternetIsFeatureEnabled, GET_FEATURE_FROM_PROCESS), logged
// one line for all: "features on: A B …; off: C …".
#pragma once

class CFeatureControls {
public:
    static void Log(const char* pszOwner, long nOwnerId);
};
