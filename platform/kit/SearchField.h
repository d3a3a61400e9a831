#pragma once

#include "kit/TextField.h"

namespace kit {

// A text field for search text: sends its action as the user types (each edit, and clearing).
class SearchField : public TextField {
    Q_OBJECT

public:
    explicit SearchField(QLineEdit* lineEdit);
    static SearchField* create(View* superview);
};

} // namespace kit
