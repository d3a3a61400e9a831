#include "kit/Environment.h"

#include "support/EnvironmentScope.h"

#include <gtest/gtest.h>
#include <sys/utsname.h>

using kit::Environment;

TEST(Environment, KernelReleaseComesFromUnameUnlessOverridden) {
    utsname names{};
    ASSERT_EQ(uname(&names), 0);
    EXPECT_EQ(Environment::kernelRelease(), QString::fromLocal8Bit(names.release));
    {
        Environment::KernelReleaseOverride outer(QStringLiteral("10.8.0"));
        EXPECT_EQ(Environment::kernelRelease(), QStringLiteral("10.8.0"));
        {
            Environment::KernelReleaseOverride inner(std::nullopt);
            EXPECT_EQ(Environment::kernelRelease(), std::nullopt);
        }
        EXPECT_EQ(Environment::kernelRelease(), QStringLiteral("10.8.0"));
    }
    EXPECT_EQ(Environment::kernelRelease(), QString::fromLocal8Bit(names.release));
}

TEST(Environment, HomeDirectoryFollowsTheProcessAndOverrides) {
    vextel_test::EnvironmentScope home("HOME", "/tmp/someone-else");
    EXPECT_EQ(Environment::homeDirectory(), QStringLiteral("/tmp/someone-else"));
    {
        Environment::HomeDirectoryOverride sandbox(
            QStringLiteral("/Users/ann/Library/Containers/x"));
        EXPECT_EQ(Environment::homeDirectory(), QStringLiteral("/Users/ann/Library/Containers/x"));
    }
    EXPECT_EQ(Environment::homeDirectory(), QStringLiteral("/tmp/someone-else"));
}

TEST(Environment, ClockCanBeSetAndMoved) {
    const QDateTime before = QDateTime::currentDateTime();
    const QDateTime now = Environment::now();
    EXPECT_GE(now, before);
    EXPECT_LE(now, QDateTime::currentDateTime());

    const QDateTime fixed(QDate(2024, 3, 1), QTime(9, 41));
    Environment::ClockOverride clock(fixed);
    EXPECT_EQ(Environment::now(), fixed);
    clock.setNow(fixed.addSecs(60));
    EXPECT_EQ(Environment::now(), fixed.addSecs(60));
}

TEST(Environment, CachesStartUnknownAndReset) {
    Environment::resetCachesForTesting();
    EXPECT_EQ(Environment::minorVersionCache(), -1);
    EXPECT_EQ(Environment::osVersionCache(), -1);
    EXPECT_EQ(Environment::sandboxCache(), -1);
    Environment::minorVersionCache() = 6;
    Environment::osVersionCache() = 0x1068;
    Environment::sandboxCache() = 1;
    EXPECT_EQ(Environment::minorVersionCache(), 6);
    EXPECT_EQ(Environment::osVersionCache(), 0x1068);
    Environment::resetCachesForTesting();
    EXPECT_EQ(Environment::minorVersionCache(), -1);
    EXPECT_EQ(Environment::osVersionCache(), -1);
    EXPECT_EQ(Environment::sandboxCache(), -1);
}
