#include "SimulatorOptions.h"

#include <gtest/gtest.h>

using vextel_sim::Fault;
using vextel_sim::SimulatorOptions;

namespace {

TEST(SimulatorOptionsTest, ReadsEveryOptionAndDefaults) {
    std::string error;
    const auto options =
        SimulatorOptions::parse({"--listen", "[::1]:0", "--book", "b.json", "--listen",
                                 "127.0.0.2:8080", "--password", "0420", "--fault", "wrong-type"},
                                &error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->bookPath, "b.json");
    ASSERT_EQ(options->listen.size(), 2u);
    EXPECT_EQ(options->listen[0].host, "::1");
    EXPECT_EQ(options->listen[0].port, 0);
    EXPECT_EQ(options->listen[1].host, "127.0.0.2");
    EXPECT_EQ(options->listen[1].port, 8080);
    EXPECT_EQ(options->password, "0420");
    EXPECT_EQ(options->fault, Fault::WrongType);

    const auto defaults = SimulatorOptions::parse({"--book", "b.vcf"}, &error);
    ASSERT_TRUE(defaults);
    ASSERT_EQ(defaults->listen.size(), 1u);
    EXPECT_EQ(defaults->listen[0].host, "127.0.0.1");
    EXPECT_EQ(defaults->listen[0].port, 60000);
    EXPECT_EQ(defaults->password, "0000");
    EXPECT_EQ(defaults->fault, Fault::None);
    EXPECT_TRUE(defaults->jobsListen.empty());
    EXPECT_FALSE(defaults->clockStart);
    EXPECT_EQ(defaults->clockSpeed, 1);

    const auto fax =
        SimulatorOptions::parse({"--book", "b", "--jobs-listen", "127.0.0.1:9100", "--dial-plan",
                                 "plan", "--clock-start", "21:29", "--clock-speed", "600"},
                                &error);
    ASSERT_TRUE(fax) << error;
    ASSERT_EQ(fax->jobsListen.size(), 1u);
    EXPECT_EQ(fax->jobsListen[0].port, 9100);
    EXPECT_EQ(fax->dialPlanPath, "plan");
    EXPECT_EQ(fax->clockStart, 21 * 60 + 29);
    EXPECT_EQ(fax->clockSpeed, 600);
}

TEST(SimulatorOptionsTest, RefusesWhatItCannotServeWithAMessage) {
    const std::pair<std::vector<std::string>, const char*> rows[] = {
        {{}, "--book FILE is required"},
        {{"--book"}, "--book needs a value"},
        {{"--book", "b", "--verbose"}, "unknown argument: --verbose"},
        {{"--book", "b", "--listen", "::1:80"}, "--listen takes"},
        {{"--book", "b", "--listen", "127.0.0.1"}, "--listen takes"},
        {{"--book", "b", "--listen", "127.0.0.1:65536"}, "--listen takes"},
        {{"--book", "b", "--listen", "[::1]80"}, "--listen takes"},
        {{"--book", "b", "--listen", ":80"}, "--listen takes"},
        {{"--book", "b", "--password", "123"}, "--password takes a four-digit code"},
        {{"--book", "b", "--password", "12a4"}, "--password takes a four-digit code"},
        {{"--book", "b", "--fault", "flaky"}, "unknown fault mode: flaky"},
        {{"--book", "b", "--jobs-listen", "9100"}, "--jobs-listen takes"},
        {{"--book", "b", "--clock-start", "24:00"}, "--clock-start takes HH:MM"},
        {{"--book", "b", "--clock-start", "9:30"}, "--clock-start takes HH:MM"},
        {{"--book", "b", "--clock-speed", "0"}, "--clock-speed takes a factor"},
        {{"--book", "b", "--clock-speed", "3601"}, "--clock-speed takes a factor"},
    };
    for (const auto& [arguments, message] : rows) {
        std::string error;
        EXPECT_FALSE(SimulatorOptions::parse(arguments, &error));
        EXPECT_EQ(error.rfind(message, 0), 0u) << error;
    }
}

TEST(SimulatorOptionsTest, NamesEveryFaultMode) {
    for (const char* name : {"down", "slow", "garbage", "truncated", "wrong-type", "oversized",
                             "disconnect", "busy"}) {
        const auto fault = SimulatorOptions::faultNamed(name);
        ASSERT_TRUE(fault) << name;
        EXPECT_NE(*fault, Fault::None);
    }
    EXPECT_FALSE(SimulatorOptions::faultNamed("none"));
}

} // namespace
