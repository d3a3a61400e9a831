#include "kit/UserDatabase.h"

#include <grp.h>
#include <pwd.h>

namespace kit {

namespace {

ScopedOverride<UserDatabase>* innermostOverride = nullptr;

UserDatabase::User userFrom(const passwd& entry) {
    return {QByteArray(entry.pw_name), entry.pw_uid, entry.pw_gid};
}

UserDatabase::Group groupFrom(const group& entry) {
    UserDatabase::Group result{QByteArray(entry.gr_name), entry.gr_gid, {}};
    for (char** member = entry.gr_mem; member != nullptr && *member != nullptr; ++member) {
        result.members.append(QByteArray(*member));
    }
    return result;
}

} // namespace

UserDatabase::~UserDatabase() = default;

std::optional<UserDatabase::User> UserDatabase::userNamed(const QByteArray& name) const {
    const passwd* entry = getpwnam(name.constData());
    if (entry == nullptr) {
        return std::nullopt;
    }
    return userFrom(*entry);
}

std::optional<UserDatabase::User> UserDatabase::userWithId(uid_t uid) const {
    const passwd* entry = getpwuid(uid);
    if (entry == nullptr) {
        return std::nullopt;
    }
    return userFrom(*entry);
}

std::optional<UserDatabase::Group> UserDatabase::groupNamed(const QByteArray& name) const {
    const group* entry = getgrnam(name.constData());
    if (entry == nullptr) {
        return std::nullopt;
    }
    return groupFrom(*entry);
}

void UserDatabase::walkUsers(const UserVisitor& visit) const {
    setpwent();
    while (const passwd* entry = getpwent()) {
        if (!visit(userFrom(*entry))) {
            break;
        }
    }
    endpwent();
}

void UserDatabase::walkGroups(const GroupVisitor& visit) const {
    setgrent();
    while (const group* entry = getgrent()) {
        if (!visit(groupFrom(*entry))) {
            break;
        }
    }
    endgrent();
}

const UserDatabase& UserDatabase::current() {
    static const UserDatabase system;
    return ScopedOverride<UserDatabase>::serviceOr(innermostOverride, system);
}

UserDatabase::Override::Override(const UserDatabase& replacement)
    : ScopedOverride(replacement, innermostOverride) {}

} // namespace kit
