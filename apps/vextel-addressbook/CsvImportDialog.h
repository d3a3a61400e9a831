#pragma once

#include "CsvMapping.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QTableWidget;

namespace vextel_addressbook {

class ImportPreview;

// Shows the first rows of a CSV table and lets the user say which column holds which field
// (guessed from the titles) and whether the first row holds titles. The preview shows the
// entries as they will be imported, the changes made to their fax numbers, and how many.
class CsvImportDialog : public QDialog {
    Q_OBJECT
public:
    CsvImportDialog(const QList<QStringList>& rows, QWidget* parent = nullptr);

    CsvMapping mapping() const;
    // The entries as they will be imported: the mapping's, numbers made dialable.
    BookContents entries() const;
    // The book the rows go into: the preview counts and names what it already holds (a name and
    // fax number the import leaves out) as the import will. Empty until set.
    void setTargetBook(const BookContents& book);
    // The field's column chooser: item 0 is "(not imported)", item n+1 is column n.
    QComboBox* columnChooser(CsvMapping::Field field) const { return choosers_[field]; }
    QCheckBox* headerBox() const { return header_; }
    ImportPreview* importPreview() const { return preview_; }
    QTableWidget* preview() const;
    QLabel* summary() const;

private:
    void updatePreview();

    QList<QStringList> rows_;
    QComboBox* choosers_[CsvMapping::FieldCount] = {};
    QCheckBox* header_;
    ImportPreview* preview_;
};

} // namespace vextel_addressbook
