#include "BookContents.h"

#include <QUuid>
#include <algorithm>

namespace vextel_addressbook {

BookOrigin::~BookOrigin() = default;

qsizetype BookContents::contactIndex(const QString& uid) const {
    for (qsizetype i = 0; i < contacts.size(); ++i) {
        if (contacts.at(i).uid == uid) {
            return i;
        }
    }
    return -1;
}

qsizetype BookContents::groupIndex(const QString& uid) const {
    for (qsizetype i = 0; i < groups.size(); ++i) {
        if (groups.at(i).uid == uid) {
            return i;
        }
    }
    return -1;
}

bool BookContents::sameAs(const BookContents& other) const {
    // A list shared with the other's is the same without a look at its entries.
    return (contacts.isSharedWith(other.contacts) ||
            std::equal(contacts.begin(), contacts.end(), other.contacts.begin(),
                       other.contacts.end(),
                       [](const Contact& a, const Contact& b) {
                           return Contact::sameText(a.uid, b.uid) && a.sameFields(b);
                       })) &&
           std::equal(
               groups.begin(), groups.end(), other.groups.begin(), other.groups.end(),
               [](const Group& a, const Group& b) { return a.uid == b.uid && a.sameFields(b); });
}

QString newUid() {
    return QStringLiteral("urn:uuid:") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

} // namespace vextel_addressbook
