#include "CsvImportDialog.h"

#include "ImportPreview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
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
    preview_ = new ImportPreview(this);
    layout->addWidget(preview_, 1);
    layout->addWidget(preview_->confirmingButtons(this));
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

BookContents CsvImportDialog::entries() const {
    return preview_->entries();
}

QTableWidget* CsvImportDialog::preview() const {
    return preview_->table();
}

QLabel* CsvImportDialog::summary() const {
    return preview_->summary();
}

void CsvImportDialog::setTargetBook(const BookContents& book) {
    preview_->setTargetBook(book);
}

void CsvImportDialog::updatePreview() {
    preview_->setEntries(mapping().entries(rows_));
}

} // namespace vextel_addressbook
