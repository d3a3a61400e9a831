#pragma once

#include "kit/TextField.h"

namespace kit {

// A text field whose text is shown as password dots. A process that has one never dumps core
// (CoreDumps.h).
class SecureTextField : public TextField {
    Q_OBJECT

public:
    // Wraps the line edit and switches it to password echo.
    explicit SecureTextField(QLineEdit* lineEdit);
    static SecureTextField* create(View* superview);
};

} // namespace kit
