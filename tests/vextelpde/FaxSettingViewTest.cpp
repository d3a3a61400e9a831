#include "FaxSettingDialogFixture.h"
#include "kit/Box.h"
#include "kit/Bundle.h"
#include "kit/DatePicker.h"
#include "kit/Dictionary.h"
#include "kit/PopUpButton.h"
#include "kit/SecureTextField.h"
#include "kit/TableView.h"
#include "vextelpde/BindingKeys.h"

#include <QAbstractItemModel>
#include <typeinfo>

namespace tarvik_pde_m40vextel::testing {
namespace {

class FaxSettingViewTest : public FaxSettingDialogTest {
protected:
    FaxSettingView* faxView() const {
        return qobject_cast<FaxSettingView*>(panel()->contentView());
    }
};

TEST_F(FaxSettingViewTest, ThePanelsContentViewIsAFaxSettingViewWithEveryOutlet) {
    ASSERT_NE(faxView(), nullptr);
    const QStringList outlets = {"destNameLabel",
                                 "destPhoneNumberLabel",
                                 "recipientListLabel",
                                 "addAddressButton",
                                 "editAddressButton",
                                 "deleteAddressButton",
                                 "addToAddressBookButton",
                                 "addressBookFileLabel",
                                 "lookUpAddressBookButton",
                                 "lookUpDeviceDataButton",
                                 "authorizationGroupBox",
                                 "passwordLabel",
                                 "delayedSendGroupBox",
                                 "delayedSendCheckbox",
                                 "delayedTimeLabel",
                                 "startButton",
                                 "stopButton"};
    for (const QString& outlet : outlets) {
        QObject* value = faxView()->property(outlet.toLatin1().constData()).value<QObject*>();
        ASSERT_NE(value, nullptr) << outlet.toStdString();
        auto* view = qobject_cast<kit::View*>(value);
        ASSERT_NE(view, nullptr) << outlet.toStdString();
        EXPECT_EQ(view->widget()->objectName(), outlet);
        EXPECT_EQ(view->window(), panel()) << outlet.toStdString();
    }
    EXPECT_EQ(typeid(*faxView()->authorizationGroupBox()), typeid(kit::Box));
    EXPECT_EQ(typeid(*faxView()->destNameLabel()), typeid(kit::TextField));
}

TEST_F(FaxSettingViewTest, ControlsHaveTheClassesTheControllerCountsOn) {
    EXPECT_EQ(typeid(*controller()->passwordTextField()), typeid(kit::SecureTextField));
    EXPECT_EQ(typeid(*controller()->addressNameTextField()), typeid(kit::TextField));
    EXPECT_NE(view<kit::DatePicker>("delayedTimePicker"), nullptr);
    EXPECT_NE(view<kit::PopUpButton>("addressBookFilePopUp"), nullptr);
}

TEST_F(FaxSettingViewTest, RecipientTableShowsNameAndNumberAndTakesSeveralRows) {
    auto* table = view<kit::TableView>("recipientTableView");
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->columnCount(), 2);
    EXPECT_EQ(table->columnKey(0), kNameKey);
    EXPECT_EQ(table->columnKey(1), kPhoneNumberKey);
    EXPECT_TRUE(table->allowsMultipleSelection());

    addRecipients({{"alpha", "1"}, {"Beta", "2"}, {"gamma", "3"}});
    ASSERT_NE(table->model(), nullptr);
    EXPECT_EQ(table->model()->rowCount(), 3);
    EXPECT_EQ(table->model()->index(0, 0).data().toString(), "gamma");
    recipients()->setSelectionIndexes({0, 2});
    EXPECT_EQ(table->selectedRowIndexes(), (QList<int>{0, 2}));
}

TEST_F(FaxSettingViewTest, AddressFilePopupListsTheFileNames) {
    auto* popUp = view<kit::PopUpButton>("addressBookFilePopUp");
    controller()->addressFileList()->addObject(
        kit::Dictionary::create({{kNameKey, "Office"}, {kPathKey, "/tmp/Office.vcf"}}));
    controller()->addressFileList()->addObject(
        kit::Dictionary::create({{kNameKey, "Home"}, {kPathKey, "/tmp/Home.vcf"}}));
    EXPECT_EQ(popUp->itemTitles(), (QStringList{"Office", "Home"}));
    EXPECT_FALSE(popUp->widget()->isEnabled());
    kit::setValueForKey(controller(), kIsAddressFileAvailableKey, true);
    EXPECT_TRUE(popUp->widget()->isEnabled());
}

TEST_F(FaxSettingViewTest, InitializeControlsLocalizesTitleAndControlsFromTheBundle) {
    const QString bundlePath = QStringLiteral(VEXTEL_PLUGIN_DIR "/VextelPDE.plugin");
    std::shared_ptr<kit::Bundle> bundle = kit::Bundle::open(bundlePath);
    if (bundle == nullptr) {
        GTEST_SKIP() << "the plug-in bundle is not built at " << bundlePath.toStdString();
    }
    kit::Bundle::setPreferredLanguagesForTesting({"de"});
    const QString germanTitle = bundle->localizedStringForKey("Fax Transmission", {}, {});
    faxView()->setBundle(bundle);
    faxView()->setPPD(nullptr);
    faxView()->initializeControls();
    kit::Bundle::setPreferredLanguagesForTesting({});
    EXPECT_NE(germanTitle, "Fax Transmission");
    EXPECT_EQ(panel()->title(), germanTitle);
    EXPECT_NE(faxView()->startButton()->title(), "Start");
    EXPECT_NE(faxView()->passwordLabel()->stringValue(), "Password:");
    EXPECT_NE(faxView()->delayedSendGroupBox()->title(), "Delayed Send");
}

} // namespace
} // namespace tarvik_pde_m40vextel::testing

#include "moc_FaxSettingDialogFixture.cpp"
