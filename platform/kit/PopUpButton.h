#pragma once

#include "kit/Button.h"

#include <QStringList>
#include <QVariant>

class QComboBox;

namespace kit {

// A pop-up button: a non-editable QComboBox whose items have titles and represented objects.
// Its title is the selected item's title. Sends its action when the user picks an item.
// A popup of many items (a PPD option may have thousands) is sized from the length of its
// longest title rather than by measuring every title in the font.
class PopUpButton : public Button {
    Q_OBJECT
    Q_PROPERTY(int indexOfSelectedItem READ indexOfSelectedItem WRITE selectItemAtIndex NOTIFY
                   selectionChanged)

public:
    // Wraps the combo box and makes it non-editable.
    explicit PopUpButton(QComboBox* comboBox);
    static PopUpButton* create(View* superview);

    void addItemWithTitle(const QString& title);
    void addItemsWithTitles(const QStringList& titles);
    void removeAllItems();
    int numberOfItems() const;
    QStringList itemTitles() const;
    // A null QString when out of range.
    QString itemTitleAt(int index) const;
    void setItemTitleAt(int index, const QString& title);
    // -1 when no item has the title.
    int indexOfItemWithTitle(const QString& title) const;
    // -1 when no item holds the object.
    int indexOfItemWithRepresentedObject(const QVariant& object) const;

    // Selects the first item with that title; nothing changes when there is none.
    void selectItemWithTitle(const QString& title);
    // -1 clears the selection; out-of-range indexes change nothing.
    void selectItemAtIndex(int index);
    int indexOfSelectedItem() const;
    QString titleOfSelectedItem() const;

    QVariant representedObjectAt(int index) const;
    void setRepresentedObjectAt(int index, const QVariant& object);
    QVariant selectedRepresentedObject() const;

    // The title is the selected item's; setting it selects the item with that title.
    QString title() const override { return titleOfSelectedItem(); }
    void setTitle(const QString& title) override { selectItemWithTitle(title); }

    QComboBox* comboBox() const { return comboBox_; }

signals:
    // Any change of the selected index, by the user or from code.
    void selectionChanged(int index);
    // An item picked by the user.
    void userSelectedItem(int index);

public:
    // Above this many items the popup is no longer sized by measuring each title.
    static constexpr int kItemsMeasuredOneByOne = 100;

private:
    void fitTitle(const QString& title);
    void restoreDesignedSizing();

    QComboBox* comboBox_;
    qsizetype longestTitle_ = 0;
    int designedSizePolicy_ = 0;
    int designedMinimumContentsLength_ = 0;
};

} // namespace kit
