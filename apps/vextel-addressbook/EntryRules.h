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
    // A field's name in English ("Fax number"): the editing field's object name.
    static QString title(Field field);
    // The field's name as the window shows it, in the user's language.
    static QString shownTitle(Field field);

    // Null when the value keeps the field's rule; else one sentence saying why not.
    static std::optional<QString> problem(Field field, const QString& value);
    // Null when the contact keeps every rule; else one sentence naming the first broken one.
    static std::optional<QString> contactProblem(const Contact& contact);
    // Null when every field the edit changes keeps its rule: an entry breaking a rule today (a
    // note of two lines) can still be edited, and what is not changed is not held against it.
    static std::optional<QString> changedContactProblem(const Contact& before,
                                                        const Contact& after);
    // Null when the group keeps every rule: a name, at most 31 members, each an entry of book
    // and named once.
    static std::optional<QString> groupProblem(const Group& group, const BookContents& book);
};

} // namespace vextel_addressbook
