#include "printing/PrintingFunctions.h"

#include "printing/PrintSession.h"
#include "printing/PrintSettings.h"
#include "printing/Printer.h"
#include "vextelpde/JobParameterKeys.h"

#include <gtest/gtest.h>

namespace {

using namespace printing;
using tarvik_pde_m40vextel::jobParameterKey;
using tarvik_pde_m40vextel::kVTelCoverSenderName;

const QString kKey = jobParameterKey(kVTelCoverSenderName);

TEST(PrintingFunctionsTest, SetThenGetValueRoundTripsAsStringAndVariant) {
    PrintSettings settings;
    ASSERT_EQ(PMPrintSettingsSetValue(&settings, kKey, QStringLiteral("John Q. Smith"), false),
              noErr);
    QString text;
    EXPECT_EQ(PMPrintSettingsGetValue(&settings, kKey, &text), noErr);
    EXPECT_EQ(text, QStringLiteral("John Q. Smith"));
    QVariant value;
    EXPECT_EQ(PMPrintSettingsGetValue(&settings, kKey, &value), noErr);
    EXPECT_EQ(value.toString(), QStringLiteral("John Q. Smith"));
    EXPECT_FALSE(settings.isLocked(kKey));
}

TEST(PrintingFunctionsTest, GetValueFailuresLeaveOutParameterUntouched) {
    PrintSettings settings;
    settings.setValue(QStringLiteral("number"), 42, false);
    QString text = QStringLiteral("unchanged");
    EXPECT_EQ(PMPrintSettingsGetValue(&settings, kKey, &text), kPMKeyNotFound);
    EXPECT_EQ(PMPrintSettingsGetValue(&settings, QStringLiteral("number"), &text),
              kPMValueTypeMismatch);
    EXPECT_EQ(PMPrintSettingsGetValue(nullptr, kKey, &text), kPMInvalidParameter);
    EXPECT_EQ(PMPrintSettingsGetValue(&settings, QString(), &text), kPMInvalidParameter);
    EXPECT_EQ(text, QStringLiteral("unchanged"));
    EXPECT_EQ(PMPrintSettingsGetValue(&settings, kKey, static_cast<QString*>(nullptr)),
              kPMInvalidParameter);
    QVariant value(7);
    EXPECT_EQ(PMPrintSettingsGetValue(&settings, kKey, &value), kPMKeyNotFound);
    EXPECT_EQ(value.toInt(), 7);
    EXPECT_EQ(PMPrintSettingsGetValue(&settings, kKey, static_cast<QVariant*>(nullptr)),
              kPMInvalidParameter);
    // A stored value of another type still reads as a variant.
    EXPECT_EQ(PMPrintSettingsGetValue(&settings, QStringLiteral("number"), &value), noErr);
    EXPECT_EQ(value.toInt(), 42);
}

TEST(PrintingFunctionsTest, SetValueReportsStoreFailureLockAndNullSettings) {
    PrintSettings settings;
    settings.failStoresForKey(kKey);
    EXPECT_EQ(PMPrintSettingsSetValue(&settings, kKey, QStringLiteral("x"), false), kPMStoreFailed);
    EXPECT_FALSE(settings.contains(kKey));
    EXPECT_EQ(PMPrintSettingsSetValue(nullptr, kKey, QStringLiteral("x"), false),
              kPMInvalidParameter);
    EXPECT_EQ(PMPrintSettingsSetValue(&settings, QString(), QStringLiteral("x"), false),
              kPMInvalidParameter);
    ASSERT_EQ(
        PMPrintSettingsSetValue(&settings, QStringLiteral("locked"), QStringLiteral("1"), true),
        noErr);
    EXPECT_TRUE(settings.isLocked(QStringLiteral("locked")));
    EXPECT_EQ(
        PMPrintSettingsSetValue(&settings, QStringLiteral("locked"), QStringLiteral("2"), false),
        kPMKeyLocked);
}

TEST(PrintingFunctionsTest, DestinationTypeFollowsTheSession) {
    PrintSession session;
    PrintSettings settings;
    std::uint16_t type = 0;
    ASSERT_EQ(PMSessionGetDestinationType(&session, &settings, &type), noErr);
    EXPECT_EQ(type, kDestinationPrinter);
    EXPECT_EQ(kDestinationPrinter, 1);
    for (std::uint16_t other : {std::uint16_t(kDestinationFile), std::uint16_t(kDestinationPreview),
                                std::uint16_t(kDestinationProcessPDF)}) {
        EXPECT_NE(other, kDestinationPrinter);
        session.setDestination(other, QStringLiteral("/tmp/out.pdf"));
        ASSERT_EQ(PMSessionGetDestinationType(&session, &settings, &type), noErr);
        EXPECT_EQ(type, other);
    }
    EXPECT_EQ(session.destinationLocation(), QStringLiteral("/tmp/out.pdf"));
}

TEST(PrintingFunctionsTest, DestinationTypeFailuresLeaveOutParameterUntouched) {
    PrintSession session;
    PrintSettings settings;
    std::uint16_t type = 99;
    EXPECT_EQ(PMSessionGetDestinationType(nullptr, &settings, &type), kPMInvalidParameter);
    EXPECT_EQ(PMSessionGetDestinationType(&session, nullptr, &type), kPMInvalidParameter);
    EXPECT_EQ(PMSessionGetDestinationType(&session, &settings, nullptr), kPMInvalidParameter);
    session.setDestinationQueryFails(true);
    EXPECT_EQ(PMSessionGetDestinationType(&session, &settings, &type), kPMDestinationUnknown);
    EXPECT_EQ(type, 99);
}

TEST(PrintingFunctionsTest, DeviceUriOfPrinterOrFailure) {
    Printer printer(QStringLiteral("fax"), QStringLiteral("socket://192.0.2.7:9100"),
                    QStringLiteral("/etc/cups/ppd/fax.ppd"));
    QString uri = QStringLiteral("unchanged");
    EXPECT_EQ(PMPrinterCopyDeviceURI(&printer, &uri), noErr);
    EXPECT_EQ(uri, QStringLiteral("socket://192.0.2.7:9100"));
    EXPECT_EQ(printer.name(), QStringLiteral("fax"));
    EXPECT_EQ(printer.ppdPath(), QStringLiteral("/etc/cups/ppd/fax.ppd"));

    uri = QStringLiteral("unchanged");
    Printer noUri;
    EXPECT_EQ(PMPrinterCopyDeviceURI(&noUri, &uri), kPMNoDeviceURI);
    EXPECT_EQ(PMPrinterCopyDeviceURI(nullptr, &uri), kPMInvalidParameter);
    EXPECT_EQ(PMPrinterCopyDeviceURI(&printer, nullptr), kPMInvalidParameter);
    EXPECT_EQ(uri, QStringLiteral("unchanged"));
}

} // namespace
