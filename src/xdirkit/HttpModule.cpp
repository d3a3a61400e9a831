#include "HttpModule.h"

#include <cstddef>
#include <dlfcn.h>
#include <mutex>
#include <unistd.h>
#include <vector>

namespace xdirkit {

namespace {

// The shared object (or program) this code was linked into.
bool thisObject(Dl_info* info) {
    return dladdr(reinterpret_cast<const void*>(&HttpModule::exchange), info) != 0 &&
           info->dli_fname != nullptr;
}

std::string folderOf(const std::string& file) {
    const auto slash = file.rfind('/');
    return slash == std::string::npos ? std::string() : file.substr(0, slash);
}

// Where the dynamic linker looks for the libraries of the object holding this code: its run
// path (with $ORIGIN expanded), LD_LIBRARY_PATH and the system's folders. Asked for explicitly
// rather than left to dlopen, which takes the run path of its caller, and a sanitizer's dlopen
// interceptor is a caller without one.
std::vector<std::string> searchFoldersOf(const Dl_info& object) {
    void* handle = dlopen(object.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
    if (handle == nullptr)
        handle = dlopen(nullptr, RTLD_LAZY); // the program itself
    std::vector<std::string> folders;
    Dl_serinfo size{};
    if (handle == nullptr || dlinfo(handle, RTLD_DI_SERINFOSIZE, &size) != 0) {
        if (handle != nullptr)
            dlclose(handle);
        return folders;
    }
    std::vector<std::max_align_t> storage(size.dls_size / sizeof(std::max_align_t) + 1);
    auto* info = reinterpret_cast<Dl_serinfo*>(storage.data());
    *info = size;
    if (dlinfo(handle, RTLD_DI_SERINFOSIZE, info) == 0 &&
        dlinfo(handle, RTLD_DI_SERINFO, info) == 0)
        for (unsigned int i = 0; i < info->dls_cnt; ++i)
            if (info->dls_serpath[i].dls_name != nullptr && *info->dls_serpath[i].dls_name != '\0')
                folders.emplace_back(info->dls_serpath[i].dls_name);
    dlclose(handle);
    return folders;
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
    Dl_info object{};
    if (!thisObject(&object)) {
        loaded.reason = "cannot load the HTTP module: cannot tell where this library is";
        return loaded;
    }
    std::vector<std::string> folders{folderOf(object.dli_fname)};
    for (std::string& folder : searchFoldersOf(object))
        folders.push_back(std::move(folder));
    for (const std::string& folder : folders) {
        const std::string path = folder + '/' + HttpModule::kFileName;
        if (folder.empty() || access(path.c_str(), F_OK) != 0)
            continue;
        loaded.exchange = HttpModule::load(path, &loaded.reason);
        return loaded;
    }
    loaded.reason = std::string("cannot load the HTTP module: no ") + HttpModule::kFileName +
                    " beside " + object.dli_fname + " or where its libraries are found";
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
