#pragma once

#include "BookContents.h"

#include <QString>
#include <QStringList>
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
    // OtherFaxes is a list of fax numbers, each keeping Fax's rule, written "0123, 0456".
    enum class Field { Name, Fax, OtherFaxes, Company, Note, GroupName };

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
    // Null when every name and fax number pair that after brings, and before did not have, is
    // new to the book (entries other than after's own uid) and named once in after: the library
    // refuses to add a pair the book holds, and the picker would list both as one.
    static std::optional<QString> duplicateProblem(const Contact& before, const Contact& after,
                                                   const BookContents& book);
    // The numbers of an OtherFaxes text, and that text for numbers.
    static QStringList splitFaxNumbers(const QString& text);
    static QString joinFaxNumbers(const QStringList& numbers);

    // Null when the group keeps every rule: a name, at most 31 members, each an entry of book
    // and named once.
    static std::optional<QString> groupProblem(const Group& group, const BookContents& book);
};

} // namespace vextel_addressbook
