#pragma once

#include "BookContents.h"

#include <QStringList>
#include <ostream>

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace vextel_addressbook::test {

// A book written as one short line per entry and group, for whole-value comparisons:
// "Ann 1 | Bob 2 || Team[Ann,Bob]".
inline QString render(const BookContents& book) {
    QStringList contacts;
    for (const Contact& contact : book.contacts) {
        QString text = contact.name + QLatin1Char(' ') + contact.fax;
        if (!contact.company.isEmpty() || !contact.note.isEmpty()) {
            text += QStringLiteral(" (%1/%2)").arg(contact.company, contact.note);
        }
        contacts.append(text);
    }
    QStringList groups;
    for (const Group& group : book.groups) {
        QStringList members;
        for (const QString& uid : group.memberUids) {
            const qsizetype index = book.contactIndex(uid);
            members.append(index < 0 ? QStringLiteral("?") + uid : book.contacts.at(index).name);
        }
        groups.append(QStringLiteral("%1[%2]").arg(group.name, members.join(',')));
    }
    return contacts.join(QStringLiteral(" | ")) + QStringLiteral(" || ") +
           groups.join(QStringLiteral(" | "));
}

// A book from names and fax numbers, uids "u-<name>"; groups as "Team:Ann,Bob".
inline BookContents book(const QStringList& contacts, const QStringList& groups = {}) {
    BookContents result;
    for (const QString& text : contacts) {
        const QStringList parts = text.split(QLatin1Char(' '));
        result.contacts.append(
            Contact{QStringLiteral("u-") + parts.at(0), parts.at(0), parts.value(1), {}, {}, -1});
    }
    for (const QString& text : groups) {
        Group group{
            QStringLiteral("g-") + text.section(':', 0, 0), text.section(':', 0, 0), {}, -1};
        for (const QString& name : text.section(':', 1).split(',', Qt::SkipEmptyParts)) {
            group.memberUids.append(QStringLiteral("u-") + name);
        }
        result.groups.append(group);
    }
    return result;
}

} // namespace vextel_addressbook::test
