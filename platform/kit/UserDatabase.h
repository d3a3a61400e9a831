#pragma once

#include "kit/ScopedOverride.h"

#include <QByteArray>
#include <QList>
#include <functional>
#include <optional>
#include <sys/types.h>

namespace kit {

// The Unix user and group database (NSS: getpwnam, getpwuid, getgrnam, the getpwent and
// getgrent walks). Replaceable in tests by a subclass installed with an Override, so tests can
// run on small tables of their own.
class UserDatabase {
public:
    struct User {
        QByteArray name;
        uid_t uid = 0;
        gid_t gid = 0; // primary group
    };
    struct Group {
        QByteArray name;
        gid_t gid = 0;
        QList<QByteArray> members; // login names listed in the group entry
    };
    // Return false from a visitor to end the walk early.
    using UserVisitor = std::function<bool(const User&)>;
    using GroupVisitor = std::function<bool(const Group&)>;

    virtual ~UserDatabase();

    virtual std::optional<User> userNamed(const QByteArray& name) const;
    virtual std::optional<User> userWithId(uid_t uid) const;
    virtual std::optional<Group> groupNamed(const QByteArray& name) const;
    // Rewinds the database and visits every entry in database order.
    virtual void walkUsers(const UserVisitor& visit) const;
    virtual void walkGroups(const GroupVisitor& visit) const;

    // The database in use: the innermost override's, else the system's.
    static const UserDatabase& current();

    class Override : public ScopedOverride<UserDatabase> {
    public:
        explicit Override(const UserDatabase& replacement);
    };
};

} // namespace kit
