#include "common/TKDRVLocalization.h"

#include "kit/Bundle.h"
#include "vextelpde/PanelTestSupport.h"

#include <gtest/gtest.h>

using tarvik_pde_m40vextel::printerSpecificTableName;
using tarvik_pde_m40vextel::tkdrvLocalizedStringForKey;

namespace {

class TKDRVLocalizationTest : public ::testing::Test {
protected:
    void SetUp() override {
        kit::Bundle::setPreferredLanguagesForTesting({QStringLiteral("de")});
        bundle = panel_test::pluginBundle();
        ASSERT_TRUE(bundle);
    }
    void TearDown() override { kit::Bundle::setPreferredLanguagesForTesting({}); }

    QString lookUp(const QString& key, const QString& table, const QString& value = {}) {
        return tkdrvLocalizedStringForKey(*bundle, key, value, table);
    }

    std::shared_ptr<kit::Bundle> bundle;
};

TEST_F(TKDRVLocalizationTest, PrinterTableWinsOverTheDefaultTable) {
    EXPECT_EQ(lookUp("Cover Page Settings", "Localizable3"), "Faxdeckblatt");
    EXPECT_EQ(lookUp("Cover Page Settings", QString()), "Deckblatteinstellungen");
}

TEST_F(TKDRVLocalizationTest, KeyMissingFromPrinterTableComesFromDefaultTable) {
    EXPECT_EQ(lookUp("Defaults", "Localizable3"), "Standardwerte");
}

TEST_F(TKDRVLocalizationTest, PrinterEntryMappingKeyToItselfDefersToDefaultTable) {
    // The printer table really holds the entry: asked alone it answers the key.
    EXPECT_EQ(bundle->localizedStringForKey("Sender Name", {}, "Localizable3"), "Sender Name");
    EXPECT_EQ(lookUp("Sender Name", "Localizable3"), "Absendername");
}

TEST_F(TKDRVLocalizationTest, KeyFoundNowhereComesBackUnchangedOrAsTheValue) {
    EXPECT_EQ(lookUp("No Such Text", "Localizable3"), "No Such Text");
    EXPECT_EQ(lookUp("No Such Text", QString()), "No Such Text");
    EXPECT_EQ(lookUp("No Such Text", "Localizable3", "Fallback"), "Fallback");
}

TEST_F(TKDRVLocalizationTest, MissingPrinterTableFallsBackToDefaultTable) {
    EXPECT_EQ(lookUp("Defaults", "Localizable9"), "Standardwerte");
}

// The test bundle's "Cover Page" is in the English printer table and the German default table
// only; "Sender Name" is in both printer tables and both default tables.
TEST(TKDRVLocalizationLanguageOrder, UserLanguageInEitherTableBeatsTheDevelopmentLanguage) {
    const auto bundle =
        kit::Bundle::open(QStringLiteral(VEXTEL_BINARY_DIR "/tests/fixtures/TestBundle.bundle"));
    ASSERT_TRUE(bundle);
    struct Case {
        QStringList languages;
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        {{"de"}, "Cover Page", "Deckblatt"},
        {{"en"}, "Cover Page", "Cover Sheet (M40)"},
        {{"fr", "de"}, "Cover Page", "Deckblatt"},
        {{"de"}, "Sender Name", "Absender (M40)"},
        {{"en"}, "Sender Name", "Sender (M40)"},
        {{"de"}, "Only in English", "English only text"},
        {{"de"}, "Fax Settings", "Fax-Einstellungen"},
        {{"de"}, "Nowhere", "Nowhere"},
    };
    for (const Case& c : cases) {
        kit::Bundle::setPreferredLanguagesForTesting(c.languages);
        EXPECT_EQ(tkdrvLocalizedStringForKey(*bundle, c.key, {}, "Localizable3"), c.expected)
            << c.languages.join(',').toStdString() << ": " << c.key;
    }
    kit::Bundle::setPreferredLanguagesForTesting({});
}

TEST(PrinterSpecificTableNameTest, NamedByTheLocalizableFileIndexAttribute) {
    auto withIndex = panel_test::openPpd(panel_test::kMainPpd);
    ASSERT_TRUE(withIndex);
    EXPECT_EQ(printerSpecificTableName(withIndex.get()), "Localizable3");

    auto withoutIndex = panel_test::openPpd("tests/fixtures/ppd-panel/no-localizable-index.ppd");
    ASSERT_TRUE(withoutIndex);
    EXPECT_TRUE(printerSpecificTableName(withoutIndex.get()).isNull());
    EXPECT_TRUE(printerSpecificTableName(nullptr).isNull());
}

} // namespace
