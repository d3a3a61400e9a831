#include "Utils.h"

#include "PpdFixture.h"
#include "kit/Environment.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace tarvik_pde_m40vextel;

namespace {

class GestaltAlt : public testing::Test {
protected:
    void SetUp() override { kit::Environment::resetCachesForTesting(); }
    void TearDown() override { kit::Environment::resetCachesForTesting(); }

    static int32_t answer(uint32_t selector) {
        int32_t response = -12345;
        EXPECT_EQ(Gestalt_ALT(selector, &response), 0);
        return response;
    }
};

} // namespace

TEST_F(GestaltAlt, PacksKernelRelease10_8_0) {
    kit::Environment::KernelReleaseOverride release(QStringLiteral("10.8.0"));
    EXPECT_EQ(answer(gestaltSystemVersion), 0x1068);
    EXPECT_EQ(answer(gestaltSystemVersionMajor), 10);
    EXPECT_EQ(answer(gestaltSystemVersionMinor), 6);
    EXPECT_EQ(answer(gestaltSystemVersionBugFix), 8);
}

TEST_F(GestaltAlt, PacksKernelRelease11_4_2AndKeepsTheValue) {
    {
        kit::Environment::KernelReleaseOverride release(QStringLiteral("11.4.2"));
        EXPECT_EQ(answer(gestaltSystemVersion), 0x1074);
    }
    kit::Environment::KernelReleaseOverride later(QStringLiteral("12.0.0"));
    EXPECT_EQ(answer(gestaltSystemVersion), 0x1074) << "decided once per process";
}

TEST_F(GestaltAlt, LargeMajorsAndMinorsSpillAsPacked) {
    kit::Environment::KernelReleaseOverride release(QStringLiteral("20.18.1"));
    // (20 - 4) * 16 = 0x100 reaches the third digit; 18 & 0xF = 2.
    EXPECT_EQ(answer(gestaltSystemVersion), 0x1102);
}

TEST_F(GestaltAlt, AnUnreadableReleaseLeavesTheBaseValueForGood) {
    {
        kit::Environment::KernelReleaseOverride unreadable(std::nullopt);
        EXPECT_EQ(answer(gestaltSystemVersion), 0x1000);
    }
    kit::Environment::KernelReleaseOverride release(QStringLiteral("10.8.0"));
    EXPECT_EQ(answer(gestaltSystemVersion), 0x1000);
}

TEST_F(GestaltAlt, UnknownSelectorIsReportedInHex) {
    kit::Environment::KernelReleaseOverride release(QStringLiteral("10.8.0"));
    int32_t response = 77;
    testing::internal::CaptureStderr();
    EXPECT_EQ(Gestalt_ALT(fourCharCode("abcd"), &response), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Gestalt_ALT : selector '61626364' not supported.\n");
    EXPECT_EQ(response, 77);
    EXPECT_EQ(Gestalt_ALT(gestaltSystemVersion, nullptr), -1);
}

TEST(PpdFindAttrAlt, MatchesTheFirstAttributeBeginningWithTheName) {
    const PpdPtr ppd = openFixturePpd("prefix-match.ppd");
    ASSERT_TRUE(ppd);
    const ppd_attr_t* longer = ppdFindAttr_ALT(ppd.get(), "TKLocalizableFileIndex");
    ASSERT_NE(longer, nullptr);
    EXPECT_STREQ(longer->name, "TKLocalizableFileIndexX");
    EXPECT_STREQ(longer->value, "9");

    const ppd_attr_t* exact = ppdFindAttr_ALT(ppd.get(), "TKPrinterLanguageEncoding");
    ASSERT_NE(exact, nullptr);
    EXPECT_STREQ(exact->value, "ISOLatin1");
    EXPECT_STREQ(ppdFindAttr_ALT(ppd.get(), "TKLocal")->name, "TKLocalizableFileIndexX");
}

TEST(PpdFindAttrAlt, AnswersNoneForMissingInput) {
    const PpdPtr ppd = openFixturePpd("prefix-match.ppd");
    ASSERT_TRUE(ppd);
    EXPECT_EQ(ppdFindAttr_ALT(ppd.get(), ""), nullptr);
    EXPECT_EQ(ppdFindAttr_ALT(ppd.get(), nullptr), nullptr);
    EXPECT_EQ(ppdFindAttr_ALT(nullptr, "TKLocalizableFileIndex"), nullptr);
    EXPECT_EQ(ppdFindAttr_ALT(ppd.get(), "TKLocalizableFileIndexXY"), nullptr);

    ppd_file_t empty{};
    EXPECT_EQ(ppdFindAttr_ALT(&empty, "TKLocalizableFileIndex"), nullptr);
}
