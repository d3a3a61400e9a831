#include "EntryRules.h"

#include "common/InputStringChecker.h"

#include <QSet>

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
    {EntryRules::Field::Name, "Name", tarvik_pde_m40vextel::kAddressNameRule, true},
    {EntryRules::Field::Fax, "Fax number", tarvik_pde_m40vextel::kPhoneNumberRule, true},
    {EntryRules::Field::Company, "Company", tarvik_pde_m40vextel::kCompanyRule, false},
    {EntryRules::Field::Note, "Note", tarvik_pde_m40vextel::kNoteRule, false},
    {EntryRules::Field::GroupName, "Group name", tarvik_pde_m40vextel::kAddressNameRule, true},
};

const EntryField& fieldOf(EntryRules::Field field) {
    for (const EntryField& entry : kFields) {
        if (entry.field == field) {
            return entry;
        }
    }
    return kFields[0];
}

std::optional<QString> fieldProblem(EntryRules::Field field, const QString& value) {
    const EntryField& entry = fieldOf(field);
    if (entry.required && value.trimmed().isEmpty()) {
        return QStringLiteral("%1 is empty.").arg(QLatin1String(entry.title));
    }
    if (static_cast<uint64_t>(value.size()) > entry.rule.maxLength) {
        return QStringLiteral("%1 is longer than %2 characters.")
            .arg(QLatin1String(entry.title))
            .arg(entry.rule.maxLength);
    }
    if (!EntryRules::checker(field)->isPartialStringValid(value, nullptr, nullptr)) {
        return QStringLiteral("%1 holds a character it cannot take.")
            .arg(QLatin1String(entry.title));
    }
    return std::nullopt;
}

} // namespace

std::unique_ptr<InputStringChecker> EntryRules::checker(Field field) {
    return InputStringChecker::forRule(fieldOf(field).rule);
}

QString EntryRules::title(Field field) {
    return QLatin1String(fieldOf(field).title);
}

std::optional<QString> EntryRules::contactProblem(const Contact& contact) {
    const std::pair<Field, const QString*> fields[] = {{Field::Name, &contact.name},
                                                       {Field::Fax, &contact.fax},
                                                       {Field::Company, &contact.company},
                                                       {Field::Note, &contact.note}};
    for (const auto& [field, value] : fields) {
        if (auto problem = fieldProblem(field, *value)) {
            return problem;
        }
    }
    return std::nullopt;
}

std::optional<QString> EntryRules::groupProblem(const Group& group, const BookContents& book) {
    if (auto problem = fieldProblem(Field::GroupName, group.name)) {
        return problem;
    }
    if (group.memberUids.size() > kMaximumGroupMembers) {
        return QStringLiteral("A group holds at most %1 members; this one has %2.")
            .arg(kMaximumGroupMembers)
            .arg(group.memberUids.size());
    }
    QSet<QString> seen;
    for (const QString& uid : group.memberUids) {
        if (book.contactIndex(uid) < 0) {
            return QStringLiteral("A member of the group is not an entry of this book.");
        }
        if (seen.contains(uid)) {
            return QStringLiteral("An entry is a member of the group twice.");
        }
        seen.insert(uid);
    }
    return std::nullopt;
}

} // namespace vextel_addressbook
