#pragma once

#include "BookContents.h"

#include <QString>
#include <memory>
#include <optional>

namespace tarvik_pde_m40vextel {
class InputStringChecker;
}

namespace vextel_addressbook {

// The rules an entry of a PC address book keeps, from the shared field rules: the fax dialog's
// for names and fax numbers, the library's record sizes for company and note, so that every entry
// the editor writes can be picked and sent as it is shown.
class EntryRules {
public:
    enum class Field { Name, Fax, Company, Note, GroupName };

    static constexpr int kMaximumGroupMembers = 31; // what a group record holds

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
