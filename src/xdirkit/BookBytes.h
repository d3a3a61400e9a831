#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace xdirkit {

// A book's bytes read whole into memory of their own, for a reader that only looks at them.
// The memory is made ready in one go before the read rather than a page fault at a time as the
// read first touches it (a book of tens of megabytes is thousands of pages), and is not cleared
// first as a string's would be.
class BookBytes {
public:
    BookBytes() = default;
    BookBytes(const BookBytes&) = delete;
    BookBytes& operator=(const BookBytes&) = delete;
    ~BookBytes();

    // As BookFile::read: XDIR_OK, XDIR_ERR_FILE_NOT_FOUND or XDIR_ERR_FILE_UNREADABLE. A file
    // that grows while it is read is read to its end.
    int32_t read(const std::string& path);

    std::string_view view() const { return {data_, size_}; }

private:
    // Room for at least capacity bytes, the size_ bytes read so far kept; false when there is
    // no memory for it.
    bool reserve(std::size_t capacity);
    void release();

    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0; // of the mapping at data_
};

} // namespace xdirkit
