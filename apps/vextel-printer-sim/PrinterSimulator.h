#pragma once

#include "DeviceBook.h"
#include "DigestGuard.h"
#include "FaxLog.h"
#include "SimulatorOptions.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

namespace vextel_sim {

// A stand-in for the printer's address-book service: serves the device protocol
// (docs/device-protocol.md) from a book on every listen address, checks Digest credentials
// against the code, writes accepted books back to a JSON book file (a vCard book keeps them in
// memory only), and misbehaves as the fault mode asks. bind, then start; stop (or the destructor)
// ends every server and joins its thread.
class PrinterSimulator {
public:
    // How long the slow fault holds an answer: past the client's whole-answer limit.
    static constexpr std::chrono::seconds kSlowDelay{12};
    // The body the oversized fault sends: past the client's limit.
    static constexpr std::size_t kOversizedBody = 9 * 1024 * 1024;

    // The fax log, when given, is served at /vextel/v1/fax-jobs (borrowed; outlives the servers).
    PrinterSimulator(SimulatorOptions options, xdirkit::DeviceBook book,
                     const FaxLog* faxLog = nullptr);
    ~PrinterSimulator();
    PrinterSimulator(const PrinterSimulator&) = delete;
    PrinterSimulator& operator=(const PrinterSimulator&) = delete;

    // Binds every listen address; false with one line in *error when one cannot be bound.
    bool bind(std::string* error);
    // The bound addresses with their ports, in --listen order ("127.0.0.1:PORT", "[::1]:PORT").
    const std::vector<std::string>& addresses() const { return addresses_; }
    // Serves on every bound address until stop; returns once each accepts connections.
    void start();
    void stop();

    // The entity tag of a book: a hash of its document, quoted.
    static std::string etagOf(const xdirkit::DeviceBook& book);

private:
    // A listening socket served without HTTP: it closes every connection it accepts (the
    // "down" fault) or floods it with headers (the "header-flood" fault).
    struct RawListener {
        int fd = -1;
    };

    void installRoutes(httplib::Server& server);
    void serveStatus(httplib::Response& response);
    void serveBook(const httplib::Request& request, httplib::Response& response);
    void replaceBook(const httplib::Request& request, httplib::Response& response);
    void serveFaxJobs(const httplib::Request& request, httplib::Response& response);
    void serveFaxJob(const httplib::Request& request, httplib::Response& response);
    bool authorize(const httplib::Request& request, httplib::Response& response);
    // A 200 answer with a JSON body, bent by the fault mode.
    void answer(httplib::Response& response, std::string body, bool isBook);
    void serveRaw(int fd);
    // Header lines until the client hangs up or the simulator stops.
    void floodHeaders(int connection);
    // Waits for the time or until stop, whichever comes first.
    void pause(std::chrono::seconds time);

    const SimulatorOptions options_;
    DigestGuard guard_;
    std::mutex bookMutex_;
    xdirkit::DeviceBook book_;
    std::string etag_;
    const bool bookIsVCard_;
    const FaxLog* faxLog_;

    std::vector<std::unique_ptr<httplib::Server>> servers_;
    std::vector<RawListener> rawListeners_;
    std::vector<std::string> addresses_;
    std::vector<std::thread> threads_;
    std::mutex stopMutex_;
    std::condition_variable stopped_;
    std::atomic<bool> stopping_ = false;
};

} // namespace vextel_sim
