#include "BookBytes.h"

#include "FileDescriptor.h"
#include "xdirkit/XdirKit.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace xdirkit {
namespace {

constexpr std::size_t kGrowth = 1 << 20;

std::size_t pageRounded(std::size_t size) {
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return (size + page - 1) / page * page;
}

} // namespace

BookBytes::~BookBytes() {
    release();
}

void BookBytes::release() {
    if (data_ != nullptr)
        ::munmap(data_, capacity_);
    data_ = nullptr;
    size_ = 0;
    capacity_ = 0;
}

bool BookBytes::reserve(std::size_t capacity) {
    capacity = pageRounded(capacity);
    if (capacity <= capacity_)
        return true;
    void* room = data_ == nullptr ? ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE,
                                           MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0)
                                  : ::mremap(data_, capacity_, capacity, MREMAP_MAYMOVE);
    if (room == MAP_FAILED)
        return false;
    data_ = static_cast<char*>(room);
    capacity_ = capacity;
    return true;
}

int32_t BookBytes::read(const std::string& path) {
    release();
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0)
        return errno == ENOENT ? XDIR_ERR_FILE_NOT_FOUND : XDIR_ERR_FILE_UNREADABLE;
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return XDIR_ERR_FILE_UNREADABLE;
    // One byte more than the file: the read that finds its end needs no growing.
    if (!reserve(static_cast<std::size_t>(info.st_size) + 1))
        return XDIR_ERR_FILE_UNREADABLE;
    for (;;) {
        if (size_ == capacity_ && !reserve(capacity_ + kGrowth)) {
            release();
            return XDIR_ERR_FILE_UNREADABLE;
        }
        const ssize_t got = ::read(file.get(), data_ + size_, capacity_ - size_);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            release();
            return XDIR_ERR_FILE_UNREADABLE;
        }
        if (got == 0)
            return XDIR_OK;
        size_ += static_cast<std::size_t>(got);
    }
}

} // namespace xdirkit
