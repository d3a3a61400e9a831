#include "EntryRules.h"

#include "common/InputStringChecker.h"

#include <QSet>

namespace vextel_addressbook {

namespace {

using tarvik_pde_m40vextel::CodeRange;
using tarvik_pde_m40vextel::InputStringChecker;

// Company and note take any text but control characters.
constexpr CodeRange kFreeTextAcceptableRange[] = {{0x0020, 0x007E}, {0x00A0, 0xFFFF}, {0, 0}};

struct FieldRule {
    EntryRules::Field field;
    const char* title;
    uint64_t maximumLength;
    const CodeRange* accepted;
    bool required;
};

const FieldRule kFieldRules[] = {
    {EntryRules::Field::Name, "Name", 32, tarvik_pde_m40vextel::kAddressNameAcceptableRange, true},
    {EntryRules::Field::Fax, "Fax number", 50, tarvik_pde_m40vextel::kPhoneNumberAcceptableRange,
     true},
    {EntryRules::Field::Company, "Company", EntryRules::kMaximumCompanyLength,
     kFreeTextAcceptableRange, false},
    {EntryRules::Field::Note, "Note", EntryRules::kMaximumNoteLength, kFreeTextAcceptableRange,
     false},
    {EntryRules::Field::GroupName, "Group name", 32,
     tarvik_pde_m40vextel::kAddressNameAcceptableRange, true},
};

const FieldRule& ruleOf(EntryRules::Field field) {
    for (const FieldRule& rule : kFieldRules) {
        if (rule.field == field) {
            return rule;
        }
    }
    return kFieldRules[0];
}

std::optional<QString> fieldProblem(EntryRules::Field field, const QString& value) {
    const FieldRule& rule = ruleOf(field);
    if (rule.required && value.trimmed().isEmpty()) {
        return QStringLiteral("%1 is empty.").arg(QLatin1String(rule.title));
    }
    if (static_cast<uint64_t>(value.size()) > rule.maximumLength) {
        return QStringLiteral("%1 is longer than %2 characters.")
            .arg(QLatin1String(rule.title))
            .arg(rule.maximumLength);
    }
    if (!EntryRules::checker(field)->isPartialStringValid(value, nullptr, nullptr)) {
        return QStringLiteral("%1 holds a character it cannot take.")
            .arg(QLatin1String(rule.title));
    }
    return std::nullopt;
}

} // namespace

std::unique_ptr<InputStringChecker> EntryRules::checker(Field field) {
    const FieldRule& rule = ruleOf(field);
    auto checker = std::make_unique<InputStringChecker>();
    checker->setMaxLength(rule.maximumLength);
    checker->setAcceptableCodeRange(rule.accepted);
    return checker;
}

QString EntryRules::title(Field field) {
    return QLatin1String(ruleOf(field).title);
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
