#include "DeviceClient.h"

#include "DigestAuth.h"
#include "HttpModule.h"
#include "LoopbackListener.h"
#include "xdirkit/XdirKit.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <iostream>
#include <netdb.h>

namespace xdirkit {

namespace {

constexpr int kNetworkPort = 80;
// The IPP-over-USB service listens on the IPv4 loopback address. The name "localhost" would
// resolve to ::1 first, where any local user may listen on the same port.
constexpr const char* kUsbHost = "127.0.0.1";
constexpr const char* kLocalhost = "localhost";
constexpr int kUsbPort = 60000;
constexpr const char* kDevicePortVariable = "VEXTEL_DEVICE_PORT";
constexpr const char* kUsbEndpointVariable = "VEXTEL_USB_ENDPOINT";

using Outcome = DeviceClient::Outcome;

std::optional<int> parsePort(std::string_view text) {
    int port = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (error != std::errc() || end != text.data() + text.size() || port < 1 || port > 65535)
        return std::nullopt;
    return port;
}

bool isNumericHost(const std::string& host) {
    addrinfo hints{};
    hints.ai_flags = AI_NUMERICHOST;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0)
        return false;
    freeaddrinfo(found);
    return true;
}

bool isUsableHost(const std::string& host) {
    return host == kLocalhost || isNumericHost(host);
}

std::string toLower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// "application/json" with or without parameters; an answer without a type is taken as JSON.
bool isJson(const std::map<std::string, std::string>& headers) {
    const auto type = headers.find("content-type");
    if (type == headers.end())
        return true;
    const std::string value = toLower(type->second);
    return value.rfind("application/json", 0) == 0 &&
           (value.size() == 16 || value[16] == ';' || value[16] == ' ');
}

std::string header(const std::map<std::string, std::string>& headers, const char* name) {
    const auto found = headers.find(name);
    return found == headers.end() ? std::string() : found->second;
}

// Statuses that mean the same whatever was asked.
std::optional<Outcome> commonOutcome(int status) {
    switch (status) {
    case 401:
        return Outcome::WrongPassword;
    case 429:
        return Outcome::LockedOut;
    case 503:
        return Outcome::Busy;
    default:
        return std::nullopt;
    }
}

} // namespace

// ---- Endpoint

std::optional<DeviceEndpoint> DeviceEndpoint::forDevice(int kind, const char* address) {
    if (kind == 0) {
        if (const char* configured = std::getenv(kUsbEndpointVariable); configured && *configured) {
            if (auto endpoint = parse(configured))
                return endpoint;
            std::cerr << "DeviceEndpoint - " << kUsbEndpointVariable
                      << " is not HOST:PORT, using 127.0.0.1:60000.\n";
        }
        return DeviceEndpoint{kUsbHost, kUsbPort};
    }
    if (kind != 1 || !address)
        return std::nullopt;
    std::string host = address;
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    if (!isNumericHost(host))
        return std::nullopt;
    int port = kNetworkPort;
    if (const char* configured = std::getenv(kDevicePortVariable); configured && *configured) {
        if (auto parsed = parsePort(configured))
            port = *parsed;
        else
            std::cerr << "DeviceEndpoint - " << kDevicePortVariable
                      << " is not a port number, using 80.\n";
    }
    return DeviceEndpoint{host, port};
}

std::optional<DeviceEndpoint> DeviceEndpoint::parse(std::string_view text) {
    std::string host;
    std::string_view portText;
    if (!text.empty() && text.front() == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos || close + 1 >= text.size() || text[close + 1] != ':')
            return std::nullopt;
        host = std::string(text.substr(1, close - 1));
        portText = text.substr(close + 2);
    } else {
        const std::size_t colon = text.rfind(':');
        if (colon == std::string_view::npos || text.find(':') != colon)
            return std::nullopt;
        host = std::string(text.substr(0, colon));
        portText = text.substr(colon + 1);
    }
    const auto port = parsePort(portText);
    if (!port || host.empty() || !isUsableHost(host))
        return std::nullopt;
    return DeviceEndpoint{host == kLocalhost ? kUsbHost : host, *port};
}

std::string DeviceEndpoint::text() const {
    if (host.find(':') != std::string::npos)
        return "[" + host + "]:" + std::to_string(port);
    return host + ":" + std::to_string(port);
}

