#pragma once

#include "BookContents.h"

#include <QString>
#include <QStringList>

namespace vextel_test {

// An editor's own entries (those whose names start with prefix), sorted, as
// "name|fax,fax|note" joined by ";": what book-editor-probe reports before each save and what
// the concurrent-book check compares the book against.
inline QString editorState(const vextel_addressbook::BookContents& book, const QString& prefix) {
    QStringList entries;
    for (const vextel_addressbook::Contact& contact : book.contacts) {
        if (contact.name.startsWith(prefix)) {
            entries.append(contact.name + '|' + contact.faxNumbers().join(',') + '|' +
                           contact.note);
        }
    }
    entries.sort();
    return entries.join(';');
}

} // namespace vextel_test
