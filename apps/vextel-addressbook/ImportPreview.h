#pragma once

#include "BookContents.h"

#include <QWidget>

class QDialog;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace vextel_addressbook {

// The entries an import brings, as they will be imported into a book: each with the changes made
// to its fax numbers so that the printer can dial them (a "+" written as the international prefix
// shown above the table, which the user may change), the problem that leaves it out, and how
// many go in. Part of each import dialog.
class ImportPreview : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPreviewRows = 20;
    // The table's columns.
    enum Column { Name, Fax, Company, Note, Problem, Changes, ColumnCount };

    explicit ImportPreview(QWidget* parent = nullptr);

    // The entries as read, before their numbers are made dialable.
    void setEntries(const BookContents& entries);
    // The book they go into: what it already holds is left out as the import leaves it out.
    void setTargetBook(const BookContents& book);
    // The entries as they will be imported, numbers made dialable with the prefix shown.
    BookContents entries() const;
    QString internationalPrefix() const;
    // Keeps the prefix shown as the user's setting for the next import.
    void keepInternationalPrefix() const;
    // The import dialog's OK and Cancel: OK keeps the prefix shown and accepts the dialog.
    QDialogButtonBox* confirmingButtons(QDialog* dialog) const;

    // entries with every fax number made dialable with prefix; changes, when given, gets each
    // contact's changes ("020 7946 0002 → 02079460002"), one list per contact.
    static BookContents dialable(BookContents entries, const QString& prefix,
                                 QList<QStringList>* changes = nullptr);

    QLineEdit* prefixField() const { return prefix_; }
    QTableWidget* table() const { return table_; }
    QLabel* summary() const { return summary_; }

private:
    void update();

    BookContents read_;
    BookContents target_;
    QLineEdit* prefix_;
    QTableWidget* table_;
    QLabel* summary_;
};

} // namespace vextel_addressbook
