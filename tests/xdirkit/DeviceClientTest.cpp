#include "DeviceClient.h"

#include "DigestAuth.h"
#include "LoopbackListener.h"
#include "support/CaptureProxy.h"
#include "support/PrinterSimProcess.h"

#include <filesystem>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <pwd.h>
#include <regex>
#include <signal.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

using xdirkit::DeviceBook;
using xdirkit::DeviceClient;
using xdirkit::DeviceEndpoint;
using xdirkit::DigestAuth;
using xdirkit::LoopbackListener;
using Outcome = DeviceClient::Outcome;
using vextel_test::CaptureProxy;
using vextel_test::PrinterSimProcess;

namespace {

constexpr const char* kCode = "4826";

const DeviceBook kBook{{{1, "Nadia Okafor", "0312345678"},
                        {7, "Front desk", "0-3-9876-5432"},
                        {65535, "山田 太郎 \xF0\x9F\x93\xA0", "12#*:="}},
                       {{"Everyone", {1, 7, 65535}}, {"Nobody yet", {}}}};

DeviceClient clientFor(const PrinterSimProcess& sim) {
    return DeviceClient(DeviceEndpoint{sim.host(), sim.port()});
}

std::string fileText(const std::string& path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

int countOf(const std::string& text, const std::string& what) {
    int count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

// What Basic authentication would send for the text.
std::string base64(const std::string& text) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string encoded;
    for (std::size_t i = 0; i < text.size(); i += 3) {
        unsigned value = static_cast<unsigned char>(text[i]) << 16;
        if (i + 1 < text.size())
            value |= static_cast<unsigned char>(text[i + 1]) << 8;
        if (i + 2 < text.size())
            value |= static_cast<unsigned char>(text[i + 2]);
        const std::size_t bytes = std::min<std::size_t>(3, text.size() - i);
        for (std::size_t j = 0; j < 4; ++j)
            encoded += j <= bytes ? kAlphabet[(value >> (18 - 6 * j)) & 0x3F] : '=';
    }
    return encoded;
}

class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            saved_ = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~EnvironmentVariable() { saved_ ? setenv(name_, saved_->c_str(), 1) : unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> saved_;
};

// ---- Fault modes: each answered with its own outcome within 11 s

struct FaultCase {
    const char* mode;
    Outcome status;
    Outcome read;
};

const FaultCase kFaults[] = {
    {"down", Outcome::Unreachable, Outcome::Unreachable},
    {"slow", Outcome::TimedOut, Outcome::TimedOut},
    {"garbage", Outcome::InvalidAnswer, Outcome::InvalidAnswer},
    {"truncated", Outcome::InvalidAnswer, Outcome::InvalidAnswer},
    {"wrong-type", Outcome::InvalidAnswer, Outcome::InvalidBook},
    {"oversized", Outcome::TooLarge, Outcome::TooLarge},
    {"disconnect", Outcome::ConnectionLost, Outcome::ConnectionLost},
    {"busy", Outcome::Busy, Outcome::Ok},
    // Not the password's fault: the printer's.
    {"stale-nonce", Outcome::Ok, Outcome::InvalidAnswer},
    // Cut off after a few kilobytes, not read until the time runs out.
    {"header-flood", Outcome::TooLarge, Outcome::TooLarge},
};

class DeviceClientFaultTest : public testing::TestWithParam<FaultCase> {};

TEST_P(DeviceClientFaultTest, StatusAndReadAnswerTheFaultWithItsOutcomeWithinElevenSeconds) {
    const FaultCase& fault = GetParam();
    PrinterSimProcess sim(kBook.toJson(), {"--password", kCode, "--fault", fault.mode});
    ASSERT_FALSE(sim.address().empty());
    using Clock = std::chrono::steady_clock;
    // Asked at once, so the slow mode costs one time-out, not two.
    auto status = std::async(std::launch::async, [&] {
        const auto start = Clock::now();
        DeviceClient client = clientFor(sim);
        const Outcome outcome = client.status();
        return std::make_pair(outcome, Clock::now() - start);
    });
    auto read = std::async(std::launch::async, [&] {
        const auto start = Clock::now();
        DeviceClient client = clientFor(sim);
        auto result = client.readBook(kCode);
        return std::make_pair(std::move(result), Clock::now() - start);
    });
    const auto [statusOutcome, statusTime] = status.get();
    const auto [readResult, readTime] = read.get();
    EXPECT_EQ(DeviceClient::describe(statusOutcome),
              std::string(DeviceClient::describe(fault.status)));
    EXPECT_EQ(DeviceClient::describe(readResult.outcome),
              std::string(DeviceClient::describe(fault.read)));
    EXPECT_LT(statusTime, std::chrono::seconds(11));
    EXPECT_LT(readTime, std::chrono::seconds(11));
    if (fault.read == Outcome::Ok) {
        EXPECT_EQ(readResult.book, kBook);
    } else {
        EXPECT_TRUE(readResult.book.individuals.empty());
    }
    if (fault.status == Outcome::TimedOut) {
        EXPECT_GE(statusTime, DeviceClient::kAnswerTimeout - std::chrono::milliseconds(100))
            << "waited the whole limit";
        EXPECT_GE(readTime, DeviceClient::kAnswerTimeout - std::chrono::milliseconds(100));
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, DeviceClientFaultTest, testing::ValuesIn(kFaults),
                         [](const testing::TestParamInfo<FaultCase>& info) {
                             std::string name = info.param.mode;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

// ---- Reading with a password

TEST(DeviceClientTest, ReadsTheBookWithItsTagOverIPv4AndIPv6) {
    for (const char* listen : {"127.0.0.1:0", "[::1]:0"}) {
        PrinterSimProcess sim(kBook.toJson(), {"--password", kCode}, listen);
        ASSERT_FALSE(sim.address().empty()) << listen;
        DeviceClient client = clientFor(sim);
        EXPECT_EQ(client.status(), Outcome::Ok) << listen;
        const auto result = client.readBook(kCode);
        EXPECT_EQ(result.outcome, Outcome::Ok) << listen << ": " << client.lastReason();
        EXPECT_EQ(result.book, kBook) << listen;
        EXPECT_TRUE(std::regex_match(result.etag, std::regex("\"[0-9a-f]{32}\""))) << result.etag;
        if (sim.host().find(':') != std::string::npos) {
            // An address with its zone, as a link-local printer's is given.
            DeviceClient zoned(DeviceEndpoint{sim.host() + "%lo", sim.port()});
            EXPECT_EQ(zoned.readBook(kCode).book, kBook) << zoned.lastReason();
        }
        EXPECT_EQ(sim.stop(), 0) << "SIGTERM ends the simulator normally";
    }
}

TEST(DeviceClientTest, PasswordsAreCheckedAndNeverSentInAnyForm) {
    struct Row {
        std::string password;
        Outcome outcome;
    };
    const Row rows[] = {{kCode, Outcome::Ok},
                        {"4827", Outcome::WrongPassword},
                        {"", Outcome::WrongPassword},
                        {std::string(kCode) + "0", Outcome::WrongPassword}};
    PrinterSimProcess sim(kBook.toJson(), {"--password", kCode});
    ASSERT_FALSE(sim.address().empty());
    for (const Row& row : rows) {
        CaptureProxy proxy(sim.port());
        DeviceClient client(DeviceEndpoint{"127.0.0.1", proxy.port()});
        EXPECT_EQ(client.readBook(row.password).outcome, row.outcome) << row.password;
        const std::string sent = proxy.sent();
        // One unauthenticated request for the challenge, one answer to it: never a retry.
        EXPECT_EQ(countOf(sent, "GET /vextel/v1/address-book"), 2) << sent;
        EXPECT_EQ(countOf(sent, "Authorization: Digest "), 1) << sent;
        const std::regex clear("(^|[^0-9A-Za-z])" + row.password + "([^0-9A-Za-z]|$)");
        if (!row.password.empty()) {
            EXPECT_FALSE(std::regex_search(sent, clear)) << sent;
        }
        const std::string userPassword = std::string(DigestAuth::kUserName) + ":" + row.password;
        EXPECT_EQ(sent.find(base64(userPassword)), std::string::npos) << sent;
        EXPECT_EQ(sent.find(DigestAuth::sha256Hex(std::string(DigestAuth::kUserName) +
                                                  ":vextel-printer:" + row.password)),
                  std::string::npos)
            << "the first hash stands for the password";
    }
}

TEST(DeviceClientTest, RepeatedWrongPasswordsLockTheBookEvenForTheRightOne) {
    PrinterSimProcess sim(kBook.toJson(), {"--password", kCode});
    ASSERT_FALSE(sim.address().empty());
    DeviceClient client = clientFor(sim);
    for (int attempt = 1; attempt <= 5; ++attempt)
        EXPECT_EQ(client.readBook("0000").outcome, Outcome::WrongPassword) << attempt;
    EXPECT_EQ(client.readBook(kCode).outcome, Outcome::LockedOut);
    EXPECT_EQ(client.writeBook(kBook, "\"x\"", kCode).outcome, Outcome::LockedOut);
    EXPECT_EQ(client.status(), Outcome::Ok) << "the status needs no password";
}

// ---- Writing with the book's tag

TEST(DeviceClientTest, WritesWithAFreshTagAndRefusesAStaleOne) {
    PrinterSimProcess sim(kBook.toJson(), {"--password", kCode});
    ASSERT_FALSE(sim.address().empty());
    DeviceClient client = clientFor(sim);
    const auto first = client.readBook(kCode);
    ASSERT_EQ(first.outcome, Outcome::Ok);

    DeviceBook changed = kBook;
    changed.individuals.push_back({300, "Night desk", "0311112222"});
    changed.groups[1].members = {300};
    const auto written = client.writeBook(changed, first.etag, kCode);
    ASSERT_EQ(written.outcome, Outcome::Ok) << client.lastReason();
    EXPECT_NE(written.etag, first.etag);
    EXPECT_EQ(DeviceBook::fromJson(fileText(sim.bookPath())), changed) << "stored in the file";

    struct Row {
        const char* what;
        DeviceBook book;
        std::string etag;
        std::string password;
        Outcome outcome;
    };
    DeviceBook broken = changed;
    broken.groups[0].members.push_back(999);
    const Row rows[] = {
        {"stale tag", kBook, first.etag, kCode, Outcome::Changed},
        {"no tag", kBook, "", kCode, Outcome::Changed},
        {"wrong password", kBook, written.etag, "1111", Outcome::WrongPassword},
        {"member that names no individual", broken, written.etag, kCode, Outcome::InvalidBook},
    };
    for (const Row& row : rows)
        EXPECT_EQ(client.writeBook(row.book, row.etag, row.password).outcome, row.outcome)
            << row.what;

    const auto again = client.readBook(kCode);
    EXPECT_EQ(again.book, changed) << "refused writes changed nothing";
    EXPECT_EQ(again.etag, written.etag);
    EXPECT_EQ(client.writeBook(kBook, again.etag, kCode).outcome, Outcome::Ok)
        << "the tag from a write is good for the next one";
}

// ---- Where the printer is

TEST(DeviceClientTest, NobodyListeningIsUnreachableAtOnce) {
    int port = 0;
    {
        PrinterSimProcess sim(kBook.toJson());
        port = sim.port();
    }
    DeviceClient client(DeviceEndpoint{"127.0.0.1", port});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(client.status(), Outcome::Unreachable);
    EXPECT_EQ(client.readBook(kCode).outcome, Outcome::Unreachable);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(DeviceEndpointTest, ChoosesHostAndPortByKindAndEnvironment) {
    struct Row {
        int kind;
        const char* address;
        const char* devicePort;
        const char* usbEndpoint;
        const char* expected; // text(), or "" for none
    };
    const Row rows[] = {
        {1, "192.0.2.7", nullptr, nullptr, "192.0.2.7:80"},
        {1, "192.0.2.7", "8631", nullptr, "192.0.2.7:8631"},
        {1, "192.0.2.7", "http", nullptr, "192.0.2.7:80"},
        {1, "192.0.2.7", "65536", nullptr, "192.0.2.7:80"},
        {1, "fe80::1%lo", nullptr, nullptr, "[fe80::1%lo]:80"},
        {1, "[2001:db8::5]", "81", nullptr, "[2001:db8::5]:81"},
        {1, "printer.example", nullptr, nullptr, ""},
        {1, "", nullptr, nullptr, ""},
        {1, nullptr, nullptr, nullptr, ""},
        {2, "192.0.2.7", nullptr, nullptr, ""},
        {0, nullptr, nullptr, nullptr, "127.0.0.1:60000"},
        {0, "192.0.2.7", "81", nullptr, "127.0.0.1:60000"},
        {0, nullptr, nullptr, "[::1]:6001", "[::1]:6001"},
        {0, nullptr, nullptr, "127.0.0.1:6002", "127.0.0.1:6002"},
        {0, nullptr, nullptr, "127.0.0.1", "127.0.0.1:60000"},
        {0, nullptr, nullptr, "::1:6003", "127.0.0.1:60000"},
        {0, nullptr, nullptr, "printer:6004", "127.0.0.1:60000"},
        {0, nullptr, nullptr, "localhost:6005", "127.0.0.1:6005"},
    };
    for (const Row& row : rows) {
        EnvironmentVariable port("VEXTEL_DEVICE_PORT", row.devicePort);
        EnvironmentVariable usb("VEXTEL_USB_ENDPOINT", row.usbEndpoint);
        const auto endpoint = DeviceEndpoint::forDevice(row.kind, row.address);
        EXPECT_EQ(endpoint ? endpoint->text() : "", row.expected)
            << row.kind << " " << (row.address ? row.address : "(null)");
    }
}

// ---- Who listens on loopback

// A listening TCP socket on the loopback address of the family, on a free port. In a child made
// by fork with uid set, the socket belongs to that user.
struct Listener {
    int socket = -1;
    int port = 0;
    explicit Listener(bool v6) {
        socket = ::socket(v6 ? AF_INET6 : AF_INET, SOCK_STREAM, 0);
        sockaddr_storage address{};
        socklen_t size = 0;
        if (v6) {
            auto* in6 = reinterpret_cast<sockaddr_in6*>(&address);
            in6->sin6_family = AF_INET6;
            in6->sin6_addr = in6addr_loopback;
            size = sizeof *in6;
        } else {
            auto* in4 = reinterpret_cast<sockaddr_in*>(&address);
            in4->sin_family = AF_INET;
            in4->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            size = sizeof *in4;
        }
        if (::bind(socket, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
            ::listen(socket, 4) != 0 ||
            ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &size) != 0)
            return;
        port = ntohs(v6 ? reinterpret_cast<sockaddr_in6*>(&address)->sin6_port
                        : reinterpret_cast<sockaddr_in*>(&address)->sin_port);
    }
    ~Listener() { ::close(socket); }
    bool wasCalled(int waitMs) const {
        pollfd wanted{socket, POLLIN, 0};
        return ::poll(&wanted, 1, waitMs) == 1;
    }
};

TEST(DeviceClientTest, TheUsbEndpointNeverReachesAListenerOnTheOtherLoopbackFamily) {
    Listener other(true);
    ASSERT_GT(other.port, 0);
    EnvironmentVariable usb("VEXTEL_USB_ENDPOINT",
                            ("localhost:" + std::to_string(other.port)).c_str());
    const auto endpoint = DeviceEndpoint::forDevice(0, nullptr);
    ASSERT_TRUE(endpoint);
    DeviceClient client(*endpoint);
    EXPECT_EQ(client.readBook(kCode).outcome, Outcome::Unreachable) << client.lastReason();
    EXPECT_FALSE(other.wasCalled(0)) << "the listener on ::1 was called";
}

TEST(DeviceClientTest, ALoopbackListenerOfAnotherUserNeverGetsTheExchange) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "listening as another user needs root";
    // A user id without an account: nothing else on the machine runs as it.
    uid_t stranger = 61000;
    while (::getpwuid(stranger) != nullptr)
        ++stranger;
    int toParent[2];
    ASSERT_EQ(::pipe(toParent), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setresgid(stranger, stranger, stranger) != 0 ||
            ::setresuid(stranger, stranger, stranger) != 0)
            ::_exit(1);
        Listener listener(false);
        const char called = 'C';
        if (::write(toParent[1], &listener.port, sizeof listener.port) != sizeof listener.port ||
            !listener.wasCalled(30000) || ::write(toParent[1], &called, 1) != 1)
            ::_exit(1);
        ::_exit(0);
    }
    ::close(toParent[1]);
    int port = 0;
    ASSERT_EQ(::read(toParent[0], &port, sizeof port), static_cast<ssize_t>(sizeof port));

    EXPECT_EQ(LoopbackListener::foreignOwner("127.0.0.1", port), stranger);
    EXPECT_EQ(LoopbackListener::foreignOwner("::ffff:127.0.0.1", port), stranger);
    EXPECT_EQ(LoopbackListener::foreignOwner("192.0.2.7", port), std::nullopt) << "not loopback";
    DeviceClient client(DeviceEndpoint{"127.0.0.1", port});
    EXPECT_EQ(client.readBook(kCode).outcome, Outcome::Unreachable);
    EXPECT_NE(client.lastReason().find("held by user " + std::to_string(stranger)),
              std::string::npos)
        << client.lastReason();
    pollfd called{toParent[0], POLLIN, 0};
    EXPECT_EQ(::poll(&called, 1, 200), 0) << "the other user's listener was called";

    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(toParent[0]);
}

TEST(LoopbackListenerTest, FindsTheOwnerOfEveryListenerThatTakesTheAddress) {
    struct Row {
        const char* file; // "tcp" or "tcp6"
        const char* local;
        const char* state;
        const char* host;
        bool foreign;
    };
    // 127.0.0.1 and ::1 as the kernel writes them on a little-endian machine; port 0x1F90 = 8080.
    const Row rows[] = {
        {"tcp", "0100007F:1F90", "0A", "127.0.0.1", true},
        {"tcp", "00000000:1F90", "0A", "127.0.0.1", true},
        {"tcp6", "0000000000000000FFFF00000100007F:1F90", "0A", "127.0.0.1", true},
        {"tcp6", "00000000000000000000000000000000:1F90", "0A", "127.0.0.1", true},
        {"tcp6", "00000000000000000000000001000000:1F90", "0A", "::1", true},
        {"tcp6", "00000000000000000000000001000000:1F90", "0A", "127.0.0.1", false},
        {"tcp", "0100007F:1F91", "0A", "127.0.0.1", false},
        {"tcp", "0100007F:1F90", "01", "127.0.0.1", false},
        {"tcp", "0200007F:1F90", "0A", "127.0.0.1", false},
        {"tcp", "0100007F:1F90", "0A", "192.0.2.7", false},
    };
    for (const Row& row : rows) {
        const std::string folder = ::testing::TempDir() + "/procnet-" + std::to_string(::getpid());
        std::filesystem::create_directories(folder);
        for (const char* name : {"tcp", "tcp6"}) {
            std::ofstream list(folder + "/" + name);
            list << "  sl  local_address rem_address   st tx_queue rx_queue tr tm->when retrnsmt"
                    "   uid  timeout inode\n";
            if (std::string(name) == row.file)
                list << "   0: " << row.local << " 00000000:0000 " << row.state
                     << " 00000000:00000000 00:00000000 00000000 61234        0 1 1\n";
        }
        const auto owner = LoopbackListener::foreignOwner(row.host, 8080, folder);
        EXPECT_EQ(owner, row.foreign ? std::optional<uid_t>(61234) : std::nullopt)
            << row.file << " " << row.local << " " << row.state << " for " << row.host;
        std::filesystem::remove_all(folder);
    }
}

} // namespace
