#include "common/BasicPdeView.h"

#include "kit/Box.h"
#include "kit/Bundle.h"
#include "kit/Button.h"
#include "kit/ComboBox.h"
#include "kit/PopUpButton.h"
#include "kit/ScrollView.h"
#include "kit/SecureTextField.h"
#include "kit/TabView.h"
#include "kit/TableView.h"
#include "kit/TextField.h"
#include "kit/Window.h"
#include "vextelpde/PanelTestSupport.h"

#include <QVariant>
#include <QWidget>
#include <gtest/gtest.h>

using tarvik_pde_m40vextel::BasicPdeView;

namespace {

// Translations (German) of the bundle: "Defaults" only in the default table; "Cover Page
// Settings" in both, the printer table's text differing.
class BasicPdeViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        kit::Bundle::setPreferredLanguagesForTesting({QStringLiteral("de")});
        bundle = panel_test::pluginBundle();
        ASSERT_TRUE(bundle);
        ppd = panel_test::openPpd(panel_test::kMainPpd);
        ASSERT_TRUE(ppd);
        root = std::make_unique<QWidget>();
        view = new BasicPdeView(root.get());
        view->setBundle(bundle);
    }
    void TearDown() override { kit::Bundle::setPreferredLanguagesForTesting({}); }

    kit::TextField* label(kit::View* superview, const QString& text) {
        auto* field = kit::TextField::create(superview, false);
        field->setStringValue(text);
        return field;
    }

    std::shared_ptr<kit::Bundle> bundle;
    panel_test::PpdPtr ppd;
    std::unique_ptr<QWidget> root;
    BasicPdeView* view = nullptr;
};

TEST_F(BasicPdeViewTest, PrinterTableFirstWithPpdDefaultTableWithout) {
    kit::TextField* title = label(view, "Cover Page Settings");
    view->localizeAllControls();
    EXPECT_EQ(title->stringValue(), "Deckblatteinstellungen");

    auto otherRoot = std::make_unique<QWidget>();
    auto* withPpd = new BasicPdeView(otherRoot.get());
    withPpd->setBundle(bundle);
    withPpd->setPPD(ppd.get());
    EXPECT_EQ(withPpd->localizedFileName(), "Localizable3");
    kit::TextField* other = label(withPpd, "Cover Page Settings");
    kit::TextField* onlyDefault = label(withPpd, "Defaults");
    withPpd->localizeAllControls();
    EXPECT_EQ(other->stringValue(), "Faxdeckblatt");
    EXPECT_EQ(onlyDefault->stringValue(), "Standardwerte");
}

TEST_F(BasicPdeViewTest, EditableFieldsAndTextFieldSubclassesAreNotTranslatedAsText) {
    kit::TextField* editable = kit::TextField::create(view, true);
    editable->setStringValue("Defaults");
    kit::SecureTextField* secure = kit::SecureTextField::create(view);
    secure->setStringValue("Defaults");
    kit::ComboBox* combo = kit::ComboBox::create(view);
    combo->setStringValue("Defaults");
    kit::TextField* plainLabel = label(view, "Defaults");

    view->localizeAllControls();

    EXPECT_EQ(editable->stringValue(), "Defaults");
    EXPECT_EQ(secure->stringValue(), "Defaults");
    EXPECT_EQ(combo->stringValue(), "Defaults");
    EXPECT_EQ(plainLabel->stringValue(), "Standardwerte");
}

TEST_F(BasicPdeViewTest, ButtonsPopupsTablesAndBoxesAreTranslated) {
    kit::Button* button = kit::Button::create(view, "Defaults", kit::Button::Type::CheckBox);
    kit::PopUpButton* popup = kit::PopUpButton::create(view);
    popup->addItemsWithTitles({"Defaults", "Sender Name", "Untranslated"});
    kit::Box* box = kit::Box::create(view, "Cover Page Settings");
    kit::TextField* inBox = label(box, "Sender Name");
    kit::ScrollView* scroll = kit::ScrollView::create(view);
    kit::TableView* table = kit::TableView::create(nullptr);
    table->addColumn("name", "Sender Name");
    table->addColumn("other", "Defaults");
    scroll->setDocumentView(table);

    view->localizeAllControls();

    EXPECT_EQ(button->title(), "Standardwerte");
    EXPECT_EQ(popup->itemTitles(), QStringList({"Standardwerte", "Absendername", "Untranslated"}));
    EXPECT_EQ(box->title(), "Deckblatteinstellungen");
    EXPECT_EQ(inBox->stringValue(), "Absendername");
    EXPECT_EQ(table->headerTitle(0), "Absendername");
    EXPECT_EQ(table->headerTitle(1), "Standardwerte");
}

TEST_F(BasicPdeViewTest, ControlsInsideEveryTabAreTranslated) {
    kit::TabView* tabs = kit::TabView::create(view);
    kit::View* first = kit::View::create();
    kit::TextField* firstLabel = label(first, "Defaults");
    kit::View* second = kit::View::create();
    kit::TextField* secondLabel = label(second, "Sender Name");
    tabs->addItem("Cover Page Settings", first);
    tabs->addItem("Defaults", second);
    tabs->selectItemAtIndex(0);

    view->localizeAllControls();

    EXPECT_EQ(tabs->itemLabel(0), "Deckblatteinstellungen");
    EXPECT_EQ(tabs->itemLabel(1), "Standardwerte");
    EXPECT_EQ(firstLabel->stringValue(), "Standardwerte");
    EXPECT_EQ(secondLabel->stringValue(), "Absendername");
}

