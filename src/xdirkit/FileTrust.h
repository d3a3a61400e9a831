#pragma once

#include <optional>
#include <string>
#include <sys/stat.h>

namespace xdirkit {

// Whether a folder or file is the running user's alone to change: what the library checks before
// it writes a book, so that another local user cannot swap a book, plant links in its folder or
// have a victim's write land where they want.
//
// Someone else may write a file or folder when it is owned by anyone but the running user or
// root, or when its mode lets others or its group write; a group write bit is harmless only on
// the user's own private group (named as the user, with no other member), which a umask of 002
// gives every file. Parents of the folder are not checked: a home folder others may rename
// things in is beyond what a library can mend.
class FileTrust {
public:
    // Null when the file or folder described by info is the user's alone; else the reason, for
    // one line of diagnostics.
    static std::optional<std::string> othersMayWrite(const struct stat& info);

    // The same for the folder at path, read with stat (a link to a folder is judged by the
    // folder). A reason too when it cannot be read or is no folder.
    static std::optional<std::string> folderProblem(const std::string& path);
};

} // namespace xdirkit
