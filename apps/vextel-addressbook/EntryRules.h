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
    // Null when an imported entry can be picked and dialled: its name and fax numbers keep their
    // rules. Company and note stay as the card has them (a phone's note of two lines), as they
    // do for a card read from a book, and are held to their rules when the user edits them.
    static std::optional<QString> importProblem(const Contact& contact);
    // Null when every field the edit changes keeps its rule: an entry breaking a rule today (a
    // note of two lines) can still be edited, and what is not changed is not held against it.
    static std::optional<QString> changedContactProblem(const Contact& before,
                                                        const Contact& after);
    // Null when every name and fax number pair that after brings, and before did not have, is
    // new to the book (entries other than after's own uid) and named once in after: the library
    // refuses to add a pair the book holds, and the picker would list both as one.
    static std::optional<QString> duplicateProblem(const Contact& before, const Contact& after,
                                                   const BookContents& book);
    // The number an import takes for a formatted one: blanks, dots, brackets and slashes, which
    // only format it, dropped, and a leading "+" written as internationalPrefix (kept when that is
    // empty). What is left is
    // for problem() to judge: a number it still refuses is refused with its reason.
    static QString dialableNumber(const QString& number, const QString& internationalPrefix);
    // Turns each of the contact's fax numbers into its dialable form; answers each change made,
    // as "020 7946 0002 → 02079460002", in the contact's number order.
    static QStringList makeDialable(Contact& contact, const QString& internationalPrefix);
    // The numbers of an OtherFaxes text, and that text for numbers.
    static QStringList splitFaxNumbers(const QString& text);
    static QString joinFaxNumbers(const QStringList& numbers);

    // Null when the group keeps every rule: a name, at most 31 members, each an entry of book
    // and named once.
    static std::optional<QString> groupProblem(const Group& group, const BookContents& book);
};

} // namespace vextel_addressbook
