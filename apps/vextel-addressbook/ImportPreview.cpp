#include "ImportPreview.h"

#include "BookDocument.h"
#include "EditorSettings.h"
#include "EntryRules.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace vextel_addressbook {

namespace {

// An international prefix is dialled digits; a few are enough for every country's.
const QRegularExpression kPrefixDigits(QStringLiteral("[0-9]{0,6}"));
// The widest a column of the entry's own fields gets, in pixels.
constexpr int kWidestField = 220;

} // namespace

ImportPreview::ImportPreview(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* form = new QFormLayout;
    prefix_ = new QLineEdit(EditorSettings::internationalPrefix(), this);
    prefix_->setObjectName(QStringLiteral("internationalPrefix"));
    prefix_->setValidator(new QRegularExpressionValidator(kPrefixDigits, prefix_));
    prefix_->setToolTip(tr("The digits this fax line dials to call abroad, written for the “+” "
                           "of an international number"));
    form->addRow(tr("International prefix for “+”:"), prefix_);
    layout->addLayout(form);
    table_ = new QTableWidget(this);
    table_->setObjectName(QStringLiteral("preview"));
    table_->setAccessibleName(tr("Preview"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setColumnCount(ColumnCount);
    // Each change and problem is shown beside the number it is about; the card's own company and
    // note follow: shown as Name, Fax, Changes, Problem, Company, Note.
    QHeaderView* header = table_->horizontalHeader();
    header->moveSection(header->visualIndex(Changes), Company);
    header->moveSection(header->visualIndex(Problem), Company + 1);
    header->setStretchLastSection(true);
    layout->addWidget(table_, 1);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("summary"));
    summary_->setWordWrap(true);
    layout->addWidget(summary_);
    connect(prefix_, &QLineEdit::textChanged, this, &ImportPreview::update);
    update();
}

void ImportPreview::setEntries(const BookContents& entries) {
    read_ = entries;
    update();
}

void ImportPreview::setTargetBook(const BookContents& book) {
    target_ = book;
    update();
}

BookContents ImportPreview::entries() const {
    return dialable(read_, internationalPrefix());
}

QString ImportPreview::internationalPrefix() const {
    return prefix_->text();
}

void ImportPreview::keepInternationalPrefix() const {
    if (internationalPrefix() != EditorSettings::internationalPrefix()) {
        EditorSettings::setInternationalPrefix(internationalPrefix());
    }
}

QDialogButtonBox* ImportPreview::confirmingButtons(QDialog* dialog) const {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    connect(buttons, &QDialogButtonBox::accepted, dialog, [this, dialog] {
        keepInternationalPrefix();
        dialog->accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

BookContents ImportPreview::dialable(BookContents entries, const QString& prefix,
                                     QList<QStringList>* changes) {
    for (Contact& contact : entries.contacts) {
        const QStringList changed = EntryRules::makeDialable(contact, prefix);
        if (changes != nullptr) {
            changes->append(changed);
        }
    }
    return entries;
}

void ImportPreview::update() {
    QList<QStringList> changes;
    const BookContents entries = dialable(read_, internationalPrefix(), &changes);
    table_->clear();
    table_->setColumnCount(ColumnCount);
    table_->setHorizontalHeaderLabels({EntryRules::shownTitle(EntryRules::Field::Name),
                                       EntryRules::shownTitle(EntryRules::Field::Fax),
                                       EntryRules::shownTitle(EntryRules::Field::Company),
                                       EntryRules::shownTitle(EntryRules::Field::Note),
                                       tr("Problem"), tr("Changes")});
    const int shown = static_cast<int>(std::min<qsizetype>(entries.contacts.size(), kPreviewRows));
    table_->setRowCount(shown);
    for (int i = 0; i < shown; ++i) {
        const Contact& contact = entries.contacts.at(i);
        auto problem = EntryRules::importProblem(contact);
        if (!problem) {
            Contact added = contact;
            added.uid.clear();
            problem = EntryRules::duplicateProblem(Contact{}, added, target_);
        }
        const QString cells[] = {contact.name,
                                 EntryRules::joinFaxNumbers(contact.faxNumbers()),
                                 contact.company,
                                 contact.note,
                                 problem.value_or(QString()),
                                 changes.at(i).join(QLatin1Char('\n'))};
        for (int column = 0; column < ColumnCount; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setToolTip(cells[column]);
            table_->setItem(i, column, item);
        }
    }
    // The reasons and changes are what the preview is for: they get the room, a long note not.
    table_->resizeColumnsToContents();
    for (int column = 0; column < ColumnCount; ++column) {
        table_->setColumnWidth(column, std::min(table_->columnWidth(column), kWidestField));
    }
    table_->resizeRowsToContents();
    // Counted by the import itself, into the book, so that the preview promises what the import
    // does.
    BookDocument trial{QString(), target_};
    QStringList skipped;
    const qsizetype imported = trial.addEntries(entries.contacts, entries.groups, &skipped, {});
    QString text =
        tr("%1, %2, %3.", "imported entries, entries left out, groups")
            .arg(tr("%n entries will be imported", "", static_cast<int>(imported)),
                 tr("%n left out for a problem", "",
                    static_cast<int>(entries.contacts.size() - imported)),
                 tr("%n groups", "",
                    static_cast<int>(trial.contents().groups.size() - target_.groups.size())));
    const auto changed = std::count_if(changes.begin(), changes.end(),
                                       [](const QStringList& made) { return !made.isEmpty(); });
    if (changed > 0) {
        text += QLatin1Char(' ') + tr("The fax numbers of %n entries are written as the printer "
                                      "dials them (see Changes).",
                                      "", static_cast<int>(changed));
    }
    summary_->setText(text);
}

} // namespace vextel_addressbook
