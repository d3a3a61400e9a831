#pragma once

#include "kit/TextField.h"

#include <QStringList>

class QComboBox;

namespace kit {

// A text field with a list of suggestions: an editable QComboBox. Its string value is the text of
// the edit part. Sends its action when editing ends and when the user picks an item.
class ComboBox : public TextField {
    Q_OBJECT

public:
    // Wraps the combo box and makes it editable.
    explicit ComboBox(QComboBox* comboBox);
    static ComboBox* create(View* superview);

    void addItemWithObjectValue(const QString& text);
    void removeAllItems();
    int numberOfItems() const;
    QStringList itemTitles() const;

    QComboBox* comboBox() const { return comboBox_; }

private:
    QComboBox* comboBox_;
};

} // namespace kit
