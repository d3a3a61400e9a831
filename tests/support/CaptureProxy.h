#pragma once

#include <arpa/inet.h>
#include <atomic>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace vextel_test {

// A loopback relay between a client and a server on 127.0.0.1 that keeps every byte the client
// sent, so a test can look at what actually went over the wire. One connection at a time.
class CaptureProxy {
public:
    explicit CaptureProxy(int targetPort) : targetPort_(targetPort) {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = loopback(0);
        socklen_t length = sizeof address;
        if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            listen(listener_, 16) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { run(); });
    }
    ~CaptureProxy() {
        stopping_ = true;
        if (thread_.joinable())
            thread_.join();
        if (listener_ >= 0)
            close(listener_);
    }
    CaptureProxy(const CaptureProxy&) = delete;
    CaptureProxy& operator=(const CaptureProxy&) = delete;

    int port() const { return port_; }
    std::string sent() const {
        std::lock_guard lock(mutex_);
        return sent_;
    }

private:
    static sockaddr_in loopback(int port) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<uint16_t>(port));
        return address;
    }

    void run() {
        while (!stopping_) {
            pollfd waiting{listener_, POLLIN, 0};
            if (poll(&waiting, 1, 50) <= 0)
                continue;
            const int client = accept(listener_, nullptr, nullptr);
            if (client < 0)
                continue;
            const int server = socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in target = loopback(targetPort_);
            if (server >= 0 &&
                connect(server, reinterpret_cast<sockaddr*>(&target), sizeof target) == 0)
                relay(client, server);
            close(client);
            if (server >= 0)
                close(server);
        }
    }

    void relay(int client, int server) {
        char buffer[65536];
        while (!stopping_) {
            pollfd ends[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
            if (poll(ends, 2, 50) <= 0)
                continue;
            for (int i = 0; i < 2; ++i) {
                if (!(ends[i].revents & (POLLIN | POLLHUP | POLLERR)))
                    continue;
                const ssize_t count = read(ends[i].fd, buffer, sizeof buffer);
                if (count <= 0)
                    return;
                if (i == 0) {
                    std::lock_guard lock(mutex_);
                    sent_.append(buffer, static_cast<std::size_t>(count));
                }
                if (write(ends[1 - i].fd, buffer, static_cast<std::size_t>(count)) != count)
                    return;
            }
        }
    }

    const int targetPort_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_ = false;
    mutable std::mutex mutex_;
    std::string sent_;
    std::thread thread_;
};

} // namespace vextel_test
