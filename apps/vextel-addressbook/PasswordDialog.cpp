#include "PasswordDialog.h"

#include "common/InputStringChecker.h"
#include "kit/CoreDumps.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vextel_addressbook {

PasswordDialog::PasswordDialog(const QString& printerName, QWidget* parent)
    : QDialog(parent), checker_(tarvik_pde_m40vextel::InputStringChecker::forRule(
                           tarvik_pde_m40vextel::kPasswordRule)) {
    setWindowTitle(tr("Printer Password"));
    auto* form = new QFormLayout(this);
    form->addRow(new QLabel(tr("The printer %1 asks for its password.").arg(printerName), this));
    field_ = new QLineEdit(this);
    field_->setObjectName(QStringLiteral("password"));
    field_->setEchoMode(QLineEdit::Password);
    kit::keepOutOfCoreDumps();
    field_->setValidator(checker_->makeValidator(field_));
    field_->setAttribute(Qt::WA_InputMethodEnabled, false);
    form->addRow(tr("Password:"), field_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(field_, &QLineEdit::textChanged, this, [this, buttons] {
        buttons->button(QDialogButtonBox::Ok)->setEnabled(!field_->text().isEmpty());
    });
    buttons->button(QDialogButtonBox::Ok)->setEnabled(false);
    form->addRow(buttons);
}

PasswordDialog::~PasswordDialog() {
    field_->clear();
}

QString PasswordDialog::takePassword() {
    const QString password = field_->text();
    field_->clear();
    return password;
}

} // namespace vextel_addressbook
