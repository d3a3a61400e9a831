#include "vextelpde/VextelPdePlugin.h"

#include "kit/Bundle.h"
#include "kit/ClassRegistry.h"
#include "vextelpde/PanelTestSupport.h"
#include "vextelpde/VextelPdeInterface.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using tarvik_pde_m40vextel::VextelPdePlugin;

namespace {

std::shared_ptr<kit::Bundle> makeOtherBundle(const QTemporaryDir& folder) {
    const QString contents = folder.path() + QStringLiteral("/Other.plugin/Contents");
    QDir().mkpath(contents);
    QFile plist(contents + QStringLiteral("/Info.plist"));
    if (!plist.open(QIODevice::WriteOnly)) {
        return nullptr;
    }
    plist.write(R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
<key>CFBundleIdentifier</key><string>com.example.other</string>
</dict></plist>
)");
    plist.close();
    return kit::Bundle::open(folder.path() + QStringLiteral("/Other.plugin"));
}

class VextelPdePluginTest : public ::testing::Test {
protected:
    void SetUp() override {
        bundle = panel_test::pluginBundle();
        ASSERT_TRUE(bundle);
        ppd = panel_test::openPpd(panel_test::kMainPpd);
        host = std::make_unique<panel_test::FakeHost>(ppd.get());
    }

    std::shared_ptr<kit::Bundle> bundle;
    panel_test::PpdPtr ppd;
    std::unique_ptr<panel_test::FakeHost> host;
};

TEST_F(VextelPdePluginTest, OtherDialogTypesGetAnEmptyArray) {
    VextelPdePlugin factory;
    factory.initWithBundle(bundle);
    auto panels = factory.PDEPanelsForType("00000000-0000-0000-0000-000000000000", host.get());
    ASSERT_TRUE(panels.has_value());
    EXPECT_TRUE(panels->empty());
    auto lowerCase = factory.PDEPanelsForType("bdb091f4-e57f-11d3-b5cc-0050e4603277", host.get());
    ASSERT_TRUE(lowerCase.has_value());
    EXPECT_TRUE(lowerCase->empty());
}

TEST_F(VextelPdePluginTest, PrintDialogGetsOneFaxPanelWithTheFactorysBundle) {
    VextelPdePlugin factory;
    factory.initWithBundle(bundle);
    auto panels = factory.PDEPanelsForType(printing::kPrintDialogPanelType, host.get());
    ASSERT_TRUE(panels.has_value());
    ASSERT_EQ(panels->size(), 1u);
    auto* panel = dynamic_cast<tarvik_pde_m40vextel::VextelPdeInterface*>(panels->front().get());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->pluginBundle(), bundle);
    EXPECT_EQ(panel->ppd(), ppd.get());
}

TEST_F(VextelPdePluginTest, ASecondBundleLeavesTheFirstInPlace) {
    QTemporaryDir folder;
    auto other = makeOtherBundle(folder);
    ASSERT_TRUE(other);
    VextelPdePlugin factory;
    EXPECT_TRUE(factory.initWithBundle(bundle));
    EXPECT_TRUE(factory.initWithBundle(other));
    EXPECT_EQ(factory.bundle(), bundle);
    auto panels = factory.PDEPanelsForType(printing::kPrintDialogPanelType, host.get());
    ASSERT_TRUE(panels.has_value());
    EXPECT_EQ(panels->front()->panelKind(), "com.tarvik.print.VextelPDE");
}

TEST_F(VextelPdePluginTest, EntryPointMakesAFactoryAndRegistersTheLayoutClasses) {
    std::unique_ptr<printing::PluginFactory> factory(VextelPdeCreateFactory());
    ASSERT_NE(factory, nullptr);
    EXPECT_TRUE(kit::ClassRegistry::hasViewClass("VextelPdeView"));
    EXPECT_TRUE(kit::ClassRegistry::hasViewClass("FaxSettingView"));
    EXPECT_TRUE(kit::ClassRegistry::hasObjectClass("FaxSettingController"));
    EXPECT_TRUE(kit::ClassRegistry::hasObjectClass("AddressInformation"));
}

} // namespace
