#include "VCardBookStore.h"

#include "BookFile.h"
#include "BookHash.h"
#include "VCardCard.h"
#include "VCardReader.h"
#include "VCardWriter.h"
#include "kit/FileNameText.h"
#include "xdirkit/XdirKit.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <cstring>
#include <deque>

namespace vextel_addressbook {

namespace {

// A card without a UID is named by its bytes, so that the same card gets the same name at
// every read (a merge matches entries by name).
const QString kUnnamedCardPrefix = QStringLiteral("x-vextel-card:");

struct StatusMessage {
    int32_t status;
    const char* text;
};

// A change that answered null: it said why itself.
constexpr int32_t kChangeRefused = -1;

const StatusMessage kStatusMessages[] = {
    {XDIR_ERR_FILE_NOT_FOUND,
     QT_TRANSLATE_NOOP("vextel_addressbook::VCardBookStore", "The file does not exist.")},
    {XDIR_ERR_FILE_UNREADABLE,
     QT_TRANSLATE_NOOP("vextel_addressbook::VCardBookStore", "The file cannot be read.")},
    {XDIR_ERR_FILE_MALFORMED, QT_TRANSLATE_NOOP("vextel_addressbook::VCardBookStore",
                                                "The file is not a vCard address book.")},
    {XDIR_ERR_TOO_MANY_INDIVIDUALS, QT_TRANSLATE_NOOP("vextel_addressbook::VCardBookStore",
                                                      "The file holds more than 65,535 entries.")},
    {XDIR_ERR_WRITE_FAILED, QT_TRANSLATE_NOOP("vextel_addressbook::VCardBookStore",
                                              "The file cannot be written; it is unchanged.")},
    {XDIR_ERR_LOCK_FAILED,
     QT_TRANSLATE_NOOP(
         "vextel_addressbook::VCardBookStore",
         "Another program keeps the book locked; it is unchanged. Try again in a moment.")},
    {XDIR_ERR_NO_DIRECTORY, QT_TRANSLATE_NOOP("vextel_addressbook::VCardBookStore",
                                              "The address-book folder cannot be made or read.")},
};

using CardBlock = std::vector<xdirkit::VCardCard>;

// The cards of a book as read (or as written by a Save), which of them the editor shows, and the
// entries and groups it read from them: a write copies the bytes of a card whose entry is as
// read, without parsing it again, and a Save reads back only the cards it made anew.
class VCardOrigin : public BookOrigin {
public:
    // Every card, in file order, held by blocks: the cards of a read, and those a Save made.
    std::vector<const xdirkit::VCardCard*> cards;
    std::vector<std::shared_ptr<const CardBlock>> blocks;
    // Per card: its entry in contacts or its group in groups; -1 for a card not shown.
    std::vector<qsizetype> entryOfCard;
    // Per card: whether it is a group (which a card finds out by reading its lines).
    std::vector<bool> groupCard;
    QList<Contact> contacts;
    QList<Group> groups;
    // qHash of each entry's uid, hashed once at the read.
    std::vector<std::size_t> contactUidHashes;
    // Two cards had one uid: the entries' uids were made distinct ("#2"), so they depend on the
    // order of the cards.
    bool uidsRepeat = false;

