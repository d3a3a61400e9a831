#include "FaxSettingDialogFixture.h"
#include "common/UtilityFunctions.h"
#include "kit/Environment.h"
#include "printing/PanelProtocol.h"
#include "printing/PrintSettings.h"
#include "support/EnvironmentScope.h"
#include "vextelpde/AddressInformation.h"
#include "vextelpde/BindingKeys.h"
#include "vextelpde/JobParameterKeys.h"

#include <QDateTime>
#include <QLocale>
#include <ctime>

namespace tarvik_pde_m40vextel::testing {
namespace {

using ::testing::ElementsAre;

QString stored(const printing::PrintSettings& settings, const QString& key) {
    return settings.value(key).toString();
}

// The keys are the driver's: the text each constant makes is pinned here, once.
TEST(JobParameterKeys, SpellTheDriversKeys) {
    const struct {
        QString key;
        const char* expected;
    } kKeys[] = {
        {jobParameterKey(kVTelCoverSenderName), "tarvik.print.printsettings.VTelCoverSenderName"},
        {jobParameterKey(kVTelPassword), "tarvik.print.printsettings.VTelPassword"},
        {jobParameterKey(kVTelDelayedPrint), "tarvik.print.printsettings.VTelDelayedPrint"},
        {jobParameterKey(kVTelDelayedTime), "tarvik.print.printsettings.VTelDelayedTime"},
        {jobParameterKey(kVTelDestinationNumber),
         "tarvik.print.printsettings.VTelDestinationNumber"},
        {jobParameterKey(kVTelDestinationName, 1),
         "tarvik.print.printsettings.VTelDestinationName1"},
        {jobParameterKey(kVTelDestinationPhoneNumber, 30),
         "tarvik.print.printsettings.VTelDestinationPhoneNumber30"},
        {QLatin1String(printing::kSummaryDisplayOrderKey), "Summary Display Order"},
    };
    for (const auto& row : kKeys) {
        EXPECT_EQ(row.key, QLatin1String(row.expected));
    }
}

// Each binding key names a property of its class, as the layouts bind it.
TEST(BindingKeys, NameAPropertyOfTheirClass) {
    const struct {
        QLatin1String key;
        const QMetaObject* owner;
    } kKeys[] = {
        {kAddressNameKey, &FaxSettingController::staticMetaObject},
        {kAddressPhoneNumberKey, &FaxSettingController::staticMetaObject},
        {kPasswordKey, &FaxSettingController::staticMetaObject},
        {kDelayedPrintKey, &FaxSettingController::staticMetaObject},
        {kDelayedTimeKey, &FaxSettingController::staticMetaObject},
        {kIsAddressFileAvailableKey, &FaxSettingController::staticMetaObject},
        {kCanAddAddressKey, &FaxSettingController::staticMetaObject},
        {kCanEditAddressKey, &FaxSettingController::staticMetaObject},
        {kCanDeleteAddressKey, &FaxSettingController::staticMetaObject},
        {kCanAddToAddressFileKey, &FaxSettingController::staticMetaObject},
        {kIsDelayedTimeKey, &FaxSettingController::staticMetaObject},
        {kNameKey, &AddressInformation::staticMetaObject},
        {kPhoneNumberKey, &AddressInformation::staticMetaObject},
        {kCompanyKey, &AddressInformation::staticMetaObject},
        {kNoteKey, &AddressInformation::staticMetaObject},
        {kPcAddressSearchFieldKey, &AddressBookController::staticMetaObject},
        {kDeviceAddressSearchFieldKey, &AddressBookController::staticMetaObject},
        {kCanAddPCAddressDataKey, &AddressBookController::staticMetaObject},
        {kCanShowPCAddressPropertyKey, &AddressBookController::staticMetaObject},
        {kCanAddDeviceAddressDataKey, &AddressBookController::staticMetaObject},
        {kCanShowDeviceAddressPropertyKey, &AddressBookController::staticMetaObject},
        {kCanRemoveDestinationAddressKey, &AddressBookController::staticMetaObject},
    };
    for (const auto& row : kKeys) {
        EXPECT_GE(row.owner->indexOfProperty(row.key.data()), 0)
            << row.owner->className() << "." << row.key.data();
    }
}

class JobParametersTest : public FaxSettingDialogTest {
protected:
    void setValues(const QString& password, int delayedPrint, const QTime& time) {
        kit::setValueForKey(controller(), kPasswordKey, password);
        kit::setValueForKey(controller(), kDelayedPrintKey, delayedPrint);
        kit::setValueForKey(controller(), kDelayedTimeKey, QDateTime(QDate(2024, 5, 6), time));
    }

