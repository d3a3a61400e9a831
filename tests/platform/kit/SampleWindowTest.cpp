// Loads the kit's sample layout, drives the window as a person would, and photographs it.
#include "SampleController.h"
#include "SampleOwner.h"
#include "kit/AlertDriver.h"
#include "kit/Application.h"
#include "kit/ArrayController.h"
#include "kit/Box.h"
#include "kit/Button.h"
#include "kit/ClassRegistry.h"
#include "kit/ClipView.h"
#include "kit/ComboBox.h"
#include "kit/DatePicker.h"
#include "kit/Dictionary.h"
#include "kit/KeyValue.h"
#include "kit/Layout.h"
#include "kit/ModalDriver.h"
#include "kit/Panel.h"
#include "kit/PopUpButton.h"
#include "kit/ScrollView.h"
#include "kit/SearchField.h"
#include "kit/SecureTextField.h"
#include "kit/TabView.h"
#include "kit/TableView.h"
#include "kit/TextField.h"
#include "kit/View.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <typeinfo>

namespace {

class SampleWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        kit::ClassRegistry::registerObjectClass<kit_sample::SampleController>("SampleController");
    }

    void SetUp() override {
        ASSERT_TRUE(kit::Layout::loadFile(VEXTEL_SOURCE_DIR "/resources/kit-sample/Sample.layout",
                                          &owner, &objects));
        ASSERT_NE(owner.window(), nullptr);
        ASSERT_NE(owner.controller(), nullptr);
        window = owner.window()->widget();
        window->show();
        QApplication::processEvents();
    }

    template <class T> T* view(const char* name) const {
        auto* widget = window->findChild<QWidget*>(name);
        return qobject_cast<T*>(kit::View::of(widget));
    }

    kit::ArrayController* recipients() const {
        return qobject_cast<kit::ArrayController*>(objects.at(3).get());
    }

    void type(const char* field, const QString& text) {
        QTest::keyClicks(view<kit::TextField>(field)->lineEdit(), text);
    }

    void click(const char* button) {
        QTest::mouseClick(view<kit::Button>(button)->button(), Qt::LeftButton);
    }

    void addRecipient(const QString& name, const QString& number) {
        type("nameField", name);
        type("numberField", number);
        click("addButton");
    }

    void clickTableAt(const QPoint& point) {
        QTest::mouseClick(view<kit::TableView>("recipientTable")->tableView()->viewport(),
                          Qt::LeftButton, {}, point);
    }

    void clickRow(int row) {
        QTableView* table = view<kit::TableView>("recipientTable")->tableView();
        clickTableAt(table->visualRect(table->model()->index(row, 0)).center());
    }

    kit_sample::SampleOwner owner;
    QList<kit::ObjectRef> objects;
    QWidget* window = nullptr;
};

TEST_F(SampleWindowTest, TheLayoutUsesEveryControlClass) {
    std::set<std::string> classes;
    for (const QWidget* root : {window, window->findChild<QWidget*>("notesScroll")}) {
        for (const kit::View* wrapped : root->findChildren<kit::View*>()) {
            classes.insert(typeid(*wrapped).name());
        }
    }
    for (const std::type_info* expected :
         {&typeid(kit::View), &typeid(kit::TextField), &typeid(kit::SecureTextField),
          &typeid(kit::ComboBox), &typeid(kit::SearchField), &typeid(kit::Button),
          &typeid(kit::PopUpButton), &typeid(kit::DatePicker), &typeid(kit::TableView),
          &typeid(kit::TabView), &typeid(kit::Box), &typeid(kit::ScrollView),
          &typeid(kit::ClipView)}) {
        EXPECT_EQ(classes.count(expected->name()), 1u) << expected->name();
    }
    EXPECT_EQ(owner.window()->title(), "Kit Sample");
    EXPECT_EQ(owner.window()->contentView()->viewWithTag(14), view<kit::TextField>("numberField"));
}

TEST_F(SampleWindowTest, TheFormatterRefusesTypingAndAddFollowsTheNumber) {
    auto* addButton = view<kit::Button>("addButton");
    EXPECT_FALSE(addButton->isEnabled());

    type("numberField", "55a5-1");
    EXPECT_EQ(view<kit::TextField>("numberField")->stringValue(), "5551");
    EXPECT_EQ(owner.controller()->number(), "5551");
    EXPECT_TRUE(addButton->isEnabled());

    type("nameField", "Ann");
    click("addButton");
    ASSERT_EQ(recipients()->count(), 1);
    EXPECT_EQ(kit::valueForKey(recipients()->arrangedObjectAt(0).get(), "name"), "Ann");
    EXPECT_EQ(view<kit::TextField>("numberField")->stringValue(), "") << "the form is reset";
    EXPECT_FALSE(addButton->isEnabled());
    EXPECT_EQ(view<kit::TextField>("statusLabel")->stringValue(), "1 recipient");
}

TEST_F(SampleWindowTest, RemoveIsEnabledByAFlagThatFollowsTheTableSelection) {
    addRecipient("alpha", "1");
    addRecipient("Beta", "2");
    addRecipient("gamma", "3");
    auto* table = view<kit::TableView>("recipientTable");
    ASSERT_EQ(table->numberOfRows(), 3);
    EXPECT_EQ(table->model()->index(0, 0).data().toString(), "gamma");
    EXPECT_EQ(table->model()->index(1, 0).data().toString(), "Beta");
    EXPECT_EQ(table->headerTitle(1), "Fax Number");

    auto* removeButton = view<kit::Button>("removeButton");
    EXPECT_TRUE(removeButton->isEnabled()) << "the inserted recipient is selected";
    clickTableAt(QPoint(10, table->tableView()->viewport()->height() - 4));
    EXPECT_TRUE(recipients()->selectionIndexes().isEmpty());
    EXPECT_FALSE(removeButton->isEnabled());

    clickRow(1);
    EXPECT_EQ(recipients()->selectionIndexes(), (QList<int>{1}));
    EXPECT_TRUE(removeButton->isEnabled());

    click("removeButton");
    ASSERT_EQ(table->numberOfRows(), 2);
    EXPECT_EQ(table->model()->index(1, 0).data().toString(), "alpha");
    EXPECT_EQ(view<kit::TextField>("statusLabel")->stringValue(), "2 recipients");
}

