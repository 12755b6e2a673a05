// The browser's process-wide feature controls that a host turns on for
// itself (Internet Explorer turns them on for its own process only). Set
// once at start-up, after OLE is initialised and before any browser control
// exists; nothing is written to the registry.
#pragma once

#include "framework/WinTypes.h"

#include <urlmon.h>

class CBrowserFeatures {
public:
    // Zone elevation, MIME sniffing and handling, object caching, safe
    // bind-to-object, window restrictions, no user name and password in
    // http addresses, validated navigation addresses, the saved-file check
    // of UNC paths, and no mk: and telnet: protocols.
    static const INTERNETFEATURELIST s_aFeatures[];
    static const int s_nFeatures;

    // Turns each feature on for the process through URLMON loaded from the
    // system folder, which stays loaded. A feature the system lacks is
    // skipped. Returns how many were set.
    static int EnableForProcess();
};
