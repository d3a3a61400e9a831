#include "FileTrust.h"

#include <cerrno>
#include <cstring>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace xdirkit {
namespace {

// The user's private group: the user's primary group, named as the user, with no member listed
// but the user.
bool isPrivateGroupOfUser(gid_t group) {
    std::vector<char> buffer(16384);
    passwd user{};
    passwd* foundUser = nullptr;
    if (::getpwuid_r(::geteuid(), &user, buffer.data(), buffer.size(), &foundUser) != 0 ||
        foundUser == nullptr || user.pw_gid != group)
        return false;
    const std::string userName = user.pw_name;
    std::vector<char> groupBuffer(16384);
    struct group entry {};
    struct group* foundGroup = nullptr;
    if (::getgrgid_r(group, &entry, groupBuffer.data(), groupBuffer.size(), &foundGroup) != 0 ||
        foundGroup == nullptr || userName != entry.gr_name)
        return false;
    for (char** member = entry.gr_mem; member != nullptr && *member != nullptr; ++member)
        if (userName != *member)
            return false;
    return true;
}

} // namespace

std::optional<std::string> FileTrust::othersMayWrite(const struct stat& info) {
    if (info.st_uid != ::geteuid() && info.st_uid != 0)
        return "owned by another user (uid " + std::to_string(info.st_uid) + ")";
    if ((info.st_mode & S_IWOTH) != 0)
        return "every user may write it";
    if ((info.st_mode & S_IWGRP) != 0 && !isPrivateGroupOfUser(info.st_gid))
        return "its group (gid " + std::to_string(info.st_gid) + ") may write it";
    return std::nullopt;
}

std::optional<std::string> FileTrust::folderProblem(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::string("cannot be read: ") + std::strerror(errno);
    if (!S_ISDIR(info.st_mode))
        return "is not a folder";
    return othersMayWrite(info);
}

} // namespace xdirkit
