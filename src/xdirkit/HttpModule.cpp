#include "HttpModule.h"

#include <dlfcn.h>
#include <mutex>

namespace xdirkit {

namespace {

// The folder of the shared object (or program) this code was linked into, with its slash.
std::string folderOfThisObject() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&HttpModule::exchange), &info) == 0 ||
        info.dli_fname == nullptr)
        return {};
    const std::string file = info.dli_fname;
    const auto slash = file.rfind('/');
    return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

std::string lastLoadError() {
    const char* error = dlerror();
    return error != nullptr ? error : "unknown error";
}

struct Loaded {
    HttpExchangeFunction exchange = nullptr;
    std::string reason;
};

Loaded loadOnce() {
    Loaded loaded;
    std::string besideReason;
    const std::string folder = folderOfThisObject();
    if (!folder.empty()) {
        loaded.exchange = HttpModule::load(folder + HttpModule::kFileName, &besideReason);
        if (loaded.exchange != nullptr)
            return loaded;
    }
    // No slash: the dynamic linker's search, with the run path of the object calling dlopen.
    loaded.exchange = HttpModule::load(HttpModule::kFileName, &loaded.reason);
    return loaded;
}

} // namespace

HttpExchangeFunction HttpModule::load(const std::string& path, std::string* reason) {
    // Kept for the rest of the process: exchanges may run in several threads at once.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        *reason = "cannot load the HTTP module: " + lastLoadError();
        return nullptr;
    }
    void* symbol = dlsym(handle, kHttpExchangeSymbol);
    if (symbol == nullptr) {
        *reason = "the HTTP module " + path + " has no " + kHttpExchangeSymbol;
        dlclose(handle);
        return nullptr;
    }
    return reinterpret_cast<HttpExchangeFunction>(symbol);
}

HttpExchangeFunction HttpModule::exchange(std::string* reason) {
    static std::once_flag once;
    static Loaded loaded;
    std::call_once(once, [] { loaded = loadOnce(); });
    if (loaded.exchange == nullptr)
        *reason = loaded.reason;
    return loaded.exchange;
}

} // namespace xdirkit
