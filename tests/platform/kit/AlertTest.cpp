#include "kit/Alert.h"

#include "kit/AlertDriver.h"
#include "kit/Application.h"
#include "kit/ModalDriver.h"
#include "kit/Window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

kit::Alert makeAlert(const QString& message, const QString& informative,
                     const QStringList& buttons) {
    kit::Alert alert;
    alert.setMessageText(message);
    alert.setInformativeText(informative);
    for (const QString& title : buttons) {
        alert.addButtonWithTitle(title);
    }
    return alert;
}

QPushButton* buttonTitled(kit::Window* window, const QString& title) {
    for (QPushButton* button : window->widget()->findChildren<QPushButton*>()) {
        if (button->text() == title) {
            return button;
        }
    }
    return nullptr;
}

TEST(AlertTest, DriverRecordsTextsAndAnswersByTitle) {
    kit::AlertDriver driver;
    driver.answer("Cancel");
    kit::AlertDriverScope scope(driver);

    kit::Alert duplicate = makeAlert("Duplicated Address Found",
                                     "Add the same address to destinations?", {"OK", "Cancel"});
    EXPECT_EQ(duplicate.runModal(), kit::AlertSecondButtonReturn);
    kit::Alert none = makeAlert("No More Destination", "", {"OK"});
    EXPECT_EQ(none.runModal(), kit::AlertFirstButtonReturn) << "no queued answer: first button";

    ASSERT_EQ(driver.alerts().size(), 2);
    const kit::AlertRecord& first = driver.alerts().first();
    EXPECT_EQ(first.messageText, "Duplicated Address Found");
    EXPECT_EQ(first.informativeText, "Add the same address to destinations?");
    EXPECT_EQ(first.buttons, (QStringList{"OK", "Cancel"}));
    EXPECT_EQ(first.answer, "Cancel");
    EXPECT_EQ(driver.messages(), (QStringList{"Duplicated Address Found", "No More Destination"}));
}

TEST(AlertTest, AnswerThatIsNoButtonIsNotTakenForTheFirst) {
    kit::AlertDriver driver;
    driver.answer("Yes");
    kit::AlertDriverScope scope(driver);
    kit::Alert alert = makeAlert("Question", "", {"OK", "Cancel"});
    EXPECT_EQ(alert.runModal(), kit::ModalResponseAbort);
}

TEST(AlertTest, AlertWithoutButtonsHasOK) {
    kit::AlertDriver driver;
    kit::AlertDriverScope scope(driver);
    kit::Alert alert;
    alert.setMessageText("Added to Address Book.");
    EXPECT_EQ(alert.runModal(), kit::AlertFirstButtonReturn);
    EXPECT_EQ(driver.alerts().first().buttons, QStringList{"OK"});
}

TEST(AlertTest, RealAlertShowsTextsAsGivenAndAnswersThePressedButton) {
    QString shownMessage;
    QString shownInformative;
    int firstButtonX = 0;
    int secondButtonX = 0;
    bool firstIsDefault = false;
    kit::ModalDriver modal([&](kit::Window* window) {
        auto* message = window->widget()->findChild<QLabel*>("messageText");
        auto* informative = window->widget()->findChild<QLabel*>("informativeText");
        ASSERT_NE(message, nullptr);
        ASSERT_NE(informative, nullptr);
        EXPECT_EQ(message->textFormat(), Qt::PlainText);
        shownMessage = message->text();
        shownInformative = informative->text();
        QPushButton* ok = buttonTitled(window, "OK");
        QPushButton* cancel = buttonTitled(window, "Cancel");
        ASSERT_NE(ok, nullptr);
        ASSERT_NE(cancel, nullptr);
        firstButtonX = ok->x();
        secondButtonX = cancel->x();
        firstIsDefault = ok->isDefault();
        QTest::mouseClick(cancel, Qt::LeftButton);
    });
    kit::ModalDriverScope scope(modal);

    kit::Alert alert = makeAlert("<b>Characters</b> added", "1 < 2 & 3", {"OK", "Cancel"});
    EXPECT_EQ(alert.runModal(), kit::AlertSecondButtonReturn);
    EXPECT_EQ(shownMessage, "<b>Characters</b> added");
    EXPECT_EQ(shownInformative, "1 < 2 & 3");
    EXPECT_GT(firstButtonX, secondButtonX) << "the first button stands rightmost";
    EXPECT_TRUE(firstIsDefault);
}

TEST(AlertTest, EscapeOnARealAlertPressesCancel) {
    kit::ModalDriver modal(
        [](kit::Window* window) { QTest::keyClick(window->widget(), Qt::Key_Escape); });
    kit::ModalDriverScope scope(modal);
    kit::Alert alert = makeAlert("Characters added to Fax Number",
                                 "Current number is automatically added", {"OK", "Cancel"});
    EXPECT_EQ(alert.runModal(), kit::AlertSecondButtonReturn);

    kit::Alert single = makeAlert("No Sender Specified", "", {"OK"});
    EXPECT_EQ(single.runModal(), kit::ModalResponseAbort) << "no Cancel button to press";
}

} // namespace
