#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>

namespace xdirkit {

// An address-book file on disk, read whole and replaced whole.
//
// Every change runs under an exclusive lock on a hidden lock file beside the book
// (".NAME.lock"), so that changes from several processes follow one another; the new contents
// go to a temporary file in the same folder, which is synced and renamed over the book, and the
// folder is synced. A process killed at any instant leaves the old or the new book, never a torn
// one. A book that is a symbolic link is changed where the link points; a link that leads
// nowhere is refused. The lock and temporary files are never opened through a link, and only the
// library's own temporary files are ever removed.
class BookFile {
public:
    // Makes the new contents from the current ones (null when the file does not exist); any
    // status but XDIR_OK leaves the file as it is and is answered.
    using Change =
        std::function<int32_t(const std::optional<std::string>& current, std::string& replacement)>;

    // XDIR_OK, XDIR_ERR_FILE_NOT_FOUND or XDIR_ERR_FILE_UNREADABLE.
    static int32_t read(const std::string& path, std::string& contents);

    // XDIR_OK when the change was written; XDIR_ERR_LOCK_FAILED when the lock could not be taken
    // within 10 s; XDIR_ERR_FILE_UNREADABLE also when the book or its folder is one that
    // someone else may write (FileTrust), or not a regular file; XDIR_ERR_WRITE_FAILED also for a
    // read-only book; or the change's own status. A refusal is one line on standard error.
    static int32_t update(const std::string& path, const Change& change);

    // Writes contents as the file at path, with the given mode, through a synced temporary file
    // and a rename, without the lock: for a caller that is the file's only writer.
    // XDIR_OK or XDIR_ERR_WRITE_FAILED (errno tells why).
    static int32_t replace(const std::string& path, const std::string& contents, mode_t mode);
};

} // namespace xdirkit
