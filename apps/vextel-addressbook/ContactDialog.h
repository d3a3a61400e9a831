#pragma once

#include "BookContents.h"
#include "EntryRules.h"

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QDialogButtonBox;

namespace vextel_addressbook {

// Asks for an entry's name, fax numbers (the preferred one and the others), company and note. What
// the user types stays as typed: a field whose text breaks its rule shows the reason beside it, in
// the window, and OK waits. The rules apply to the fields the user changes: an entry that breaks a
// rule today (a note of two lines from a phone, a long name) can still be edited, and what is not
// changed stays exactly as it was.
class ContactDialog : public QDialog {
    Q_OBJECT
public:
    ContactDialog(const Contact& contact, QWidget* parent = nullptr);
    ~ContactDialog() override;

    // The entry as edited (uid and origin as given; an unchanged field keeps its value).
    Contact contact() const;
    QLineEdit* field(EntryRules::Field field) const;
    // The reason shown beside the field; empty when it has none.
    QString reason(EntryRules::Field field) const;
    // A check of the whole entry against its book (a name and fax number it already holds),
    // made once every field keeps its rule; its reason shows under the fax number and OK waits.
    using BookCheck = std::function<std::optional<QString>(const Contact& edited)>;
    void setBookCheck(BookCheck check);

private:
    struct Row {
        EntryRules::Field field;
        QString original;
        QLineEdit* edit = nullptr;
        QLabel* reason = nullptr;
    };
    void addRow(EntryRules::Field field, const QString& value);
    const Row* rowOf(EntryRules::Field field) const;
    QString valueOf(const Row& row) const;
    void updateAcceptance();

    Contact original_;
    std::array<Row, 5> rows_;
    int rowCount_ = 0;
    QDialogButtonBox* buttons_;
    BookCheck bookCheck_;
};

} // namespace vextel_addressbook
