#include "AddressBookFolder.h"

#include "FileTrust.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

namespace xdirkit {
namespace {

constexpr const char* kOverrideVariable = "VEXTEL_ADDRESS_BOOK_DIR";
constexpr const char* kBelowDataHome = "/vextel/address-books";
constexpr const char* kBookSuffix = ".vcf";

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool isDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// mkdir -p with mode 0700 for every folder it makes.
bool makeFolders(const std::string& path) {
    if (path.empty())
        return false;
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string prefix = path.substr(0, slash);
        if (!prefix.empty() && ::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            break;
    }
    return isDirectory(path);
}

bool isBookName(const std::string& name) {
    const std::size_t suffixLength = std::strlen(kBookSuffix);
    return name.size() > suffixLength &&
           name.compare(name.size() - suffixLength, suffixLength, kBookSuffix) == 0;
}

} // namespace

std::optional<std::string> AddressBookFolder::directory() {
    std::string path = environmentValue(kOverrideVariable);
    if (path.empty()) {
        std::string dataHome = environmentValue("XDG_DATA_HOME");
        // Relative values are to be ignored, as for every XDG variable.
        if (dataHome.empty() || dataHome.front() != '/') {
            const std::string home = environmentValue("HOME");
            if (home.empty())
                return std::nullopt;
            dataHome = home + "/.local/share";
        }
        path = dataHome + kBelowDataHome;
    }
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    if (!makeFolders(path)) {
        std::fprintf(stderr, "AddressBookFolder: %s: %s\n", path.c_str(), std::strerror(errno));
        return std::nullopt;
    }
    if (const auto problem = FileTrust::folderProblem(path)) {
        std::fprintf(stderr, "AddressBookFolder: %s: refused: %s\n", path.c_str(),
                     problem->c_str());
        return std::nullopt;
    }
    return path;
}

std::optional<std::vector<std::string>> AddressBookFolder::bookNames(const std::string& directory) {
    std::unique_ptr<DIR, int (*)(DIR*)> folder(::opendir(directory.c_str()), ::closedir);
    if (!folder)
        return std::nullopt;
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(folder.get())) {
        const std::string name = entry->d_name;
        struct stat info {};
        if (isBookName(name) && ::stat((directory + "/" + name).c_str(), &info) == 0 &&
            S_ISREG(info.st_mode))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace xdirkit
