#include "kit/PopUpButton.h"

#include <QComboBox>
#include <algorithm>

namespace kit {

namespace {

// The widest a popup sized by title length gets, in characters.
constexpr qsizetype kWidestSizedTitle = 40;

} // namespace

PopUpButton::PopUpButton(QComboBox* comboBox)
    : Button(comboBox, nullptr), comboBox_(comboBox),
      designedSizePolicy_(comboBox->sizeAdjustPolicy()),
      designedMinimumContentsLength_(comboBox->minimumContentsLength()) {
    comboBox->setEditable(false);
    connect(comboBox, &QComboBox::currentIndexChanged, this, &PopUpButton::selectionChanged);
    connect(comboBox, &QComboBox::activated, this, [this](int index) {
        emit userSelectedItem(index);
        sendAction();
    });
}

PopUpButton* PopUpButton::create(View* superview) {
    auto* popup = new PopUpButton(new QComboBox);
    attach(popup->widget(), superview);
    return popup;
}

void PopUpButton::addItemWithTitle(const QString& title) {
    comboBox_->addItem(title);
    fitTitle(title);
}

// Measuring thousands of titles takes tens of milliseconds at every size query; their length in
// characters is known as they come.
void PopUpButton::fitTitle(const QString& title) {
    longestTitle_ = std::max(longestTitle_, title.size());
    if (comboBox_->count() <= kItemsMeasuredOneByOne) {
        return;
    }
    comboBox_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    const int length = static_cast<int>(std::min(longestTitle_, kWidestSizedTitle));
    if (comboBox_->minimumContentsLength() != length) {
        comboBox_->setMinimumContentsLength(length);
    }
}

void PopUpButton::restoreDesignedSizing() {
    longestTitle_ = 0;
    comboBox_->setSizeAdjustPolicy(static_cast<QComboBox::SizeAdjustPolicy>(designedSizePolicy_));
    comboBox_->setMinimumContentsLength(designedMinimumContentsLength_);
}

void PopUpButton::addItemsWithTitles(const QStringList& titles) {
    for (const QString& title : titles) {
        addItemWithTitle(title);
    }
}

void PopUpButton::removeAllItems() {
    comboBox_->clear();
    restoreDesignedSizing();
}

int PopUpButton::numberOfItems() const {
    return comboBox_->count();
}

QStringList PopUpButton::itemTitles() const {
    QStringList titles;
    for (int i = 0; i < comboBox_->count(); ++i) {
        titles.append(comboBox_->itemText(i));
    }
    return titles;
}

QString PopUpButton::itemTitleAt(int index) const {
    if (index < 0 || index >= comboBox_->count()) {
        return {};
    }
    return comboBox_->itemText(index);
}

void PopUpButton::setItemTitleAt(int index, const QString& title) {
    if (index >= 0 && index < comboBox_->count()) {
        comboBox_->setItemText(index, title);
        fitTitle(title);
    }
}

int PopUpButton::indexOfItemWithTitle(const QString& title) const {
    for (int i = 0; i < comboBox_->count(); ++i) {
        if (comboBox_->itemText(i) == title) {
            return i;
        }
    }
    return -1;
}

int PopUpButton::indexOfItemWithRepresentedObject(const QVariant& object) const {
    for (int i = 0; i < comboBox_->count(); ++i) {
        if (comboBox_->itemData(i) == object) {
            return i;
        }
    }
    return -1;
}

void PopUpButton::selectItemWithTitle(const QString& title) {
    const int index = indexOfItemWithTitle(title);
    if (index >= 0) {
        comboBox_->setCurrentIndex(index);
    }
}

void PopUpButton::selectItemAtIndex(int index) {
    if (index >= -1 && index < comboBox_->count()) {
        comboBox_->setCurrentIndex(index);
    }
}

int PopUpButton::indexOfSelectedItem() const {
    return comboBox_->currentIndex();
}

QString PopUpButton::titleOfSelectedItem() const {
    return itemTitleAt(indexOfSelectedItem());
}

QVariant PopUpButton::representedObjectAt(int index) const {
    if (index < 0 || index >= comboBox_->count()) {
        return {};
    }
    return comboBox_->itemData(index);
}

void PopUpButton::setRepresentedObjectAt(int index, const QVariant& object) {
    if (index >= 0 && index < comboBox_->count()) {
        comboBox_->setItemData(index, object);
    }
}

QVariant PopUpButton::selectedRepresentedObject() const {
    return representedObjectAt(indexOfSelectedItem());
}

} // namespace kit
