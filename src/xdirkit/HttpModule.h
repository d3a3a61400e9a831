#pragma once

#include "HttpExchange.h"

#include <string>

namespace xdirkit {

// The HTTP client lives in a module of its own (libxdirkit_http.so), loaded the first time a
// printer is asked: the HTTP library brings TLS and compression libraries with it, and every
// process that links this library (a print dialog's plug-in among them) would otherwise load
// and relocate them at start-up whether it ever talks to a printer or not.
class HttpModule {
public:
    static constexpr const char* kFileName = "libxdirkit_http.so";

    // The module's exchange, loaded once per process; null when it cannot be loaded, with the
    // reason in *reason. The module is looked for beside the object that holds this code, then
    // where the dynamic linker looks for that object's libraries.
    static HttpExchangeFunction exchange(std::string* reason);

    // Loads the module from the given file; for the tests of a missing or broken module.
    static HttpExchangeFunction load(const std::string& path, std::string* reason);
};

} // namespace xdirkit
