#include "ContactDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vextel_addressbook {

ContactDialog::ContactDialog(const Contact& contact, QWidget* parent)
    : QDialog(parent), original_(contact) {
    setWindowTitle(contact.uid.isEmpty() ? tr("New Entry") : tr("Edit Entry"));
    auto* form = new QFormLayout(this);
    setLayout(form);
    addRow(EntryRules::Field::Name, contact.name);
    addRow(EntryRules::Field::Fax, contact.fax);
    addRow(EntryRules::Field::OtherFaxes, EntryRules::joinFaxNumbers(contact.otherFaxes));
    addRow(EntryRules::Field::Company, contact.company);
    addRow(EntryRules::Field::Note, contact.note);
    field(EntryRules::Field::Fax)->setPlaceholderText(tr("digits and # * - : ="));
    field(EntryRules::Field::OtherFaxes)->setPlaceholderText(tr("none; more as 0123, 0456"));
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons_);
    setMinimumWidth(420);
    updateAcceptance();
}

ContactDialog::~ContactDialog() = default;

void ContactDialog::addRow(EntryRules::Field field, const QString& value) {
    auto* form = static_cast<QFormLayout*>(layout());
    Row& row = rows_.at(static_cast<std::size_t>(rowCount_++));
    row.field = field;
    row.original = value;
    row.edit = new QLineEdit(value, this);
    row.edit->setObjectName(EntryRules::title(field));
    // The reason sits right under the field it is about, where the eyes are while typing, and
    // a screen reader reads it as the field's description.
    row.reason = new QLabel(this);
    row.reason->setObjectName(EntryRules::title(field) + QStringLiteral(" reason"));
    row.reason->setWordWrap(true);
    row.reason->hide();
    auto* column = new QVBoxLayout;
    column->setSpacing(2);
    column->addWidget(row.edit);
    column->addWidget(row.reason);
    auto* label = new QLabel(tr("%1:").arg(EntryRules::shownTitle(field)), this);
    label->setBuddy(row.edit);
    form->addRow(label, column);
    connect(row.edit, &QLineEdit::textEdited, this, &ContactDialog::updateAcceptance);
}

const ContactDialog::Row* ContactDialog::rowOf(EntryRules::Field field) const {
    for (int i = 0; i < rowCount_; ++i) {
        if (rows_.at(static_cast<std::size_t>(i)).field == field) {
            return &rows_.at(static_cast<std::size_t>(i));
        }
    }
    return &rows_.front();
}

QString ContactDialog::valueOf(const Row& row) const {
    // A field the user did not touch keeps its value to the character (a line break in a note
    // is not the field's to drop).
    return row.edit->isModified() ? row.edit->text() : row.original;
}

Contact ContactDialog::contact() const {
    Contact edited = original_;
    edited.name = valueOf(*rowOf(EntryRules::Field::Name));
    edited.fax = valueOf(*rowOf(EntryRules::Field::Fax));
    const Row& others = *rowOf(EntryRules::Field::OtherFaxes);
    if (others.edit->isModified()) {
        edited.otherFaxes = EntryRules::splitFaxNumbers(others.edit->text());
    }
    edited.company = valueOf(*rowOf(EntryRules::Field::Company));
    edited.note = valueOf(*rowOf(EntryRules::Field::Note));
    return edited;
}

QLineEdit* ContactDialog::field(EntryRules::Field field) const {
    return rowOf(field)->edit;
}

QString ContactDialog::reason(EntryRules::Field field) const {
    const QLabel* label = rowOf(field)->reason;
    return label->isVisibleTo(this) ? label->text() : QString();
}

void ContactDialog::setBookCheck(BookCheck check) {
    bookCheck_ = std::move(check);
    updateAcceptance();
}

void ContactDialog::updateAcceptance() {
    bool acceptable = true;
    for (int i = 0; i < rowCount_; ++i) {
        Row& row = rows_.at(static_cast<std::size_t>(i));
        const QString value = valueOf(row);
        // A new entry is held to every rule; an edited one to the rules of what changed. The
        // reason shows once the user typed into the field: an empty new entry is no mistake.
        const bool checked = original_.uid.isEmpty() || value != row.original;
        const auto problem = checked ? EntryRules::problem(row.field, value) : std::nullopt;
        const bool shown = problem.has_value() && row.edit->isModified();
        row.reason->setText(shown ? *problem : QString());
        row.reason->setVisible(shown);
        row.edit->setAccessibleDescription(shown ? *problem : QString());
        acceptable = acceptable && !problem;
    }
    if (acceptable && bookCheck_) {
        if (const auto problem = bookCheck_(contact())) {
            const Row& fax = *rowOf(EntryRules::Field::Fax);
            fax.reason->setText(*problem);
            fax.reason->setVisible(true);
            fax.edit->setAccessibleDescription(*problem);
            acceptable = false;
        }
    }
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(acceptable);
}

} // namespace vextel_addressbook
