#pragma once

#include "BookContents.h"

#include <QSet>

namespace vextel_addressbook {

// What copying chosen entries and groups of one book into another adds to it: the chosen entries
// and every member of a chosen group, except those the target already holds (same name and fax
// number), and the chosen groups with their members named by source uid for an entry that comes
// along, or by the target's uid for one the target already holds.
BookContents entriesToCopy(const BookContents& source, const QSet<QString>& contactUids,
                           const QSet<QString>& groupUids, const BookContents& target);

// Adds copied (from entriesToCopy) to book as new entries and groups with fresh uids, members
// renamed to match. Used for the printer's book, whose entries are not checked by EntryRules and
// hold one fax number each: an entry's further numbers become entries of their own.
BookContents appendCopies(const BookContents& book, const BookContents& copied);

} // namespace vextel_addressbook