    // Opens the dialog at the given moment and starts sending to one recipient.
    void sendOpenedAt(const QDateTime& opening) {
        kit::Environment::ClockOverride clock(opening);
        if (recipients()->count() == 0) {
            addRecipients({{"a", "1"}});
        }
        runDialog([this](kit::Window*) { controller()->startSending(nullptr); });
        ASSERT_TRUE(controller()->isSending());
    }

    printing::PrintSettings settings;
};

TEST_F(JobParametersTest, WritesEveryEntryInOrderWithRecipientsInArrangedOrder) {
    addRecipients({{"alpha", "200"}, {"Beta", "100"}});
    setValues("1234", 1, QTime(21, 30));
    controller()->setPrintSettings(&settings);

    EXPECT_THAT(settings.keys(),
                ElementsAre(jobParameterKey(kVTelPassword), jobParameterKey(kVTelDelayedPrint),
                            jobParameterKey(kVTelDelayedTime),
                            jobParameterKey(kVTelDestinationNumber),
                            jobParameterKey(kVTelDestinationName, 1),
                            jobParameterKey(kVTelDestinationPhoneNumber, 1),
                            jobParameterKey(kVTelDestinationName, 2),
                            jobParameterKey(kVTelDestinationPhoneNumber, 2)));
    EXPECT_EQ(stored(settings, jobParameterKey(kVTelDelayedPrint)), "1");
    EXPECT_EQ(stored(settings, jobParameterKey(kVTelDelayedTime)), "21:30");
    EXPECT_EQ(stored(settings, jobParameterKey(kVTelDestinationNumber)), "2");
    EXPECT_EQ(stored(settings, jobParameterKey(kVTelDestinationName, 1)), "Beta");
    EXPECT_EQ(stored(settings, jobParameterKey(kVTelDestinationPhoneNumber, 1)), "100");
    EXPECT_EQ(stored(settings, jobParameterKey(kVTelDestinationName, 2)), "alpha");
    EXPECT_EQ(stored(settings, jobParameterKey(kVTelDestinationPhoneNumber, 2)), "200");
    for (const auto& entry : settings.entries()) {
        EXPECT_FALSE(entry.locked) << entry.key.toStdString();
        EXPECT_EQ(entry.value.typeId(), QMetaType::QString) << entry.key.toStdString();
    }
}

TEST_F(JobParametersTest, AFourDigitPasswordIsStoredScrambledNeverAsTyped) {
    addRecipients({{"a", "1"}});
    setValues("1234", 0, QTime(8, 0));
    controller()->setPrintSettings(&settings);
    const QString password = stored(settings, jobParameterKey(kVTelPassword));
    EXPECT_NE(password, "1234");
    EXPECT_FALSE(password.contains("1234"));
    EXPECT_EQ(password.size(), 8);
    EXPECT_TRUE(password.endsWith("=="));
    EXPECT_EQ(CreateDecryptedString(password, GetEncodingInfoFromPPD(nullptr)), "1234");
}

TEST_F(JobParametersTest, AnEmptyOrAbsentPasswordIsStoredAsTheEmptyString) {
    addRecipients({{"a", "1"}});
    setValues("", 0, QTime(8, 0));
    controller()->setPrintSettings(&settings);
    ASSERT_TRUE(settings.contains(jobParameterKey(kVTelPassword)));
    EXPECT_EQ(stored(settings, jobParameterKey(kVTelPassword)), "");

    printing::PrintSettings absent;
    kit::setValueForKey(controller(), kPasswordKey, QString());
    controller()->setPrintSettings(&absent);
    ASSERT_TRUE(absent.contains(jobParameterKey(kVTelPassword)));
    EXPECT_EQ(stored(absent, jobParameterKey(kVTelPassword)), "");
}

TEST_F(JobParametersTest, AFailedPasswordStoreEndsTheWriting) {
    addRecipients({{"a", "1"}});
    setValues("1234", 1, QTime(8, 0));
    settings.failStoresForKey(jobParameterKey(kVTelPassword));
    controller()->setPrintSettings(&settings);
    EXPECT_EQ(settings.count(), 0);
}

TEST_F(JobParametersTest, AFailedDelayedSendStoreEndsTheWritingAfterThePassword) {
    addRecipients({{"a", "1"}});
    setValues("1234", 1, QTime(8, 0));
    settings.failStoresForKey(jobParameterKey(kVTelDelayedTime));
    controller()->setPrintSettings(&settings);
    EXPECT_THAT(settings.keys(),
                ElementsAre(jobParameterKey(kVTelPassword), jobParameterKey(kVTelDelayedPrint)));
}

TEST_F(JobParametersTest, FailedDestinationStoresDoNotStopTheOthers) {
    addRecipients({{"b", "2"}, {"a", "1"}});
    setValues("", 0, QTime(8, 0));
    settings.failStoresForKey(jobParameterKey(kVTelDestinationName, 1));
    controller()->setPrintSettings(&settings);
    EXPECT_FALSE(settings.contains(jobParameterKey(kVTelDestinationName, 1)));
    EXPECT_EQ(stored(settings, jobParameterKey(kVTelDestinationPhoneNumber, 1)), "2");
    EXPECT_EQ(stored(settings, jobParameterKey(kVTelDestinationName, 2)), "a");
}

TEST_F(JobParametersTest, WithoutRecipientsNoDestinationIsWrittenAndHigherKeysStay) {
    settings.setValue(jobParameterKey(kVTelDestinationName, 3), "earlier", false);
    setValues("", 0, QTime(8, 0));
    controller()->setPrintSettings(&settings);
    EXPECT_FALSE(settings.contains(jobParameterKey(kVTelDestinationNumber)));
    EXPECT_EQ(stored(settings, jobParameterKey(kVTelDelayedPrint)), "0");

    addRecipients({{"a", "1"}});
    controller()->setPrintSettings(&settings);
    EXPECT_EQ(stored(settings, jobParameterKey(kVTelDestinationNumber)), "1");
    EXPECT_EQ(stored(settings, jobParameterKey(kVTelDestinationName, 3)), "earlier");
}

TEST_F(JobParametersTest, TheTimeOfOpeningIsWrittenAsTwentyFourHourClockWithoutSeconds) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    sendOpenedAt(QDateTime(QDate(2024, 5, 6), QTime(9, 5, 42)));
    controller()->setPrintSettings(&settings);
    EXPECT_EQ(stored(settings, jobParameterKey(kVTelDelayedPrint)), "0");
    EXPECT_EQ(stored(settings, jobParameterKey(kVTelDelayedTime)), "09:05");

