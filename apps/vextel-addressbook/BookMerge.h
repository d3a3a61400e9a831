#pragma once

#include "BookContents.h"

namespace vextel_addressbook {

// Three-way merge of a book changed in the editor and on disk at once. base is what the editor
// last read or wrote, ours what it holds now, theirs what the file holds now. Entries are matched
// by uid. The result is theirs with our changes applied: our additions added, our edits kept
// (also where theirs removed the entry: an edit is never lost to a removal), our removals done
// unless theirs edited the entry. Members that name no entry are dropped. The result keeps the
// origin of theirs.
BookContents mergeBooks(const BookContents& base, const BookContents& ours,
                        const BookContents& theirs);

} // namespace vextel_addressbook
