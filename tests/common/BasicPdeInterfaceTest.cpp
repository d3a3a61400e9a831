#include "common/BasicPdeInterface.h"

#include "kit/Bundle.h"
#include "vextelpde/PanelTestSupport.h"

#include <gtest/gtest.h>

using tarvik_pde_m40vextel::BasicPdeInterface;

namespace {

class BasicPdeInterfaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        kit::Bundle::setPreferredLanguagesForTesting({QStringLiteral("en")});
        bundle = panel_test::pluginBundle();
        ASSERT_TRUE(bundle);
        ppd = panel_test::openPpd(panel_test::kMainPpd);
        ASSERT_TRUE(ppd);
    }
    void TearDown() override { kit::Bundle::setPreferredLanguagesForTesting({}); }

    std::shared_ptr<kit::Bundle> bundle;
    panel_test::PpdPtr ppd;
};

TEST_F(BasicPdeInterfaceTest, KeepsTheHostsPpdAndNamesThePrinterTable) {
    panel_test::FakeHost host(ppd.get());
    BasicPdeInterface panel(&host, bundle);
    EXPECT_EQ(panel.ppd(), ppd.get());
    EXPECT_EQ(panel.localizedFileName(), "Localizable3");
}

TEST_F(BasicPdeInterfaceTest, WithoutTheIndexAttributeOrPpdTheDefaultTableIsUsed) {
    auto plain = panel_test::openPpd("tests/fixtures/ppd-panel/no-localizable-index.ppd");
    panel_test::FakeHost host(plain.get());
    EXPECT_TRUE(BasicPdeInterface(&host, bundle).localizedFileName().isNull());

    panel_test::FakeHost noPpd(nullptr);
    BasicPdeInterface panel(&noPpd, bundle);
    EXPECT_TRUE(panel.localizedFileName().isNull());
    EXPECT_EQ(panel.panelName(), "Fax Settings");
}

TEST_F(BasicPdeInterfaceTest, PanelNameIsLookedUpOnceAndCached) {
    panel_test::FakeHost host(ppd.get());
    BasicPdeInterface panel(&host, bundle);
    const QString first = panel.panelName();
    EXPECT_EQ(first, "Fax Settings");

    // A later change of language does not reach a name already looked up.
    kit::Bundle::setPreferredLanguagesForTesting({QStringLiteral("de")});
    const QString second = panel.panelName();
    EXPECT_EQ(second, "Fax Settings");
    EXPECT_EQ(second.constData(), first.constData());
    EXPECT_EQ(BasicPdeInterface(&host, bundle).panelName(), "Faxeinstellungen");
}

TEST_F(BasicPdeInterfaceTest, PanelKindIsTheBundleIdentifier) {
    panel_test::FakeHost host(ppd.get());
    BasicPdeInterface panel(&host, bundle);
    EXPECT_EQ(panel.panelKind(), "com.tarvik.print.VextelPDE");
}

TEST_F(BasicPdeInterfaceTest, AnswersEveryCallWithItsHarmlessDefault) {
    panel_test::FakeHost host(ppd.get());
    BasicPdeInterface panel(&host, bundle);
    EXPECT_EQ(panel.panelView(), nullptr);
    EXPECT_FALSE(panel.supportedPPDOptionKeys().has_value());
    EXPECT_TRUE(panel.shouldHide());
    EXPECT_TRUE(panel.shouldPrint());
    EXPECT_TRUE(panel.shouldShowHelp());
    EXPECT_FALSE(panel.summaryInfo().has_value());
    QString error = QStringLiteral("untouched");
    EXPECT_TRUE(panel.restoreValuesAndReturnError(&error));
    EXPECT_TRUE(panel.saveValuesAndReturnError(&error));
    EXPECT_EQ(error, "untouched");
    EXPECT_TRUE(host.requests.empty());
}

} // namespace
