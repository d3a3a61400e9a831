#include "JobPort.h"

#include "FaxJobWire.h"
#include "xsplib/xspenclib.h"

#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vextel_sim {

namespace {

using faxjob::FaxJobWire;
using faxjob::TicketError;

std::string addressText(const std::string& host, int port) {
    if (host.find(':') != std::string::npos)
        return "[" + host + "]:" + std::to_string(port);
    return host + ":" + std::to_string(port);
}

int listenOn(const ListenAddress& address, int* port) {
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
    const bool listening =
        fd >= 0 && setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes) == 0 &&
        ::bind(fd, found->ai_addr, found->ai_addrlen) == 0 && listen(fd, 16) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length) == 0;
    freeaddrinfo(found);
    if (!listening) {
        if (fd >= 0)
            close(fd);
        return -1;
    }
    char service[NI_MAXSERV] = {};
    getnameinfo(reinterpret_cast<sockaddr*>(&bound), length, nullptr, 0, service, sizeof service,
                NI_NUMERICSERV);
    *port = std::atoi(service);
    return fd;
}

// Reads up to `limit` bytes until the end of the stream; the count of what went beyond is
// discarded. False on a read error or time-out.
bool readRest(int fd, std::string* into, std::size_t limit, bool* overflow) {
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        const std::size_t room = limit > into->size() ? limit - into->size() : 0;
        into->append(buffer, std::min(room, static_cast<std::size_t>(got)));
        if (static_cast<std::size_t>(got) > room)
            *overflow = true;
    }
}

void writeAll(int fd, const std::string& text) {
    std::size_t at = 0;
    while (at < text.size()) {
        const ssize_t written = ::send(fd, text.data() + at, text.size() - at, MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        at += static_cast<std::size_t>(written);
    }
}

} // namespace

JobPort::JobPort(const SimulatorOptions& options, FaxLog& log, FaxSender& sender,
                 const SimulatorClock& clock)
    : options_(options), log_(log), sender_(sender), clock_(clock) {}

JobPort::~JobPort() {
    stop();
}

bool JobPort::bind(std::string* error) {
    for (const ListenAddress& address : options_.jobsListen) {
        int port = 0;
        const int fd = listenOn(address, &port);
        if (fd < 0) {
            *error = "cannot listen for jobs on " + addressText(address.host, address.port);
            return false;
        }
        listeners_.push_back(fd);
        addresses_.push_back(addressText(address.host, port));
    }
    return true;
}

void JobPort::start() {
    for (const int fd : listeners_)
        acceptors_.emplace_back([this, fd] { acceptLoop(fd); });
}

void JobPort::stop() {
    stopping_ = true;
    for (std::thread& thread : acceptors_)
        thread.join();
    acceptors_.clear();
    std::vector<std::thread> connections;
    {
        std::lock_guard lock(connectionsMutex_);
        connections.swap(connections_);
    }
    for (std::thread& thread : connections)
        thread.join();
    for (int& fd : listeners_) {
        close(fd);
        fd = -1;
    }
    listeners_.clear();
}

void JobPort::acceptLoop(int fd) {
    while (!stopping_) {
        pollfd waiting{fd, POLLIN, 0};
        if (poll(&waiting, 1, 100) <= 0)
            continue;
        const int connection = accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            continue;
        std::lock_guard lock(connectionsMutex_);
        connections_.emplace_back([this, connection] { serve(connection); });
    }
}

