#include "PrinterDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace vextel_addressbook {

PrinterDialog::PrinterDialog(const std::optional<PrinterConnection>& current, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr("Connect to Printer"));
    auto* form = new QFormLayout(this);
    network_ = new QRadioButton(tr("On the network, at the address:"), this);
    usb_ = new QRadioButton(tr("On USB"), this);
    address_ = new QLineEdit(this);
    address_->setPlaceholderText(QStringLiteral("192.0.2.7"));
    address_->setAccessibleName(tr("Printer address"));
    form->addRow(network_);
    form->addRow(address_);
    form->addRow(usb_);
    const bool isUsb = current && current->kind == PrinterConnection::Kind::Usb;
    (isUsb ? usb_ : network_)->setChecked(true);
    if (current && !isUsb) {
        address_->setText(current->address);
    }
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons_);
    connect(network_, &QRadioButton::toggled, this, &PrinterDialog::updateAcceptance);
    connect(address_, &QLineEdit::textChanged, this, &PrinterDialog::updateAcceptance);
    updateAcceptance();
}

PrinterConnection PrinterDialog::printer() const {
    if (usb_->isChecked()) {
        return PrinterConnection{PrinterConnection::Kind::Usb, {}};
    }
    return PrinterConnection{PrinterConnection::Kind::Network, address_->text().trimmed()};
}

void PrinterDialog::updateAcceptance() {
    address_->setEnabled(network_->isChecked());
    buttons_->button(QDialogButtonBox::Ok)
        ->setEnabled(usb_->isChecked() || PrinterConnection::fromText(QStringLiteral("NET ") +
                                                                      address_->text().trimmed())
                                              .has_value());
}

} // namespace vextel_addressbook