TEST_F(SampleWindowTest, AnAlertIsAnsweredInsideAModalRunNestedInAnother) {
    addRecipient("alpha", "1");
    addRecipient("Beta", "2");
    window->hide();

    kit::AlertDriver alerts;
    kit::AlertDriverScope alertScope(alerts);
    alerts.answer("OK");
    kit::ModalDriver driver;
    kit::ModalDriverScope driverScope(driver);
    int depthInDetails = 0;
    QString summaryInDetails;
    // The outer run (the sample window) opens the details panel, whose run takes the next step.
    driver.enqueue([this](kit::Window*) {
        view<kit::Button>("detailsButton")->performClick();
        EXPECT_EQ(recipients()->count(), 0);
        view<kit::Button>("startButton")->performClick();
    });
    driver.enqueue([&](kit::Window* details) {
        depthInDetails = kit::Application::modalDepth();
        QWidget* panel = details->widget();
        summaryInDetails =
            qobject_cast<kit::TextField*>(kit::View::of(panel->findChild<QWidget*>("summaryLabel")))
                ->stringValue();
        qobject_cast<kit::Button*>(kit::View::of(panel->findChild<QWidget*>("clearListButton")))
            ->performClick();
        qobject_cast<kit::Button*>(kit::View::of(panel->findChild<QWidget*>("closeDetailsButton")))
            ->performClick();
    });

    EXPECT_EQ(kit::Application::runModal(owner.window()), 1);
    EXPECT_EQ(owner.controller()->outcome(), 1);
    EXPECT_EQ(depthInDetails, 2);
    EXPECT_EQ(summaryInDetails, "The list holds: 2 recipients.");
    EXPECT_EQ(driver.windowTitles(), (QStringList{"Kit Sample", "Recipient List"}));
    ASSERT_EQ(alerts.alerts().size(), 1);
    EXPECT_EQ(alerts.alerts().at(0).messageText, "Remove all recipients?");
    EXPECT_EQ(alerts.alerts().at(0).buttons, (QStringList{"OK", "Cancel"}));
    EXPECT_EQ(recipients()->count(), 0);
    EXPECT_FALSE(owner.window()->isVisible());
}

TEST_F(SampleWindowTest, OptionsFollowTheirBindings) {
    ASSERT_TRUE(view<kit::TabView>("sourceTabs")->selectItemAtIndex(1));
    QApplication::processEvents();

    auto* checkbox = view<kit::Button>("delayedCheckbox");
    auto* picker = view<kit::DatePicker>("delayedTimePicker");
    EXPECT_FALSE(picker->isEnabled());
    EXPECT_EQ(picker->dateValue().time(), QTime(18, 0));
    QTest::mouseClick(checkbox->button(), Qt::LeftButton, {},
                      QPoint(6, checkbox->button()->height() / 2));
    EXPECT_EQ(owner.controller()->delayed(), 1);
    EXPECT_TRUE(picker->isEnabled());

    auto* quality = view<kit::PopUpButton>("qualityPopup");
    EXPECT_EQ(quality->itemTitles(), (QStringList{"Standard", "Fine", "Superfine"}));
    emit quality->comboBox()->activated(2);
    EXPECT_EQ(owner.controller()->quality(), 2);
    EXPECT_EQ(owner.optionChanges(), 1);

    auto* files = view<kit::PopUpButton>("filePopup");
    EXPECT_EQ(files->itemTitles(), (QStringList{"Home.vcf", "Office.vcf"}));
    EXPECT_EQ(files->indexOfSelectedItem(), 0);

    type("passwordField", "1234");
    auto* options = qobject_cast<kit::Dictionary*>(objects.at(5).get());
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->value("password").toString(), "1234");
}

// Enough colours for a drawn window (not a flat fill) and enough dark pixels for its texts.
struct ImageStatistics {
    int distinctColours = 0;
    int darkPixels = 0;
};

ImageStatistics measure(const QImage& image) {
    QSet<QRgb> colours;
    ImageStatistics statistics;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            colours.insert(pixel);
            if (qGray(pixel) < 96) {
                ++statistics.darkPixels;
            }
        }
    }
    statistics.distinctColours = static_cast<int>(colours.size());
    return statistics;
}

TEST_F(SampleWindowTest, APhotographOfTheWindowIsNotBlank) {
    addRecipient("Ann Archer", "5550101");
    addRecipient("bob Baker", "5550102");
    addRecipient("Carla Cruz", "5550103");
    clickRow(0);
    QApplication::processEvents();

    const QString path = QDir(VEXTEL_BINARY_DIR).filePath("kit-sample-window.png");
    ASSERT_TRUE(window->grab().toImage().save(path, "PNG"));
    const QImage photo(path);
    ASSERT_FALSE(photo.isNull());
    EXPECT_EQ(photo.size(), window->size() * window->devicePixelRatio());
    const ImageStatistics statistics = measure(photo);
    EXPECT_GE(statistics.distinctColours, 16);
    EXPECT_GE(statistics.darkPixels, 800);
}

} // namespace
