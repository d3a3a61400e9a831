#include "kit/ComboBox.h"

#include <QComboBox>
#include <QLineEdit>

namespace kit {

namespace {

QLineEdit* editableLineEdit(QComboBox* comboBox) {
    comboBox->setEditable(true);
    // Typed text stays typed text: it is not added to the list as a new item.
    comboBox->setInsertPolicy(QComboBox::NoInsert);
    return comboBox->lineEdit();
}

} // namespace

ComboBox::ComboBox(QComboBox* comboBox)
    : TextField(comboBox, editableLineEdit(comboBox)), comboBox_(comboBox) {
    connectLineEdit();
    connect(comboBox, &QComboBox::activated, this, [this] { sendAction(); });
}

ComboBox* ComboBox::create(View* superview) {
    auto* box = new ComboBox(new QComboBox);
    attach(box->widget(), superview);
    return box;
}

void ComboBox::addItemWithObjectValue(const QString& text) {
    const QString typed = stringValue();
    comboBox_->addItem(text);
    // Adding the first item would otherwise put its text into the edit part.
    setStringValue(typed);
}

void ComboBox::removeAllItems() {
    const QString typed = stringValue();
    comboBox_->clear();
    setStringValue(typed);
}

int ComboBox::numberOfItems() const {
    return comboBox_->count();
}

QStringList ComboBox::itemTitles() const {
    QStringList titles;
    for (int i = 0; i < comboBox_->count(); ++i) {
        titles.append(comboBox_->itemText(i));
    }
    return titles;
}

} // namespace kit
