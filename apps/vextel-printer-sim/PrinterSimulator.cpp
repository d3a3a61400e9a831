#include "PrinterSimulator.h"

#include "DeviceClient.h"
#include "DigestAuth.h"
#include "StoredBook.h"

#include <httplib.h>
#include <iostream>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vextel_sim {

namespace {

using xdirkit::DeviceClient;

constexpr const char* kJson = "application/json";
constexpr const char* kFaxJobsPath = "/vextel/v1/fax-jobs";
// One job of the log, by its UUID with or without the "urn:uuid:" prefix.
constexpr const char* kFaxJobPattern = R"(/vextel/v1/fax-jobs/([0-9A-Za-z:-]{1,64}))";
constexpr std::size_t kChunk = 64 * 1024;

// Bytes no JSON reader accepts, with the markup a confused web server might send.
constexpr char kGarbage[] = "\x7f\x01\xfe<html><body>Internal page</body></html>\xff";
// Valid JSON whose members have the wrong types.
constexpr const char* kWrongTypeStatus = R"({"state": 1})";
constexpr const char* kWrongTypeBook =
    R"({"individuals": [{"id": "1", "name": ["Ana"], "faxNumber": 301}], "groups": {}})";

std::string errorBody(const std::string& message) {
    return R"({"error": ")" + message + "\"}";
}

std::string addressText(const std::string& host, int port) {
    if (host.find(':') != std::string::npos)
        return "[" + host + "]:" + std::to_string(port);
    return host + ":" + std::to_string(port);
}

// The entity tags of an If-Match list; the strong comparison never matches a weak tag.
bool ifMatchAccepts(const std::string& list, const std::string& current) {
    std::size_t at = 0;
    while (at < list.size()) {
        std::size_t end = list.find(',', at);
        if (end == std::string::npos)
            end = list.size();
        std::string tag = list.substr(at, end - at);
        tag.erase(0, tag.find_first_not_of(' '));
        tag.erase(tag.find_last_not_of(' ') + 1);
        if (tag == "*" || tag == current)
            return true;
        at = end + 1;
    }
    return false;
}

int listenRawSocket(const ListenAddress& address, int* port) {
    addrinfo hints{};
    hints.ai_flags = AI_NUMERICHOST | AI_PASSIVE;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(address.host.c_str(), std::to_string(address.port).c_str(), &hints, &found) !=
        0)
        return -1;
    const int fd = socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int yes = 1;
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    if (fd < 0 || setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes) != 0 ||
        ::bind(fd, found->ai_addr, found->ai_addrlen) != 0 || listen(fd, 64) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length) != 0) {
        freeaddrinfo(found);
        if (fd >= 0)
            close(fd);
        return -1;
    }
    freeaddrinfo(found);
    char service[NI_MAXSERV] = {};
    getnameinfo(reinterpret_cast<sockaddr*>(&bound), length, nullptr, 0, service, sizeof service,
                NI_NUMERICSERV);
    *port = std::atoi(service);
    return fd;
}

} // namespace

PrinterSimulator::PrinterSimulator(SimulatorOptions options, xdirkit::DeviceBook book,
                                   const FaxLog* faxLog)
    : options_(std::move(options)), guard_(options_.password), book_(std::move(book)),
      etag_(etagOf(book_)), bookIsVCard_(StoredBook::isVCard(options_.bookPath)), faxLog_(faxLog) {}

PrinterSimulator::~PrinterSimulator() {
    stop();
}

std::string PrinterSimulator::etagOf(const xdirkit::DeviceBook& book) {
    // Built by appending: GCC 12 at -O3 takes `"literal" + std::string&&` for an overlapping copy.
    std::string etag = "\"";
    etag += std::string_view(xdirkit::DigestAuth::sha256Hex(book.toJson())).substr(0, 32);
    etag += '"';
    return etag;
}

bool PrinterSimulator::bind(std::string* error) {
    for (const ListenAddress& address : options_.listen) {
        int port = address.port;
        if (options_.fault == Fault::Down || options_.fault == Fault::HeaderFlood) {
            const int fd = listenRawSocket(address, &port);
            if (fd < 0) {
                *error = "cannot listen on " + addressText(address.host, address.port);
                return false;
            }
            rawListeners_.push_back({fd});
        } else {
            auto server = std::make_unique<httplib::Server>();
            installRoutes(*server);
            if (address.port == 0)
                port = server->bind_to_any_port(address.host);
            else if (!server->bind_to_port(address.host, address.port))
                port = -1;
            if (port <= 0) {
                *error = "cannot listen on " + addressText(address.host, address.port);
                return false;
            }
            servers_.push_back(std::move(server));
        }
        addresses_.push_back(addressText(address.host, port));
    }
    return true;
}

