#include "PersonalRecords.h"

#include "BookBytes.h"
#include "RecordText.h"
#include "VCardReader.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <functional>
#include <unordered_map>
#include <unordered_set>

namespace xdirkit {
namespace {

constexpr std::string_view kUuidUrn = "urn:uuid:";

// UIDs compare without their "urn:uuid:" prefix and without regard to case, as programs write
// the same UID both ways.
std::string_view uidKey(std::string_view uid) {
    if (uid.size() >= kUuidUrn.size() &&
        equalsIgnoringCase(uid.substr(0, kUuidUrn.size()), kUuidUrn))
        uid.remove_prefix(kUuidUrn.size());
    return uid;
}

// Hashing and comparing UID keys as they are written, case folded on the way (no copies).
struct UidKeyHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view key) const {
        uint64_t hash = 14695981039346656037ULL;
        for (const char c : key) {
            const bool upper = c >= 'A' && c <= 'Z';
            hash =
                (hash ^ static_cast<unsigned char>(upper ? c - 'A' + 'a' : c)) * 1099511628211ULL;
        }
        return static_cast<std::size_t>(hash);
    }
};
struct UidKeyEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const {
        return equalsIgnoringCase(a, b);
    }
};
// Equal for UID keys that compare equal: the length and the last eight bytes, letters folded
// (with a few other bytes, which only makes more keys share one).
uint64_t fingerprintOf(std::string_view key) {
    uint64_t tail = 0;
    const std::size_t count = std::min<std::size_t>(key.size(), sizeof tail);
    std::memcpy(&tail, key.data() + key.size() - count, count);
    const uint64_t folded =
        count == 0 ? 0 : tail | (0x2020202020202020ULL >> (8 * (sizeof tail - count)));
    return folded ^ (static_cast<uint64_t>(key.size()) * 0x9E3779B97F4A7C15ULL);
}

// The individual each member UID stands for, 0 while none.
using UidTargets = std::unordered_map<std::string, uint16_t, UidKeyHash, UidKeyEqual>;

std::string quoted(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out.append("\"").append(text).append("\"");
    return out;
}

bool isWithin(std::string_view part, std::string_view whole) {
    const std::less_equal<const char*> notAfter;
    return notAfter(whole.data(), part.data()) &&
           notAfter(part.data() + part.size(), whole.data() + whole.size());
}

// Makes the records card by card. Texts go straight into the compact entries; a contact's UID
// is kept as a view where it lasts the whole read, since groups (which may come last) need it.
class RecordBuilder {
public:
    // stableText: the text the cards' lines borrow from, when the cards do not outlive their
    // visit; null when every card lasts the whole build.
    RecordBuilder(PersonalRecords& out, std::optional<std::string_view> stableText)
        : out_(out), stableText_(stableText) {}

    // False once the book has more individuals than a handle holds.
    bool add(const VCardCard& card) {
        if (card.isGroup())
            groupCards_.push_back(!stableText_ ? &card : &groupCopies_.emplace_back(card));
        else
            addContact(card);
        return !tooMany_;
    }

    int32_t finish() {
        if (tooMany_) {
            out_.entries.clear();
            out_.groups.clear();
            return XDIR_ERR_TOO_MANY_INDIVIDUALS;
        }
        addGroups();
        return XDIR_OK;
    }

private:
    struct Number {
        std::size_t begin = 0;
        std::size_t length = 0;
        int preference = VCardCard::kNoPreference;
    };
    struct UidTarget {
        std::string_view uid;
        uint64_t fingerprint = 0;
        uint16_t identifier = 0;
    };

    std::string_view numberAt(const Number& number) const {
        return std::string_view(numberText_).substr(number.begin, number.length);
    }

    void collectNumbers(const VCardCard& card) {
        numberText_.clear();
        numbers_.clear();
        card.forEachFaxNumber([this](std::string_view number, int preference) {
            numbers_.push_back({numberText_.size(), number.size(), preference});
            numberText_.append(number);
        });
    }

    void addContact(const VCardCard& card) {
        collectNumbers(card);
        if (numbers_.empty())
            return;
        const std::string_view company = card.company(companyScratch_);
        const std::string_view name =
            card.displayName(nameScratch_)
                .value_or(company.empty() ? numberAt(numbers_.front()) : company);
        const std::string_view note = card.note(noteScratch_);
        PersonalEntries& entries = out_.entries;
        bool textsAdded = false;
        PersonalEntries::Text nameText, companyText, noteText;
        int bestPreference = VCardCard::kNoPreference + 1;
        uint16_t bestIdentifier = 0;
        for (const Number& number : numbers_) {
            PersonalEntries::Text faxText;
            if (!entries.addWholeText(numberAt(number), XDIR_FAX_NUMBER_UNITS - 1, faxText)) {
                out_.warnings.push_back("fax number " + quoted(numberAt(number)) + " of " +
                                        quoted(name) +
                                        " is longer than 50 characters; the entry is left out");
                continue;
            }
            if (++individuals_ > XDIR_MAX_INDIVIDUALS) {
                tooMany_ = true;
                return;
            }
            // Shared by the contact's entries, and stored only for a contact that has one.
            if (!textsAdded) {
                nameText = entries.addText(name, XDIR_NAME_UNITS - 1);
                companyText = entries.addText(company, XDIR_COMPANY_UNITS - 1);
                noteText = entries.addText(note, XDIR_NOTE_UNITS - 1);
                textsAdded = true;
            }
            const auto identifier = static_cast<uint16_t>(individuals_);
            entries.addRead(identifier, nameText, faxText, companyText, noteText);
            if (number.preference < bestPreference) {
                bestPreference = number.preference;
                bestIdentifier = identifier;
            }
        }
        const std::string_view uid = card.uid(uidScratch_);
        if (bestIdentifier != 0 && !uid.empty())
            uidTargets_.push_back({lastingView(uid), fingerprintOf(uidKey(uid)), bestIdentifier});
    }

