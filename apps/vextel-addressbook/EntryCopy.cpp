#include "EntryCopy.h"

#include <QHash>
#include <algorithm>

namespace vextel_addressbook {

namespace {

QString key(const Contact& contact) {
    return contact.name + QChar(0x1F) + contact.fax;
}

} // namespace

BookContents entriesToCopy(const BookContents& source, const QSet<QString>& contactUids,
                           const QSet<QString>& groupUids, const BookContents& target) {
    QHash<QString, QString> targetUidByKey;
    for (const Contact& contact : target.contacts) {
        targetUidByKey.insert(key(contact), contact.uid);
    }
    QSet<QString> wanted = contactUids;
    for (const Group& group : source.groups) {
        if (groupUids.contains(group.uid)) {
            for (const QString& member : group.memberUids) {
                wanted.insert(member);
            }
        }
    }
    BookContents copied;
    QHash<QString, QString> uidInResult; // source uid -> uid the copied groups use
    for (const Contact& contact : source.contacts) {
        if (!wanted.contains(contact.uid)) {
            continue;
        }
        if (const auto existing = targetUidByKey.constFind(key(contact));
            existing != targetUidByKey.constEnd()) {
            uidInResult.insert(contact.uid, existing.value());
            continue;
        }
        Contact copy = contact;
        copy.originIndex = -1;
        copied.contacts.append(copy);
        targetUidByKey.insert(key(contact), contact.uid);
        uidInResult.insert(contact.uid, contact.uid);
    }
    for (const Group& group : source.groups) {
        if (!groupUids.contains(group.uid)) {
            continue;
        }
        Group copy = group;
        copy.originIndex = -1;
        copy.memberUids.clear();
        for (const QString& member : group.memberUids) {
            if (uidInResult.contains(member)) {
                copy.memberUids.append(uidInResult.value(member));
            }
        }
        copy.memberUids.removeDuplicates();
        copied.groups.append(copy);
    }
    return copied;
}

BookContents appendCopies(const BookContents& book, const BookContents& copied) {
    BookContents result = book;
    QHash<QString, QString> renamed;
    for (const Contact& contact : copied.contacts) {
        Contact copy = contact;
        copy.uid = newUid();
        copy.originIndex = -1;
        renamed.insert(contact.uid, copy.uid);
        copy.otherFaxes.clear();
        result.contacts.append(copy);
        // An entry of the printer holds one fax number: each further one becomes an entry of
        // its own, as the picker lists them (a group names the first).
        for (const QString& fax : contact.otherFaxes) {
            Contact more = copy;
            more.uid = newUid();
            more.fax = fax;
            const bool held =
                std::any_of(result.contacts.begin(), result.contacts.end(),
                            [&](const Contact& entry) { return key(entry) == key(more); });
            if (!held) {
                result.contacts.append(more);
            }
        }
    }
    for (const Group& group : copied.groups) {
        Group copy = group;
        copy.uid = newUid();
        copy.originIndex = -1;
        for (QString& member : copy.memberUids) {
            member = renamed.value(member, member);
        }
        result.groups.append(copy);
    }
    return result;
}

} // namespace vextel_addressbook
