#include "kit/UserDatabase.h"

#include <gtest/gtest.h>
#include <unistd.h>

using kit::UserDatabase;

TEST(UserDatabase, FindsTheProcesssUserBothWays) {
    const UserDatabase& database = UserDatabase::current();
    const std::optional<UserDatabase::User> byId = database.userWithId(getuid());
    ASSERT_TRUE(byId);
    EXPECT_EQ(byId->uid, getuid());
    const std::optional<UserDatabase::User> byName = database.userNamed(byId->name);
    ASSERT_TRUE(byName);
    EXPECT_EQ(byName->uid, byId->uid);
    EXPECT_EQ(byName->gid, byId->gid);
    EXPECT_FALSE(database.userNamed("no-such-user-here"));
}

TEST(UserDatabase, WalksGroupsAndUsersInOrderAndStopsOnRequest) {
    const UserDatabase& database = UserDatabase::current();
    QList<QByteArray> groups;
    database.walkGroups([&](const UserDatabase::Group& group) {
        groups.append(group.name);
        return true;
    });
    EXPECT_TRUE(groups.contains("root"));
    const std::optional<UserDatabase::Group> root = database.groupNamed("root");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->gid, 0u);

    int visited = 0;
    database.walkGroups([&](const UserDatabase::Group&) { return ++visited < 2; });
    EXPECT_EQ(visited, std::min<int>(2, int(groups.size())));

    QList<QByteArray> again;
    database.walkGroups([&](const UserDatabase::Group& group) {
        again.append(group.name);
        return true;
    });
    EXPECT_EQ(again, groups) << "every walk starts from the beginning";

    bool sawRoot = false;
    database.walkUsers([&](const UserDatabase::User& user) {
        sawRoot = sawRoot || (user.name == "root" && user.uid == 0);
        return true;
    });
    EXPECT_TRUE(sawRoot);
}

namespace {

class OneUser : public UserDatabase {
public:
    std::optional<User> userNamed(const QByteArray& name) const override {
        return name == "ann" ? std::optional<User>(User{"ann", 501, 20}) : std::nullopt;
    }
};

} // namespace

TEST(UserDatabase, OverridesNestAndRestore) {
    OneUser tables;
    {
        UserDatabase::Override use(tables);
        EXPECT_EQ(&UserDatabase::current(), &tables);
        EXPECT_EQ(UserDatabase::current().userNamed("ann")->uid, 501u);
        {
            UserDatabase system;
            UserDatabase::Override inner(system);
            EXPECT_EQ(&UserDatabase::current(), &system);
        }
        EXPECT_EQ(&UserDatabase::current(), &tables);
    }
    EXPECT_NE(&UserDatabase::current(), &tables);
}
