#pragma once

#include <QDialog>
#include <memory>

class QLineEdit;

namespace tarvik_pde_m40vextel {
class InputStringChecker;
}

namespace vextel_addressbook {

// Asks for the printer's four-digit password in a field that shows no digits. The password lives
// in the field until takePassword, which empties the field; it is never written anywhere.
class PasswordDialog : public QDialog {
    Q_OBJECT
public:
    explicit PasswordDialog(const QString& printerName, QWidget* parent = nullptr);
    ~PasswordDialog() override;

    QString takePassword();
    QLineEdit* field() const { return field_; }

private:
    std::unique_ptr<tarvik_pde_m40vextel::InputStringChecker> checker_;
    QLineEdit* field_;
};

} // namespace vextel_addressbook
