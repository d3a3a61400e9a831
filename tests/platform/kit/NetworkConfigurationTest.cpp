#include "kit/NetworkConfiguration.h"

#include <QFile>
#include <arpa/inet.h>
#include <gtest/gtest.h>

using kit::NetworkConfiguration;

TEST(NetworkConfiguration, DefaultRouteIsTheUpDefaultWithTheLowestMetric) {
    const QByteArray table =
        "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n"
        "wlan0\t00000000\t0101A8C0\t0003\t0\t0\t600\t00000000\t0\t0\t0\n"
        "tun0\t00000000\t00000000\t0000\t0\t0\t10\t00000000\t0\t0\t0\n"
        "eth0\t0000A8C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n"
        "eth0\t00000000\t0100A8C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n";
    EXPECT_EQ(NetworkConfiguration::defaultRouteInterface(table), QStringLiteral("eth0"));
    EXPECT_TRUE(
        NetworkConfiguration::defaultRouteInterface(table.left(table.indexOf("wlan0"))).isNull());
    EXPECT_TRUE(NetworkConfiguration::defaultRouteInterface(QByteArray()).isNull());
}

TEST(NetworkConfiguration, AGivenStoreAnswersItsValuesOnly) {
    NetworkConfiguration::Values values;
    values.insert(QStringLiteral("State:/Network/Global/IPv4"),
                  {{QStringLiteral("PrimaryInterface"), QStringLiteral("en0")}});
    {
        NetworkConfiguration::Override given(values);
        const auto store = NetworkConfiguration::open(QStringLiteral("test"));
        ASSERT_TRUE(store);
        EXPECT_EQ(store->valueForKey(QStringLiteral("State:/Network/Global/IPv4"))
                      ->value(QStringLiteral("PrimaryInterface")),
                  QStringLiteral("en0"));
        EXPECT_FALSE(store->valueForKey(QStringLiteral("State:/Network/Interface/lo/Link")));
        {
            NetworkConfiguration::Override closed({}, false);
            EXPECT_FALSE(NetworkConfiguration::open(QStringLiteral("test")));
            EXPECT_EQ(closed.clientNames(), QStringList{QStringLiteral("test")});
        }
        EXPECT_TRUE(NetworkConfiguration::open(QStringLiteral("again")));
        EXPECT_EQ(given.clientNames(),
                  QStringList({QStringLiteral("test"), QStringLiteral("again")}));
    }
}

TEST(NetworkConfiguration, KernelViewAnswersTheLoopback) {
    const auto store = NetworkConfiguration::open(QStringLiteral("test"));
    ASSERT_TRUE(store);
    const std::optional<QVariantMap> link =
        store->valueForKey(QStringLiteral("State:/Network/Interface/lo/Link"));
    ASSERT_TRUE(link);
    EXPECT_EQ(link->value(QStringLiteral("Active")), QVariant(true));
    const std::optional<QVariantMap> service =
        store->valueForKey(QStringLiteral("State:/Network/Service/lo/IPv4"));
    ASSERT_TRUE(service);
    EXPECT_TRUE(service->value(QStringLiteral("Addresses"))
                    .toStringList()
                    .contains(QStringLiteral("127.0.0.1")));
}

TEST(NetworkConfiguration, KernelViewFollowsTheDefaultRoute) {
    QFile routes(QStringLiteral("/proc/net/route"));
    ASSERT_TRUE(routes.open(QIODevice::ReadOnly));
    const QString primary = NetworkConfiguration::defaultRouteInterface(routes.readAll());
    const auto store = NetworkConfiguration::open(QStringLiteral("test"));
    ASSERT_TRUE(store);
    const std::optional<QVariantMap> global =
        store->valueForKey(QStringLiteral("State:/Network/Global/IPv4"));
    if (primary.isEmpty()) {
        EXPECT_FALSE(global);
        GTEST_SKIP() << "this machine has no default route";
    }
    ASSERT_TRUE(global);
    EXPECT_EQ(global->value(QStringLiteral("PrimaryInterface")), primary);
    EXPECT_EQ(global->value(QStringLiteral("PrimaryService")), primary);
    const auto link =
        store->valueForKey(QStringLiteral("State:/Network/Interface/%1/Link").arg(primary));
    ASSERT_TRUE(link);
    EXPECT_EQ(link->value(QStringLiteral("Active")).typeId(), QMetaType::Bool);
    const auto service =
        store->valueForKey(QStringLiteral("State:/Network/Service/%1/IPv4").arg(primary));
    ASSERT_TRUE(service);
    for (const QString& address : service->value(QStringLiteral("Addresses")).toStringList()) {
        in_addr parsed{};
        EXPECT_EQ(inet_pton(AF_INET, address.toLatin1().constData(), &parsed), 1)
            << address.toStdString();
    }
}

TEST(NetworkConfiguration, KernelViewHasNoValueForUnknownKeysOrInterfaces) {
    const auto store = NetworkConfiguration::open(QStringLiteral("test"));
    ASSERT_TRUE(store);
    EXPECT_FALSE(store->valueForKey(QStringLiteral("State:/Network/Interface/nosuch0/Link")));
    EXPECT_FALSE(store->valueForKey(QStringLiteral("State:/Network/Service/nosuch0/IPv4")));
    EXPECT_FALSE(store->valueForKey(QStringLiteral("State:/Network/Interface/../Link")));
    EXPECT_FALSE(store->valueForKey(QStringLiteral("State:/Network/Global/IPv6")));
}