TEST_F(BasicPdeViewTest, WindowTitleIsTranslated) {
    auto* window = new kit::Window(root.get());
    window->setTitle("Defaults");
    view->localizeAllControls();
    EXPECT_EQ(window->title(), "Standardwerte");
}

TEST_F(BasicPdeViewTest, PpdPopupListsChoicesInPpdOrderWithTheirKeywords) {
    view->setPPD(ppd.get());
    kit::PopUpButton* popup = kit::PopUpButton::create(view);
    popup->addItemWithTitle("left over from the layout");

    view->localizePPDPopup(popup, "TKFaxTransmissionReport");

    EXPECT_EQ(popup->itemTitles(), QStringList({"Always", "On Error Only", "Never"}));
    EXPECT_EQ(popup->representedObjectAt(0).toString(), "Always");
    EXPECT_EQ(popup->representedObjectAt(1).toString(), "OnError");
    EXPECT_EQ(popup->representedObjectAt(2).toString(), "Never");
    EXPECT_EQ(view->ppdKeywordForObject(popup), "TKFaxTransmissionReport");
}

TEST_F(BasicPdeViewTest, PopupOfAnUnknownOptionIsRegisteredAndEmptied) {
    view->setPPD(ppd.get());
    kit::PopUpButton* popup = kit::PopUpButton::create(view);
    popup->addItemWithTitle("stale");
    view->localizePPDPopup(popup, "TKNoSuchOption");
    EXPECT_EQ(popup->numberOfItems(), 0);
    EXPECT_EQ(view->ppdKeywordForObject(popup), "TKNoSuchOption");
}

TEST_F(BasicPdeViewTest, WithoutPpdTheKeywordOperationsDoNothing) {
    kit::PopUpButton* popup = kit::PopUpButton::create(view);
    popup->addItemsWithTitles({"One", "Two"});
    view->localizePPDControl(popup, "TKFaxImageQuality");
    EXPECT_EQ(popup->numberOfItems(), 2);
    EXPECT_TRUE(view->ppdKeywordForObject(popup).isNull());
    view->setEnabledForPPDKeyword(false, "TKFaxImageQuality");
    EXPECT_TRUE(popup->isEnabled());
}

TEST_F(BasicPdeViewTest, PpdControlDispatchesByExactClass) {
    view->setPPD(ppd.get());
    kit::TextField* title = label(view, "placeholder");
    kit::SecureTextField* secure = kit::SecureTextField::create(view);
    secure->setStringValue("placeholder");
    kit::PopUpButton* popup = kit::PopUpButton::create(view);

    view->localizePPDControl(title, "TKFaxCoverPageMode");
    view->localizePPDControl(secure, "TKFaxCoverPageMode");
    view->localizePPDControl(popup, "TKFaxCoverPageMode");

    EXPECT_EQ(title->stringValue(), "Cover Page");
    EXPECT_EQ(secure->stringValue(), "placeholder");
    EXPECT_TRUE(view->ppdKeywordForObject(title).isNull());
    EXPECT_EQ(popup->numberOfItems(), 3);

    kit::TextField* unknown = label(view, "kept");
    view->localizePPDTextField(unknown, "TKNoSuchOption");
    EXPECT_EQ(unknown->stringValue(), "kept");
}

TEST_F(BasicPdeViewTest, KeywordOperationsReachTheRegisteredPopup) {
    view->setPPD(ppd.get());
    kit::PopUpButton* popup = kit::PopUpButton::create(view);
    view->localizePPDPopup(popup, "TKFaxCoverPageMode");

    view->setValueForPPDKeyword("Detailed", "TKFaxCoverPageMode");
    EXPECT_EQ(popup->titleOfSelectedItem(), "Detailed");
    view->setValueForPPDKeyword("No Such Choice", "TKFaxCoverPageMode");
    EXPECT_EQ(popup->titleOfSelectedItem(), "Detailed");

    view->setEnabledForPPDKeyword(false, "TKFaxCoverPageMode");
    EXPECT_FALSE(popup->isEnabled());
    view->setEnabledForPPDKeyword(true, "TKFaxCoverPageMode");
    EXPECT_TRUE(popup->isEnabled());

    // Unknown keywords and controls are ignored.
    view->setValueForPPDKeyword("Detailed", "TKFaxSenderMode");
    kit::PopUpButton* stranger = kit::PopUpButton::create(view);
    EXPECT_TRUE(view->ppdKeywordForObject(stranger).isNull());
}

TEST_F(BasicPdeViewTest, ANewPpdStartsANewRegistry) {
    view->setPPD(ppd.get());
    kit::PopUpButton* popup = kit::PopUpButton::create(view);
    view->localizePPDPopup(popup, "TKFaxCoverPageMode");
    view->setPPD(ppd.get());
    EXPECT_TRUE(view->ppdKeywordForObject(popup).isNull());
}

} // namespace
