#include "kit/SearchField.h"

#include <QLineEdit>

namespace kit {

SearchField::SearchField(QLineEdit* lineEdit) : TextField(lineEdit) {
    lineEdit->setClearButtonEnabled(true);
    connect(lineEdit, &QLineEdit::textEdited, this, [this] { sendAction(); });
}

SearchField* SearchField::create(View* superview) {
    auto* field = new SearchField(new QLineEdit);
    attach(field->widget(), superview);
    return field;
}

} // namespace kit
