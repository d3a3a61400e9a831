#include "CsvImportDialog.h"

#include "BookDocument.h"
#include "EntryRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace vextel_addressbook {

CsvImportDialog::CsvImportDialog(const QList<QStringList>& rows, QWidget* parent)
    : QDialog(parent), rows_(rows) {
    setWindowTitle(tr("Import CSV"));
    const CsvMapping guessed = CsvMapping::guess(rows);
    int columns = 0;
    for (const QStringList& row : rows) {
        columns = std::max(columns, static_cast<int>(row.size()));
    }
    auto* layout = new QVBoxLayout(this);
    header_ = new QCheckBox(tr("The first row holds column titles"), this);
    header_->setChecked(guessed.firstRowIsHeader);
    layout->addWidget(header_);
    auto* form = new QFormLayout;
    const QStringList titles = CsvMapping::exportTitles();
    for (int field = 0; field < CsvMapping::FieldCount; ++field) {
        auto* chooser = new QComboBox(this);
        chooser->setObjectName(titles.at(field));
        // Named by the field it fills, not by the column it shows.
        chooser->setAccessibleName(titles.at(field));
        chooser->addItem(tr("(not imported)"));
        for (int column = 0; column < columns; ++column) {
            const QString title = rows.isEmpty() || column >= rows.first().size()
                                      ? QString()
                                      : rows.first().at(column).left(24);
            chooser->addItem(tr("Column %1: %2").arg(column + 1).arg(title));
        }
        chooser->setCurrentIndex(guessed.column[field] + 1);
        connect(chooser, &QComboBox::currentIndexChanged, this, &CsvImportDialog::updatePreview);
        choosers_[field] = chooser;
        form->addRow(titles.at(field) + QLatin1Char(':'), chooser);
    }
    layout->addLayout(form);
    preview_ = new QTableWidget(this);
    preview_->setObjectName(QStringLiteral("preview"));
    preview_->setAccessibleName(tr("Preview"));
    preview_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    preview_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(preview_, 1);
    summary_ = new QLabel(this);
    layout->addWidget(summary_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(header_, &QCheckBox::toggled, this, &CsvImportDialog::updatePreview);
    resize(640, 480);
    updatePreview();
}

CsvMapping CsvImportDialog::mapping() const {
    CsvMapping mapping;
    mapping.firstRowIsHeader = header_->isChecked();
    for (int field = 0; field < CsvMapping::FieldCount; ++field) {
        mapping.column[field] = choosers_[field]->currentIndex() - 1;
    }
    return mapping;
}

void CsvImportDialog::setTargetBook(const BookContents& book) {
    target_ = book;
    updatePreview();
}

void CsvImportDialog::updatePreview() {
    const BookContents entries = mapping().entries(rows_);
    const QStringList titles = CsvMapping::exportTitles();
    preview_->clear();
    preview_->setColumnCount(5);
    preview_->setHorizontalHeaderLabels(
        {titles.at(0), titles.at(1), titles.at(2), titles.at(3), tr("Problem")});
    const int shown = static_cast<int>(std::min<qsizetype>(entries.contacts.size(), kPreviewRows));
    preview_->setRowCount(shown);
    for (qsizetype i = 0; i < entries.contacts.size(); ++i) {
        const Contact& contact = entries.contacts.at(i);
        auto problem = EntryRules::contactProblem(contact);
        if (!problem) {
            Contact added = contact;
            added.uid.clear();
            problem = EntryRules::duplicateProblem(Contact{}, added, target_);
        }
        if (i >= shown) {
            continue;
        }
        const QString cells[] = {contact.name, EntryRules::joinFaxNumbers(contact.faxNumbers()),
                                 contact.company, contact.note, problem.value_or(QString())};
        for (int column = 0; column < 5; ++column) {
            preview_->setItem(static_cast<int>(i), column, new QTableWidgetItem(cells[column]));
        }
    }
    // Counted by the import itself, into the book, so that the preview promises what the import
    // does.
    BookDocument trial{QString(), target_};
    QStringList skipped;
    const qsizetype imported = trial.addEntries(entries.contacts, entries.groups, &skipped, {});
    summary_->setText(
        tr("%1, %2, %3.", "imported entries, entries left out, groups")
            .arg(tr("%n entries will be imported", "", static_cast<int>(imported)),
                 tr("%n left out for a problem", "",
                    static_cast<int>(entries.contacts.size() - imported)),
                 tr("%n groups", "",
                    static_cast<int>(trial.contents().groups.size() - target_.groups.size()))));
}

} // namespace vextel_addressbook
