#pragma once

#include "DeviceBook.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace xdirkit {

// Where the printer's address-book service answers.
struct DeviceEndpoint {
    std::string host; // numeric address; an IPv6 address keeps its "%zone"
    int port = 0;

    // Kind 0 is a printer on USB, reached through the loopback port the IPP-over-USB daemon
    // gives it (VEXTEL_USB_ENDPOINT overrides); kind 1 the printer at a numeric address on port
    // 80 (VEXTEL_DEVICE_PORT overrides). Absent for another kind or an address that is not a
    // numeric IPv4 or IPv6 address.
    static std::optional<DeviceEndpoint> forDevice(int kind, const char* address);
    // "HOST:PORT" or "[IPV6]:PORT" with a numeric host; absent otherwise.
    static std::optional<DeviceEndpoint> parse(std::string_view text);
    // The form parse reads, for messages and Host headers.
    std::string text() const;
};

// The client side of the device protocol (docs/device-protocol.md) over HTTP, with Digest
// authentication. Every call is bounded: the connection within kConnectTimeout, the whole answer
// (both legs of an authenticated exchange) within kAnswerTimeout, bodies within kMaximumBody,
// headers within kMaximumHeaderLines and kMaximumHeaderBytes.
// Calls never throw; each answers an Outcome. One client may be used from one thread at a time.
class DeviceClient {
public:
    static constexpr std::chrono::seconds kConnectTimeout{5};
    static constexpr std::chrono::seconds kAnswerTimeout{10};
    static constexpr std::size_t kMaximumBody = 8 * 1024 * 1024;
    // The printer's answers carry a handful of headers; these bound what a printer that never
    // ends them can make the client hold (the status line and interim answers count too).
    static constexpr std::size_t kMaximumHeaderLines = 100;
    static constexpr std::size_t kMaximumHeaderBytes = 64 * 1024;
    static constexpr const char* kStatusPath = "/vextel/v1/status";
    static constexpr const char* kBookPath = "/vextel/v1/address-book";
    // The fax log; one job is kFaxJobsPath + "/" + its UUID.
    static constexpr const char* kFaxJobsPath = "/vextel/v1/fax-jobs";

    enum class Outcome {
        Ok,
        Busy,           // the printer says it is busy
        PrinterError,   // the printer says it needs attention
        Unreachable,    // no connection, or closed before any answer
        TimedOut,       // no complete answer in time
        ConnectionLost, // the connection broke in the middle of the body
        InvalidAnswer,  // not HTTP we expect, not JSON, a status we do not know
        InvalidBook,    // a book that breaks the protocol's rules (read, or refused by the printer)
        TooLarge,       // a body over kMaximumBody, or headers over their limits
        WrongPassword,
        LockedOut, // too many wrong passwords: the printer refuses for a while
        Changed,   // the book changed on the printer since it was read (or was never read)
        // A new outcome goes before Changed, which stays last, with its row in the outcome
        // table of DeviceClient.cpp.
    };
    // The outcome in a few words, for diagnostics.
    static const char* describe(Outcome outcome);
    // The status the C interface answers for the outcome.
    static int32_t statusOf(Outcome outcome);

    struct ReadResult {
        Outcome outcome = Outcome::InvalidAnswer;
        DeviceBook book;
        std::string etag; // as the printer sent it, quotes included; empty without one
    };
    struct WriteResult {
        Outcome outcome = Outcome::InvalidAnswer;
        std::string etag; // the new tag after a write
    };

    explicit DeviceClient(DeviceEndpoint endpoint);

    // Ok only for a printer that says it is ready.
    Outcome status();
    ReadResult readBook(const std::string& password);
    // One job of the printer's fax log as the printer sent it (a JSON object), by the scheduler's
    // job UUID. Ok only for a 200 JSON answer; known is false when the printer answered that it
    // holds no such job (404).
    struct FaxJobResult {
        Outcome outcome = Outcome::InvalidAnswer;
        bool known = true;
        std::string json;
    };
    FaxJobResult readFaxJob(const std::string& jobUuid, const std::string& password);

    // Replaces the printer's book when its tag is still etag.
    WriteResult writeBook(const DeviceBook& book, const std::string& etag,
                          const std::string& password);

    // One line on the last failure, for diagnostics (never holds the password).
    const std::string& lastReason() const { return lastReason_; }

private:
    using Clock = std::chrono::steady_clock;

    struct Exchange {
        Outcome failure = Outcome::Ok; // a transport failure; Ok when an answer came
        int status = 0;
        std::map<std::string, std::string> headers; // names in lower case
        std::string body;
    };

    Exchange send(const std::string& method, const char* path, const std::string& body,
                  const std::map<std::string, std::string>& headers, Clock::time_point deadline);
    // The answer to an authenticated request: answers the printer's challenge once (twice when
    // the first nonce was stale).
    Exchange sendAuthenticated(const std::string& method, const char* path, const std::string& body,
                               std::map<std::string, std::string> headers,
                               const std::string& password, Clock::time_point deadline);
    Outcome fail(Outcome outcome, std::string reason);

    DeviceEndpoint endpoint_;
    std::string lastReason_;
};

} // namespace xdirkit
