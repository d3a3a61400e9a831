#pragma once

#include "kit/UserDatabase.h"

#include <QList>

namespace vextel_test {

// A user and group database of a test's own small tables.
class TableUserDatabase : public kit::UserDatabase {
public:
    QList<User> users;
    QList<Group> groups;
    mutable int groupWalks = 0; // how often the groups were walked

    std::optional<User> userNamed(const QByteArray& name) const override {
        for (const User& user : users) {
            if (user.name == name) {
                return user;
            }
        }
        return std::nullopt;
    }
    std::optional<User> userWithId(uid_t uid) const override {
        for (const User& user : users) {
            if (user.uid == uid) {
                return user;
            }
        }
        return std::nullopt;
    }
    std::optional<Group> groupNamed(const QByteArray& name) const override {
        for (const Group& group : groups) {
            if (group.name == name) {
                return group;
            }
        }
        return std::nullopt;
    }
    void walkUsers(const UserVisitor& visit) const override {
        for (const User& user : users) {
            if (!visit(user)) {
                return;
            }
        }
    }
    void walkGroups(const GroupVisitor& visit) const override {
        ++groupWalks;
        for (const Group& group : groups) {
            if (!visit(group)) {
                return;
            }
        }
    }
};

} // namespace vextel_test