    std::size_t size() const { return cards.size(); }
    const xdirkit::VCardCard& card(std::size_t index) const { return *cards[index]; }
    bool shown(std::size_t index) const { return entryOfCard[index] >= 0; }
    bool unchanged(const Contact& contact) const {
        const auto index = static_cast<std::size_t>(contact.originIndex);
        const qsizetype entry = entryOfCard[index];
        return entry >= 0 && !groupCard[index] &&
               Contact::sameText(contacts.at(entry).uid, contact.uid) &&
               contacts.at(entry).sameFields(contact);
    }
    bool unchanged(const Group& group) const {
        const auto index = static_cast<std::size_t>(group.originIndex);
        const qsizetype entry = entryOfCard[index];
        return entry >= 0 && groupCard[index] && groups.at(entry).uid == group.uid &&
               groups.at(entry).sameFields(group);
    }
};

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

std::string bytes(const QString& value) {
    return value.toStdString();
}

QByteArray hashOf(const std::string& fileText) {
    return BookHash::ofBytes(fileText);
}

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// The card's fax numbers: the most preferred first, the others in card order.
QStringList faxNumbersOf(const xdirkit::VCardCard& card) {
    const auto numbers = card.faxNumbers();
    QStringList ordered;
    if (numbers.empty()) {
        return ordered;
    }
    const auto preferred =
        std::min_element(numbers.begin(), numbers.end(),
                         [](const auto& a, const auto& b) { return a.preference < b.preference; });
    ordered.append(text(preferred->number));
    for (auto number = numbers.begin(); number != numbers.end(); ++number) {
        if (number != preferred) {
            ordered.append(text(number->number));
        }
    }
    return ordered;
}

// The name the library gives the card's entries: FN, else N, else the company, else the number.
QString shownName(const xdirkit::VCardCard& card, const QString& fax) {
    if (auto name = card.displayName()) {
        return text(*name);
    }
    return card.company().empty() ? fax : text(card.company());
}

// The uid a card names, or for a card without one a name made of its bytes.
QString baseUid(const xdirkit::VCardCard& card) {
    QString uid = text(card.uid());
    if (uid.isEmpty()) {
        uid = kUnnamedCardPrefix +
              QString::fromLatin1(QCryptographicHash::hash(
                                      QByteArray(card.original().data(),
                                                 static_cast<qsizetype>(card.original().size())),
                                      QCryptographicHash::Sha1)
                                      .toHex());
    }
    return uid;
}

// True when no two of the hashes are the same, so that neither are their uids; false also, now
// and then, for distinct uids (two of one hash), which the caller then compares one by one.
bool surelyDistinct(std::vector<std::size_t> hashes) {
    std::sort(hashes.begin(), hashes.end());
    return std::adjacent_find(hashes.begin(), hashes.end()) == hashes.end();
}

// Two cards with one UID (copied by hand) stay two entries: the later ones get "#2", "#3"...
// hashes are the uids' qHash, kept up to date. Answers whether any uid was changed.
bool makeDistinct(const std::vector<QString*>& uids, const std::vector<std::size_t*>& hashes) {
    QSet<QString> used;
    used.reserve(static_cast<qsizetype>(uids.size()));
    bool repeated = false;
    for (std::size_t i = 0; i < uids.size(); ++i) {
        QString& uid = *uids[i];
        const QString base = uid;
        for (int n = 2; used.contains(uid); ++n) {
            uid = base + QStringLiteral("#%1").arg(n);
            *hashes[i] = qHash(uid);
            repeated = true;
        }
        used.insert(uid);
    }
    return repeated;
}

// Which of the uids groups name are uids of contacts: the few members against every contact by
// the hashes of the contacts' uids, without hashing them again or making a set of them.
QSet<QString> contactsAmong(const QSet<QString>& members, const QList<Contact>& contacts,
                            const std::vector<std::size_t>& contactUidHashes) {
    QSet<QString> found;
    if (members.isEmpty()) {
        return found;
    }
    // A bit per member hash first: most contacts are no member, and one bit tells.
    constexpr std::size_t kFilterBits = 1 << 14;
    std::vector<bool> filter(kFilterBits);
    std::vector<std::size_t> memberHashes;
    for (const QString& member : members) {
        memberHashes.push_back(qHash(member));
        filter[memberHashes.back() % kFilterBits] = true;
    }
    std::sort(memberHashes.begin(), memberHashes.end());
    for (qsizetype i = 0; i < contacts.size(); ++i) {
        const std::size_t hash = contactUidHashes[static_cast<std::size_t>(i)];
        if (filter[hash % kFilterBits] &&
            std::binary_search(memberHashes.begin(), memberHashes.end(), hash) &&
            members.contains(contacts.at(i).uid)) {
            found.insert(contacts.at(i).uid);
        }
    }
    return found;
}

Contact contactOf(const xdirkit::VCardCard& card, const QStringList& faxes) {
    Contact contact;
    contact.uid = baseUid(card);
    contact.fax = faxes.first();
    contact.otherFaxes = faxes.mid(1);
    contact.company = text(card.company());
    contact.name = shownName(card, contact.fax);
    contact.note = text(card.note());
    return contact;
}

// What an earlier origin read from cards it shares with a new one: earlierIndex gives, per card,
// its index in earlier, or -1 for a card earlier does not hold.
struct EarlierReading {
    const VCardOrigin* earlier = nullptr;
    const std::vector<qsizetype>* earlierIndex = nullptr;
    // Per entry of the book written: true when it was found the same as earlier's entry of the
    // card it came from (null when not known), so that it need not be compared again.
    const std::vector<bool>* sameAsEarlier = nullptr;