// ---- Client

namespace {

// What each outcome means: its text in diagnostics and the status the C interface answers. In
// the order of the enumeration, which the check below holds.
struct OutcomeMeaning {
    DeviceClient::Outcome outcome;
    const char* text;
    int32_t status;
};

constexpr OutcomeMeaning kOutcomeMeanings[] = {
    {Outcome::Ok, "ok", XDIR_OK},
    {Outcome::Busy, "printer busy", XDIR_DEVICE_BUSY},
    {Outcome::PrinterError, "printer needs attention", XDIR_DEVICE_ERROR},
    {Outcome::Unreachable, "printer unreachable", XDIR_ERR_DEVICE_UNREACHABLE},
    {Outcome::TimedOut, "no answer in time", XDIR_ERR_DEVICE_TIMEOUT},
    {Outcome::ConnectionLost, "connection lost", XDIR_ERR_DEVICE_CONNECTION_LOST},
    {Outcome::InvalidAnswer, "invalid answer", XDIR_ERR_DEVICE_PROTOCOL},
    {Outcome::InvalidBook, "invalid address book", XDIR_ERR_DEVICE_INVALID_BOOK},
    {Outcome::TooLarge, "answer too large", XDIR_ERR_DEVICE_TOO_LARGE},
    {Outcome::WrongPassword, "wrong password", XDIR_ERR_WRONG_PASSWORD},
    {Outcome::LockedOut, "locked after wrong passwords", XDIR_ERR_DEVICE_LOCKED_OUT},
    {Outcome::Changed, "address book changed on the printer", XDIR_ERR_DEVICE_CHANGED},
};

constexpr bool listsEveryOutcomeInOrder() {
    constexpr std::size_t kCount = static_cast<std::size_t>(Outcome::Changed) + 1;
    if (std::size(kOutcomeMeanings) != kCount)
        return false;
    for (std::size_t i = 0; i < kCount; ++i)
        if (static_cast<std::size_t>(kOutcomeMeanings[i].outcome) != i)
            return false;
    return true;
}
static_assert(listsEveryOutcomeInOrder(), "one row per outcome, in the enumeration's order");

// Null for a value outside the enumeration.
const OutcomeMeaning* meaningOf(Outcome outcome) {
    const auto index = static_cast<std::size_t>(outcome);
    return index < std::size(kOutcomeMeanings) ? &kOutcomeMeanings[index] : nullptr;
}

} // namespace

const char* DeviceClient::describe(Outcome outcome) {
    const OutcomeMeaning* meaning = meaningOf(outcome);
    return meaning != nullptr ? meaning->text : "unknown";
}

int32_t DeviceClient::statusOf(Outcome outcome) {
    const OutcomeMeaning* meaning = meaningOf(outcome);
    return meaning != nullptr ? meaning->status : XDIR_ERR_DEVICE_PROTOCOL;
}

DeviceClient::DeviceClient(DeviceEndpoint endpoint) : endpoint_(std::move(endpoint)) {}

DeviceClient::Outcome DeviceClient::fail(Outcome outcome, std::string reason) {
    lastReason_ = std::string(describe(outcome)) + ": " + std::move(reason);
    return outcome;
}

DeviceClient::Outcome DeviceClient::status() {
    const Exchange answer = send("GET", kStatusPath, {}, {}, Clock::now() + kAnswerTimeout);
    if (answer.failure != Outcome::Ok)
        return answer.failure;
    if (answer.status != 200)
        return fail(commonOutcome(answer.status).value_or(Outcome::InvalidAnswer),
                    "HTTP status " + std::to_string(answer.status));
    DeviceBook::Error error;
    const auto state =
        isJson(answer.headers) ? DeviceBook::stateFromJson(answer.body, &error) : std::nullopt;
    if (!state)
        return fail(Outcome::InvalidAnswer, error.reason.empty() ? "not JSON" : error.reason);
    if (*state == "busy")
        return fail(Outcome::Busy, "state busy");
    if (*state == "error")
        return fail(Outcome::PrinterError, "state error");
    return Outcome::Ok;
}

