#include "tests/win/LoopbackListener.h"

#include <winsock2.h>
#include <windows.h>

CLoopbackListener::CLoopbackListener() {
    WSADATA wsa;
    ::WSAStartup(MAKEWORD(2, 2), &wsa);
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    int len = sizeof(addr);
    if (s != INVALID_SOCKET && ::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0 &&
        ::listen(s, 4) == 0 && ::getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
        m_nPort = ntohs(addr.sin_port);
    m_socket = s;
    m_thread = std::thread([this] { Serve(); });
}

CLoopbackListener::~CLoopbackListener() {
    m_bStop = true;
    m_thread.join();
    ::closesocket(static_cast<SOCKET>(m_socket));
    ::WSACleanup();
}

void CLoopbackListener::Serve() {
    const SOCKET s = static_cast<SOCKET>(m_socket);
    const DWORD dwDeadline = ::GetTickCount() + 30000;
    while (!m_bStop && !m_bDone && ::GetTickCount() < dwDeadline) {
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(s, &fds);
        timeval tv = {0, 100000};
        if (::select(0, &fds, nullptr, nullptr, &tv) != 1)
            continue;
        SOCKET c = ::accept(s, nullptr, nullptr);
        if (c == INVALID_SOCKET)
            continue;
        std::string request;
        char buf[1024];
        int n;
        while (request.find("\r\n\r\n") == std::string::npos &&
               (n = ::recv(c, buf, sizeof(buf), 0)) > 0)
            request.append(buf, static_cast<size_t>(n));
        const char kReply[] = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: 27\r\n"
                              "Connection: close\r\n\r\n<html><body>x</body></html>";
        ::send(c, kReply, sizeof(kReply) - 1, 0);
        ::shutdown(c, SD_SEND);
        ::closesocket(c);
        m_strLine = request.substr(0, request.find("\r\n"));
        m_bDone = true;
    }
}

bool PumpUntil(const std::function<bool()>& done, unsigned nTimeoutMs) {
    const DWORD dwDeadline = ::GetTickCount() + nTimeoutMs;
    while (!done() && static_cast<LONG>(dwDeadline - ::GetTickCount()) > 0) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return done();
}