    qsizetype indexInEarlier(std::size_t index) const {
        return earlier == nullptr ? -1 : (*earlierIndex)[index];
    }
    bool isGroup(std::size_t index, const xdirkit::VCardCard& card) const {
        const qsizetype at = indexInEarlier(index);
        return at >= 0 ? earlier->groupCard[static_cast<std::size_t>(at)] : card.isGroup();
    }
    // The entry earlier read from the contact card at index, with its uid as the card names it;
    // the entry's index in earlier is put in entry.
    const Contact* contact(std::size_t index, qsizetype* entry) const {
        const qsizetype at = indexInEarlier(index);
        if (at < 0 || earlier->uidsRepeat) {
            return nullptr;
        }
        *entry = earlier->entryOfCard[static_cast<std::size_t>(at)];
        return *entry >= 0 ? &earlier->contacts.at(*entry) : nullptr;
    }
};

// True when the hashes of the entries' uids (in file order) surely name distinct uids: no two
// are the same. Where most entries are those of an earlier reading whose uids were distinct,
// only the others are compared with them, without sorting every hash.
bool surelyDistinct(const std::vector<std::size_t>& hashes, const std::vector<bool>& earlier) {
    std::vector<std::size_t> fresh;
    for (std::size_t i = 0; i < hashes.size(); ++i) {
        if (!earlier[i]) {
            fresh.push_back(hashes[i]);
        }
    }
    if (fresh.size() * 8 > hashes.size()) {
        return surelyDistinct(hashes);
    }
    std::sort(fresh.begin(), fresh.end());
    if (std::adjacent_find(fresh.begin(), fresh.end()) != fresh.end()) {
        return false;
    }
    for (std::size_t i = 0; i < hashes.size(); ++i) {
        if (earlier[i] && std::binary_search(fresh.begin(), fresh.end(), hashes[i])) {
            return false;
        }
    }
    return true;
}

// The book the cards hold, in file order: an entry per contact card with a fax number, a group
// per group card. When the entries come out as those of expected (the book a Save wrote, whose
// cards stayed in their places), the book shares that list rather than a copy of it.
BookContents contentsOf(std::vector<const xdirkit::VCardCard*> cards,
                        std::vector<std::shared_ptr<const CardBlock>> blocks, QByteArray fileHash,
                        const EarlierReading& reading = {},
                        const QList<Contact>* expected = nullptr) {
    auto origin = std::make_shared<VCardOrigin>();
    BookContents book;
    origin->entryOfCard.reserve(cards.size());
    origin->groupCard.reserve(cards.size());
    origin->contactUidHashes.reserve(cards.size());
    // Per entry: the card it comes from, and the earlier entry it is (null for one read now,
    // kept in readNow).
    std::vector<int> cardOfEntry;
    std::vector<const Contact*> earlierEntries;
    std::vector<Contact> readNow;
    bool asExpected = expected != nullptr;
    // isEarlier: contact is the earlier reading's entry of the card at index.
    const auto isExpected = [&](const Contact& contact, int index, bool isEarlier) {
        const auto entry = static_cast<qsizetype>(cardOfEntry.size());
        if (!asExpected || entry >= expected->size()) {
            return false;
        }
        const Contact& other = expected->at(entry);
        if (other.originIndex != index) {
            return false;
        }
        if (isEarlier && reading.sameAsEarlier != nullptr &&
            (*reading.sameAsEarlier)[static_cast<std::size_t>(entry)] &&
            reading.indexInEarlier(static_cast<std::size_t>(index)) == index) {
            return true;
        }
        return Contact::sameText(other.uid, contact.uid) && other.sameFields(contact);
    };
    // Uid hashes of the entries and groups in file order, and which are an earlier reading's.
    std::vector<std::size_t> uidHashes;
    std::vector<bool> fromEarlier;
    cardOfEntry.reserve(cards.size());
    earlierEntries.reserve(cards.size());
    uidHashes.reserve(cards.size());
    fromEarlier.reserve(cards.size());
    qsizetype earlierEntry = -1;
    for (std::size_t i = 0; i < cards.size(); ++i) {
        const xdirkit::VCardCard& card = *cards[i];
        const int index = static_cast<int>(i);
        const bool isGroup = reading.isGroup(i, card);
        origin->groupCard.push_back(isGroup);
        if (isGroup) {
            Group group;
            group.uid = baseUid(card);
            group.name = text(card.displayName().value_or(std::string()));
            for (const std::string& member : card.memberUids()) {
                group.memberUids.append(text(member));
            }
            group.originIndex = index;
            origin->entryOfCard.push_back(book.groups.size());
            uidHashes.push_back(qHash(group.uid));
            fromEarlier.push_back(false);
            book.groups.append(group);
        } else if (const Contact* read = reading.contact(i, &earlierEntry)) {
            asExpected = isExpected(*read, index, true);
            origin->entryOfCard.push_back(static_cast<qsizetype>(cardOfEntry.size()));
            origin->contactUidHashes.push_back(
                reading.earlier->contactUidHashes[static_cast<std::size_t>(earlierEntry)]);
            uidHashes.push_back(origin->contactUidHashes.back());
            fromEarlier.push_back(true);
            cardOfEntry.push_back(index);
            earlierEntries.push_back(read);
        } else if (const QStringList faxes = faxNumbersOf(card); !faxes.isEmpty()) {
            Contact contact = contactOf(card, faxes);
            contact.originIndex = index;
            asExpected = isExpected(contact, index, false);
            origin->entryOfCard.push_back(static_cast<qsizetype>(cardOfEntry.size()));
            origin->contactUidHashes.push_back(qHash(contact.uid));
            uidHashes.push_back(origin->contactUidHashes.back());
            fromEarlier.push_back(false);
            cardOfEntry.push_back(index);
            earlierEntries.push_back(nullptr);
            readNow.push_back(std::move(contact));
        } else {
            origin->entryOfCard.push_back(-1);
        }
    }
    if (asExpected && static_cast<qsizetype>(cardOfEntry.size()) == expected->size()) {
        book.contacts = *expected;
    } else {
        book.contacts.reserve(static_cast<qsizetype>(cardOfEntry.size()));
        auto next = readNow.begin();
        for (std::size_t entry = 0; entry < cardOfEntry.size(); ++entry) {
            if (earlierEntries[entry] == nullptr) {
                book.contacts.append(std::move(*next++));
                continue;
            }
            Contact contact = *earlierEntries[entry];
            contact.originIndex = cardOfEntry[entry];
            book.contacts.append(std::move(contact));
        }
    }
    const bool earlierDistinct = reading.earlier != nullptr && !reading.earlier->uidsRepeat;
    if (!(earlierDistinct ? surelyDistinct(uidHashes, fromEarlier) : surelyDistinct(uidHashes))) {
        // Uids in file order, groups among the entries.
        std::vector<std::size_t> groupUidHashes;
        for (const Group& group : book.groups) {
            groupUidHashes.push_back(qHash(group.uid));
        }
        std::vector<QString*> uids;
        std::vector<std::size_t*> hashes;
        std::size_t nextContact = 0;
        std::size_t nextGroup = 0;
        for (std::size_t i = 0; i < cards.size(); ++i) {
            if (origin->entryOfCard[i] < 0) {
                continue;
            }
            if (origin->groupCard[i]) {
                hashes.push_back(&groupUidHashes[nextGroup]);
                uids.push_back(&book.groups[static_cast<qsizetype>(nextGroup++)].uid);
            } else {
                hashes.push_back(&origin->contactUidHashes[nextContact]);
                uids.push_back(&book.contacts[static_cast<qsizetype>(nextContact++)].uid);
            }
        }
        origin->uidsRepeat = makeDistinct(uids, hashes);
    }
    // Members name contacts by UID; those that are no entry of the book (a contact without a
    // fax number) are not shown and not kept by an edit of the group.
    QSet<QString> members;
    for (const Group& group : book.groups) {
        for (const QString& uid : group.memberUids) {
            members.insert(uid);
        }
    }
    const QSet<QString> contactMembers =
        contactsAmong(members, book.contacts, origin->contactUidHashes);
    for (Group& group : book.groups) {
        group.memberUids.removeIf(
            [&](const QString& uid) { return !contactMembers.contains(uid); });
        group.memberUids.removeDuplicates();
    }
    // Shared with the book until an edit changes it.
    origin->contacts = book.contacts;
    origin->groups = book.groups;
    origin->cards = std::move(cards);
    origin->blocks = std::move(blocks);
    book.origin = origin;
    book.fileHash = std::move(fileHash);
    return book;
}

// The book of a read's cards.
BookContents contentsOf(CardBlock cards, QByteArray fileHash) {
    auto block = std::make_shared<const CardBlock>(std::move(cards));
    std::vector<const xdirkit::VCardCard*> addresses;
    addresses.reserve(block->size());
    for (const xdirkit::VCardCard& card : *block) {
        addresses.push_back(&card);
    }
    return contentsOf(std::move(addresses), {block}, std::move(fileHash));
}

// Writes the entry's fax numbers to its card, touching only the lines of numbers that changed:
// a number changed in its place keeps its line's types, a removed number takes only its line,
// and added numbers follow the card's last fax line. Only a new order rewrites the card's fax
// lines (the first marked preferred).
void applyFaxNumbers(xdirkit::VCardCard& card, const QStringList& before, const QStringList& after,
                     bool isNew) {
    if (!isNew && before == after) {
        return;
    }
    std::vector<std::string> numbers;
    for (const QString& number : after) {
        numbers.push_back(bytes(number));
    }
    // A number is found by its value: line by line only where every value names one line.
    const auto distinct = [](const QStringList& list) {
        return QSet<QString>(list.begin(), list.end()).size() == list.size();
    };
    if (isNew || !distinct(before) || !distinct(after)) {
        card.setFaxNumbers(numbers);
        return;
    }
    const bool inPlace =
        before.size() == after.size() &&
        std::none_of(after.begin(), after.end(), [&](const QString& number) {
            return before.contains(number) && before.indexOf(number) != after.indexOf(number);
        });
    if (inPlace) {
        for (qsizetype i = 0; i < before.size(); ++i) {
            if (before[i] != after[i]) {
                card.setFaxNumber(bytes(before[i]), numbers[static_cast<std::size_t>(i)]);
            }
        }
        return;
    }
    QStringList kept;
    for (const QString& number : before) {
        if (after.contains(number)) {
            kept.append(number);
        }
    }
    if (after.mid(0, kept.size()) != kept) {
        card.setFaxNumbers(numbers);
        return;
    }
    for (const QString& number : before) {
        if (!after.contains(number)) {
            card.removeFaxNumber(bytes(number));
        }
    }
    for (const QString& number : after.mid(kept.size())) {
        card.addFaxNumber(bytes(number));
    }
    // The card reads its numbers by preference, then in card order: where that is not the order
    // asked for, the fax lines are written anew.
    if (faxNumbersOf(card) != after) {
        card.setFaxNumbers(numbers);
    }
}

// Applies an entry's fields to its card, touching only what changed, so an unchanged card keeps
// its bytes.
void applyContact(xdirkit::VCardCard& card, const Contact& contact, bool isNew) {
    const QStringList faxes = isNew ? QStringList() : faxNumbersOf(card);
    if (isNew || shownName(card, faxes.value(0)) != contact.name) {
        card.setDisplayName(bytes(contact.name));
    }
    applyFaxNumbers(card, faxes, contact.faxNumbers(), isNew);
    if (isNew || text(card.company()) != contact.company) {
        card.setCompany(bytes(contact.company));
    }
    if (isNew || text(card.note()) != contact.note) {
        card.setNote(bytes(contact.note));
    }
}

// The card of another book an entry was imported from; null when none.
const xdirkit::VCardCard* importedCard(const Contact& contact) {
    const auto* source = dynamic_cast<const VCardOrigin*>(contact.importedFrom.book.get());
    if (source == nullptr || contact.importedFrom.index < 0 ||
        static_cast<std::size_t>(contact.importedFrom.index) >= source->size()) {
        return nullptr;
    }
    return &source->card(static_cast<std::size_t>(contact.importedFrom.index));
}

// A book's cards as they are to be written: the origin's cards in file order (those the editor
// does not show kept as they are, removed ones left out), then new ones. Cards whose entry is as
// read are the origin's own, not copies; changed and new ones are made here.
struct BookCards {
    std::deque<xdirkit::VCardCard> made;
    std::vector<const xdirkit::VCardCard*> cards;
    // Per card: its index in the origin, or -1 for a card made here.
    std::vector<qsizetype> originIndex;
    // Per entry of the contents: true when it is the origin's entry of its card, unchanged.
    std::vector<bool> unchangedContacts;
};

// forceNew writes every card anew (as 4.0).
BookCards cardsOf(const BookContents& contents, bool forceNew) {
    const auto* origin = dynamic_cast<const VCardOrigin*>(contents.origin.get());
    const std::size_t originCount = origin ? origin->size() : 0;
    // A group can name only cards with a UID: give one to each named card that has none.
    QHash<QString, QString> realUid;
    QSet<QString> named;
    for (const Group& group : contents.groups) {
        for (const QString& member : group.memberUids) {
            named.insert(member);
        }
    }
    QSet<QString> namedUnnamed;
    for (const QString& uid : named) {
        if (uid.startsWith(kUnnamedCardPrefix)) {
            namedUnnamed.insert(uid);
        }
    }
    for (qsizetype i = 0; !namedUnnamed.isEmpty() && i < contents.contacts.size(); ++i) {
        const QString& uid = contents.contacts.at(i).uid;
        if (namedUnnamed.contains(uid) && !realUid.contains(uid)) {
            realUid.insert(uid, text(xdirkit::VCardWriter::newUid()));
        }
    }
    auto uidToWrite = [&](const QString& uid) {
        if (realUid.contains(uid)) {
            return realUid.value(uid);
        }
        return uid.startsWith(kUnnamedCardPrefix) ? QString() : uid.section(QLatin1Char('#'), 0, 0);
    };

    BookCards result;
    // A card and the index in the origin of the card it is (-1 for one made here).
    using Placed = std::pair<const xdirkit::VCardCard*, qsizetype>;
    std::vector<Placed> kept(originCount, Placed(nullptr, -1));
    for (std::size_t i = 0; i < originCount; ++i) {
        if (!origin->shown(i)) {
            kept[i] = Placed(&origin->card(i), static_cast<qsizetype>(i));
        }
    }
    std::vector<Placed> added;
    result.cards.reserve(originCount + static_cast<std::size_t>(contents.contacts.size()));
    result.originIndex.reserve(result.cards.capacity());
    auto place = [&](int originIndex, Placed card) {
        if (originIndex >= 0 && static_cast<std::size_t>(originIndex) < originCount &&
            kept[originIndex].first == nullptr) {
            kept[originIndex] = card;
        } else {
            added.push_back(card);
        }
    };
    auto made = [&](xdirkit::VCardCard card) {
        result.made.push_back(std::move(card));
        return Placed(&result.made.back(), -1);
    };
    result.unchangedContacts.reserve(static_cast<std::size_t>(contents.contacts.size()));
    for (const Contact& contact : contents.contacts) {
        const bool fromOrigin =
            contact.originIndex >= 0 && static_cast<std::size_t>(contact.originIndex) < originCount;
        const bool unchanged =
            fromOrigin && !forceNew && !realUid.contains(contact.uid) && origin->unchanged(contact);
        result.unchangedContacts.push_back(unchanged);
        if (unchanged) {
            place(contact.originIndex,
                  Placed(&origin->card(contact.originIndex), contact.originIndex));
            continue;
        }
        const xdirkit::VCardCard* imported = fromOrigin ? nullptr : importedCard(contact);
        xdirkit::VCardCard card = fromOrigin ? origin->card(contact.originIndex)
                                  : imported ? *imported
                                             : xdirkit::VCardCard();
        applyContact(card, contact, !fromOrigin && imported == nullptr);
        const QString uid = uidToWrite(contact.uid);
        if (!fromOrigin || forceNew || realUid.contains(contact.uid)) {
            card.setUid(bytes(uid.isEmpty() ? text(xdirkit::VCardWriter::newUid()) : uid));
        }
        place(fromOrigin ? contact.originIndex : -1, made(std::move(card)));
    }
    for (const Group& group : contents.groups) {
        const bool fromOrigin =
            group.originIndex >= 0 && static_cast<std::size_t>(group.originIndex) < originCount;
        if (fromOrigin && !forceNew && origin->unchanged(group)) {
            place(group.originIndex, Placed(&origin->card(group.originIndex), group.originIndex));
            continue;
        }
        xdirkit::VCardCard card =
            fromOrigin ? origin->card(group.originIndex) : xdirkit::VCardCard();
        std::vector<std::string> members;
        for (const QString& member : group.memberUids) {
            members.push_back(bytes(uidToWrite(member)));
        }
        // The members the editor showed for this card: those that are entries of the book. An
        // unchanged list leaves the card as it is; an edited one keeps the members the editor
        // does not show (contacts without a fax number, cards of other books).
        QStringList shownMembers;
        std::vector<std::string> hiddenMembers;
        if (fromOrigin) {
            QSet<QString> cardMembers;
            for (const std::string& member : card.memberUids()) {
                cardMembers.insert(text(member));
            }
            const QSet<QString> shownContacts =
                contactsAmong(cardMembers, origin->contacts, origin->contactUidHashes);
            for (const std::string& member : card.memberUids()) {
                if (shownContacts.contains(text(member))) {
                    shownMembers.append(text(member));
                } else {
                    hiddenMembers.push_back(member);
                }
            }
            shownMembers.removeDuplicates();
        }
        if (!fromOrigin) {
            card.setGroup(true);
        }
        if (!fromOrigin || text(card.displayName().value_or(std::string())) != group.name) {
            card.setDisplayName(bytes(group.name));
        }
        if (!fromOrigin || shownMembers != group.memberUids) {
            members.insert(members.end(), hiddenMembers.begin(), hiddenMembers.end());
            card.setMemberUids(members);
        }
        if (!fromOrigin || forceNew) {
            const QString uid = uidToWrite(group.uid);
            card.setUid(bytes(uid.isEmpty() ? text(xdirkit::VCardWriter::newUid()) : uid));
        }
        place(fromOrigin ? group.originIndex : -1, made(std::move(card)));
    }
    auto append = [&result](const Placed& card) {
        result.cards.push_back(card.first);
        result.originIndex.push_back(card.second);
    };
    for (Placed card : kept) {
        if (card.first == nullptr) {
            continue;
        }
        if (forceNew) {
            xdirkit::VCardCard copy = *card.first;
            copy.setUid(copy.uid().empty() ? xdirkit::VCardWriter::newUid() : copy.uid());
            card = made(std::move(copy));
        }
        append(card);
    }
    for (const Placed& card : added) {
        append(card);
    }
    return result;
}

// The book as written, as a read of the bytes written would give it, made from the cards
// written: those of the origin as they were read, those made anew read back one by one. Null
// where the bytes written are not the cards' texts one after the other (a UTF-16 book, a card
// read without its END line or its last line end), which a read of the whole text then gives.
std::optional<BookContents> contentsWritten(const BookContents& next, const BookCards& written,
                                            const std::string& writtenText) {
    const auto* origin = dynamic_cast<const VCardOrigin*>(next.origin.get());
    if (origin == nullptr ||
        xdirkit::VCardReader::encodingOf(writtenText) != xdirkit::VCardReader::Encoding::Utf8) {
        return std::nullopt;
    }
    auto madeCards = std::make_shared<CardBlock>();
    madeCards->reserve(written.made.size());
    std::size_t size = 0;
    for (std::size_t i = 0; i < written.cards.size(); ++i) {
        const xdirkit::VCardCard& card = *written.cards[i];
        if (written.originIndex[i] >= 0) {
            const std::string_view bytes = card.original();
            if (bytes.empty() || card.isCutOff() || bytes.back() != '\n') {
                return std::nullopt;
            }
            size += bytes.size();
            continue;
        }
        auto readBack = xdirkit::VCardReader::read(xdirkit::VCardWriter::cardText(card));
        if (!readBack || readBack->size() != 1 || readBack->front().original().empty() ||
            readBack->front().isCutOff() || readBack->front().original().back() != '\n') {
            return std::nullopt;
        }
        size += readBack->front().original().size();
        madeCards->push_back(std::move(readBack->front()));
    }
    if (size != writtenText.size()) {
        return std::nullopt;
    }
    std::vector<const xdirkit::VCardCard*> cards;
    cards.reserve(written.cards.size());
    std::size_t nextMade = 0;
    for (std::size_t i = 0; i < written.cards.size(); ++i) {
        cards.push_back(written.originIndex[i] >= 0 ? written.cards[i] : &(*madeCards)[nextMade++]);
    }
    std::vector<std::shared_ptr<const CardBlock>> blocks = origin->blocks;
    blocks.push_back(std::move(madeCards));
    return contentsOf(std::move(cards), std::move(blocks), hashOf(writtenText),
                      EarlierReading{origin, &written.originIndex, &written.unchangedContacts},
                      &next.contacts);
}

} // namespace

QString VCardBookStore::messageFor(int32_t status) {
    for (const StatusMessage& message : kStatusMessages) {
        if (message.status == status) {
            return QCoreApplication::translate("vextel_addressbook::VCardBookStore", message.text);
        }
    }
    return QCoreApplication::translate("vextel_addressbook::VCardBookStore",
                                       "The address-book library answered status 0x%1.")
        .arg(static_cast<uint32_t>(status), 8, 16, QLatin1Char('0'));
}

QString VCardBookStore::folder() {
    const char* directory = XdirGADFile_GetFileDirectory();
    return directory ? kit::fileNameText(directory, "VCardBookStore", "folder").value_or(QString())
                     : QString();
}

QStringList VCardBookStore::bookPaths() {
    const QString directory = folder();
    const char* list = XdirGADFile_GetFileList();
    QStringList paths;
    if (directory.isEmpty() || list == nullptr) {
        return paths;
    }
    for (const char* name = list; *name != '\0'; name += std::strlen(name) + 1) {
        if (const auto text = kit::fileNameText(name, "VCardBookStore", "book")) {
            paths.append(QDir(directory).filePath(*text));
        }
    }
    return paths;
}

std::optional<BookContents> VCardBookStore::read(const QString& path, QString* error) {
    std::string fileText;
    if (int32_t status = xdirkit::BookFile::read(localPath(path), fileText); status != XDIR_OK) {
        *error = messageFor(status);
        return std::nullopt;
    }
    return contentsOfText(std::move(fileText), error);
}

std::optional<BookContents> VCardBookStore::contentsOfText(std::string fileText, QString* error) {
    QByteArray hash = hashOf(fileText);
    auto cards = xdirkit::VCardReader::read(std::move(fileText));
    if (!cards) {
        *error = messageFor(XDIR_ERR_FILE_MALFORMED);
        return std::nullopt;
    }
    return contentsOf(std::move(*cards), std::move(hash));
}

std::optional<BookContents> VCardBookStore::update(const QString& path, const Change& change,
                                                   QString* error) {
    std::optional<BookContents> answer;
    std::string written;
    const int32_t status = xdirkit::BookFile::update(
        localPath(path), [&](const std::optional<std::string>& current, std::string& replacement) {
            BookOnDisk onDisk;
            if (current) {
                onDisk.hash = hashOf(*current);
                onDisk.read = [&current](QString* readError) {
                    return contentsOfText(*current, readError);
                };
            } else {
                onDisk.read = [](QString*) {
                    return std::optional<BookContents>(BookContents());
                };
            }
            const auto next = change(onDisk, error);
            if (!next) {
                return kChangeRefused;
            }
            const BookCards toWrite = cardsOf(*next, false);
            // A book another program wrote in UTF-16 stays UTF-16.
            replacement = xdirkit::VCardWriter::bookText(toWrite.cards);
            xdirkit::VCardWriter::convertToEncodingOf(
                replacement, current ? std::string_view(*current) : std::string_view());
            // Made before the write, from the cards and the text in hand; the text is kept only
            // when it is to be read whole.
            answer = contentsWritten(*next, toWrite, replacement);
            if (!answer) {
                written = replacement;
            }
            return XDIR_OK;
        });
    if (status == kChangeRefused) {
        return std::nullopt;
    }
    if (status != XDIR_OK) {
        *error = messageFor(status);
        return std::nullopt;
    }
    if (answer) {
        return answer;
    }
    return contentsOfText(std::move(written), error);
}

bool VCardBookStore::write(const QString& path, const BookContents& contents, QString* error) {
    const int32_t status =
        xdirkit::VCardWriter::writeBook(localPath(path), cardsOf(contents, false).cards);
    if (status != XDIR_OK) {
        *error = messageFor(status);
        return false;
    }
    return true;
}

bool VCardBookStore::exportVCard(const QString& path, const BookContents& contents,
                                 QString* error) {
    const int32_t status = xdirkit::VCardWriter::writeBook(
        localPath(path), cardsOf(contents, true).cards, xdirkit::VCardWriter::Versions::AllAs4);
    if (status != XDIR_OK) {
        *error = messageFor(status);
        return false;
    }
    return true;
}

} // namespace vextel_addressbook