    // The view itself when what it points into lasts the whole build, else a copy's.
    std::string_view lastingView(std::string_view uid) {
        const bool lasts = !stableText_ ? !isWithin(uid, uidScratch_) : isWithin(uid, *stableText_);
        return lasts ? uid : std::string_view(uidCopies_.emplace_back(uid));
    }

    void addGroups() {
        if (groupCards_.empty())
            return;
        // The individual of each member's preferred number: the first contact of a UID wins.
        UidTargets targets;
        std::unordered_set<uint64_t> fingerprints;
        for (const VCardCard* group : groupCards_)
            for (const std::string& uid : group->memberUids()) {
                targets.emplace(uidKey(uid), 0);
                fingerprints.insert(fingerprintOf(uidKey(uid)));
            }
        // Only a contact whose fingerprint a member has is looked up: most are not members, and
        // their UIDs are no longer in the cache.
        for (const UidTarget& contact : uidTargets_) {
            if (fingerprints.count(contact.fingerprint) == 0)
                continue;
            const auto target = targets.find(uidKey(contact.uid));
            if (target != targets.end() && target->second == 0)
                target->second = contact.identifier;
        }
        for (const VCardCard* group : groupCards_)
            addGroup(*group, targets);
    }

    void addGroup(const VCardCard& card, const UidTargets& targets) {
        const auto name = card.displayName();
        if (!name) {
            out_.warnings.push_back("a group without a name (UID " + quoted(card.uid()) +
                                    ") is left out");
            return;
        }
        XDIRMyFaxGroupRecord& record = out_.groups.emplace_back();
        record = XDIRMyFaxGroupRecord{};
        const std::u16string units = utf16FromUtf8(*name).value_or(u"");
        writeField(record.name, XDIR_NAME_UNITS, cutAtCodePoint(units, XDIR_NAME_UNITS - 1));
        std::vector<uint16_t> members;
        for (const std::string& uid : card.memberUids()) {
            const auto target = targets.find(uidKey(uid));
            if (target != targets.end() && target->second != 0 &&
                std::find(members.begin(), members.end(), target->second) == members.end())
                members.push_back(target->second);
        }
        if (members.size() > XDIR_MY_FAX_GROUP_MEMBERS) {
            out_.warnings.push_back("group " + quoted(*name) + " has " +
                                    std::to_string(members.size()) +
                                    " members with a fax number; only the first 31 are kept");
            members.resize(XDIR_MY_FAX_GROUP_MEMBERS);
        }
        record.memberCount = static_cast<uint16_t>(members.size());
        std::copy(members.begin(), members.end(), record.memberIdentifiers);
    }

    PersonalRecords& out_;
    std::optional<std::string_view> stableText_;
    std::size_t individuals_ = 0;
    bool tooMany_ = false;
    std::vector<const VCardCard*> groupCards_;
    std::deque<VCardCard> groupCopies_;
    std::vector<UidTarget> uidTargets_;
    std::deque<std::string> uidCopies_;
    // Reused from card to card.
    std::string numberText_;
    std::vector<Number> numbers_;
    std::string nameScratch_;
    std::string companyScratch_;
    std::string noteScratch_;
    std::string uidScratch_;
};

} // namespace

int32_t PersonalRecords::build(const std::vector<VCardCard>& cards) {
    entries.clear();
    groups.clear();
    warnings.clear();
    RecordBuilder builder(*this, std::nullopt);
    for (const VCardCard& card : cards)
        if (!builder.add(card))
            break;
    return builder.finish();
}

int32_t PersonalRecords::readFile(const std::string& path) {
    entries.clear();
    groups.clear();
    warnings.clear();
    BookBytes bytes;
    if (const int32_t status = bytes.read(path); status != XDIR_OK)
        return status;
    std::string_view text = bytes.view();
    // A UTF-16 book is read as its UTF-8 copy, which the cards' lines borrow from to the end.
    std::string converted;
    if (VCardReader::encodingOf(text) != VCardReader::Encoding::Utf8) {
        auto utf8 = VCardReader::utf8Text(std::string(text));
        if (!utf8)
            return XDIR_ERR_FILE_MALFORMED;
        converted = std::move(*utf8);
        text = converted;
    }
    entries.reserveForBookOf(text.size());
    RecordBuilder builder(*this, text);
    const bool isBook =
        VCardReader::forEachCard(text, VCardReader::Lines::ForRecords,
                                 [&builder](const VCardCard& card) { return builder.add(card); });
    if (!isBook) {
        entries.clear();
        return XDIR_ERR_FILE_MALFORMED;
    }
    return builder.finish();
}

} // namespace xdirkit
