#include "PersonalRecords.h"

#include "BookFile.h"
#include "RecordText.h"
#include "VCardReader.h"

#include <algorithm>
#include <unordered_map>

namespace xdirkit {
namespace {

constexpr std::string_view kUuidUrn = "urn:uuid:";

// UIDs compare without their "urn:uuid:" prefix and without regard to case, as programs write
// the same UID both ways.
std::string uidKey(std::string_view uid) {
    if (uid.size() >= kUuidUrn.size() &&
        equalsIgnoringCase(uid.substr(0, kUuidUrn.size()), kUuidUrn))
        uid.remove_prefix(kUuidUrn.size());
    std::string key(uid);
    for (char& c : key)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return key;
}

// The text as UTF-16 cut to maxUnits; text that is not valid UTF-8 cannot come from the reader,
// which decodes every value to UTF-8.
std::u16string fitted(const std::string& text, std::size_t maxUnits) {
    const std::u16string units = utf16FromUtf8(text).value_or(u"");
    return std::u16string(cutAtCodePoint(units, maxUnits));
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

int32_t PersonalRecords::build(const std::vector<VCardCard>& cards) {
    entries.clear();
    groups.clear();
    warnings.clear();
    // The identifier each contact's preferred number got, by UID.
    std::unordered_map<std::string, uint16_t> memberTargets;
    std::size_t individuals = 0;
    // One fax line is one individual at most: room for all of them at once (records are big).
    std::size_t faxLines = 0;
    for (const VCardCard& card : cards)
        for (const VCardLine& line : card.lines())
            faxLines += line.property() == VCardLine::Property::Telephone ? 1 : 0;
    entries.reserve(std::min<std::size_t>(faxLines, XDIR_MAX_INDIVIDUALS + 1));
    // Only groups need the UIDs.
    const bool anyGroup = std::any_of(cards.begin(), cards.end(),
                                      [](const VCardCard& card) { return card.isGroup(); });
    std::vector<const VCardCard*> groupCards;
    for (const VCardCard& card : cards) {
        if (card.isGroup()) {
            groupCards.push_back(&card);
            continue;
        }
        const std::vector<VCardCard::FaxNumber> numbers = card.faxNumbers();
        if (numbers.empty())
            continue;
        const std::string company = card.company();
        const std::string name =
            card.displayName().value_or(company.empty() ? numbers.front().number : company);
        const std::u16string note = fitted(card.note(), XDIR_NOTE_UNITS - 1);
        int bestPreference = VCardCard::kNoPreference + 1;
        uint16_t bestIdentifier = 0;
        for (const VCardCard::FaxNumber& number : numbers) {
            const std::u16string faxUnits = utf16FromUtf8(number.number).value_or(u"");
            if (faxUnits.size() > XDIR_FAX_NUMBER_UNITS - 1) {
                warnings.push_back("fax number " + quoted(number.number) + " of " + quoted(name) +
                                   " is longer than 50 characters; the entry is left out");
                continue;
            }
            if (++individuals > XDIR_MAX_INDIVIDUALS) {
                entries.clear();
                groups.clear();
                return XDIR_ERR_TOO_MANY_INDIVIDUALS;
            }
            XDIRMyFaxRecord& record = entries.emplace_back();
            record = XDIRMyFaxRecord{};
            record.identifier = static_cast<uint16_t>(individuals);
            writeField(record.name, XDIR_NAME_UNITS, fitted(name, XDIR_NAME_UNITS - 1));
            writeField(record.faxNumber, XDIR_FAX_NUMBER_UNITS, faxUnits);
            writeField(record.company, XDIR_COMPANY_UNITS, fitted(company, XDIR_COMPANY_UNITS - 1));
            writeField(record.note, XDIR_NOTE_UNITS, note);
            if (number.preference < bestPreference) {
                bestPreference = number.preference;
                bestIdentifier = record.identifier;
            }
        }
        if (!anyGroup)
            continue;
        const std::string uid = card.uid();
        if (bestIdentifier != 0 && !uid.empty())
            memberTargets.emplace(uidKey(uid), bestIdentifier);
    }

    for (const VCardCard* group : groupCards) {
        const VCardCard& card = *group;
        const auto name = card.displayName();
        if (!name) {
            warnings.push_back("a group without a name (UID " + quoted(card.uid()) +
                               ") is left out");
            continue;
        }
        XDIRMyFaxGroupRecord& record = groups.emplace_back();
        record = XDIRMyFaxGroupRecord{};
        writeField(record.name, XDIR_NAME_UNITS, fitted(*name, XDIR_NAME_UNITS - 1));
        std::vector<uint16_t> members;
        for (const std::string& uid : card.memberUids()) {
            const auto target = memberTargets.find(uidKey(uid));
            if (target != memberTargets.end() &&
                std::find(members.begin(), members.end(), target->second) == members.end())
                members.push_back(target->second);
        }
        if (members.size() > XDIR_MY_FAX_GROUP_MEMBERS) {
            warnings.push_back("group " + quoted(*name) + " has " + std::to_string(members.size()) +
                               " members with a fax number; only the first 31 are kept");
            members.resize(XDIR_MY_FAX_GROUP_MEMBERS);
        }
        record.memberCount = static_cast<uint16_t>(members.size());
        std::copy(members.begin(), members.end(), record.memberIdentifiers);
    }
    return XDIR_OK;
}

int32_t PersonalRecords::readFile(const std::string& path) {
    entries.clear();
    groups.clear();
    warnings.clear();
    std::string text;
    if (const int32_t status = BookFile::read(path, text); status != XDIR_OK)
        return status;
    const auto cards = VCardReader::read(std::move(text), VCardReader::Lines::ForRecords);
    if (!cards)
        return XDIR_ERR_FILE_MALFORMED;
    return build(*cards);
}

} // namespace xdirkit
