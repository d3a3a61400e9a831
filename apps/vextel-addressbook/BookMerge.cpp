#include "BookMerge.h"

#include <QSet>

namespace vextel_addressbook {

namespace {

// The same merge for contacts and groups: T has uid, originIndex and sameFields.
template <typename T>
QList<T> mergeLists(const QList<T>& base, const QList<T>& ours, const QList<T>& theirs) {
    auto find = [](const QList<T>& list, const QString& uid) -> const T* {
        for (const T& item : list) {
            if (item.uid == uid) {
                return &item;
            }
        }
        return nullptr;
    };
    QList<T> result;
    for (const T& their : theirs) {
        const T* baseItem = find(base, their.uid);
        const T* ourItem = find(ours, their.uid);
        const bool theyChanged = baseItem == nullptr || !baseItem->sameFields(their);
        if (ourItem == nullptr) {
            // Removed by us: stays removed unless they edited it since.
            if (baseItem == nullptr || theyChanged) {
                result.append(their);
            }
            continue;
        }
        const bool weChanged = baseItem == nullptr || !baseItem->sameFields(*ourItem);
        T merged = weChanged ? *ourItem : their;
        merged.originIndex = their.originIndex;
        result.append(merged);
    }
    for (const T& our : ours) {
        if (find(theirs, our.uid) != nullptr) {
            continue;
        }
        const T* baseItem = find(base, our.uid);
        const bool weChanged = baseItem == nullptr || !baseItem->sameFields(our);
        if (weChanged) {
            T added = our;
            added.originIndex = -1; // its card is not in their file
            result.append(added);
        }
    }
    return result;
}

} // namespace

BookContents mergeBooks(const BookContents& base, const BookContents& ours,
                        const BookContents& theirs) {
    BookContents merged;
    merged.origin = theirs.origin;
    merged.contacts = mergeLists(base.contacts, ours.contacts, theirs.contacts);
    merged.groups = mergeLists(base.groups, ours.groups, theirs.groups);
    QSet<QString> uids;
    for (const Contact& contact : merged.contacts) {
        uids.insert(contact.uid);
    }
    for (Group& group : merged.groups) {
        group.memberUids.removeIf([&](const QString& uid) { return !uids.contains(uid); });
        group.memberUids.removeDuplicates();
    }
    return merged;
}

} // namespace vextel_addressbook