void JobPort::serve(int connection) {
    timeval timeout{kReadTimeoutSeconds, 0};
    setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    // The header line, byte by byte: nothing of the ticket is read ahead.
    std::string header;
    char c = 0;
    while (header.size() < FaxJobWire::kMaximumHeaderLine && ::read(connection, &c, 1) == 1) {
        header += c;
        if (c == '\n')
            break;
    }
    std::string ticket;
    std::string document;
    bool overflow = false;
    const auto length = FaxJobWire::parseHeader(header, nullptr);
    bool complete = true;
    if (length && !header.empty() && header.back() == '\n') {
        ticket.resize(*length);
        std::size_t at = 0;
        while (at < *length) {
            const ssize_t got = ::read(connection, ticket.data() + at, *length - at);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            at += static_cast<std::size_t>(got);
        }
        ticket.resize(at);
        complete = readRest(connection, &document, kMaximumDocument, &overflow);
    } else {
        // Not a fax job: read it to its end all the same, so that the sender's writes succeed.
        std::string ignored;
        complete = readRest(connection, &ignored, 0, &overflow);
        header.clear();
    }
    const std::string answer =
        complete ? take(header, ticket, document, overflow)
                 : FaxJobWire::refused({"bad-document", "the job did not arrive whole"});
    writeAll(connection, answer);
    shutdown(connection, SHUT_RDWR);
    close(connection);
}

std::string JobPort::take(const std::string& header, const std::string& ticketText,
                          const std::string& document, bool documentTooLarge) {
    TicketError error;
    const auto length = FaxJobWire::parseHeader(header, &error);
    if (!length)
        return FaxJobWire::refused(error);
    if (ticketText.size() != *length)
        return FaxJobWire::refused({"bad-header", "the stream ends inside the ticket"});
    auto ticket = faxjob::FaxTicket::fromJson(ticketText, &error);
    if (!ticket)
        return FaxJobWire::refused(error);
    if (documentTooLarge)
        return FaxJobWire::refused({"bad-document", "the document is over 64 MiB"});
    if (document.rfind("%PDF-", 0) != 0)
        return FaxJobWire::refused({"bad-document", "no PDF document follows the ticket"});
    if (!ticket->password.empty() && !passwordMatches(ticket->password))
        return FaxJobWire::refused({"wrong-password", "the password is not the printer's code"});

    FaxLog::Job job;
    job.passwordChecked = !ticket->password.empty();
    job.pages = pagesOf(document);
    const std::time_t now = clock_.now();
    job.received = SimulatorClock::format(now);
    job.sendAt = now;
    if (ticket->delayedSend) {
        const int minutes = std::stoi(ticket->delayedTime.substr(0, 2)) * 60 +
                            std::stoi(ticket->delayedTime.substr(3, 2));
        job.sendAt = SimulatorClock::nextTimeOfDay(now, minutes);
    }
    job.state = job.sendAt > now ? "delayed" : "queued";
    for (const faxjob::FaxRecipient& recipient : ticket->recipients)
        job.recipients.push_back(
            {recipient.number, recipient.name, recipient.faxNumber, "waiting", 0, {}});
    const std::string uuid = ticket->jobUuid;
    const std::time_t sendAt = job.sendAt;
    job.ticket = std::move(*ticket);
    if (!log_.add(std::move(job)))
        return FaxJobWire::refused({"duplicate-job", "the printer already holds this job"});
    sender_.enqueue(uuid, sendAt);
    return FaxJobWire::accepted(uuid);
}

bool JobPort::passwordMatches(const std::string& scrambled) const {
    unsigned char bytes[16];
    int32_t length = 0;
    if (XspB64ToBin(scrambled.c_str(), static_cast<int32_t>(scrambled.size()), bytes, &length,
                    sizeof bytes) != 0)
        return false;
    unsigned char plain[16];
    int32_t plainLength = 0;
    if (XspEncrypt(bytes, length, plain, &plainLength, sizeof plain) != 0)
        return false;
    const std::string password(reinterpret_cast<const char*>(plain),
                               static_cast<std::size_t>(plainLength));
    const bool matches = password == options_.password;
    std::memset(plain, 0, sizeof plain);
    std::memset(bytes, 0, sizeof bytes);
    return matches;
}

int JobPort::pagesOf(const std::string& pdf) {
    int pages = 0;
    for (const char* marker : {"/Type /Page", "/Type/Page"}) {
        const std::string_view wanted(marker);
        for (std::size_t at = pdf.find(wanted); at != std::string::npos;
             at = pdf.find(wanted, at + 1)) {
            const std::size_t after = at + wanted.size();
            if (after >= pdf.size() || pdf[after] != 's')
                ++pages;
        }
    }
    return pages > 0 ? pages : 1;
}

} // namespace vextel_sim
