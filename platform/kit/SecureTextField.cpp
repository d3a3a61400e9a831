#include "kit/SecureTextField.h"

#include <QLineEdit>

namespace kit {

SecureTextField::SecureTextField(QLineEdit* lineEdit) : TextField(lineEdit) {
    lineEdit->setEchoMode(QLineEdit::Password);
}

SecureTextField* SecureTextField::create(View* superview) {
    auto* field = new SecureTextField(new QLineEdit);
    attach(field->widget(), superview);
    return field;
}

} // namespace kit
