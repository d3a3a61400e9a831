#include "printing/PrintSettings.h"

#include "printing/PrintStatus.h"

#include <gtest/gtest.h>

namespace {

using printing::PrintSettings;

TEST(PrintSettingsTest, KeysKeepFirstInsertionOrderWhenValuesChange) {
    PrintSettings settings;
    EXPECT_EQ(settings.setValue(QStringLiteral("b"), QStringLiteral("1"), false), printing::noErr);
    EXPECT_EQ(settings.setValue(QStringLiteral("a"), QStringLiteral("2"), false), printing::noErr);
    EXPECT_EQ(settings.setValue(QStringLiteral("b"), QStringLiteral("3"), false), printing::noErr);
    EXPECT_EQ(settings.keys(), (QStringList{QStringLiteral("b"), QStringLiteral("a")}));
    ASSERT_EQ(settings.entries().size(), 2);
    EXPECT_EQ(settings.entries().at(0).value.toString(), QStringLiteral("3"));
    EXPECT_EQ(settings.count(), 2);
}

TEST(PrintSettingsTest, EmptyStringIsAValueAndInvalidVariantRemoves) {
    PrintSettings settings;
    settings.setValue(QStringLiteral("k"), QString(""), false);
    EXPECT_TRUE(settings.contains(QStringLiteral("k")));
    EXPECT_TRUE(settings.value(QStringLiteral("k")).isValid());
    EXPECT_EQ(settings.setValue(QStringLiteral("k"), QVariant(), false), printing::noErr);
    EXPECT_FALSE(settings.contains(QStringLiteral("k")));
    EXPECT_FALSE(settings.value(QStringLiteral("k")).isValid());
    // Removing what is not there is no failure.
    EXPECT_EQ(settings.setValue(QStringLiteral("k"), QVariant(), false), printing::noErr);
}

TEST(PrintSettingsTest, LockedKeyRefusesChangeAndRemoval) {
    PrintSettings settings;
    ASSERT_EQ(settings.setValue(QStringLiteral("k"), QStringLiteral("v"), true), printing::noErr);
    EXPECT_TRUE(settings.isLocked(QStringLiteral("k")));
    EXPECT_EQ(settings.setValue(QStringLiteral("k"), QStringLiteral("w"), false),
              printing::kPMKeyLocked);
    EXPECT_EQ(settings.setValue(QStringLiteral("k"), QVariant(), false), printing::kPMKeyLocked);
    EXPECT_EQ(settings.value(QStringLiteral("k")).toString(), QStringLiteral("v"));
    EXPECT_FALSE(settings.isLocked(QStringLiteral("other")));
}

TEST(PrintSettingsTest, FailingKeyLeavesSettingsUnchangedAndOtherKeysWork) {
    PrintSettings settings;
    settings.setValue(QStringLiteral("p"), QStringLiteral("old"), false);
    settings.failStoresForKey(QStringLiteral("p"));
    EXPECT_EQ(settings.setValue(QStringLiteral("p"), QStringLiteral("new"), false),
              printing::kPMStoreFailed);
    EXPECT_EQ(settings.setValue(QStringLiteral("p"), QVariant(), false), printing::kPMStoreFailed);
    EXPECT_EQ(settings.value(QStringLiteral("p")).toString(), QStringLiteral("old"));
    EXPECT_EQ(settings.setValue(QStringLiteral("q"), QStringLiteral("x"), false), printing::noErr);
    EXPECT_EQ(settings.setValue(QStringLiteral("new"), QStringLiteral("x"), false),
              printing::noErr);
    settings.failStoresForKey(QStringLiteral("fresh"));
    EXPECT_EQ(settings.setValue(QStringLiteral("fresh"), QStringLiteral("x"), false),
              printing::kPMStoreFailed);
    EXPECT_FALSE(settings.contains(QStringLiteral("fresh")));

    settings.clearStoreFailures();
    EXPECT_EQ(settings.setValue(QStringLiteral("p"), QStringLiteral("new"), false),
              printing::noErr);
    EXPECT_EQ(settings.value(QStringLiteral("p")).toString(), QStringLiteral("new"));
}

TEST(PrintSettingsTest, EmptyKeyIsRefused) {
    PrintSettings settings;
    EXPECT_EQ(settings.setValue(QString(), QStringLiteral("v"), false),
              printing::kPMInvalidParameter);
    EXPECT_EQ(settings.count(), 0);
}

} // namespace
