#include "BookFile.h"

#include "xdirkit/XdirKit.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace xdirkit {
namespace {

constexpr auto kLockWait = std::chrono::seconds(10);
constexpr auto kLockPoll = std::chrono::milliseconds(5);
constexpr mode_t kNewBookMode = 0600;

// Closes a descriptor when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    // Closes now, reporting whether the close succeeded (it may report a write error).
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a link points to, so the link survives the rename; the path itself otherwise.
std::string resolvedPath(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr)
        return path;
    return resolved;
}

bool writeAll(int fd, const std::string& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t written = ::write(fd, data.data() + done, data.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

bool takeLock(int fd) {
    const auto deadline = std::chrono::steady_clock::now() + kLockWait;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) ||
            std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(kLockPoll);
    }
    return true;
}

// Writes contents as the file at path through a synced temporary file and a rename.
int32_t replaceAtomically(const std::string& path, const std::string& contents, mode_t mode) {
    const std::string folder = folderOf(path);
    std::string temporary = folder + "/." + nameOf(path) + ".XXXXXX";
    Descriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (file.get() < 0)
        return XDIR_ERR_WRITE_FAILED;
    const bool written = ::fchmod(file.get(), mode) == 0 && writeAll(file.get(), contents) &&
                         ::fsync(file.get()) == 0 && file.close() &&
                         ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!written) {
        ::unlink(temporary.c_str());
        return XDIR_ERR_WRITE_FAILED;
    }
    // The rename itself must reach the disk before success is answered.
    Descriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() < 0 || ::fsync(directory.get()) != 0)
        return XDIR_ERR_WRITE_FAILED;
    return XDIR_OK;
}

} // namespace

int32_t BookFile::read(const std::string& path, std::string& contents) {
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0)
        return errno == ENOENT ? XDIR_ERR_FILE_NOT_FOUND : XDIR_ERR_FILE_UNREADABLE;
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return XDIR_ERR_FILE_UNREADABLE;
    std::string data;
    data.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    for (;;) {
        if (done == data.size())
            data.resize(data.size() + 65536);
        const ssize_t got = ::read(file.get(), data.data() + done, data.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return XDIR_ERR_FILE_UNREADABLE;
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    data.resize(done);
    contents = std::move(data);
    return XDIR_OK;
}

int32_t BookFile::update(const std::string& requestedPath, const Change& change) {
    const std::string path = resolvedPath(requestedPath);
    const std::string lockPath = folderOf(path) + "/." + nameOf(path) + ".lock";
    Descriptor lock(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (lock.get() < 0 || !takeLock(lock.get()))
        return XDIR_ERR_LOCK_FAILED;

    std::optional<std::string> current;
    mode_t mode = kNewBookMode;
    std::string contents;
    const int32_t readStatus = read(path, contents);
    if (readStatus == XDIR_OK) {
        current = std::move(contents);
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0)
            mode = info.st_mode & 07777;
    } else if (readStatus != XDIR_ERR_FILE_NOT_FOUND) {
        return readStatus;
    }
    std::string replacement;
    const int32_t status = change(current, replacement);
    if (status != XDIR_OK)
        return status;
    return replaceAtomically(path, replacement, mode);
    // The lock goes with its descriptor.
}

} // namespace xdirkit
