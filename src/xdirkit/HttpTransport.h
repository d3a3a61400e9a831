#pragma once

#include "HttpExchange.h"

namespace xdirkit {

// The HTTP module's side of an exchange (see HttpModule.h): one request on a connection of its
// own, bounded by the request's deadline and body limit. Never throws.
class HttpTransport {
public:
    static void exchange(const HttpRequest& request, HttpAnswer& answer);
};

} // namespace xdirkit

extern "C" __attribute__((visibility("default"))) void
xdirkit_http_exchange(const xdirkit::HttpRequest& request, xdirkit::HttpAnswer& answer);
