#include "kit/PopUpButton.h"

#include <QComboBox>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <memory>
#include <typeinfo>

namespace {

struct Popup {
    std::unique_ptr<QComboBox> combo{new QComboBox};
    kit::PopUpButton popup{combo.get()};

    Popup() {
        popup.addItemsWithTitles({"Standard", "Fine", "Super Fine"});
        popup.setRepresentedObjectAt(0, "Std");
        popup.setRepresentedObjectAt(1, "Fine");
        popup.setRepresentedObjectAt(2, "SFine");
    }
};

TEST(PopUpButtonTest, ItemsCarryRepresentedObjects) {
    Popup p;
    EXPECT_EQ(p.popup.numberOfItems(), 3);
    EXPECT_EQ(p.popup.itemTitles(), (QStringList{"Standard", "Fine", "Super Fine"}));
    EXPECT_EQ(p.popup.representedObjectAt(2).toString(), "SFine");
    EXPECT_FALSE(p.popup.representedObjectAt(3).isValid());
    EXPECT_EQ(p.popup.indexOfItemWithRepresentedObject("Fine"), 1);
    EXPECT_EQ(p.popup.itemTitleAt(-1), QString());
}

TEST(PopUpButtonTest, SelectItemWithTitleSelectsOnlyExistingTitles) {
    Popup p;
    p.popup.selectItemWithTitle("Super Fine");
    EXPECT_EQ(p.popup.indexOfSelectedItem(), 2);
    EXPECT_EQ(p.popup.titleOfSelectedItem(), "Super Fine");
    EXPECT_EQ(p.popup.title(), "Super Fine");
    EXPECT_EQ(p.popup.selectedRepresentedObject().toString(), "SFine");

    p.popup.selectItemWithTitle("super fine");
    EXPECT_EQ(p.popup.indexOfSelectedItem(), 2) << "titles compare exactly";
    p.popup.setTitle("Fine");
    EXPECT_EQ(p.popup.indexOfSelectedItem(), 1);
    p.popup.selectItemAtIndex(7);
    EXPECT_EQ(p.popup.indexOfSelectedItem(), 1);
}

TEST(PopUpButtonTest, UserPickSendsTheActionCodeSelectionDoesNot) {
    Popup p;
    int actions = 0;
    p.popup.setActionHandler([&](kit::View* sender) {
        ++actions;
        EXPECT_EQ(sender, &p.popup);
    });
    QSignalSpy selection(&p.popup, &kit::PopUpButton::selectionChanged);
    p.popup.selectItemAtIndex(1);
    EXPECT_EQ(actions, 0);
    p.combo->setCurrentIndex(2);
    emit p.combo->activated(2);
    EXPECT_EQ(actions, 1);
    EXPECT_EQ(selection.count(), 2);
}

TEST(PopUpButtonTest, RemoveAllItemsEmptiesAndIsAButtonSubclass) {
    Popup p;
    p.popup.removeAllItems();
    EXPECT_EQ(p.popup.numberOfItems(), 0);
    EXPECT_EQ(p.popup.indexOfSelectedItem(), -1);
    EXPECT_EQ(p.popup.titleOfSelectedItem(), QString());
    kit::View* view = &p.popup;
    EXPECT_FALSE(typeid(*view) == typeid(kit::Button));
    EXPECT_NE(qobject_cast<kit::Button*>(view), nullptr);
}

} // namespace
