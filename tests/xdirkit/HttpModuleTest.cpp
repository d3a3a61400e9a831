#include "HttpModule.h"

#include <arpa/inet.h>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sstream>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using xdirkit::HttpAnswer;
using xdirkit::HttpModule;
using xdirkit::HttpRequest;
using Failure = HttpAnswer::Failure;
using namespace std::chrono_literals;

namespace {

// A loopback port nobody listens on: taken from the system, then given back.
int closedLoopbackPort() {
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (probe < 0 || bind(probe, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    close(probe);
    return ntohs(address.sin_port);
}

bool mapsTheHttpLibrary() {
    std::ifstream maps("/proc/self/maps");
    std::ostringstream text;
    text << maps.rdbuf();
    return text.str().find("libcurl") != std::string::npos;
}

// A loopback socket that listens; with answer given, one connection is served that text in
// answer to whatever it asks.
class RawPrinter {
public:
    explicit RawPrinter(std::string answer = {}) {
        fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (fd_ < 0 || bind(fd_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            listen(fd_, 4) != 0 ||
            getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        port_ = ntohs(address.sin_port);
        if (!answer.empty())
            server_ = std::thread([this, answer = std::move(answer)] { serveOnce(answer); });
    }
    ~RawPrinter() {
        if (server_.joinable())
            server_.join();
        if (fd_ >= 0)
            close(fd_);
    }
    int port() const { return port_; }
    // A connection waits to be accepted (for a socket that never serves).
    bool wasCalled() {
        pollfd waiting{fd_, POLLIN, 0};
        if (poll(&waiting, 1, 0) != 1)
            return false;
        const int connection = accept(fd_, nullptr, nullptr);
        if (connection < 0)
            return false;
        close(connection);
        return true;
    }

private:
    void serveOnce(const std::string& answer) {
        const int connection = accept(fd_, nullptr, nullptr);
        if (connection < 0)
            return;
        std::string request;
        char buffer[4096];
        ssize_t got = 0;
        while (request.find("\r\n\r\n") == std::string::npos &&
               (got = read(connection, buffer, sizeof buffer)) > 0)
            request.append(buffer, static_cast<std::size_t>(got));
        // The client may hang up early; what it did not read is its own business.
        (void)!send(connection, answer.data(), answer.size(), MSG_NOSIGNAL);
        shutdown(connection, SHUT_WR);
        while (read(connection, buffer, sizeof buffer) > 0) {
        }
        close(connection);
    }

    int fd_ = -1;
    int port_ = 0;
    std::thread server_;
};

HttpRequest requestTo(int port) {
    HttpRequest request;
    request.host = "127.0.0.1";
    request.port = port;
    request.method = "GET";
    request.path = "/vextel/v1/status";
    request.headers = {{"Host", "127.0.0.1"}, {"Accept", "application/json"}};
    request.connectTimeout = std::chrono::microseconds(2s);
    request.maximumBody = 1024;
    request.maximumHeaderLines = 100;
    request.maximumHeaderBytes = 64 * 1024;
    request.deadline = std::chrono::steady_clock::now() + 5s;
    return request;
}

std::string headerLines(int count) {
    std::string lines;
    for (int i = 0; i < count; ++i)
        lines += "X-Line-" + std::to_string(i) + ": x\r\n";
    return lines;
}

} // namespace

TEST(HttpModule, RefusesAMissingOrForeignModuleWithTheReason) {
    const struct {
        std::string path;
        std::string reason;
    } rows[] = {
        {"/nonexistent/libxdirkit_http.so", "cannot load the HTTP module"},
        {"libc.so.6", "has no xdirkit_http_exchange"},
    };
    for (const auto& row : rows) {
        std::string reason;
        EXPECT_EQ(HttpModule::load(row.path, &reason), nullptr) << row.path;
        EXPECT_NE(reason.find(row.reason), std::string::npos) << row.path << ": " << reason;
    }
}

// The HTTP library comes into the process with the first exchange, not with the address-book
// library; the exchange is then bounded as the device client asks.
TEST(HttpModule, LoadsTheHttpLibraryOnlyWhenAskedAndAnswersWithinTheDeadline) {
    EXPECT_FALSE(mapsTheHttpLibrary());
    std::string reason;
    const auto exchange = HttpModule::exchange(&reason);
    ASSERT_NE(exchange, nullptr) << reason;
    EXPECT_TRUE(mapsTheHttpLibrary());
    EXPECT_EQ(HttpModule::exchange(&reason), exchange);

    HttpRequest request;
    request.host = "127.0.0.1";
    request.port = closedLoopbackPort();
    ASSERT_NE(request.port, 0);
    request.method = "GET";
    request.path = "/vextel/v1/status";
    request.connectTimeout = std::chrono::microseconds(2s);
    request.maximumBody = 1024;
    request.deadline = std::chrono::steady_clock::now() + 5s;
    HttpAnswer answer;
    exchange(request, answer);
    EXPECT_EQ(answer.failure, Failure::Unreachable);
    EXPECT_FALSE(answer.reason.empty());

    request.deadline = std::chrono::steady_clock::now() - 1ms;
    exchange(request, answer);
    EXPECT_EQ(answer.failure, Failure::TimedOut);
}

// Every line counts, the status line, the blank line and interim answers included.
TEST(HttpModule, RefusesHeadersOverTheLineOrByteLimit) {
    const std::string kStatus = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n";
    const struct {
        const char* what;
        std::string answer;
        Failure failure;
    } rows[] = {
        {"100 lines", kStatus + headerLines(97) + "\r\n{}", Failure::None},
        {"101 lines", kStatus + headerLines(98) + "\r\n{}", Failure::HeadersTooLarge},
        {"one line over 64 KiB", kStatus + "X-Long: " + std::string(64 * 1024, 'x') + "\r\n\r\n{}",
         Failure::HeadersTooLarge},
        {"interim answers",
         [] {
             std::string interim;
             for (int i = 0; i < 51; ++i)
                 interim += "HTTP/1.1 100 Continue\r\n\r\n";
             return interim;
         }() +
             kStatus + "\r\n{}",
         Failure::HeadersTooLarge},
    };
    std::string reason;
    const auto exchange = HttpModule::exchange(&reason);
    ASSERT_NE(exchange, nullptr) << reason;
    for (const auto& row : rows) {
        RawPrinter printer(row.answer);
        HttpAnswer answer;
        exchange(requestTo(printer.port()), answer);
        EXPECT_EQ(answer.failure, row.failure) << row.what << ": " << answer.reason;
        EXPECT_EQ(answer.body, row.failure == Failure::None ? "{}" : "") << row.what;
        EXPECT_EQ(answer.headers.size(), row.failure == Failure::None ? 98u : 0u) << row.what;
    }
}

// The printer's Digest exchange never goes through a proxy the environment names.
TEST(HttpModule, NeverUsesAProxyFromTheEnvironment) {
    RawPrinter proxy;
    ASSERT_NE(proxy.port(), 0);
    const std::string url = "http://127.0.0.1:" + std::to_string(proxy.port());
    for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"})
        setenv(name, url.c_str(), 1);
    std::string reason;
    const auto exchange = HttpModule::exchange(&reason);
    ASSERT_NE(exchange, nullptr) << reason;
    HttpAnswer answer;
    exchange(requestTo(closedLoopbackPort()), answer);
    for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"})
        unsetenv(name);
    EXPECT_EQ(answer.failure, Failure::Unreachable) << answer.reason;
    EXPECT_FALSE(proxy.wasCalled());
}
