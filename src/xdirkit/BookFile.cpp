#include "BookFile.h"

#include "FileDescriptor.h"
#include "FileTrust.h"
#include "xdirkit/XdirKit.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace xdirkit {
namespace {

constexpr auto kLockWait = std::chrono::seconds(10);
constexpr mode_t kNewBookMode = 0600;
constexpr std::size_t kTemporarySuffixLength = 6; // mkstemp's XXXXXX
// Between the book's name and mkstemp's letters: what marks a temporary file as the library's own
// (a user's ".NAME.backup" has the same length as mkstemp's letters).
constexpr const char* kTemporaryMarker = ".partial-";

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

// The file a link points to, so the link survives the rename; the path itself otherwise. Null
// for a link that leads nowhere: writing there would follow it to wherever it was aimed.
std::optional<std::string> resolvedPath(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr)
        return std::nullopt;
    return std::string(resolved);
}

int32_t refused(const std::string& path, const std::string& reason, int32_t status) {
    std::fprintf(stderr, "BookFile: %s: %s\n", path.c_str(), reason.c_str());
    return status;
}

// XDIR_OK when the book at path (already resolved) may be changed by this user alone: a folder
// and a book nobody else may write, and a book the user has not made read-only.
int32_t changeableBook(const std::string& path) {
    // A folder that is not there fails at the lock, as it always has.
    struct stat folder {};
    if (::stat(folderOf(path).c_str(), &folder) == 0)
        if (const auto problem = FileTrust::othersMayWrite(folder))
            return refused(path, "its folder is refused: " + *problem, XDIR_ERR_FILE_UNREADABLE);
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return errno == ENOENT ? XDIR_OK
                               : refused(path, std::strerror(errno), XDIR_ERR_FILE_UNREADABLE);
    if (!S_ISREG(info.st_mode))
        return refused(path, "not a regular file", XDIR_ERR_FILE_UNREADABLE);
    if (const auto problem = FileTrust::othersMayWrite(info))
        return refused(path, "refused: " + *problem, XDIR_ERR_FILE_UNREADABLE);
    if ((info.st_mode & S_IWUSR) == 0)
        return refused(path, "the book is read-only", XDIR_ERR_WRITE_FAILED);
    return XDIR_OK;
}

// Has the kernel provide the whole pages of fresh memory in one go, rather than a page fault at
// a time as it is first written (a book of tens of megabytes is thousands of pages). Only a
// speed-up: a kernel without it leaves the faults.
void makeReady(char* memory, std::size_t size) {
#ifdef MADV_POPULATE_WRITE
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto begin = (reinterpret_cast<std::uintptr_t>(memory) + page - 1) / page * page;
    const auto end = (reinterpret_cast<std::uintptr_t>(memory) + size) / page * page;
    if (begin < end)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
    (void)memory;
    (void)size;
#endif
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

// What a lock waiter and the caller that may give up on it share.
struct LockWait {
    std::mutex mutex;
    std::condition_variable settled;
    bool done = false;
    bool acquired = false;
    bool abandoned = false;
};

// Takes the exclusive lock on fd's open file, waiting at most kLockWait. The wait is a blocking
// flock in a helper thread, which the kernel wakes when the holder lets go (polling would
// starve behind a process that takes the lock again at once); a caller that gives up leaves
// the thread to drop the lock should it come later.
bool takeLock(int fd) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return true;
    if (errno != EWOULDBLOCK)
        return false;
    // A second descriptor of the same open file: the lock it takes is fd's lock.
    const int waitFd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (waitFd < 0)
        return false;
    auto wait = std::make_shared<LockWait>();
    try {
        std::thread([wait, waitFd] {
            int result = 0;
            do
                result = ::flock(waitFd, LOCK_EX);
            while (result != 0 && errno == EINTR);
            std::lock_guard<std::mutex> guard(wait->mutex);
            if (wait->abandoned && result == 0)
                ::flock(waitFd, LOCK_UN);
            ::close(waitFd);
            wait->done = true;
            wait->acquired = result == 0 && !wait->abandoned;
            wait->settled.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        ::close(waitFd);
        return false;
    }
    std::unique_lock<std::mutex> guard(wait->mutex);
    if (!wait->settled.wait_for(guard, kLockWait, [&] { return wait->done; }))
        wait->abandoned = true;
    return wait->acquired;
}

// Temporary files left by writers killed before their rename: under the lock, no other writer
// has one open. Only the library's own: its marker in the name, a regular file of this user.
void removeStaleTemporaries(const std::string& path) {
    const std::string prefix = "." + nameOf(path) + kTemporaryMarker;
    std::unique_ptr<DIR, int (*)(DIR*)> folder(::opendir(folderOf(path).c_str()), ::closedir);
    if (!folder)
        return;
    while (const dirent* entry = ::readdir(folder.get())) {
        const std::string name = entry->d_name;
        struct stat info {};
        if (name.size() == prefix.size() + kTemporarySuffixLength &&
            name.compare(0, prefix.size(), prefix) == 0 &&
            ::fstatat(::dirfd(folder.get()), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && info.st_uid == ::geteuid())
            ::unlinkat(::dirfd(folder.get()), name.c_str(), 0);
    }
}

} // namespace

int32_t BookFile::replace(const std::string& path, const std::string& contents, mode_t mode) {
    const std::string folder = folderOf(path);
    std::string temporary =
        folder + "/." + nameOf(path) + kTemporaryMarker + std::string(kTemporarySuffixLength, 'X');
    FileDescriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
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
    FileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() < 0 || ::fsync(directory.get()) != 0)
        return XDIR_ERR_WRITE_FAILED;
    return XDIR_OK;
}

int32_t BookFile::read(const std::string& path, std::string& contents) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0)
        return errno == ENOENT ? XDIR_ERR_FILE_NOT_FOUND : XDIR_ERR_FILE_UNREADABLE;
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return XDIR_ERR_FILE_UNREADABLE;
    std::string data;
    // One byte more than the file: the read that finds its end needs no growing (which would
    // copy the whole book).
    data.reserve(static_cast<std::size_t>(info.st_size) + 1);
    makeReady(data.data(), data.capacity());
    data.resize(static_cast<std::size_t>(info.st_size) + 1);
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
    const auto resolved = resolvedPath(requestedPath);
    if (!resolved)
        return refused(requestedPath, "a link to no file", XDIR_ERR_FILE_UNREADABLE);
    const std::string& path = *resolved;
    if (const int32_t status = changeableBook(path); status != XDIR_OK)
        return status;
    const std::string lockPath = folderOf(path) + "/." + nameOf(path) + ".lock";
    // Never through a link: a lock file is only ever the library's own.
    FileDescriptor lock(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (lock.get() < 0 || !takeLock(lock.get()))
        return XDIR_ERR_LOCK_FAILED;

    removeStaleTemporaries(path);
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
    return replace(path, replacement, mode);
    // The lock goes with its descriptor.
}

} // namespace xdirkit