DeviceClient::ReadResult DeviceClient::readBook(const std::string& password) {
    ReadResult result;
    const Exchange answer =
        sendAuthenticated("GET", kBookPath, {}, {}, password, Clock::now() + kAnswerTimeout);
    if (answer.failure != Outcome::Ok) {
        result.outcome = answer.failure;
        return result;
    }
    if (answer.status != 200) {
        result.outcome = fail(commonOutcome(answer.status).value_or(Outcome::InvalidAnswer),
                              "HTTP status " + std::to_string(answer.status));
        return result;
    }
    if (!isJson(answer.headers)) {
        result.outcome = fail(Outcome::InvalidAnswer, "not JSON");
        return result;
    }
    DeviceBook::Error error;
    auto book = DeviceBook::fromJson(answer.body, &error);
    if (!book) {
        result.outcome = fail(error.refusal == DeviceBook::Refusal::NotJson ? Outcome::InvalidAnswer
                                                                            : Outcome::InvalidBook,
                              error.reason);
        return result;
    }
    result.outcome = Outcome::Ok;
    result.book = std::move(*book);
    result.etag = header(answer.headers, "etag");
    return result;
}

DeviceClient::FaxJobResult DeviceClient::readFaxJob(const std::string& jobUuid,
                                                    const std::string& password) {
    FaxJobResult result;
    // The UUID goes into the path: only the characters a UUID URN holds.
    if (jobUuid.empty() || jobUuid.size() > 64 ||
        jobUuid.find_first_not_of("0123456789abcdefABCDEF-:urnid") != std::string::npos) {
        result.outcome = fail(Outcome::InvalidAnswer, "not a job UUID");
        return result;
    }
    const std::string path = std::string(kFaxJobsPath) + "/" + jobUuid;
    Exchange answer =
        sendAuthenticated("GET", path.c_str(), {}, {}, password, Clock::now() + kAnswerTimeout);
    if (answer.failure != Outcome::Ok) {
        result.outcome = answer.failure;
        return result;
    }
    if (answer.status == 404) {
        result.known = false;
        result.outcome = fail(Outcome::InvalidAnswer, "the printer holds no such fax job");
        return result;
    }
    if (answer.status != 200) {
        result.outcome = fail(commonOutcome(answer.status).value_or(Outcome::InvalidAnswer),
                              "HTTP status " + std::to_string(answer.status));
        return result;
    }
    if (!isJson(answer.headers)) {
        result.outcome = fail(Outcome::InvalidAnswer, "not JSON");
        return result;
    }
    result.outcome = Outcome::Ok;
    result.json = std::move(answer.body); // up to 8 MiB: not copied
    return result;
}

DeviceClient::WriteResult DeviceClient::writeBook(const DeviceBook& book, const std::string& etag,
                                                  const std::string& password) {
    WriteResult result;
    if (const std::string rule = book.brokenRule(); !rule.empty()) {
        result.outcome = fail(Outcome::InvalidBook, rule);
        return result;
    }
    const std::string body = book.toJson();
    if (body.size() > kMaximumBody) {
        result.outcome = fail(Outcome::TooLarge, "book over 8 MiB");
        return result;
    }
    std::map<std::string, std::string> headers{{"Content-Type", "application/json"}};
    // Without a tag the printer answers 428, which reports the book as not read first.
    if (!etag.empty())
        headers["If-Match"] = etag;
    const Exchange answer =
        sendAuthenticated("PUT", kBookPath, body, headers, password, Clock::now() + kAnswerTimeout);
    if (answer.failure != Outcome::Ok) {
        result.outcome = answer.failure;
        return result;
    }
    const std::string reason = "HTTP status " + std::to_string(answer.status);
    switch (answer.status) {
    case 200:
    case 204:
        result.outcome = Outcome::Ok;
        result.etag = header(answer.headers, "etag");
        return result;
    case 412:
    case 428:
        result.outcome = fail(Outcome::Changed, reason);
        return result;
    case 400:
        result.outcome = fail(Outcome::InvalidBook, "refused by the printer");
        return result;
    case 413:
        result.outcome = fail(Outcome::TooLarge, reason);
        return result;
    default:
        result.outcome =
            fail(commonOutcome(answer.status).value_or(Outcome::InvalidAnswer), reason);
        return result;
    }
}

