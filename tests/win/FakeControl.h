// A minimal in-process ActiveX control for the containment tests, registered
// for this process only (CoRegisterClassObject). It refuses every persisted
// state, swallows every key it is offered but Enter, which it hands back
// through its site, and logs what the container does. It can be told to fail
// one step of its creation or to keep its site until its own final release.
#pragma once

#include <ocidl.h>
#include <ole2.h>

#include <string>
#include <vector>

// {5E1F7C21-8C3B-4E0A-9A44-6D2B0C8F1A07}
extern const CLSID CLSID_QelFakeControl;

enum class EFakeFailure { None, Class, InitNew, NoWindow };

struct SFakeControlLog {
    std::vector<std::string> calls;
    std::vector<unsigned char> loaded; // bytes the control was offered to load
    // Set before the dialog runs: the step that fails, from which instance on
    // (0: the first), and whether the control holds its site and the site's
    // container until its own final release.
    EFakeFailure failure = EFakeFailure::None;
    int nFailFrom = 0;
    bool bKeepSite = false;
    int nCreated = 0;
};
SFakeControlLog& FakeControlLog();

// Registers the class while the object lives.
class CFakeControlRegistration {
public:
    CFakeControlRegistration();
    ~CFakeControlRegistration();

private:
    DWORD m_dwCookie = 0;
};
