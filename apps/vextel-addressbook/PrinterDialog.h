#pragma once

#include "CommandLine.h"

#include <QDialog>
#include <optional>

class QLineEdit;
class QRadioButton;
class QDialogButtonBox;

namespace vextel_addressbook {

// Asks how to reach the printer: on the network at an address, or on USB.
class PrinterDialog : public QDialog {
    Q_OBJECT
public:
    PrinterDialog(const std::optional<PrinterConnection>& current, QWidget* parent = nullptr);

    PrinterConnection printer() const;

private:
    void updateAcceptance();

    QRadioButton* network_;
    QRadioButton* usb_;
    QLineEdit* address_;
    QDialogButtonBox* buttons_;
};

} // namespace vextel_addressbook
