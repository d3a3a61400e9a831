#include "ContactDialog.h"

#include "common/InputStringChecker.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace vextel_addressbook {

ContactDialog::ContactDialog(const Contact& contact, QWidget* parent)
    : QDialog(parent), original_(contact) {
    setWindowTitle(contact.uid.isEmpty() ? tr("New Entry") : tr("Edit Entry"));
    auto* form = new QFormLayout(this);
    auto makeField = [&](EntryRules::Field field, const QString& text) {
        auto* edit = new QLineEdit(text, this);
        edit->setObjectName(EntryRules::title(field));
        checkers_.push_back(EntryRules::checker(field));
        edit->setValidator(checkers_.back()->makeValidator(edit));
        connect(edit, &QLineEdit::textChanged, this, &ContactDialog::updateAcceptance);
        form->addRow(EntryRules::title(field) + QLatin1Char(':'), edit);
        return edit;
    };
    name_ = makeField(EntryRules::Field::Name, contact.name);
    fax_ = makeField(EntryRules::Field::Fax, contact.fax);
    company_ = makeField(EntryRules::Field::Company, contact.company);
    note_ = makeField(EntryRules::Field::Note, contact.note);
    fax_->setPlaceholderText(tr("digits and # * - : ="));
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons_);
    updateAcceptance();
}

ContactDialog::~ContactDialog() = default;

Contact ContactDialog::contact() const {
    Contact edited = original_;
    edited.name = name_->text();
    edited.fax = fax_->text();
    edited.company = company_->text();
    edited.note = note_->text();
    return edited;
}

QLineEdit* ContactDialog::field(EntryRules::Field field) const {
    switch (field) {
    case EntryRules::Field::Fax:
        return fax_;
    case EntryRules::Field::Company:
        return company_;
    case EntryRules::Field::Note:
        return note_;
    default:
        return name_;
    }
}

void ContactDialog::updateAcceptance() {
    const auto problem = EntryRules::contactProblem(contact());
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(!problem);
    buttons_->button(QDialogButtonBox::Ok)->setToolTip(problem.value_or(QString()));
}

} // namespace vextel_addressbook
