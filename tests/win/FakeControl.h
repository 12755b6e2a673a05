// A minimal in-process ActiveX control for the containment tests, registered
// for this process only (CoRegisterClassObject). It refuses every persisted
// state, swallows every key it is offered and logs what the container does.
#pragma once

#include <ocidl.h>
#include <ole2.h>

#include <string>
#include <vector>

// {5E1F7C21-8C3B-4E0A-9A44-6D2B0C8F1A07}
extern const CLSID CLSID_QelFakeControl;

struct SFakeControlLog {
    std::vector<std::string> calls;
    std::vector<unsigned char> loaded; // bytes the control was offered to load
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
