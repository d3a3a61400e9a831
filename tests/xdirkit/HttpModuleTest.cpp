#include "HttpModule.h"

#include <arpa/inet.h>
#include <fstream>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sstream>
#include <sys/socket.h>
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
    return text.str().find("libcpp-httplib") != std::string::npos;
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
