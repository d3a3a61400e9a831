#include "GroupDialog.h"

#include "EntryRules.h"
#include "common/InputStringChecker.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace vextel_addressbook {

namespace {
constexpr int kUidRole = Qt::UserRole + 1;
}

GroupDialog::GroupDialog(const Group& group, const BookContents& book, QWidget* parent)
    : QDialog(parent), original_(group), book_(book),
      nameChecker_(EntryRules::checker(EntryRules::Field::GroupName)) {
    setWindowTitle(group.uid.isEmpty() ? tr("New Group") : tr("Edit Group"));
    auto* form = new QFormLayout(this);
    name_ = new QLineEdit(group.name, this);
    name_->setObjectName(QStringLiteral("Group name"));
    name_->setValidator(nameChecker_->makeValidator(name_));
    form->addRow(tr("Group name:"), name_);
    members_ = new QListWidget(this);
    members_->setObjectName(QStringLiteral("Members"));
    // A list is read out by its own name; its label's is not taken.
    members_->setAccessibleName(tr("Members"));
    for (const Contact& contact : book.contacts) {
        auto* item = new QListWidgetItem(QStringLiteral("%1  (%2)").arg(contact.name, contact.fax),
                                         members_);
        item->setData(kUidRole, contact.uid);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(group.memberUids.contains(contact.uid) ? Qt::Checked : Qt::Unchecked);
    }
    form->addRow(tr("Members:"), members_);
    count_ = new QLabel(this);
    form->addRow(QString(), count_);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons_);
    connect(name_, &QLineEdit::textChanged, this, &GroupDialog::updateAcceptance);
    connect(members_, &QListWidget::itemChanged, this, &GroupDialog::updateAcceptance);
    updateAcceptance();
}

GroupDialog::~GroupDialog() = default;

Group GroupDialog::group() const {
    Group edited = original_;
    edited.name = name_->text();
    edited.memberUids.clear();
    for (int i = 0; i < members_->count(); ++i) {
        if (members_->item(i)->checkState() == Qt::Checked) {
            edited.memberUids.append(members_->item(i)->data(kUidRole).toString());
        }
    }
    return edited;
}

void GroupDialog::updateAcceptance() {
    const Group edited = group();
    count_->setText(tr("%1 of at most %2 members")
                        .arg(edited.memberUids.size())
                        .arg(EntryRules::kMaximumGroupMembers));
    const auto problem = EntryRules::groupProblem(edited, book_);
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(!problem);
    buttons_->button(QDialogButtonBox::Ok)->setToolTip(problem.value_or(QString()));
}

} // namespace vextel_addressbook
