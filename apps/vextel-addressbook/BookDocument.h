#pragma once

#include "BookContents.h"
#include "BookMerge.h"

#include <QObject>
#include <QUndoStack>
#include <optional>

namespace vextel_addressbook {

class BookStore;
template <class Entry> struct EntryKind;

// One open PC address book: its entries and groups, the edits made to them with undo and redo,
// and what was last read from or written to its file (the base of a merge with a change made by
// another program). Every edit is checked by EntryRules first; a refused edit changes nothing
// and says why.
class BookDocument : public QObject {
    Q_OBJECT
public:
    BookDocument(QString path, BookContents contents, QObject* parent = nullptr);

    const QString& path() const { return path_; }
    void setPath(const QString& path) { path_ = path; }
    // The file name without ".vcf".
    QString title() const;
    const BookContents& contents() const { return contents_; }
    QUndoStack* undoStack() { return &undoStack_; }
    bool isModified() const { return !undoStack_.isClean() || mergedUnsaved_; }

    // Each returns false with a reason when the edit breaks a rule; rows index contents().
    bool addContact(const Contact& contact, QString* error);
    bool editContact(qsizetype row, const Contact& contact, QString* error);
    // Removes the entries and takes them out of every group, as one edit.
    void removeContacts(QList<qsizetype> rows);
    bool addGroup(const Group& group, QString* error);
    bool editGroup(qsizetype row, const Group& group, QString* error);
    void removeGroups(QList<qsizetype> rows);
    // Adds entries and groups (members by uid among the added or present entries) as one edit.
    // Entries whose name or fax numbers break a rule (company and note come as they are) and
    // groups that break a rule are left out and listed in skipped, one line each.
    // The added get new uids. Answers how many entries were added.
    qsizetype addEntries(const QList<Contact>& contacts, const QList<Group>& groups,
                         QStringList* skipped, const QString& editName);

    // Writes the book through the store and marks it unchanged. When the file changed since it
    // was last read or written, the edits are merged into what it holds now (under the book's
    // lock, so nothing written meanwhile is lost) and merged, when given, gets what the merge
    // decided; it is left null when there was nothing to merge. The book then holds what the
    // file holds.
    bool save(BookStore& store, QString* error, std::optional<MergeNotes>* merged = nullptr);
    // The file now holds theirs. Without unsaved edits the book becomes theirs; with them,
    // theirs and the edits are merged and the book stays modified. Answers true when merged;
    // notes, when given, gets what the merge decided. The undo history ends here: undoing past
    // a change of the file would undo that change.
    bool takeExternalChange(const BookContents& theirs, MergeNotes* notes = nullptr);
    // What was last read from or written to the file.
    const BookContents& base() const { return base_; }

signals:
    void contentsChanged();

private:
    friend class ContentsCommand;
    void replaceContents(const BookContents& contents);
    void push(const QString& editName, const BookContents& after);
    template <class Entry>
    bool addEntry(const EntryKind<Entry>& kind, const Entry& entry, QString* error);
    template <class Entry>
    bool editEntry(const EntryKind<Entry>& kind, qsizetype row, const Entry& form, QString* error);

    QString path_;
    BookContents contents_;
    BookContents base_;
    QUndoStack undoStack_;
    bool mergedUnsaved_ = false;
};

} // namespace vextel_addressbook
