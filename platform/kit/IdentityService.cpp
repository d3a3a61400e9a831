#include "kit/IdentityService.h"

#include "kit/UserDatabase.h"

namespace kit {

namespace {

IdentityService::Override* currentOverride = nullptr;

} // namespace

IdentityService::~IdentityService() = default;

IdentityService::Status IdentityService::findGroups(const QString& name,
                                                    QList<Identity>* groups) const {
    if (groups == nullptr) {
        return Status::QueryCreateFailed;
    }
    groups->clear();
    const std::optional<UserDatabase::Group> group =
        UserDatabase::current().groupNamed(name.toLocal8Bit());
    if (group) {
        groups->append({QString::fromLocal8Bit(group->name), group->gid});
    }
    return Status::Ok;
}

IdentityService::Status IdentityService::groupMembers(const Identity& group,
                                                      QStringList* memberNames) const {
    if (memberNames == nullptr) {
        return Status::QueryCreateFailed;
    }
    memberNames->clear();
    const UserDatabase& database = UserDatabase::current();
    const std::optional<UserDatabase::Group> entry = database.groupNamed(group.name.toLocal8Bit());
    if (entry && entry->gid == group.id) {
        for (const QByteArray& member : entry->members) {
            const QString name = QString::fromLocal8Bit(member);
            if (!memberNames->contains(name)) {
                memberNames->append(name);
            }
        }
    }
    database.walkUsers([&](const UserDatabase::User& user) {
        const QString name = QString::fromLocal8Bit(user.name);
        if (user.gid == group.id && !memberNames->contains(name)) {
            memberNames->append(name);
        }
        return true;
    });
    return Status::Ok;
}

const IdentityService& IdentityService::current() {
    static const IdentityService system;
    return currentOverride != nullptr ? currentOverride->replacement : system;
}

IdentityService::Override::Override(const IdentityService& replacement)
    : outer(currentOverride), replacement(replacement) {
    currentOverride = this;
}

IdentityService::Override::~Override() {
    currentOverride = outer;
}

} // namespace kit
