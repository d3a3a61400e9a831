#include "vextelpde/PpdFeature.h"

#include "vextelpde/PanelTestSupport.h"

#include <gtest/gtest.h>

using tarvik_pde_m40vextel::PpdFeature;

namespace {

constexpr char kPrefixPpd[] = "tests/fixtures/ppd-panel/prefix-choices.ppd";
constexpr char kFeaturePpd[] = "tests/fixtures/ppd-pde/feature-cases.ppd";

TEST(PpdFeatureTest, MarkedChoiceIsCurrentEvenWithTheDefaultLater) {
    auto ppd = panel_test::openPpd(kFeaturePpd, false);
    ASSERT_TRUE(ppd);
    ppdMarkOption(ppd.get(), "TKFaxImageQuality", "Fine");
    PpdFeature feature(ppd.get(), "TKFaxImageQuality");
    EXPECT_EQ(feature.curChoice(), "Fine");
    EXPECT_EQ(feature.curValue(), "Fine");
    EXPECT_EQ(feature.title(), "Quality");
}

TEST(PpdFeatureTest, PrefixSharingChoicesPickTheLastAtCreationAndTheExactOneOnReset) {
    auto ppd = panel_test::openPpd(kPrefixPpd, false);
    ASSERT_TRUE(ppd);
    PpdFeature feature(ppd.get(), "TKFaxImageQuality");
    EXPECT_EQ(feature.curChoice(), "StdFine");
    EXPECT_EQ(feature.curValue(), "Standard Fine");
    feature.setDefault();
    EXPECT_EQ(feature.curChoice(), "Std");
    EXPECT_EQ(feature.curValue(), "Standard");
}

TEST(PpdFeatureTest, DefaultNotAmongTheChoicesLeavesNoCurrentChoice) {
    auto ppd = panel_test::openPpd(kPrefixPpd, false);
    PpdFeature feature(ppd.get(), "TKFaxTransmissionReport");
    EXPECT_TRUE(feature.curChoice().isNull());
    feature.setDefault();
    EXPECT_TRUE(feature.curChoice().isNull());
    EXPECT_TRUE(feature.curValue().isNull());
    EXPECT_EQ(feature.title(), "Transmission Report");
}

TEST(PpdFeatureTest, SetCurChoiceChangesOnlyTheChoice) {
    auto ppd = panel_test::openPpd(panel_test::kMainPpd);
    PpdFeature feature(ppd.get(), "TKFaxCoverPageMode");
    EXPECT_EQ(feature.curChoice(), "Standard");
    ppd_option_t* option = ppdFindOption(ppd.get(), "TKFaxCoverPageMode");
    ASSERT_NE(option, nullptr);
    feature.setCurChoice(&option->choices[0]);
    EXPECT_EQ(feature.curChoice(), "None");
    EXPECT_EQ(feature.curValue(), "No Cover Page");
    EXPECT_EQ(feature.keyword(), "TKFaxCoverPageMode");
    EXPECT_EQ(feature.title(), "Cover Page");
}

TEST(PpdFeatureTest, SummaryEntriesFollowCallOrderAndSharedTitlesKeepTheLaterValue) {
    auto ppd = panel_test::openPpd(kFeaturePpd);
    auto main = panel_test::openPpd(panel_test::kMainPpd);
    PpdFeature quality(ppd.get(), "TKFaxImageQuality");
    PpdFeature report(ppd.get(), "TKFaxTransmissionReport");
    PpdFeature cover(main.get(), "TKFaxCoverPageMode");

    QVariantMap summary;
    QStringList order;
    cover.setSummaryInfo(summary, order);
    quality.setSummaryInfo(summary, order);
    report.setSummaryInfo(summary, order);

    EXPECT_EQ(order, QStringList({"Cover Page", "Quality", "Quality"}));
    EXPECT_EQ(summary.size(), 2);
    EXPECT_EQ(summary.value("Quality").toString(), "No Report");
    EXPECT_EQ(summary.value("Cover Page").toString(), "Standard");
}

TEST(PpdFeatureTest, UnknownOrOverlongKeywordGivesAFeatureWithoutOption) {
    auto ppd = panel_test::openPpd(panel_test::kMainPpd);
    PpdFeature unknown(ppd.get(), "TKNoSuchOption");
    EXPECT_EQ(unknown.keyword(), "TKNoSuchOption");
    EXPECT_TRUE(unknown.title().isNull());
    EXPECT_TRUE(unknown.curChoice().isNull());
    unknown.setDefault();
    EXPECT_TRUE(unknown.curChoice().isNull());
    QVariantMap summary;
    QStringList order;
    unknown.setSummaryInfo(summary, order);
    EXPECT_TRUE(summary.isEmpty());
    EXPECT_TRUE(order.isEmpty());

    // 255 bytes and the terminator do not fit the buffer.
    PpdFeature overlong(ppd.get(), QString(255, QLatin1Char('K')));
    EXPECT_FALSE(overlong.hasOption());
    EXPECT_TRUE(overlong.keyword().isEmpty());
    PpdFeature longest(ppd.get(), QString(254, QLatin1Char('K')));
    EXPECT_EQ(longest.keyword().size(), 254);
}

TEST(PpdFeatureTest, WithoutPpdNothingIsFound) {
    PpdFeature feature(nullptr, "TKFaxImageQuality");
    EXPECT_EQ(feature.keyword(), "TKFaxImageQuality");
    EXPECT_FALSE(feature.hasOption());
    feature.setDefault();
    EXPECT_TRUE(feature.curValue().isNull());
}

} // namespace