void PrinterSimulator::start() {
    for (auto& server : servers_)
        threads_.emplace_back([&server] { server->listen_after_bind(); });
    for (const RawListener& listener : rawListeners_)
        threads_.emplace_back([this, fd = listener.fd] { serveRaw(fd); });
    for (auto& server : servers_)
        while (!server->is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

void PrinterSimulator::stop() {
    {
        std::lock_guard lock(stopMutex_);
        stopping_ = true;
    }
    stopped_.notify_all();
    for (auto& server : servers_)
        server->stop();
    for (std::thread& thread : threads_)
        thread.join();
    threads_.clear();
    for (RawListener& listener : rawListeners_) {
        if (listener.fd >= 0)
            close(listener.fd);
        listener.fd = -1;
    }
}

void PrinterSimulator::pause(std::chrono::seconds time) {
    std::unique_lock lock(stopMutex_);
    stopped_.wait_for(lock, time, [this] { return stopping_.load(); });
}

void PrinterSimulator::serveRaw(int fd) {
    while (!stopping_) {
        pollfd waiting{fd, POLLIN, 0};
        if (poll(&waiting, 1, 100) <= 0)
            continue;
        const int connection = accept(fd, nullptr, nullptr);
        if (connection < 0)
            continue;
        if (options_.fault == Fault::HeaderFlood)
            floodHeaders(connection);
        close(connection);
    }
}

void PrinterSimulator::floodHeaders(int connection) {
    std::string text = "HTTP/1.1 200 OK\r\n";
    for (std::uint64_t line = 0; !stopping_; ++line) {
        text += "X-Flood-" + std::to_string(line) + ": " + std::string(48, 'f') + "\r\n";
        if (text.size() < kChunk)
            continue;
        for (std::size_t sent = 0; sent < text.size() && !stopping_;) {
            pollfd writable{connection, POLLOUT, 0};
            if (poll(&writable, 1, 100) < 0 || (writable.revents & (POLLERR | POLLHUP)) != 0)
                return;
            if ((writable.revents & POLLOUT) == 0)
                continue;
            const ssize_t written =
                send(connection, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
            if (written <= 0)
                return;
            sent += static_cast<std::size_t>(written);
        }
        text.clear();
    }
}

// ---- Routes

void PrinterSimulator::installRoutes(httplib::Server& server) {
    server.set_payload_max_length(DeviceClient::kMaximumBody);
    server.set_pre_routing_handler([this](const httplib::Request&, httplib::Response&) {
        if (options_.fault == Fault::Slow)
            pause(kSlowDelay);
        return httplib::Server::HandlerResponse::Unhandled;
    });
    server.Get(
        DeviceClient::kStatusPath,
        [this](const httplib::Request&, httplib::Response& response) { serveStatus(response); });
    server.Get(DeviceClient::kBookPath,
               [this](const httplib::Request& request, httplib::Response& response) {
                   serveBook(request, response);
               });
    server.Put(DeviceClient::kBookPath,
               [this](const httplib::Request& request, httplib::Response& response) {
                   replaceBook(request, response);
               });
    server.Get(kFaxJobsPath, [this](const httplib::Request& request, httplib::Response& response) {
        serveFaxJobs(request, response);
    });
    server.Get(kFaxJobPattern,
               [this](const httplib::Request& request, httplib::Response& response) {
                   serveFaxJob(request, response);
               });
    const auto notAllowed = [](const httplib::Request& request, httplib::Response& response) {
        response.status = 405;
        response.set_header("Allow", request.path == DeviceClient::kBookPath ? "GET, PUT" : "GET");
        response.set_content(errorBody("method not allowed"), kJson);
    };
    for (const char* path :
         {DeviceClient::kStatusPath, DeviceClient::kBookPath, kFaxJobsPath, kFaxJobPattern}) {
        server.Post(path, notAllowed);
        server.Delete(path, notAllowed);
        server.Patch(path, notAllowed);
        server.Options(path, notAllowed);
    }
    server.set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (response.body.empty())
            response.set_content(errorBody("HTTP " + std::to_string(response.status)), kJson);
    });
}

void PrinterSimulator::serveStatus(httplib::Response& response) {
    const char* state = options_.fault == Fault::Busy ? "busy" : "ready";
    answer(response, std::string(R"({"state": ")") + state + "\"}", false);
}

void PrinterSimulator::serveBook(const httplib::Request& request, httplib::Response& response) {
    if (!authorize(request, response))
        return;
    std::string body;
    {
        std::lock_guard lock(bookMutex_);
        body = book_.toJson();
        response.set_header("ETag", etag_);
    }
    answer(response, std::move(body), true);
}

void PrinterSimulator::replaceBook(const httplib::Request& request, httplib::Response& response) {
    if (!authorize(request, response))
        return;
    if (!request.has_header("If-Match")) {
        response.status = 428;
        response.set_content(errorBody("If-Match required"), kJson);
        return;
    }
    xdirkit::DeviceBook::Error error;
    auto book = xdirkit::DeviceBook::fromJson(request.body, &error);
    std::lock_guard lock(bookMutex_);
    if (!ifMatchAccepts(request.get_header_value("If-Match"), etag_)) {
        response.status = 412;
        response.set_content(errorBody("the book changed since it was read"), kJson);
        return;
    }
    if (!book) {
        response.status = 400;
        response.set_content(errorBody(error.reason), kJson);
        return;
    }
    std::string saveError;
    if (bookIsVCard_) {
        // A vCard book stays what it is for every other program that opens it.
        std::cerr << "vextel-printer-sim: the new book is kept in memory; " << options_.bookPath
                  << " is a vCard book and stays as it is\n";
    } else if (!StoredBook::save(options_.bookPath, *book, &saveError)) {
        std::cerr << "vextel-printer-sim: " << saveError << "\n";
        response.status = 500;
        response.set_content(errorBody("the book could not be stored"), kJson);
        return;
    }
    book_ = std::move(*book);
    etag_ = etagOf(book_);
    response.status = 204;
    response.set_header("ETag", etag_);
}

void PrinterSimulator::serveFaxJobs(const httplib::Request& request, httplib::Response& response) {
    if (!authorize(request, response))
        return;
    response.set_content(faxLog_ ? faxLog_->toJson() : std::string(R"({"jobs": []})"), kJson);
}

void PrinterSimulator::serveFaxJob(const httplib::Request& request, httplib::Response& response) {
    if (!authorize(request, response))
        return;
    const auto job = faxLog_ ? faxLog_->find(request.matches[1]) : std::nullopt;
    if (!job) {
        response.status = 404;
        response.set_content(errorBody("no such fax job"), kJson);
        return;
    }
    response.set_content(FaxLog::toJson(*job), kJson);
}

bool PrinterSimulator::authorize(const httplib::Request& request, httplib::Response& response) {
    DigestGuard::Decision decision =
        guard_.check(request.method, request.target, request.get_header_value("Authorization"));
    if (options_.fault == Fault::StaleNonce && request.has_header("Authorization"))
        decision.verdict = DigestGuard::Verdict::Stale;
    switch (decision.verdict) {
    case DigestGuard::Verdict::Allowed:
        return true;
    case DigestGuard::Verdict::LockedOut:
        response.status = 429;
        response.set_header("Retry-After", std::to_string(decision.retryAfter.count()));
        response.set_content(errorBody("locked after wrong codes"), kJson);
        return false;
    default:
        response.status = 401;
        response.set_header("WWW-Authenticate",
                            guard_.challenge(decision.verdict == DigestGuard::Verdict::Stale));
        response.set_content(errorBody("code required"), kJson);
        return false;
    }
}

void PrinterSimulator::answer(httplib::Response& response, std::string body, bool isBook) {
    switch (options_.fault) {
    case Fault::Garbage:
        response.set_content(std::string(kGarbage, sizeof kGarbage - 1), kJson);
        return;
    case Fault::Truncated:
        body.resize(body.size() / 2);
        response.set_content(body, kJson);
        return;
    case Fault::WrongType:
        response.set_content(isBook ? kWrongTypeBook : kWrongTypeStatus, kJson);
        return;
    case Fault::Oversized:
        // Chunked, without a length: the client must count while it reads.
        response.set_chunked_content_provider(
            kJson, [](std::size_t offset, httplib::DataSink& sink) {
                if (offset >= kOversizedBody) {
                    sink.done();
                    return true;
                }
                std::string chunk(std::min(kChunk, kOversizedBody - offset), ' ');
                if (offset == 0)
                    chunk.replace(0, 16, R"({"individuals":[)");
                return sink.write(chunk.data(), chunk.size());
            });
        return;
    case Fault::Disconnect: {
        auto text = std::make_shared<std::string>(std::move(body));
        response.set_content_provider(
            text->size(), kJson,
            [text](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                const std::size_t half = text->size() / 2;
                if (offset >= half)
                    return false; // closes the connection mid-body
                return sink.write(text->data() + offset, std::min(length, half - offset));
            });
        return;
    }
    default:
        response.set_content(body, kJson);
        return;
    }
}

} // namespace vextel_sim
