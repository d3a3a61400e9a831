#pragma once

#include <QString>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vextel_test {

// A loopback server that takes connections (the kernel completes them from the backlog) but
// never reads or answers: a print server that hangs.
class SilentServer {
public:
    SilentServer() {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (fd_ < 0 || bind(fd_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            listen(fd_, 16) != 0 ||
            getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        port_ = ntohs(address.sin_port);
    }
    ~SilentServer() {
        if (fd_ >= 0)
            close(fd_);
    }
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;

    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(port_); }
    bool isListening() const { return port_ > 0; }

private:
    int fd_ = -1;
    int port_ = 0;
};

} // namespace vextel_test
