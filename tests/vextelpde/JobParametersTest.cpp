#include "FaxSettingDialogFixture.h"
#include "common/UtilityFunctions.h"
#include "kit/Environment.h"
#include "printing/PrintSettings.h"
#include "support/EnvironmentScope.h"

#include <QDateTime>
#include <QLocale>
#include <ctime>

namespace tarvik_pde_m40vextel::testing {
namespace {

using ::testing::ElementsAre;

QString key(const QString& name) {
    return QStringLiteral("tarvik.print.printsettings.") + name;
}

QString stored(const printing::PrintSettings& settings, const QString& name) {
    return settings.value(key(name)).toString();
}

class JobParametersTest : public FaxSettingDialogTest {
protected:
    void setValues(const QString& password, int delayedPrint, const QTime& time) {
        kit::setValueForKey(controller(), "password", password);
        kit::setValueForKey(controller(), "delayedPrint", delayedPrint);
        kit::setValueForKey(controller(), "delayedTime", QDateTime(QDate(2024, 5, 6), time));
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
                ElementsAre(key("VTelPassword"), key("VTelDelayedPrint"), key("VTelDelayedTime"),
                            key("VTelDestinationNumber"), key("VTelDestinationName1"),
                            key("VTelDestinationPhoneNumber1"), key("VTelDestinationName2"),
                            key("VTelDestinationPhoneNumber2")));
    EXPECT_EQ(stored(settings, "VTelDelayedPrint"), "1");
    EXPECT_EQ(stored(settings, "VTelDelayedTime"), "21:30");
    EXPECT_EQ(stored(settings, "VTelDestinationNumber"), "2");
    EXPECT_EQ(stored(settings, "VTelDestinationName1"), "Beta");
    EXPECT_EQ(stored(settings, "VTelDestinationPhoneNumber1"), "100");
    EXPECT_EQ(stored(settings, "VTelDestinationName2"), "alpha");
    EXPECT_EQ(stored(settings, "VTelDestinationPhoneNumber2"), "200");
    for (const auto& entry : settings.entries()) {
        EXPECT_FALSE(entry.locked) << entry.key.toStdString();
        EXPECT_EQ(entry.value.typeId(), QMetaType::QString) << entry.key.toStdString();
    }
}

TEST_F(JobParametersTest, AFourDigitPasswordIsStoredScrambledNeverAsTyped) {
    addRecipients({{"a", "1"}});
    setValues("1234", 0, QTime(8, 0));
    controller()->setPrintSettings(&settings);
    const QString password = stored(settings, "VTelPassword");
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
    ASSERT_TRUE(settings.contains(key("VTelPassword")));
    EXPECT_EQ(stored(settings, "VTelPassword"), "");

    printing::PrintSettings absent;
    kit::setValueForKey(controller(), "password", QString());
    controller()->setPrintSettings(&absent);
    ASSERT_TRUE(absent.contains(key("VTelPassword")));
    EXPECT_EQ(stored(absent, "VTelPassword"), "");
}

TEST_F(JobParametersTest, AFailedPasswordStoreEndsTheWriting) {
    addRecipients({{"a", "1"}});
    setValues("1234", 1, QTime(8, 0));
    settings.failStoresForKey(key("VTelPassword"));
    controller()->setPrintSettings(&settings);
    EXPECT_EQ(settings.count(), 0);
}

TEST_F(JobParametersTest, AFailedDelayedSendStoreEndsTheWritingAfterThePassword) {
    addRecipients({{"a", "1"}});
    setValues("1234", 1, QTime(8, 0));
    settings.failStoresForKey(key("VTelDelayedTime"));
    controller()->setPrintSettings(&settings);
    EXPECT_THAT(settings.keys(), ElementsAre(key("VTelPassword"), key("VTelDelayedPrint")));
}

TEST_F(JobParametersTest, FailedDestinationStoresDoNotStopTheOthers) {
    addRecipients({{"b", "2"}, {"a", "1"}});
    setValues("", 0, QTime(8, 0));
    settings.failStoresForKey(key("VTelDestinationName1"));
    controller()->setPrintSettings(&settings);
    EXPECT_FALSE(settings.contains(key("VTelDestinationName1")));
    EXPECT_EQ(stored(settings, "VTelDestinationPhoneNumber1"), "2");
    EXPECT_EQ(stored(settings, "VTelDestinationName2"), "a");
}

TEST_F(JobParametersTest, WithoutRecipientsNoDestinationIsWrittenAndHigherKeysStay) {
    settings.setValue(key("VTelDestinationName3"), "earlier", false);
    setValues("", 0, QTime(8, 0));
    controller()->setPrintSettings(&settings);
    EXPECT_FALSE(settings.contains(key("VTelDestinationNumber")));
    EXPECT_EQ(stored(settings, "VTelDelayedPrint"), "0");

    addRecipients({{"a", "1"}});
    controller()->setPrintSettings(&settings);
    EXPECT_EQ(stored(settings, "VTelDestinationNumber"), "1");
    EXPECT_EQ(stored(settings, "VTelDestinationName3"), "earlier");
}

TEST_F(JobParametersTest, TheTimeOfOpeningIsWrittenAsTwentyFourHourClockWithoutSeconds) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    sendOpenedAt(QDateTime(QDate(2024, 5, 6), QTime(9, 5, 42)));
    controller()->setPrintSettings(&settings);
    EXPECT_EQ(stored(settings, "VTelDelayedPrint"), "0");
    EXPECT_EQ(stored(settings, "VTelDelayedTime"), "09:05");

    sendOpenedAt(QDateTime(QDate(2024, 5, 6), QTime(21, 30, 59)));
    controller()->setPrintSettings(&settings);
    EXPECT_EQ(stored(settings, "VTelDelayedTime"), "21:30");
    QLocale::setDefault(previous);
}

TEST_F(JobParametersTest, TheTimeIsWrittenInTheLocalTimeZone) {
    {
        vextel_test::EnvironmentScope zone("TZ", "JST-9");
        tzset();
        setValues("", 0, QTime(8, 0));
        kit::setValueForKey(controller(), "delayedTime",
                            QDateTime(QDate(2024, 5, 6), QTime(12, 0), Qt::UTC));
        controller()->setPrintSettings(&settings);
    }
    tzset();
    EXPECT_EQ(stored(settings, "VTelDelayedTime"), "21:00");
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
    EXPECT_EQ(stored(settings, "VTelDestinationNumber"), "1");
    ASSERT_TRUE(settings.contains(key("VTelDestinationName1")));
    EXPECT_EQ(stored(settings, "VTelDestinationName1"), "");
    EXPECT_EQ(stored(settings, "VTelDestinationPhoneNumber1"), "0123");
}

} // namespace
} // namespace tarvik_pde_m40vextel::testing

#include "moc_FaxSettingDialogFixture.cpp"
