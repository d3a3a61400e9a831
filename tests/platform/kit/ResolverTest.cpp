#include "kit/Resolver.h"

#include <cstring>
#include <gtest/gtest.h>
#include <net/if.h>
#include <netdb.h>

using kit::Resolver;

TEST(Resolver, SystemResolverResolvesLocalhostAndNamesTheLoopback) {
    const Resolver& resolver = Resolver::current();
    addrinfo* list = nullptr;
    ASSERT_EQ(resolver.getAddressInfo("localhost", &list), 0);
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->ai_family == AF_INET || list->ai_family == AF_INET6);
    resolver.freeAddressInfo(list);

    char name[IF_NAMESIZE] = {};
    const unsigned index = if_nametoindex("lo");
    ASSERT_NE(index, 0u);
    ASSERT_NE(resolver.interfaceName(index, name), nullptr);
    EXPECT_STREQ(name, "lo");
    EXPECT_EQ(resolver.interfaceName(999999, name), nullptr);
    EXPECT_NE(resolver.getAddressInfo("no-such-host.invalid", &list), 0);
}

TEST(Resolver, AnOverrideAnswersUntilItGoes) {
    class Refusing : public Resolver {
    public:
        int getAddressInfo(const char*, addrinfo**) const override { return EAI_AGAIN; }
    } refusing;
    addrinfo* list = nullptr;
    {
        Resolver::Override use(refusing);
        EXPECT_EQ(Resolver::current().getAddressInfo("localhost", &list), EAI_AGAIN);
    }
    ASSERT_EQ(Resolver::current().getAddressInfo("localhost", &list), 0);
    Resolver::current().freeAddressInfo(list);
}
