#pragma once

#include "BookContents.h"

#include <QString>
#include <memory>
#include <optional>

namespace tarvik_pde_m40vextel {
class InputStringChecker;
}

namespace vextel_addressbook {

// The rules an entry of a PC address book keeps: the fax dialog's rules for names and fax
// numbers, and the sizes of the library's records for the rest, so that every entry the editor
// writes can be picked and sent as it is shown.
class EntryRules {
public:
    enum class Field { Name, Fax, Company, Note, GroupName };

    static constexpr int kMaximumGroupMembers = 31; // what a group record holds
    static constexpr int kMaximumCompanyLength = 64;
    static constexpr int kMaximumNoteLength = 254;

    // The checker for an editing field: refuses an edit that breaks the field's rule.
    static std::unique_ptr<tarvik_pde_m40vextel::InputStringChecker> checker(Field field);
    // A field's name as the window shows it ("Fax number").
    static QString title(Field field);

    // Null when the contact keeps every rule; else one sentence naming the first broken one.
    static std::optional<QString> contactProblem(const Contact& contact);
    // Null when the group keeps every rule: a name, at most 31 members, each an entry of book
    // and named once.
    static std::optional<QString> groupProblem(const Group& group, const BookContents& book);
};

} // namespace vextel_addressbook
