#include "BookDocument.h"

#include "BookMerge.h"
#include "BookStore.h"
#include "EntryRules.h"

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

QList<qsizetype> validDescending(QList<qsizetype> rows, qsizetype size) {
    rows.removeIf([size](qsizetype row) { return row < 0 || row >= size; });
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

} // namespace

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
    if (auto problem = EntryRules::contactProblem(contact)) {
        *error = *problem;
        return false;
    }
    BookContents after = contents_;
    Contact added = contact;
    added.uid = newUid();
    added.originIndex = -1;
    after.contacts.append(added);
    push(QStringLiteral("Add Entry"), after);
    return true;
}

bool BookDocument::editContact(qsizetype row, const Contact& contact, QString* error) {
    if (row < 0 || row >= contents_.contacts.size()) {
        *error = QStringLiteral("The entry is no longer in the book.");
        return false;
    }
    if (auto problem = EntryRules::contactProblem(contact)) {
        *error = *problem;
        return false;
    }
    BookContents after = contents_;
    Contact& edited = after.contacts[row];
    if (edited.sameFields(contact)) {
        return true;
    }
    edited.name = contact.name;
    edited.fax = contact.fax;
    edited.company = contact.company;
    edited.note = contact.note;
    push(QStringLiteral("Edit Entry"), after);
    return true;
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
    push(rows.size() == 1 ? QStringLiteral("Delete Entry") : QStringLiteral("Delete Entries"),
         after);
}

bool BookDocument::addGroup(const Group& group, QString* error) {
    if (auto problem = EntryRules::groupProblem(group, contents_)) {
        *error = *problem;
        return false;
    }
    BookContents after = contents_;
    Group added = group;
    added.uid = newUid();
    added.originIndex = -1;
    after.groups.append(added);
    push(QStringLiteral("Add Group"), after);
    return true;
}

bool BookDocument::editGroup(qsizetype row, const Group& group, QString* error) {
    if (row < 0 || row >= contents_.groups.size()) {
        *error = QStringLiteral("The group is no longer in the book.");
        return false;
    }
    if (auto problem = EntryRules::groupProblem(group, contents_)) {
        *error = *problem;
        return false;
    }
    BookContents after = contents_;
    Group& edited = after.groups[row];
    if (edited.sameFields(group)) {
        return true;
    }
    edited.name = group.name;
    edited.memberUids = group.memberUids;
    push(QStringLiteral("Edit Group"), after);
    return true;
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
    push(rows.size() == 1 ? QStringLiteral("Delete Group") : QStringLiteral("Delete Groups"),
         after);
}

qsizetype BookDocument::addEntries(const QList<Contact>& contacts, const QList<Group>& groups,
                                   QStringList* skipped, const QString& editName) {
    BookContents after = contents_;
    QHash<QString, QString> newUidOf; // uid in the source -> uid in this book
    qsizetype added = 0;
    for (const Contact& contact : contacts) {
        if (auto problem = EntryRules::contactProblem(contact)) {
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
        for (const QString& member : group.memberUids) {
            copy.memberUids.append(newUidOf.value(member, member));
        }
        if (auto problem = EntryRules::groupProblem(copy, after)) {
            skipped->append(QStringLiteral("Group %1: %2").arg(group.name, *problem));
            continue;
        }
        after.groups.append(copy);
    }
    if (added > 0 || after.groups.size() != contents_.groups.size()) {
        push(editName, after);
    }
    return added;
}

bool BookDocument::save(BookStore& store, QString* error) {
    if (!store.write(path_, contents_, error)) {
        return false;
    }
    base_ = contents_;
    mergedUnsaved_ = false;
    undoStack_.setClean();
    return true;
}

bool BookDocument::takeExternalChange(const BookContents& theirs) {
    const bool merge = isModified();
    BookContents next = merge ? mergeBooks(base_, contents_, theirs) : theirs;
    base_ = theirs;
    undoStack_.clear();
    mergedUnsaved_ = merge && !next.sameAs(theirs);
    replaceContents(next);
    return merge;
}

} // namespace vextel_addressbook
