#include "HttpTransport.h"

#include <algorithm>
#include <charconv>
#include <curl/curl.h>
#include <memory>
#include <optional>

namespace xdirkit {

namespace {

using Failure = HttpAnswer::Failure;
using Clock = std::chrono::steady_clock;

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using Easy = std::unique_ptr<CURL, EasyDeleter>;
using HeaderList = std::unique_ptr<curl_slist, ListDeleter>;

// Once per process, before the first handle; the module is never unloaded, so never undone.
bool curlReady() {
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return ready;
}

std::string toLower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::optional<std::uint64_t> announcedLength(const HttpAnswer& answer) {
    const auto found = answer.headers.find("content-length");
    if (found == answer.headers.end())
        return std::nullopt;
    const std::string& length = found->second;
    std::uint64_t announced = 0;
    const auto [end, error] =
        std::from_chars(length.data(), length.data() + length.size(), announced);
    if (error != std::errc() || end != length.data() + length.size())
        return std::nullopt;
    return announced;
}

// What the callbacks see of one exchange while libcurl runs it.
struct Reading {
    const HttpRequest& request;
    HttpAnswer& answer;
    std::size_t headerLines = 0;
    std::size_t headerBytes = 0;
    bool headersTooLarge = false;
    bool headersComplete = false; // the final answer's blank line came
    bool bodyTooLarge = false;
};

// Every header line of every answer (an interim 1xx answer included) counts against the
// limits, so that a printer that never ends its headers is cut off after a few kilobytes
// instead of filling memory until the deadline.
std::size_t onHeaderLine(char* data, std::size_t, std::size_t length, void* context) {
    auto& reading = *static_cast<Reading*>(context);
    reading.headerBytes += length;
    if (++reading.headerLines > reading.request.maximumHeaderLines ||
        reading.headerBytes > reading.request.maximumHeaderBytes) {
        reading.headersTooLarge = true;
        return 0;
    }
    const std::string_view line(data, length);
    if (line.rfind("HTTP/", 0) == 0) {
        reading.answer.headers.clear();
        reading.headersComplete = false;
        return length;
    }
    if (trimmed(line).empty()) {
        reading.headersComplete = true;
        return length;
    }
    const auto colon = line.find(':');
    if (colon != std::string_view::npos && colon > 0)
        reading.answer.headers.emplace(toLower(std::string(line.substr(0, colon))),
                                       std::string(trimmed(line.substr(colon + 1))));
    return length;
}

std::size_t onBody(char* data, std::size_t, std::size_t length, void* context) {
    auto& reading = *static_cast<Reading*>(context);
    std::string& body = reading.answer.body;
    if (body.size() + length > reading.request.maximumBody) {
        reading.bodyTooLarge = true;
        return 0;
    }
    // One allocation of the announced size instead of doubling up to twice the limit.
    if (body.empty())
        if (const auto announced = announcedLength(reading.answer);
            announced && *announced <= reading.request.maximumBody)
            body.reserve(static_cast<std::size_t>(*announced));
    body.append(data, length);
    return length;
}

std::string urlOf(const HttpRequest& request) {
    std::string host = request.host;
    if (host.find(':') != std::string::npos) {
        // The zone of a link-local address is written "%25zone" in a URL.
        if (const auto percent = host.find('%'); percent != std::string::npos)
            host.replace(percent, 1, "%25");
        host = "[" + host + "]";
    }
    return "http://" + host + ":" + std::to_string(request.port) + request.path;
}

HeaderList headerListOf(const HttpRequest& request) {
    curl_slist* list = nullptr;
    auto append = [&list](const std::string& line) {
        if (curl_slist* longer = curl_slist_append(list, line.c_str()))
            list = longer;
    };
    for (const auto& [name, value] : request.headers)
        append(value.empty() ? name + ";" : name + ": " + value);
    // A body is sent at once: waiting for "100 Continue" only costs time.
    append("Expect:");
    return HeaderList(list);
}

long millisecondsOf(std::chrono::microseconds time) {
    return static_cast<long>(std::max<std::int64_t>(
        1, std::chrono::duration_cast<std::chrono::milliseconds>(time).count()));
}

// A plain HTTP exchange with the printer and nothing else: no proxy (the environment's would
// see the Digest exchange), no other protocol, no redirect, no signals, no decompression.
void configure(CURL* easy, const HttpRequest& request, const std::string& url, curl_slist* headers,
               std::chrono::microseconds remaining, Reading& reading, char* errorText) {
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http");
    curl_easy_setopt(easy, CURLOPT_PROXY, "");
    curl_easy_setopt(easy, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS,
                     millisecondsOf(std::min(request.connectTimeout, remaining)));
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, millisecondsOf(remaining));
    curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(request.maximumBody));
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, onHeaderLine);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &reading);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &reading);
    if (request.method == "GET") {
        curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    } else {
        curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, request.method.c_str());
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(request.body.size()));
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, request.body.data());
    }
}

bool connected(CURL* easy) {
    curl_off_t connectTime = 0;
    return curl_easy_getinfo(easy, CURLINFO_CONNECT_TIME_T, &connectTime) == CURLE_OK &&
           connectTime > 0;
}

void classify(CURL* easy, CURLcode result, const Reading& reading, const char* errorText,
              HttpAnswer& answer) {
    if (result == CURLE_OK) {
        long status = 0;
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
        answer.status = static_cast<int>(status);
        return;
    }
    answer.headers.clear();
    answer.body.clear();
    answer.reason = *errorText != '\0' ? errorText : curl_easy_strerror(result);
    if (reading.headersTooLarge)
        answer.failure = Failure::HeadersTooLarge;
    else if (reading.bodyTooLarge || result == CURLE_FILESIZE_EXCEEDED)
        answer.failure = Failure::TooLarge;
    else if (result == CURLE_OPERATION_TIMEDOUT)
        // A connection that was never made within its own shorter limit is unreachable.
        answer.failure = connected(easy) || Clock::now() >= reading.request.deadline
                             ? Failure::TimedOut
                             : Failure::Unreachable;
    else if (reading.headersComplete)
        answer.failure = Failure::ConnectionLost;
    else
        answer.failure = Failure::Unreachable;
}

} // namespace

void HttpTransport::exchange(const HttpRequest& request, HttpAnswer& answer) {
    answer = HttpAnswer();
    const auto remaining =
        std::chrono::duration_cast<std::chrono::microseconds>(request.deadline - Clock::now());
    if (remaining <= std::chrono::microseconds::zero()) {
        answer.failure = Failure::TimedOut;
        return;
    }
    Easy easy(curlReady() ? curl_easy_init() : nullptr);
    if (!easy) {
        answer.failure = Failure::Unreachable;
        answer.reason = "the HTTP library cannot start";
        return;
    }
    const std::string url = urlOf(request);
    const HeaderList headers = headerListOf(request);
    Reading reading{request, answer};
    char errorText[CURL_ERROR_SIZE] = {};
    configure(easy.get(), request, url, headers.get(), remaining, reading, errorText);
    classify(easy.get(), curl_easy_perform(easy.get()), reading, errorText, answer);
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
