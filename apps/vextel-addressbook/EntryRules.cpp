#include "EntryRules.h"

#include "common/InputStringChecker.h"

#include <QCoreApplication>
#include <QSet>
#include <algorithm>
#include <tuple>

namespace vextel_addressbook {

namespace {

using tarvik_pde_m40vextel::FieldRule;
using tarvik_pde_m40vextel::InputStringChecker;

struct EntryField {
    EntryRules::Field field;
    const char* title;
    const FieldRule& rule;
    bool required;
};

const EntryField kFields[] = {
    {EntryRules::Field::Name, QT_TRANSLATE_NOOP("vextel_addressbook::EntryRules", "Name"),
     tarvik_pde_m40vextel::kBookNameRule, true},
    {EntryRules::Field::Fax, QT_TRANSLATE_NOOP("vextel_addressbook::EntryRules", "Fax number"),
     tarvik_pde_m40vextel::kPhoneNumberRule, true},
    {EntryRules::Field::OtherFaxes,
     QT_TRANSLATE_NOOP("vextel_addressbook::EntryRules", "Other fax numbers"),
     tarvik_pde_m40vextel::kPhoneNumberRule, false},
    {EntryRules::Field::Company, QT_TRANSLATE_NOOP("vextel_addressbook::EntryRules", "Company"),
     tarvik_pde_m40vextel::kCompanyRule, false},
    {EntryRules::Field::Note, QT_TRANSLATE_NOOP("vextel_addressbook::EntryRules", "Note"),
     tarvik_pde_m40vextel::kNoteRule, false},
    {EntryRules::Field::GroupName,
     QT_TRANSLATE_NOOP("vextel_addressbook::EntryRules", "Group name"),
     tarvik_pde_m40vextel::kBookNameRule, true},
};

QString translated(const char* text) {
    return QCoreApplication::translate("vextel_addressbook::EntryRules", text);
}

// Characters that only format a number for the eye: a phone writes "(020) 7946.0002".
bool onlyFormats(QChar character) {
    static const QString kFormatting = QStringLiteral("./()[]");
    return character.isSpace() || kFormatting.contains(character);
}

const EntryField& fieldOf(EntryRules::Field field) {
    for (const EntryField& entry : kFields) {
        if (entry.field == field) {
            return entry;
        }
    }
    return kFields[0];
}

} // namespace

std::optional<QString> EntryRules::problem(Field field, const QString& value) {
    if (field == Field::OtherFaxes) {
        for (const QString& number : splitFaxNumbers(value)) {
            if (auto found = problem(Field::Fax, number)) {
                return found;
            }
        }
        return std::nullopt;
    }
    const EntryField& entry = fieldOf(field);
    if (entry.required && value.trimmed().isEmpty()) {
        return QCoreApplication::translate("vextel_addressbook::EntryRules", "%1 is empty.")
            .arg(translated(entry.title));
    }
    if (static_cast<uint64_t>(value.size()) > entry.rule.maxLength) {
        const int limit = static_cast<int>(entry.rule.maxLength);
        return QCoreApplication::translate("vextel_addressbook::EntryRules",
                                           "%1 is longer than %n characters.", "", limit)
            .arg(translated(entry.title));
    }
    const auto checker = EntryRules::checker(field);
    for (const QChar character : value) {
        if (!checker->isPartialStringValid(QString(character), nullptr, nullptr)) {
            // Named, so the user sees what to change ("+" in a fax number, a line break).
            const QString shown =
                character.isPrint()
                    ? QString(character)
                    : QStringLiteral("U+%1").arg(character.unicode(), 4, 16, QChar('0'));
            return QCoreApplication::translate("vextel_addressbook::EntryRules",
                                               "%1 holds a character it cannot take: “%2”.")
                .arg(translated(entry.title), shown);
        }
    }
    // A fax number of dial characters only is no number to the library: the entry would vanish
    // from every list that reads the book.
    if (field == Field::Fax &&
        std::none_of(value.begin(), value.end(), [](QChar c) { return c.isDigit(); })) {
        return QCoreApplication::translate("vextel_addressbook::EntryRules", "%1 holds no digit.")
            .arg(translated(entry.title));
    }
    return std::nullopt;
}

std::unique_ptr<InputStringChecker> EntryRules::checker(Field field) {
    return InputStringChecker::forRule(fieldOf(field).rule);
}

QString EntryRules::title(Field field) {
    return QLatin1String(fieldOf(field).title);
}

QString EntryRules::shownTitle(Field field) {
    return translated(fieldOf(field).title);
}

QString EntryRules::dialableNumber(const QString& number, const QString& internationalPrefix) {
    QString dialable;
    for (const QChar character : number) {
        if (!onlyFormats(character)) {
            dialable.append(character);
        }
    }
    // Without a prefix the "+" stays, and the number is refused for it rather than dialled as
    // a national one.
    if (dialable.startsWith(QLatin1Char('+')) && !internationalPrefix.isEmpty()) {
        dialable.replace(0, 1, internationalPrefix);
    }
    return dialable;
}

QStringList EntryRules::makeDialable(Contact& contact, const QString& internationalPrefix) {
    QStringList changes;
    auto make = [&](QString& number) {
        const QString dialable = dialableNumber(number, internationalPrefix);
        if (dialable != number) {
            changes.append(QStringLiteral("%1 → %2").arg(number, dialable));
            number = dialable;
        }
    };
    make(contact.fax);
    for (QString& number : contact.otherFaxes) {
        make(number);
    }
    return changes;
}

QStringList EntryRules::splitFaxNumbers(const QString& text) {
    QStringList numbers;
    for (const QString& part : text.split(QLatin1Char(','))) {
        if (!part.trimmed().isEmpty()) {
            numbers.append(part.trimmed());
        }
    }
    return numbers;
}

QString EntryRules::joinFaxNumbers(const QStringList& numbers) {
    return numbers.join(QStringLiteral(", "));
}

std::optional<QString> EntryRules::contactProblem(const Contact& contact) {
    const QString otherFaxes = joinFaxNumbers(contact.otherFaxes);
    const std::pair<Field, const QString*> fields[] = {{Field::Name, &contact.name},
                                                       {Field::Fax, &contact.fax},
                                                       {Field::OtherFaxes, &otherFaxes},
                                                       {Field::Company, &contact.company},
                                                       {Field::Note, &contact.note}};
    for (const auto& [field, value] : fields) {
        if (auto found = problem(field, *value)) {
            return found;
        }
    }
    return std::nullopt;
}

std::optional<QString> EntryRules::importProblem(const Contact& contact) {
    if (auto found = problem(Field::Name, contact.name)) {
        return found;
    }
    if (auto found = problem(Field::Fax, contact.fax)) {
        return found;
    }
    return problem(Field::OtherFaxes, joinFaxNumbers(contact.otherFaxes));
}

std::optional<QString> EntryRules::changedContactProblem(const Contact& before,
                                                         const Contact& after) {
    const QString otherBefore = joinFaxNumbers(before.otherFaxes);
    const QString otherAfter = joinFaxNumbers(after.otherFaxes);
    const std::tuple<Field, const QString*, const QString*> fields[] = {
        {Field::Name, &before.name, &after.name},
        {Field::Fax, &before.fax, &after.fax},
        {Field::OtherFaxes, &otherBefore, &otherAfter},
        {Field::Company, &before.company, &after.company},
        {Field::Note, &before.note, &after.note}};
    for (const auto& [field, old, value] : fields) {
        if (*old != *value) {
            if (auto found = problem(field, *value)) {
                return found;
            }
        }
    }
    return std::nullopt;
}

std::optional<QString> EntryRules::duplicateProblem(const Contact& before, const Contact& after,
                                                    const BookContents& book) {
    const QStringList previous = before.name == after.name ? before.faxNumbers() : QStringList();
    const QStringList numbers = after.faxNumbers();
    for (const QString& number : numbers) {
        if (numbers.count(number) > std::max<qsizetype>(1, previous.count(number))) {
            return QCoreApplication::translate("vextel_addressbook::EntryRules",
                                               "The fax number %1 is in this entry twice.")
                .arg(number);
        }
        if (previous.contains(number)) {
            continue;
        }
        for (const Contact& other : book.contacts) {
            if (other.uid != after.uid && other.name == after.name &&
                other.faxNumbers().contains(number)) {
                return QCoreApplication::translate(
                           "vextel_addressbook::EntryRules",
                           "“%1” with the fax number %2 is already in the book.")
                    .arg(after.name, number);
            }
        }
    }
    return std::nullopt;
}

std::optional<QString> EntryRules::groupProblem(const Group& group, const BookContents& book) {
    if (auto found = problem(Field::GroupName, group.name)) {
        return found;
    }
    if (group.memberUids.size() > kMaximumGroupMembers) {
        return QCoreApplication::translate("vextel_addressbook::EntryRules",
                                           "A group holds at most %1 members; this one has %2.")
            .arg(kMaximumGroupMembers)
            .arg(group.memberUids.size());
    }
    QSet<QString> seen;
    for (const QString& uid : group.memberUids) {
        if (book.contactIndex(uid) < 0) {
            return QCoreApplication::translate(
                "vextel_addressbook::EntryRules",
                "A member of the group is not an entry of this book.");
        }
        if (seen.contains(uid)) {
            return QCoreApplication::translate("vextel_addressbook::EntryRules",
                                               "An entry is a member of the group twice.");
        }
        seen.insert(uid);
    }
    return std::nullopt;
}

} // namespace vextel_addressbook