    sendOpenedAt(QDateTime(QDate(2024, 5, 6), QTime(21, 30, 59)));
    controller()->setPrintSettings(&settings);
    EXPECT_EQ(stored(settings, jobParameterKey(kVTelDelayedTime)), "21:30");
    QLocale::setDefault(previous);
}

TEST_F(JobParametersTest, TheTimeIsWrittenInTheLocalTimeZone) {
    {
        vextel_test::EnvironmentScope zone("TZ", "JST-9");
        tzset();
        setValues("", 0, QTime(8, 0));
        kit::setValueForKey(controller(), kDelayedTimeKey,
                            QDateTime(QDate(2024, 5, 6), QTime(12, 0), Qt::UTC));
        controller()->setPrintSettings(&settings);
    }
    tzset();
    EXPECT_EQ(stored(settings, jobParameterKey(kVTelDelayedTime)), "21:00");
}

TEST_F(JobParametersTest, ATypedNumberAcceptedAtStartIsTheOnlyDestination) {
    runDialog([this](kit::Window*) {
        type(controller()->addressNameTextField(), "Smith");
        type(controller()->addressPhoneNumberTextField(), "0123");
        alertDriver.answer("OK");
        controller()->startSending(nullptr);
    });
    ASSERT_TRUE(controller()->isSending());
    controller()->setPrintSettings(&settings);
    EXPECT_EQ(stored(settings, jobParameterKey(kVTelDestinationNumber)), "1");
    ASSERT_TRUE(settings.contains(jobParameterKey(kVTelDestinationName, 1)));
    EXPECT_EQ(stored(settings, jobParameterKey(kVTelDestinationName, 1)), "");
    EXPECT_EQ(stored(settings, jobParameterKey(kVTelDestinationPhoneNumber, 1)), "0123");
}

} // namespace
} // namespace tarvik_pde_m40vextel::testing

#include "moc_FaxSettingDialogFixture.cpp"
