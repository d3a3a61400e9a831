#include "BookDocument.h"

#include "BookMerge.h"
#include "BookStore.h"
#include "EntryRules.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSet>
#include <QUndoCommand>
#include <algorithm>

namespace vextel_addressbook {

// One edit: the whole book before and after. Books are implicitly shared lists, so a snapshot
// costs a copy only of what the edit changes.
class ContentsCommand : public QUndoCommand {
public:
    ContentsCommand(BookDocument* document, const QString& text, BookContents before,
                    BookContents after)
        : QUndoCommand(text), document_(document), before_(std::move(before)),
          after_(std::move(after)) {}

    void undo() override { document_->replaceContents(before_); }
    void redo() override { document_->replaceContents(after_); }

private:
    BookDocument* document_;
    BookContents before_;
    BookContents after_;
};

namespace {

// The edit names (shown in Undo and Redo) and messages of this file, in the user's language.
QString translated(const char* text) {
    return QCoreApplication::translate("vextel_addressbook::BookDocument", text);
}

QList<qsizetype> validDescending(QList<qsizetype> rows, qsizetype size) {
    rows.removeIf([size](qsizetype row) { return row < 0 || row >= size; });
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

std::optional<QString> duplicateOfNewEntry(const Contact& contact, const BookContents& book) {
    Contact added = contact;
    added.uid.clear(); // not yet an entry of the book
    return EntryRules::duplicateProblem(Contact{}, added, book);
}

std::optional<QString> contactProblem(const Contact& contact, const BookContents& book) {
    if (auto problem = EntryRules::contactProblem(contact)) {
        return problem;
    }
    return duplicateOfNewEntry(contact, book);
}

// An import brings a card's company and note as they are, as a book read from a file does.
std::optional<QString> importedContactProblem(const Contact& contact, const BookContents& book) {
    if (auto problem = EntryRules::importProblem(contact)) {
        return problem;
    }
    return duplicateOfNewEntry(contact, book);
}

// An edit is held to the rules of the fields it changes: an entry read from a phone with a note
// of two lines can still get a new fax number.
std::optional<QString> contactEditProblem(const Contact& before, const Contact& form,
                                          const BookContents& book) {
    if (auto problem = EntryRules::changedContactProblem(before, form)) {
        return problem;
    }
    Contact edited = form;
    edited.uid = before.uid;
    return EntryRules::duplicateProblem(before, edited, book);
}

std::optional<QString> groupEditProblem(const Group& /*before*/, const Group& form,
                                        const BookContents& book) {
    return EntryRules::groupProblem(form, book);
}

// The fields an edit changes; the uid and the link to the origin stay.
void takeContactFields(Contact& entry, const Contact& form) {
    entry.name = form.name;
    entry.fax = form.fax;
    entry.otherFaxes = form.otherFaxes;
    entry.company = form.company;
    entry.note = form.note;
}

void takeGroupFields(Group& entry, const Group& form) {
    entry.name = form.name;
    entry.memberUids = form.memberUids;
}

} // namespace

// What adding and editing an entry or a group differ in: the list, the rule, the texts.
template <class Entry> struct EntryKind {
    QList<Entry> BookContents::*list;
    std::optional<QString> (*problem)(const Entry& entry, const BookContents& book);
    std::optional<QString> (*editProblem)(const Entry& before, const Entry& form,
                                          const BookContents& book);
    void (*takeFields)(Entry& entry, const Entry& form);
    const char* addName;
    const char* editName;
    const char* goneText;
};

namespace {

const EntryKind<Contact> kContacts{
    .list = &BookContents::contacts,
    .problem = contactProblem,
    .editProblem = contactEditProblem,
    .takeFields = takeContactFields,
    .addName = QT_TRANSLATE_NOOP("vextel_addressbook::BookDocument", "Add Entry"),
    .editName = QT_TRANSLATE_NOOP("vextel_addressbook::BookDocument", "Edit Entry"),
    .goneText = QT_TRANSLATE_NOOP("vextel_addressbook::BookDocument",
                                  "The entry is no longer in the book."),
};
const EntryKind<Group> kGroups{
    .list = &BookContents::groups,
    .problem = EntryRules::groupProblem,
    .editProblem = groupEditProblem,
    .takeFields = takeGroupFields,
    .addName = QT_TRANSLATE_NOOP("vextel_addressbook::BookDocument", "Add Group"),
    .editName = QT_TRANSLATE_NOOP("vextel_addressbook::BookDocument", "Edit Group"),
    .goneText = QT_TRANSLATE_NOOP("vextel_addressbook::BookDocument",
                                  "The group is no longer in the book."),
};

} // namespace

template <class Entry>
bool BookDocument::addEntry(const EntryKind<Entry>& kind, const Entry& entry, QString* error) {
    if (auto problem = kind.problem(entry, contents_)) {
        *error = *problem;
        return false;
    }
    BookContents after = contents_;
    Entry added = entry;
    added.uid = newUid();
    added.originIndex = -1;
    (after.*kind.list).append(added);
    push(translated(kind.addName), after);
    return true;
}

template <class Entry>
bool BookDocument::editEntry(const EntryKind<Entry>& kind, qsizetype row, const Entry& form,
                             QString* error) {
    if (row < 0 || row >= (contents_.*kind.list).size()) {
        *error = translated(kind.goneText);
        return false;
    }
    if (auto problem = kind.editProblem((contents_.*kind.list).at(row), form, contents_)) {
        *error = *problem;
        return false;
    }
    BookContents after = contents_;
    Entry& edited = (after.*kind.list)[row];
    if (edited.sameFields(form)) {
        return true;
    }
    kind.takeFields(edited, form);
    push(translated(kind.editName), after);
    return true;
}

BookDocument::BookDocument(QString path, BookContents contents, QObject* parent)
    : QObject(parent), path_(std::move(path)), contents_(contents), base_(std::move(contents)) {}

QString BookDocument::title() const {
    return QFileInfo(path_).completeBaseName();
}

void BookDocument::replaceContents(const BookContents& contents) {
    contents_ = contents;
    emit contentsChanged();
}

void BookDocument::push(const QString& editName, const BookContents& after) {
    undoStack_.push(new ContentsCommand(this, editName, contents_, after));
}

bool BookDocument::addContact(const Contact& contact, QString* error) {
    return addEntry(kContacts, contact, error);
}

bool BookDocument::editContact(qsizetype row, const Contact& contact, QString* error) {
    return editEntry(kContacts, row, contact, error);
}

void BookDocument::removeContacts(QList<qsizetype> rows) {
    rows = validDescending(rows, contents_.contacts.size());
    if (rows.isEmpty()) {
        return;
    }
    BookContents after = contents_;
    QSet<QString> removed;
    for (qsizetype row : rows) {
        removed.insert(after.contacts.at(row).uid);
        after.contacts.removeAt(row);
    }
    for (Group& group : after.groups) {
        group.memberUids.removeIf([&](const QString& uid) { return removed.contains(uid); });
    }
    push(rows.size() == 1
             ? translated(QT_TRANSLATE_NOOP("vextel_addressbook::BookDocument", "Delete Entry"))
             : translated(QT_TRANSLATE_NOOP("vextel_addressbook::BookDocument", "Delete Entries")),
         after);
}

bool BookDocument::addGroup(const Group& group, QString* error) {
    return addEntry(kGroups, group, error);
}

bool BookDocument::editGroup(qsizetype row, const Group& group, QString* error) {
    return editEntry(kGroups, row, group, error);
}

void BookDocument::removeGroups(QList<qsizetype> rows) {
    rows = validDescending(rows, contents_.groups.size());
    if (rows.isEmpty()) {
        return;
    }
    BookContents after = contents_;
    for (qsizetype row : rows) {
        after.groups.removeAt(row);
    }
    push(rows.size() == 1
             ? translated(QT_TRANSLATE_NOOP("vextel_addressbook::BookDocument", "Delete Group"))
             : translated(QT_TRANSLATE_NOOP("vextel_addressbook::BookDocument", "Delete Groups")),
         after);
}

qsizetype BookDocument::addEntries(const QList<Contact>& contacts, const QList<Group>& groups,
                                   QStringList* skipped, const QString& editName) {
    BookContents after = contents_;
    QHash<QString, QString> newUidOf; // uid in the source -> uid in this book
    qsizetype added = 0;
    for (const Contact& contact : contacts) {
        if (auto problem = importedContactProblem(contact, after)) {
            skipped->append(QStringLiteral("%1 %2: %3").arg(contact.name, contact.fax, *problem));
            continue;
        }
        Contact copy = contact;
        copy.uid = newUid();
        copy.originIndex = -1;
        if (!contact.uid.isEmpty()) {
            newUidOf.insert(contact.uid, copy.uid);
        }
        after.contacts.append(copy);
        ++added;
    }
    for (const Group& group : groups) {
        Group copy = group;
        copy.uid = newUid();
        copy.originIndex = -1;
        copy.memberUids.clear();
        // A member whose entry was left out leaves the group, not the group the book.
        for (const QString& member : group.memberUids) {
            const QString uid = newUidOf.value(member, member);
            if (newUidOf.contains(member) || after.contactIndex(uid) >= 0) {
                copy.memberUids.append(uid);
            }
        }
        if (copy.memberUids.isEmpty() && !group.memberUids.isEmpty()) {
            skipped->append(translated(QT_TRANSLATE_NOOP("vextel_addressbook::BookDocument",
                                                         "Group %1: none of its members is added."))
                                .arg(group.name));
            continue;
        }
        if (auto problem = EntryRules::groupProblem(copy, after)) {
            skipped->append(
                translated(QT_TRANSLATE_NOOP("vextel_addressbook::BookDocument", "Group %1: %2"))
                    .arg(group.name, *problem));
            continue;
        }
        after.groups.append(copy);
    }
    if (added > 0 || after.groups.size() != contents_.groups.size()) {
        push(editName, after);
    }
    return added;
}

bool BookDocument::save(BookStore& store, QString* error, std::optional<MergeNotes>* merged) {
    std::optional<MergeNotes> notes;
    // Compared and merged under the book's lock: a change another program makes meanwhile waits
    // for the write and is not lost to it.
    auto written = store.update(
        path_,
        [&](const BookOnDisk& current, QString* readError) -> std::optional<BookContents> {
            notes.reset();
            // A file another program removed is made anew from the edits.
            if (current.hash.isEmpty() || current.hash == base_.fileHash) {
                return contents_;
            }
            auto theirs = current.read(readError);
            if (!theirs) {
                return std::nullopt;
            }
            notes.emplace();
            return mergeBooks(base_, contents_, *theirs, &*notes);
        },
        error);
    if (!written) {
        return false;
    }
    if (merged != nullptr) {
        *merged = notes;
    }
    // The book is now what the file holds, read back from the bytes written: their hash is the
    // base of the next comparison, and the entries point into the new file.
    base_ = *written;
    mergedUnsaved_ = false;
    if (notes) {
        // Undoing past another program's change would undo that change.
        undoStack_.clear();
    } else {
        undoStack_.setClean();
    }
    // What the window shows changes only when the file held more than the edits.
    if (written->sameAs(contents_)) {
        contents_ = *written;
    } else {
        replaceContents(*written);
    }
    return true;
}

bool BookDocument::takeExternalChange(const BookContents& theirs, MergeNotes* notes) {
    const bool merge = isModified();
    BookContents next = merge ? mergeBooks(base_, contents_, theirs, notes) : theirs;
    base_ = theirs;
    undoStack_.clear();
    mergedUnsaved_ = merge && !next.sameAs(theirs);
    replaceContents(next);
    return merge;
}

} // namespace vextel_addressbook
