#include "HttpTransport.h"

#include <algorithm>
#include <charconv>
#include <condition_variable>
#include <httplib.h>
#include <mutex>
#include <thread>

namespace xdirkit {

namespace {

using Failure = HttpAnswer::Failure;

std::string toLower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

void takeHeaders(const httplib::Response& response, HttpAnswer& answer) {
    answer.status = response.status;
    answer.headers.clear();
    for (const auto& [name, value] : response.headers)
        answer.headers.emplace(toLower(name), value);
}

bool announcesTooMuch(const HttpAnswer& answer, std::size_t maximum) {
    const auto found = answer.headers.find("content-length");
    if (found == answer.headers.end())
        return false;
    const std::string& length = found->second;
    std::uint64_t announced = 0;
    const auto [end, error] =
        std::from_chars(length.data(), length.data() + length.size(), announced);
    return error == std::errc() && announced > maximum;
}

} // namespace

void HttpTransport::exchange(const HttpRequest& request, HttpAnswer& answer) {
    answer = HttpAnswer();
    const auto remaining = std::chrono::duration_cast<std::chrono::microseconds>(
        request.deadline - std::chrono::steady_clock::now());
    if (remaining <= std::chrono::microseconds::zero()) {
        answer.failure = Failure::TimedOut;
        return;
    }
    httplib::Client client(request.host, request.port);
    client.set_connection_timeout(std::min(request.connectTimeout, remaining));
    // The watchdog below ends the exchange at the deadline; these only back it up, a little
    // later, so that a time-out is always told apart from a connection the printer closed.
    client.set_read_timeout(remaining + request.backstop);
    client.set_write_timeout(remaining + request.backstop);
    client.set_keep_alive(false);
    client.set_decompress(false);

    httplib::Request sent;
    sent.method = request.method;
    sent.path = request.path;
    for (const auto& [name, value] : request.headers)
        sent.set_header(name, value);
    sent.body = request.body;

    bool answered = false;
    bool tooLarge = false;
    sent.response_handler = [&](const httplib::Response& response) {
        answered = true;
        takeHeaders(response, answer);
        tooLarge = announcesTooMuch(answer, request.maximumBody);
        return !tooLarge;
    };
    sent.content_receiver = [&](const char* data, std::size_t length, std::uint64_t,
                                std::uint64_t) {
        if (answer.body.size() + length > request.maximumBody) {
            tooLarge = true;
            return false;
        }
        answer.body.append(data, length);
        return true;
    };

    // The read time-out bounds each wait; this bounds the whole answer, however slowly it drips.
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool expired = false;
    std::thread watchdog([&] {
        std::unique_lock lock(mutex);
        if (!finished.wait_until(lock, request.deadline, [&] { return done; })) {
            expired = true;
            client.stop();
        }
    });
    const httplib::Result result = client.send(sent);
    {
        std::lock_guard lock(mutex);
        done = true;
    }
    finished.notify_one();
    watchdog.join();

    if (result) {
        takeHeaders(result.value(), answer);
        return;
    }
    if (tooLarge)
        answer.failure = Failure::TooLarge;
    else if (expired || std::chrono::steady_clock::now() >= request.deadline)
        answer.failure = Failure::TimedOut;
    else if (result.error() == httplib::Error::Read && answered)
        answer.failure = Failure::ConnectionLost;
    else if (result.error() == httplib::Error::Canceled)
        answer.failure = Failure::TimedOut;
    else {
        answer.failure = Failure::Unreachable;
        answer.reason = httplib::to_string(result.error());
    }
}

} // namespace xdirkit

void xdirkit_http_exchange(const xdirkit::HttpRequest& request, xdirkit::HttpAnswer& answer) {
    try {
        xdirkit::HttpTransport::exchange(request, answer);
    } catch (const std::exception& error) {
        answer.failure = xdirkit::HttpAnswer::Failure::Unreachable;
        answer.reason = error.what();
    }
}