DeviceClient::Exchange DeviceClient::sendAuthenticated(const std::string& method, const char* path,
                                                       const std::string& body,
                                                       std::map<std::string, std::string> headers,
                                                       const std::string& password,
                                                       Clock::time_point deadline) {
    Exchange answer = send(method, path, body, headers, deadline);
    bool answered = false;
    // Round 0 answers the first challenge; one more round only when that nonce went stale.
    for (int round = 0; round < 2; ++round) {
        if (answer.failure != Outcome::Ok || answer.status != 401)
            return answer;
        const auto challenge =
            DigestAuth::parseChallenge(header(answer.headers, "www-authenticate"));
        if (!challenge) {
            answer.failure = fail(Outcome::InvalidAnswer, "401 without a SHA-256 Digest challenge");
            return answer;
        }
        if (answered && !challenge->stale)
            return answer;
        const std::string cnonce = DigestAuth::randomHex(16);
        if (cnonce.empty()) {
            answer.failure = fail(Outcome::InvalidAnswer, "no random bytes for the client nonce");
            return answer;
        }
        headers["Authorization"] =
            DigestAuth::formatCredentials(*challenge, method, path, password, 1, cnonce);
        answer = send(method, path, body, headers, deadline);
        answered = true;
    }
    // A printer that calls even a fresh nonce stale is at fault, not the password.
    if (answer.failure == Outcome::Ok && answer.status == 401) {
        const auto again = DigestAuth::parseChallenge(header(answer.headers, "www-authenticate"));
        if (again && again->stale)
            answer.failure =
                fail(Outcome::InvalidAnswer, "the printer called a fresh nonce stale again");
    }
    return answer;
}

DeviceClient::Exchange DeviceClient::send(const std::string& method, const char* path,
                                          const std::string& body,
                                          const std::map<std::string, std::string>& headers,
                                          Clock::time_point deadline) {
    Exchange exchange;
    if (deadline - Clock::now() <= Clock::duration::zero()) {
        exchange.failure = fail(Outcome::TimedOut, "no time left");
        return exchange;
    }
    if (const auto owner = LoopbackListener::foreignOwner(endpoint_.host, endpoint_.port)) {
        exchange.failure =
            fail(Outcome::Unreachable, endpoint_.text() + " is held by user " +
                                           std::to_string(*owner) + ", not by a system service");
        return exchange;
    }
    std::string loadFailure;
    const HttpExchangeFunction httpExchange = HttpModule::exchange(&loadFailure);
    if (httpExchange == nullptr) {
        exchange.failure = fail(Outcome::Unreachable, endpoint_.text() + ": " + loadFailure);
        return exchange;
    }
    HttpRequest request;
    request.host = endpoint_.host;
    request.port = endpoint_.port;
    request.method = method;
    request.path = path;
    const std::string hostOnly = endpoint_.host.substr(0, endpoint_.host.find('%'));
    request.headers["Host"] = DeviceEndpoint{hostOnly, endpoint_.port}.text();
    request.headers["Accept"] = "application/json";
    for (const auto& [name, value] : headers)
        request.headers[name] = value;
    request.body = body;
    request.deadline = deadline;
    request.connectTimeout = kConnectTimeout;
    request.maximumBody = kMaximumBody;
    request.maximumHeaderLines = kMaximumHeaderLines;
    request.maximumHeaderBytes = kMaximumHeaderBytes;

    HttpAnswer answer;
    httpExchange(request, answer);
    const std::string where = endpoint_.text();
    switch (answer.failure) {
    case HttpAnswer::Failure::None:
        exchange.status = answer.status;
        exchange.headers = std::move(answer.headers);
        exchange.body = std::move(answer.body);
        break;
    case HttpAnswer::Failure::TooLarge:
        exchange.failure = fail(Outcome::TooLarge, where);
        break;
    case HttpAnswer::Failure::HeadersTooLarge:
        exchange.failure =
            fail(Outcome::TooLarge, where + ": headers over " +
                                        std::to_string(kMaximumHeaderLines) + " lines or " +
                                        std::to_string(kMaximumHeaderBytes / 1024) + " KiB");
        break;
    case HttpAnswer::Failure::TimedOut:
        exchange.failure = fail(Outcome::TimedOut, where);
        break;
    case HttpAnswer::Failure::ConnectionLost:
        exchange.failure = fail(Outcome::ConnectionLost, where);
        break;
    case HttpAnswer::Failure::Unreachable:
        exchange.failure = fail(Outcome::Unreachable, where + ": " + answer.reason);
        break;
    }
    return exchange;
}

} // namespace xdirkit
