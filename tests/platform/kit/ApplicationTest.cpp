#include "kit/Application.h"

#include "kit/Alert.h"
#include "kit/AlertDriver.h"
#include "kit/Button.h"
#include "kit/ModalDriver.h"
#include "kit/Panel.h"
#include "kit/Window.h"

#include <QDialog>
#include <QEvent>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct OwnedPanel {
    kit::Panel* panel;
    std::unique_ptr<QWidget> owner;
    explicit OwnedPanel(const QString& title)
        : panel(kit::Panel::create(title)), owner(panel->widget()) {}
};

// Stops the run from inside the window's show, before the run's loop is entered.
class StopOnShow : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            kit::Application::stopModalWithCode(17);
        }
        return QObject::eventFilter(watched, event);
    }
};

TEST(ApplicationTest, StopRequestedBeforeTheLoopStartsEndsTheRunAtOnce) {
    OwnedPanel dialog("Fax");
    kit::ModalDriver driver;
    kit::ModalDriverScope scope(driver);

    StopOnShow stopper;
    dialog.owner->installEventFilter(&stopper);
    EXPECT_EQ(kit::Application::runModal(dialog.panel), 17);
    dialog.owner->removeEventFilter(&stopper);
    EXPECT_EQ(driver.runCount(), 0) << "the loop never ran";
    EXPECT_EQ(kit::Application::modalDepth(), 0);
}

TEST(ApplicationTest, StopWithNoRunEndsOnlyTheNextRun) {
    OwnedPanel dialog("Fax");
    kit::ModalDriver driver;
    driver.enqueue([](kit::Window*) { kit::Application::stopModalWithCode(4); });
    kit::ModalDriverScope scope(driver);

    kit::Application::stopModalWithCode(3);
    EXPECT_EQ(kit::Application::runModal(dialog.panel), 3);
    EXPECT_EQ(driver.runCount(), 0);
    EXPECT_EQ(kit::Application::runModal(dialog.panel), 4);
    EXPECT_EQ(driver.runCount(), 1);
}

TEST(ApplicationTest, AlertAnsweredInsideARunNestedInAnother) {
    OwnedPanel outer("Fax Setting");
    OwnedPanel inner("Address Book");
    kit::Button* open = kit::Button::create(outer.panel->contentView(), "Look Up");

    int innerResult = 0;
    open->setActionHandler(
        [&](kit::View*) { innerResult = kit::Application::runModal(inner.panel); });

    kit::AlertDriver alerts;
    alerts.answer("Cancel");
    kit::AlertDriverScope alertScope(alerts);

    int alertResult = 0;
    int depthInside = 0;
    kit::Window* modalInside = nullptr;
    bool outerBlocked = false;
    kit::ModalDriver driver;
    // The nested run's step is queued before the press that opens it.
    driver.enqueue([&](kit::Window* window) {
        EXPECT_EQ(window, outer.panel);
        static_cast<kit::Button*>(kit::View::of(open->widget()))->performClick();
        kit::Application::stopModalWithCode(7);
    });
    driver.enqueue([&](kit::Window* window) {
        EXPECT_EQ(window, inner.panel);
        depthInside = kit::Application::modalDepth();
        modalInside = kit::Application::modalWindow();
        outerBlocked = outer.owner->isVisible() && inner.owner->isModal();
        kit::Alert alert;
        alert.setMessageText("Duplicated Address Found");
        alert.setInformativeText("Add the same address to destinations?");
        alert.addButtonWithTitle("OK");
        alert.addButtonWithTitle("Cancel");
        alertResult = alert.runModal();
        inner.panel->orderOut();
        kit::Application::stopModalWithCode(5);
    });
    kit::ModalDriverScope scope(driver);

    EXPECT_EQ(kit::Application::runModal(outer.panel), 7);
    EXPECT_EQ(innerResult, 5) << "stopping after orderOut keeps the stop's code";
    EXPECT_EQ(alertResult, kit::AlertSecondButtonReturn);
    EXPECT_EQ(depthInside, 2);
    EXPECT_EQ(modalInside, inner.panel);
    EXPECT_TRUE(outerBlocked);
    EXPECT_EQ(driver.windowTitles(), (QStringList{"Fax Setting", "Address Book"}));
    ASSERT_EQ(alerts.alerts().size(), 1);
    EXPECT_EQ(kit::Application::modalDepth(), 0);
    EXPECT_EQ(kit::Application::modalWindow(), nullptr);
}

TEST(ApplicationTest, HidingTheModalWindowWithoutAStopAbortsTheRun) {
    OwnedPanel dialog("Fax");
    kit::ModalDriver driver([](kit::Window* window) { window->orderOut(); });
    kit::ModalDriverScope scope(driver);
    EXPECT_EQ(kit::Application::runModal(dialog.panel), kit::ModalResponseAbort);
}

TEST(ApplicationTest, RunIsApplicationModalAndModalityIsRestored) {
    OwnedPanel dialog("Fax");
    Qt::WindowModality during = Qt::NonModal;
    bool visibleDuring = false;
    kit::ModalDriver driver([&](kit::Window* window) {
        during = window->widget()->windowModality();
        visibleDuring = window->isVisible();
        kit::Application::stopModal();
    });
    kit::ModalDriverScope scope(driver);
    EXPECT_EQ(kit::Application::runModal(dialog.panel), kit::ModalResponseStop);
    EXPECT_EQ(during, Qt::ApplicationModal);
    EXPECT_TRUE(visibleDuring);
    EXPECT_EQ(dialog.owner->windowModality(), Qt::NonModal);
}

TEST(ApplicationTest, DriverWithoutAStepAbortsInsteadOfWaiting) {
    OwnedPanel dialog("Unexpected");
    kit::ModalDriver driver;
    kit::ModalDriverScope scope(driver);
    EXPECT_EQ(kit::Application::runModal(dialog.panel), kit::ModalResponseAbort);
    EXPECT_EQ(driver.abortedRuns(), 1);
    EXPECT_EQ(kit::Application::runModal(nullptr), kit::ModalResponseAbort);
}

TEST(ApplicationTest, DriverScopesNestAndRestore) {
    kit::ModalDriver outer;
    kit::ModalDriver inner;
    {
        kit::ModalDriverScope a(outer);
        {
            kit::ModalDriverScope b(inner);
            EXPECT_EQ(kit::ModalDriver::current(), &inner);
        }
        EXPECT_EQ(kit::ModalDriver::current(), &outer);
    }
    EXPECT_EQ(kit::ModalDriver::current(), nullptr);
}

} // namespace
