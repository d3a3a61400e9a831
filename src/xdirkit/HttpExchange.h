#pragma once

#include <chrono>
#include <cstddef>
#include <map>
#include <string>

namespace xdirkit {

// One HTTP exchange with a printer, as the device client hands it to the HTTP module
// (HttpModule.h). Both sides are built from this project with the same compiler and standard
// library, so the request and the answer cross the module boundary as they are.
struct HttpRequest {
    std::string host; // numeric address; an IPv6 address keeps its "%zone"
    int port = 0;
    std::string method;
    std::string path;
    std::map<std::string, std::string> headers; // sent as they are, Host and Accept included
    std::string body;
    // The whole answer must have come by then; the connection within connectTimeout.
    std::chrono::steady_clock::time_point deadline;
    std::chrono::microseconds connectTimeout{0};
    std::size_t maximumBody = 0; // an announced or received body over this is refused
    // Header lines (the status line included) and their bytes over these are refused, interim
    // answers counted in.
    std::size_t maximumHeaderLines = 0;
    std::size_t maximumHeaderBytes = 0;
};

struct HttpAnswer {
    enum class Failure {
        None,            // an answer came: status, headers and body hold it
        TooLarge,        // the body is over maximumBody
        HeadersTooLarge, // more header lines or bytes than the request allows
        TimedOut,        // no complete answer by the deadline
        ConnectionLost,  // the connection broke after the answer began
        Unreachable,     // no connection, or closed before any answer; reason says why
    };
    Failure failure = Failure::None;
    std::string reason;
    int status = 0;
    std::map<std::string, std::string> headers; // names in lower case
    std::string body;
};

// The module's one entry point, `extern "C"` so that it is found by name.
using HttpExchangeFunction = void (*)(const HttpRequest& request, HttpAnswer& answer);
inline constexpr char kHttpExchangeSymbol[] = "xdirkit_http_exchange";

} // namespace xdirkit
