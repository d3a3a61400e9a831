#include "kit/IdentityService.h"

#include "kit/UserDatabase.h"
#include "support/TableUserDatabase.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using kit::IdentityService;
using kit::UserDatabase;

namespace {

// ann is an administrator by her primary group and by the list; bob by the list; cy by his
// primary group only.
class Tables : public vextel_test::TableUserDatabase {
public:
    Tables() {
        users = {{"ann", 501, 80}, {"bob", 502, 20}, {"cy", 503, 80}};
        groups = {{"staff", 20, {"ann"}}, {"admin", 80, {"bob", "ann"}}};
    }
};

} // namespace

TEST(IdentityService, FindsGroupsByNameInTheUserDatabase) {
    Tables tables;
    UserDatabase::Override use(tables);
    const IdentityService& identities = IdentityService::current();
    QList<IdentityService::Identity> found;
    ASSERT_EQ(identities.findGroups(QStringLiteral("admin"), &found), IdentityService::Status::Ok);
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found[0].name, QStringLiteral("admin"));
    EXPECT_EQ(found[0].id, 80u);
    ASSERT_EQ(identities.findGroups(QStringLiteral("wheel"), &found), IdentityService::Status::Ok);
    EXPECT_TRUE(found.isEmpty());
}

TEST(IdentityService, MembersAreListedAndPrimaryUsersEachOnce) {
    Tables tables;
    UserDatabase::Override use(tables);
    QStringList members;
    ASSERT_EQ(IdentityService::current().groupMembers({QStringLiteral("admin"), 80}, &members),
              IdentityService::Status::Ok);
    EXPECT_EQ(members,
              QStringList({QStringLiteral("bob"), QStringLiteral("ann"), QStringLiteral("cy")}));
    ASSERT_EQ(IdentityService::current().groupMembers({QStringLiteral("staff"), 20}, &members),
              IdentityService::Status::Ok);
    EXPECT_EQ(members, QStringList({QStringLiteral("ann"), QStringLiteral("bob")}));
}

TEST(IdentityService, AnswersFromTheSystemDatabase) {
    QList<IdentityService::Identity> found;
    ASSERT_EQ(IdentityService::current().findGroups(QStringLiteral("root"), &found),
              IdentityService::Status::Ok);
    ASSERT_EQ(found.size(), 1);
    QStringList members;
    ASSERT_EQ(IdentityService::current().groupMembers(found[0], &members),
              IdentityService::Status::Ok);
    EXPECT_TRUE(members.contains(QStringLiteral("root"))) << "root's primary group";
}

TEST(IdentityService, ReplaceableByAnOverride) {
    class Failing : public IdentityService {
    public:
        Status findGroups(const QString&, QList<Identity>*) const override {
            return Status::QueryExecuteFailed;
        }
    } failing;
    IdentityService::Override use(failing);
    QList<IdentityService::Identity> found;
    EXPECT_EQ(IdentityService::current().findGroups(QStringLiteral("admin"), &found),
              IdentityService::Status::QueryExecuteFailed);
}

TEST(IdentityService, AHugeGroupIsListedInLinearTime) {
    // A directory's group of 100,000 listed members and as many primary members: comparing each
    // new name with every name listed before would take minutes and freeze the caller.
    constexpr int kMembers = 100000;
    vextel_test::TableUserDatabase tables;
    kit::UserDatabase::Group staff{"staff", 90, {}};
    for (int i = 0; i < kMembers; ++i) {
        staff.members.append("listed" + QByteArray::number(i));
        tables.users.append({"primary" + QByteArray::number(i), uid_t(1000 + i), 90});
    }
    tables.groups = {staff};
    UserDatabase::Override use(tables);
    QElapsedTimer timer;
    timer.start();
    QStringList members;
    ASSERT_EQ(IdentityService::current().groupMembers({QStringLiteral("staff"), 90}, &members),
              IdentityService::Status::Ok);
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(members.size(), 2 * kMembers);
    EXPECT_EQ(members.first(), QStringLiteral("listed0"));
    EXPECT_EQ(members.last(), QStringLiteral("primary99999"));
}
