#include "kit/SecureTextField.h"

#include "kit/CoreDumps.h"

#include <QLineEdit>

namespace kit {

SecureTextField::SecureTextField(QLineEdit* lineEdit) : TextField(lineEdit) {
    lineEdit->setEchoMode(QLineEdit::Password);
    keepOutOfCoreDumps();
}

SecureTextField* SecureTextField::create(View* superview) {
    auto* field = new SecureTextField(new QLineEdit);
    attach(field->widget(), superview);
    return field;
}

} // namespace kit
