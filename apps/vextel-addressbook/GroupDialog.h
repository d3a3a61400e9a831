#pragma once

#include "BookContents.h"

#include <QDialog>
#include <memory>

class QLineEdit;
class QListWidget;
class QLabel;
class QDialogButtonBox;

namespace tarvik_pde_m40vextel {
class InputStringChecker;
}

namespace vextel_addressbook {

// Asks for a group's name and members, chosen among the book's entries by check boxes. The
// count of members is shown against the limit; OK is enabled when the group keeps every rule.
class GroupDialog : public QDialog {
    Q_OBJECT
public:
    GroupDialog(const Group& group, const BookContents& book, QWidget* parent = nullptr);
    ~GroupDialog() override;

    Group group() const;
    QLineEdit* nameField() const { return name_; }
    QListWidget* memberList() const { return members_; }

private:
    void updateAcceptance();

    Group original_;
    BookContents book_;
    std::unique_ptr<tarvik_pde_m40vextel::InputStringChecker> nameChecker_;
    QLineEdit* name_;
    QListWidget* members_;
    QLabel* count_;
    QDialogButtonBox* buttons_;
};

} // namespace vextel_addressbook
