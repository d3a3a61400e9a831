#pragma once

#include "BookContents.h"
#include "EntryRules.h"

#include <QDialog>
#include <memory>
#include <vector>

class QLineEdit;
class QDialogButtonBox;

namespace tarvik_pde_m40vextel {
class InputStringChecker;
}

namespace vextel_addressbook {

// Asks for an entry's name, fax number, company and note. Each field refuses, as it is typed,
// what its rule refuses; OK is enabled when the entry keeps every rule.
class ContactDialog : public QDialog {
    Q_OBJECT
public:
    ContactDialog(const Contact& contact, QWidget* parent = nullptr);
    ~ContactDialog() override;

    // The entry as edited (uid and origin as given).
    Contact contact() const;
    QLineEdit* field(EntryRules::Field field) const;

private:
    void updateAcceptance();

    Contact original_;
    std::vector<std::unique_ptr<tarvik_pde_m40vextel::InputStringChecker>> checkers_;
    QLineEdit* name_;
    QLineEdit* fax_;
    QLineEdit* company_;
    QLineEdit* note_;
    QDialogButtonBox* buttons_;
};

} // namespace vextel_addressbook
