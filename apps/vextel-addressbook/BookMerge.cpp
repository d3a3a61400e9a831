#include "BookMerge.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace vextel_addressbook {

namespace {

// Takes our value of one field into merged (which starts as theirs) where we changed it.
// Answers true when theirs changed it too, to something else: their value is set aside.
template <typename T, typename V>
bool takeOurField(V T::*field, const T& base, const T& ours, T& merged) {
    if (ours.*field == base.*field || ours.*field == merged.*field) {
        return false;
    }
    const bool theyChangedIt = merged.*field != base.*field;
    merged.*field = ours.*field;
    return theyChangedIt;
}

// Each editable field on its own. A group's member list is one field: a list both sides changed
// is ours as a whole, so that a group is never one the user did not make.
bool takeOurFields(const Contact& base, const Contact& ours, Contact& merged) {
    bool setAside = takeOurField(&Contact::name, base, ours, merged);
    setAside = takeOurField(&Contact::fax, base, ours, merged) || setAside;
    setAside = takeOurField(&Contact::otherFaxes, base, ours, merged) || setAside;
    setAside = takeOurField(&Contact::company, base, ours, merged) || setAside;
    return takeOurField(&Contact::note, base, ours, merged) || setAside;
}

bool takeOurFields(const Group& base, const Group& ours, Group& merged) {
    const bool setAside = takeOurField(&Group::name, base, ours, merged);
    return takeOurField(&Group::memberUids, base, ours, merged) || setAside;
}

template <typename T> QHash<QString, const T*> byUid(const QList<T>& list) {
    QHash<QString, const T*> index;
    index.reserve(list.size());
    for (const T& item : list) {
        index.insert(item.uid, &item);
    }
    return index;
}

// The same merge for contacts and groups: T has uid, name, originIndex and sameFields.
template <typename T>
QList<T> mergeLists(const QList<T>& base, const QList<T>& ours, const QList<T>& theirs,
                    MergeNotes& notes) {
    const auto baseByUid = byUid(base);
    const auto oursByUid = byUid(ours);
    const auto theirsByUid = byUid(theirs);
    QList<T> result;
    result.reserve(std::max(ours.size(), theirs.size()));
    for (const T& their : theirs) {
        const T* baseItem = baseByUid.value(their.uid);
        const T* ourItem = oursByUid.value(their.uid);
        const bool theyChanged = baseItem == nullptr || !baseItem->sameFields(their);
        if (ourItem == nullptr) {
            // Removed by us: stays removed unless they edited it since.
            if (baseItem == nullptr || theyChanged) {
                result.append(their);
                if (baseItem != nullptr) {
                    notes.removalUndone.append(their.name);
                }
            }
            continue;
        }
        T merged = their;
        bool setAside = false;
        if (baseItem != nullptr) {
            setAside = takeOurFields(*baseItem, *ourItem, merged);
        } else if (!their.sameFields(*ourItem)) {
            // Added on both sides under one uid (copies of one card): ours.
            merged = *ourItem;
            merged.originIndex = their.originIndex;
            setAside = true;
        }
        if (setAside) {
            notes.oursKept.append(ourItem->name);
        }
        result.append(merged);
    }
    for (const T& our : ours) {
        if (theirsByUid.contains(our.uid)) {
            continue;
        }
        const T* baseItem = baseByUid.value(our.uid);
        // Removed by them: stays removed unless we edited it (or added it) since.
        if (baseItem == nullptr || !baseItem->sameFields(our)) {
            T added = our;
            added.originIndex = -1; // its card is not in their file
            result.append(added);
            if (baseItem != nullptr) {
                notes.removalUndone.append(our.name);
            }
        }
    }
    return result;
}

// How often each "name fax" pair is an entry of book.
QHash<QString, int> pairCounts(const QList<Contact>& contacts) {
    QHash<QString, int> counts;
    for (const Contact& contact : contacts) {
        for (const QString& fax : contact.faxNumbers()) {
            ++counts[contact.name + QLatin1Char(' ') + fax];
        }
    }
    return counts;
}

// The pairs the merge holds more often than either side did: added on both sides at once.
QStringList pairsHeldTwice(const QList<Contact>& merged, const QList<Contact>& ours,
                           const QList<Contact>& theirs) {
    const QHash<QString, int> mergedCounts = pairCounts(merged);
    const QHash<QString, int> ourCounts = pairCounts(ours);
    const QHash<QString, int> theirCounts = pairCounts(theirs);
    QStringList pairs;
    for (auto pair = mergedCounts.cbegin(); pair != mergedCounts.cend(); ++pair) {
        if (pair.value() > std::max(ourCounts.value(pair.key()), theirCounts.value(pair.key()))) {
            pairs.append(pair.key());
        }
    }
    pairs.sort();
    return pairs;
}

} // namespace

BookContents mergeBooks(const BookContents& base, const BookContents& ours,
                        const BookContents& theirs, MergeNotes* notes) {
    MergeNotes scratch;
    MergeNotes& out = notes != nullptr ? *notes : scratch;
    BookContents merged;
    merged.origin = theirs.origin;
    merged.contacts = mergeLists(base.contacts, ours.contacts, theirs.contacts, out);
    merged.groups = mergeLists(base.groups, ours.groups, theirs.groups, out);
    out.heldTwice = pairsHeldTwice(merged.contacts, ours.contacts, theirs.contacts);
    QSet<QString> uids;
    for (const Contact& contact : merged.contacts) {
        uids.insert(contact.uid);
    }
    const auto oursByUid = byUid(ours.groups);
    for (Group& group : merged.groups) {
        const qsizetype before = group.memberUids.size();
        group.memberUids.removeIf([&](const QString& uid) { return !uids.contains(uid); });
        group.memberUids.removeDuplicates();
        // Only a member the user sees in the group now is worth a word.
        const Group* ourGroup = oursByUid.value(group.uid);
        if (group.memberUids.size() != before && ourGroup != nullptr &&
            std::any_of(ourGroup->memberUids.begin(), ourGroup->memberUids.end(),
                        [&](const QString& uid) { return !uids.contains(uid); })) {
            out.membersDropped.append(group.name);
        }
    }
    return merged;
}

} // namespace vextel_addressbook
