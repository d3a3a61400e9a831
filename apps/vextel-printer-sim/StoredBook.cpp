#include "StoredBook.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace vextel_sim {

namespace {

bool failWith(std::string* error, std::string message) {
    if (error)
        *error = std::move(message) + ": " + std::strerror(errno);
    return false;
}

bool writeAll(int fd, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = ::write(fd, text.data() + written, text.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        written += static_cast<std::size_t>(count);
    }
    return true;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

std::optional<xdirkit::DeviceBook> StoredBook::load(const std::string& path, std::string* error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        failWith(error, path);
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    xdirkit::DeviceBook::Error refusal;
    auto book = xdirkit::DeviceBook::fromJson(text.str(), &refusal);
    if (!book && error)
        *error = path + ": " + refusal.reason;
    return book;
}

bool StoredBook::save(const std::string& path, const xdirkit::DeviceBook& book,
                      std::string* error) {
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        return failWith(error, temporary);
    struct stat existing {};
    const mode_t mode = ::stat(path.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0644;
    if (::fchmod(fd, mode) != 0 || !writeAll(fd, book.toJson(2) + "\n") || ::fsync(fd) != 0) {
        failWith(error, temporary);
        ::close(fd);
        ::unlink(temporary.c_str());
        return false;
    }
    ::close(fd);
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        failWith(error, path);
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename itself is durable only once the folder is flushed.
    const int folder = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

} // namespace vextel_sim
