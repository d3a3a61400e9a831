#include "FaxSettingDialogFixture.h"
#include "common/InputStringChecker.h"
#include "kit/Environment.h"
#include "vextelpde/BindingKeys.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QKeyEvent>

namespace tarvik_pde_m40vextel::testing {
namespace {

using ::testing::ElementsAre;

class FaxSettingControllerTest : public FaxSettingDialogTest {};

// --- waking and flags

TEST_F(FaxSettingControllerTest, WakesWithEveryOutletAndNothingToSend) {
    EXPECT_NE(controller()->faxSettingPanel(), nullptr);
    EXPECT_NE(controller()->addressFileList(), nullptr);
    EXPECT_NE(controller()->addressFileList(), recipients());
    EXPECT_NE(qobject_cast<AddressBookController*>(controller()->addressBookController()), nullptr);
    ASSERT_NE(controller()->addressNameTextField(), nullptr);
    EXPECT_EQ(controller()->addressNameTextField()->widget()->objectName(), "addressNameTextField");
    EXPECT_EQ(controller()->addressPhoneNumberTextField()->widget()->objectName(),
              "addressPhoneNumberTextField");
    EXPECT_EQ(controller()->passwordTextField()->widget()->objectName(), "passwordTextField");
    EXPECT_FALSE(controller()->isSending());
    EXPECT_FALSE(controller()->isAddressFileAvailable());
    EXPECT_NE(controller()->addressNameFieldFormatter(), nullptr);
}

TEST_F(FaxSettingControllerTest, OneFaxNumberCharacterEnablesAddAndTheNameDoesNot) {
    EXPECT_FALSE(isEnabled("addAddressButton"));
    setEntry("Smith", "");
    EXPECT_FALSE(controller()->canAddAddress());
    EXPECT_FALSE(isEnabled("addAddressButton"));
    setEntry("Smith", "5");
    EXPECT_TRUE(controller()->canAddAddress());
    EXPECT_TRUE(isEnabled("addAddressButton"));
    setEntry("", "5");
    EXPECT_TRUE(isEnabled("addAddressButton"));
    setEntry("Smith", "");
    EXPECT_FALSE(isEnabled("addAddressButton"));
}

TEST_F(FaxSettingControllerTest, EditAndDeleteFollowTheSelection) {
    addRecipients({{"a", "1"}, {"b", "2"}, {"c", "3"}});

    recipients()->setSelectionIndexes({});
    EXPECT_FALSE(isEnabled("editAddressButton"));
    EXPECT_FALSE(isEnabled("deleteAddressButton"));

    recipients()->setSelectionIndexes({1});
    EXPECT_TRUE(isEnabled("editAddressButton"));
    EXPECT_TRUE(isEnabled("deleteAddressButton"));

    recipients()->setSelectionIndexes({0, 2});
    EXPECT_FALSE(controller()->canEditAddress());
    EXPECT_FALSE(isEnabled("editAddressButton"));
    EXPECT_TRUE(isEnabled("deleteAddressButton"));
}

TEST_F(FaxSettingControllerTest, AddToAddressBookNeedsAFileAndASelection) {
    addRecipients({{"a", "1"}});
    recipients()->setSelectionIndexes({0});
    EXPECT_FALSE(isEnabled("addToAddressBookButton"));

    kit::setValueForKey(controller(), kIsAddressFileAvailableKey, true);
    EXPECT_TRUE(isEnabled("addToAddressBookButton"));
    recipients()->setSelectionIndexes({});
    EXPECT_FALSE(isEnabled("addToAddressBookButton"));
}

TEST_F(FaxSettingControllerTest, DelayedPrintAnnouncesTheTimeAndEnablesTheTimeControl) {
    int timeAnnouncements = 0;
    auto observation =
        kit::observe(controller(), kDelayedTimeKey, [&](const QVariant&) { ++timeAnnouncements; });
    EXPECT_FALSE(isEnabled("delayedTimePicker"));
    kit::setValueForKey(controller(), kDelayedPrintKey, 1);
    EXPECT_EQ(timeAnnouncements, 1);
    EXPECT_TRUE(controller()->isDelayedTime());
    EXPECT_TRUE(isEnabled("delayedTimePicker"));
    view<kit::Button>("delayedSendCheckbox")->performClick();
    EXPECT_EQ(controller()->delayedPrint(), 0);
    EXPECT_FALSE(isEnabled("delayedTimePicker"));
}

// --- order

TEST_F(FaxSettingControllerTest, ListsDescendingByNameThenNumberWithoutRegardToCase) {
    addRecipients({{"alpha", "1"}, {"Smith", "100"}, {"Beta", "2"}, {"smith", "200"}});
    EXPECT_THAT(arrangedRecipients(), ElementsAre("smith/200", "Smith/100", "Beta/2", "alpha/1"));
}

// --- Add

TEST_F(FaxSettingControllerTest, AddAppendsTheEntryAndClearsTheFields) {
    setEntry("Smith", "0123-45");
    controller()->addAddressInfo(nullptr);
    EXPECT_THAT(arrangedRecipients(), ElementsAre("Smith/0123-45"));
    EXPECT_EQ(controller()->addressName(), "");
    EXPECT_EQ(controller()->addressPhoneNumber(), "");
    EXPECT_EQ(controller()->addressNameTextField()->stringValue(), "");
    EXPECT_FALSE(isEnabled("addAddressButton"));
    EXPECT_TRUE(alertDriver.alerts().isEmpty());
}

TEST_F(FaxSettingControllerTest, AddTakesANumberWithoutAName) {
    setEntry("", "77");
    controller()->addAddressInfo(nullptr);
    ASSERT_EQ(recipients()->count(), 1);
    EXPECT_EQ(kit::valueForKey(recipients()->arrangedObjectAt(0).get(), "name").toString(), "");
}

TEST_F(FaxSettingControllerTest, AddsTheThirtiethAndRefusesTheThirtyFirstKeepingTheFields) {
    for (int i = 0; i < 29; ++i) {
        recipients()->addObject(makeRecipient(QString::number(i), QString::number(i)));
    }
    setEntry("Thirty", "30");
    controller()->addAddressInfo(nullptr);
    EXPECT_EQ(recipients()->count(), 30);
    EXPECT_TRUE(alertDriver.alerts().isEmpty());

    setEntry("Thirty-one", "31");
    alertDriver.answer("OK");
    controller()->addAddressInfo(nullptr);
    EXPECT_EQ(recipients()->count(), 30);
    ASSERT_EQ(alertDriver.alerts().size(), 1);
    EXPECT_EQ(alertDriver.alerts()[0].messageText, "No More Destination");
    EXPECT_EQ(alertDriver.alerts()[0].informativeText, "");
    EXPECT_THAT(alertDriver.alerts()[0].buttons, ElementsAre("OK"));
    EXPECT_EQ(controller()->addressName(), "Thirty-one");
    EXPECT_EQ(controller()->addressPhoneNumber(), "31");
}

TEST_F(FaxSettingControllerTest, DuplicateAddedAgainAfterOK) {
    addRecipients({{"Smith", "100"}});
    setEntry("Smith", "100");
    alertDriver.answer("OK");
    controller()->addAddressInfo(nullptr);
    ASSERT_EQ(alertDriver.alerts().size(), 1);
    EXPECT_EQ(alertDriver.alerts()[0].messageText, "Duplicated Address Found");
    EXPECT_EQ(alertDriver.alerts()[0].informativeText, "Add the same address to destinations?");
    EXPECT_THAT(alertDriver.alerts()[0].buttons, ElementsAre("OK", "Cancel"));
    EXPECT_THAT(arrangedRecipients(), ElementsAre("Smith/100", "Smith/100"));
    EXPECT_EQ(controller()->addressPhoneNumber(), "");
}

TEST_F(FaxSettingControllerTest, DuplicateCancelledKeepsListAndFields) {
    addRecipients({{"Smith", "100"}});
    setEntry("Smith", "100");
    alertDriver.answer("Cancel");
    controller()->addAddressInfo(nullptr);
    EXPECT_EQ(alertDriver.alerts().size(), 1);
    EXPECT_THAT(arrangedRecipients(), ElementsAre("Smith/100"));
    EXPECT_EQ(controller()->addressName(), "Smith");
    EXPECT_EQ(controller()->addressPhoneNumber(), "100");
}

TEST_F(FaxSettingControllerTest, OtherCaseOrOtherNameIsNoDuplicate) {
    addRecipients({{"Smith", "100"}});
    setEntry("smith", "100");
    controller()->addAddressInfo(nullptr);
    setEntry("Jones", "100");
    controller()->addAddressInfo(nullptr);
    EXPECT_TRUE(alertDriver.alerts().isEmpty());
    EXPECT_EQ(recipients()->count(), 3);
}

TEST_F(FaxSettingControllerTest, ARecipientWithoutANameIsNoDuplicateOfAnEmptyName) {
    auto nameless = std::make_shared<AddressInformation>();
    nameless->setPhoneNumber("100");
    recipients()->addObject(nameless);
    setEntry("", "100");
    controller()->addAddressInfo(nullptr);
    EXPECT_TRUE(alertDriver.alerts().isEmpty());
    EXPECT_EQ(recipients()->count(), 2);
}

// --- Edit and Delete

TEST_F(FaxSettingControllerTest, EditMovesTheFirstSelectedRecipientIntoTheFields) {
    addRecipients({{"Beta", "2"}, {"alpha", "1"}});
    setEntry("typed", "999");
    recipients()->setSelectionIndexes({1});
    controller()->editAddressInfo(nullptr);
    EXPECT_EQ(controller()->addressName(), "alpha");
    EXPECT_EQ(controller()->addressPhoneNumber(), "1");
    EXPECT_EQ(controller()->addressPhoneNumberTextField()->stringValue(), "1");
    EXPECT_THAT(arrangedRecipients(), ElementsAre("Beta/2"));

    setEntry("alpha", "10");
    controller()->addAddressInfo(nullptr);
    EXPECT_THAT(arrangedRecipients(), ElementsAre("Beta/2", "alpha/10"));
}

TEST_F(FaxSettingControllerTest, EditWithoutSelectionChangesNothing) {
    addRecipients({{"Beta", "2"}});
    recipients()->setSelectionIndexes({});
    setEntry("typed", "999");
    controller()->editAddressInfo(nullptr);
    EXPECT_EQ(controller()->addressName(), "typed");
    EXPECT_EQ(recipients()->count(), 1);
}

TEST_F(FaxSettingControllerTest, DeleteRemovesEverySelectedRecipientAtOnce) {
    addRecipients({{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}});
    recipients()->setSelectionIndexes({0, 1, 3});
    controller()->deleteAddressInfo(nullptr);
    EXPECT_THAT(arrangedRecipients(), ElementsAre("b/2"));
    EXPECT_FALSE(isEnabled("deleteAddressButton"));

    recipients()->setSelectionIndexes({});
    controller()->deleteAddressInfo(nullptr);
    EXPECT_EQ(recipients()->count(), 1);
    EXPECT_TRUE(alertDriver.alerts().isEmpty());
}

// --- formatters, as the user types into the dialog's fields

TEST_F(FaxSettingControllerTest, FieldsRefuseWhatTheirFormattersRefuse) {
    runDialog([this](kit::Window*) {
        kit::TextField* name = controller()->addressNameTextField();
        type(name, QString(32, 'n'));
        type(name, "x");
        EXPECT_EQ(controller()->addressName(), QString(32, 'n'));

        kit::TextField* number = controller()->addressPhoneNumberTextField();
        type(number, "0#1*2-3:4=5");
        type(number, "a +(");
        EXPECT_EQ(controller()->addressPhoneNumber(), "0#1*2-3:4=5");

        kit::TextField* password = controller()->passwordTextField();
        type(password, "12345");
        type(password, "a");
        EXPECT_EQ(controller()->password(), "1234");
        controller()->stopSending(nullptr);
    });
    const InputStringChecker* name = controller()->addressNameFieldFormatter();
    EXPECT_TRUE(name->isPartialStringValid(" ~", nullptr, nullptr));
    EXPECT_FALSE(name->isPartialStringValid(QString::fromUtf8("caf\u00e9"), nullptr, nullptr));
    EXPECT_FALSE(name->isPartialStringValid("a\tb", nullptr, nullptr));
}

// --- running the dialog, Start and Stop

TEST_F(FaxSettingControllerTest, RunOpensWithEmptyFieldsAndTheCurrentTime) {
    const QDateTime opening(QDate(2024, 3, 1), QTime(9, 5));
    kit::Environment::ClockOverride clock(opening);
    setEntry("left", "over");
    kit::setValueForKey(controller(), kPasswordKey, "1234");
    kit::setValueForKey(controller(), kDelayedPrintKey, 1);
    bool shown = false;
    runDialog([&](kit::Window* window) {
        shown = window == panel() && panel()->isVisible();
        EXPECT_EQ(controller()->addressNameTextField()->stringValue(), "");
        EXPECT_EQ(controller()->addressPhoneNumberTextField()->stringValue(), "");
        EXPECT_EQ(controller()->passwordTextField()->stringValue(), "");
        EXPECT_EQ(view<kit::Button>("delayedSendCheckbox")->state(), 0);
        EXPECT_EQ(controller()->delayedTime(), opening);
        controller()->stopSending(nullptr);
    });
    EXPECT_TRUE(shown);
    EXPECT_FALSE(panel()->isVisible());
}

TEST_F(FaxSettingControllerTest, StartWithNothingSaysNoSenderAndTheDialogStaysOpen) {
    bool stillOpen = false;
    runDialog([&](kit::Window*) {
        alertDriver.answer("OK");
        view<kit::Button>("startButton")->performClick();
        stillOpen = panel()->isVisible() && kit::Application::modalWindow() == panel();
        controller()->stopSending(nullptr);
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_THAT(alertDriver.messages(), ElementsAre("No Sender Specified"));
    EXPECT_THAT(alertDriver.alerts()[0].buttons, ElementsAre("OK"));
    EXPECT_FALSE(controller()->isSending());
}

TEST_F(FaxSettingControllerTest, StartOffersTheTypedNumberAndSendsItOnOK) {
    runDialog([&](kit::Window*) {
        type(controller()->addressNameTextField(), "ignored");
        type(controller()->addressPhoneNumberTextField(), "0123");
        alertDriver.answer("OK");
        controller()->startSending(nullptr);
    });
    ASSERT_EQ(alertDriver.alerts().size(), 1);
    EXPECT_EQ(alertDriver.alerts()[0].messageText, "Characters added to Fax Number");
    EXPECT_EQ(alertDriver.alerts()[0].informativeText, "Current number is automatically added");
    EXPECT_THAT(alertDriver.alerts()[0].buttons, ElementsAre("OK", "Cancel"));
    EXPECT_TRUE(controller()->isSending());
    EXPECT_THAT(arrangedRecipients(), ElementsAre("/0123"));
    EXPECT_FALSE(panel()->isVisible());
}

TEST_F(FaxSettingControllerTest, StartCancelledAfterTheOfferSaysNoSender) {
    runDialog([&](kit::Window*) {
        type(controller()->addressPhoneNumberTextField(), "0123");
        alertDriver.answer({"Cancel", "OK"});
        controller()->startSending(nullptr);
        EXPECT_TRUE(panel()->isVisible());
        controller()->stopSending(nullptr);
    });
    EXPECT_THAT(alertDriver.messages(),
                ElementsAre("Characters added to Fax Number", "No Sender Specified"));
    EXPECT_EQ(recipients()->count(), 0);
    EXPECT_FALSE(controller()->isSending());
}

TEST_F(FaxSettingControllerTest, StartWithRecipientsIgnoresAHalfTypedNumber) {
    addRecipients({{"a", "1"}, {"b", "2"}});
    runDialog([&](kit::Window*) {
        type(controller()->addressPhoneNumberTextField(), "55");
        view<kit::Button>("startButton")->performClick();
    });
    EXPECT_TRUE(alertDriver.alerts().isEmpty());
    EXPECT_TRUE(controller()->isSending());
    EXPECT_EQ(recipients()->count(), 2);
}

TEST_F(FaxSettingControllerTest, StopEmptiesTheListAndDoesNotSend) {
    addRecipients({{"a", "1"}, {"b", "2"}});
    runDialog([&](kit::Window*) { view<kit::Button>("stopButton")->performClick(); });
    EXPECT_EQ(recipients()->count(), 0);
    EXPECT_FALSE(controller()->isSending());
    EXPECT_FALSE(panel()->isVisible());
}

// The window manager's close button and Escape end the run without Start or Stop; the job must
// not go out on the strength of an earlier print's Start.
TEST_F(FaxSettingControllerTest, ClosingTheWindowAfterAnEarlierSendDoesNotSend) {
    addRecipients({{"a", "1"}});
    runDialog([&](kit::Window*) { controller()->startSending(nullptr); });
    ASSERT_TRUE(controller()->isSending());

    runDialog([&](kit::Window*) { panel()->widget()->close(); });
    EXPECT_FALSE(controller()->isSending());
    EXPECT_FALSE(panel()->isVisible());
    EXPECT_EQ(recipients()->count(), 1) << "closing is no Stop: the list stays";

    runDialog([&](kit::Window*) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(panel()->widget(), &escape);
    });
    EXPECT_FALSE(controller()->isSending());
    EXPECT_FALSE(panel()->isVisible());
}

TEST_F(FaxSettingControllerTest, ARunEndedByAStrayStopDoesNotSend) {
    addRecipients({{"a", "1"}});
    runDialog([&](kit::Window*) { controller()->startSending(nullptr); });
    ASSERT_TRUE(controller()->isSending());

    kit::Application::stopModal(); // with no run going: ends the next run at once
    controller()->createDialog();
    EXPECT_FALSE(controller()->isSending());
    EXPECT_EQ(recipients()->count(), 1);
}

// Return in an entry field adds the typed recipient; it never starts sending.
TEST_F(FaxSettingControllerTest, ReturnInTheEntryFieldsAddsAndNeverStarts) {
    addRecipients({{"a", "1"}});
    bool stillOpen = false;
    int countAfterEmptyReturn = 0;
    int countAfterReturn = 0;
    runDialog([&](kit::Window*) {
        auto pressReturn = [](kit::TextField* field) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QCoreApplication::sendEvent(field->widget(), &press);
        };
        pressReturn(controller()->addressPhoneNumberTextField());
        countAfterEmptyReturn = recipients()->count();
        type(controller()->addressNameTextField(), "Smith");
        type(controller()->addressPhoneNumberTextField(), "100");
        pressReturn(controller()->addressPhoneNumberTextField());
        countAfterReturn = recipients()->count();
        stillOpen = panel()->isVisible();
        controller()->stopSending(nullptr);
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(countAfterEmptyReturn, 1);
    EXPECT_EQ(countAfterReturn, 2);
    EXPECT_FALSE(controller()->isSending());
    EXPECT_TRUE(alertDriver.alerts().isEmpty());
}

TEST_F(FaxSettingControllerTest, ReopeningAfterASendShowsEarlierRecipientsWithEmptyFields) {
    runDialog([&](kit::Window*) {
        type(controller()->addressNameTextField(), "Smith");
        type(controller()->addressPhoneNumberTextField(), "100");
        view<kit::Button>("addAddressButton")->performClick();
        type(controller()->passwordTextField(), "1234");
        kit::setValueForKey(controller(), kDelayedPrintKey, 1);
        type(controller()->addressPhoneNumberTextField(), "55");
        controller()->startSending(nullptr);
    });
    ASSERT_TRUE(controller()->isSending());
    runDialog([&](kit::Window*) {
        EXPECT_THAT(arrangedRecipients(), ElementsAre("Smith/100"));
        EXPECT_EQ(controller()->addressPhoneNumberTextField()->stringValue(), "");
        EXPECT_EQ(controller()->passwordTextField()->stringValue(), "");
        EXPECT_EQ(controller()->delayedPrint(), 0);
        EXPECT_FALSE(isEnabled("delayedTimePicker"));
        controller()->startSending(nullptr);
    });
    EXPECT_EQ(modalDriver.runCount(), 2);
    EXPECT_EQ(modalDriver.abortedRuns(), 0);
}

TEST(FaxSettingControllerWithoutLayout, CreateDialogWithoutAPanelShowsNothing) {
    kit::ModalDriver modalDriver;
    kit::ModalDriverScope scope(modalDriver);
    FaxSettingController controller;
    controller.awakeFromNib();
    controller.createDialog();
    EXPECT_EQ(modalDriver.runCount(), 0);
    EXPECT_FALSE(controller.isSending());
}

} // namespace
} // namespace tarvik_pde_m40vextel::testing

#include "moc_FaxSettingDialogFixture.cpp"
