#pragma once

#include "BookContents.h"

#include <QStringList>

namespace vextel_addressbook {

// What a merge decided where the two sides' changes met, by the names of the entries and
// groups, so that a message can say it. Empty lists: nothing of either side was set aside.
struct MergeNotes {
    QStringList oursKept;       // both changed the same field: our value kept over theirs
    QStringList removalUndone;  // one side removed it, the other edited it: kept, edited
    QStringList membersDropped; // groups that lost a member because its entry is gone
    // "name fax": a name and fax number that each side added as an entry of its own, so that the
    // book holds it twice (as the library would not have added it)
    QStringList heldTwice;

    bool isEmpty() const {
        return oursKept.isEmpty() && removalUndone.isEmpty() && membersDropped.isEmpty() &&
               heldTwice.isEmpty();
    }
};

// Three-way merge of a book changed in the editor and on disk at once. base is what the editor
// last read or wrote, ours what it holds now, theirs what the file holds now. Entries are matched
// by uid and merged field by field: a field one side changed takes that side's value; a field
// both changed takes ours. Group members merge as a set (each side's additions and removals
// done). Our additions are added, our removals done unless theirs edited the entry since, and
// an entry theirs removed stays when we edited it (an edit is never lost to a removal). Members
// that name no entry are dropped. The result keeps the origin of theirs. notes, when given, gets
// what was set aside.
BookContents mergeBooks(const BookContents& base, const BookContents& ours,
                        const BookContents& theirs, MergeNotes* notes = nullptr);

} // namespace vextel_addressbook
