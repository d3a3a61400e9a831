#include "kit/IdentityService.h"

#include "kit/UserDatabase.h"

#include <QSet>

namespace kit {

namespace {

ScopedOverride<IdentityService>* innermostOverride = nullptr;

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
    // A directory's group can list many thousands: a set keeps the duplicate test constant-time.
    QSet<QString> listed;
    const auto appendOnce = [&](const QString& name) {
        if (!listed.contains(name)) {
            listed.insert(name);
            memberNames->append(name);
        }
    };
    const UserDatabase& database = UserDatabase::current();
    const std::optional<UserDatabase::Group> entry = database.groupNamed(group.name.toLocal8Bit());
    if (entry && entry->gid == group.id) {
        for (const QByteArray& member : entry->members) {
            appendOnce(QString::fromLocal8Bit(member));
        }
    }
    database.walkUsers([&](const UserDatabase::User& user) {
        if (user.gid == group.id) {
            appendOnce(QString::fromLocal8Bit(user.name));
        }
        return true;
    });
    return Status::Ok;
}

const IdentityService& IdentityService::current() {
    static const IdentityService system;
    return ScopedOverride<IdentityService>::serviceOr(innermostOverride, system);
}

IdentityService::Override::Override(const IdentityService& replacement)
    : ScopedOverride(replacement, innermostOverride) {}

} // namespace kit
