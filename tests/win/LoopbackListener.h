// A one-connection HTTP listener on 127.0.0.1 (ephemeral port) for the Wine
// tests: it records the first request line it receives and answers with a
// small page. Gives up after a bounded time.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>

class CLoopbackListener {
public:
    CLoopbackListener();
    ~CLoopbackListener();

    int Port() const { return m_nPort; }
    bool HasRequest() const { return m_bDone.load(); }
    // The request line ("GET /path HTTP/1.1"), empty when none arrived.
    std::string RequestLine() const { return m_bDone.load() ? m_strLine : std::string(); }

private:
    void Serve();

    unsigned long long m_socket;
    int m_nPort = 0;
    std::atomic<bool> m_bDone{false};
    std::atomic<bool> m_bStop{false};
    std::string m_strLine;
    std::thread m_thread;
};

// Dispatches this thread's messages until done() or the deadline (ms) passes.
// Returns done()'s last value.
bool PumpUntil(const std::function<bool()>& done, unsigned nTimeoutMs);
