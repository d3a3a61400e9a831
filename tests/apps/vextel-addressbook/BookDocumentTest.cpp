#include "BookDocument.h"

#include "BookMerge.h"
#include "BookStore.h"
#include "BookTestSupport.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

using namespace vextel_addressbook;
using test::book;
using test::render;

class MemoryStore : public BookStore {
public:
    QString folder() override { return {}; }
    QStringList bookPaths() override { return written.keys(); }
    std::optional<BookContents> read(const QString& path, QString* error) override {
        if (!written.contains(path)) {
            *error = "missing";
            return std::nullopt;
        }
        return written.value(path);
    }
    bool write(const QString& path, const BookContents& contents, QString* error) override {
        if (refuse) {
            *error = "disk full";
            return false;
        }
        BookContents stored = contents;
        stored.fileHash = QByteArray::number(++version);
        written.insert(path, stored);
        return true;
    }
    std::optional<BookContents> update(const QString& path, const Change& change,
                                       QString* error) override {
        const BookOnDisk current{written.value(path).fileHash, [&](QString* e) {
                                     return read(path, e);
                                 }};
        const auto next = change(current, error);
        if (!next || !write(path, *next, error)) {
            return std::nullopt;
        }
        return written.value(path);
    }
    bool exportVCard(const QString&, const BookContents&, QString*) override { return false; }
    QMap<QString, BookContents> written;
    bool refuse = false;
    int version = 0;
};

// A book whose first entry has the given company and note.
BookContents withFirst(BookContents book, const char* company, const char* note) {
    book.contacts[0].company = QLatin1String(company);
    book.contacts[0].note = QLatin1String(note);
    return book;
}

QString render(const MergeNotes& notes) {
    return QStringLiteral("kept[%1] undone[%2] dropped[%3]")
               .arg(notes.oursKept.join(','), notes.removalUndone.join(','),
                    notes.membersDropped.join(',')) +
           (notes.heldTwice.isEmpty()
                ? QString()
                : QStringLiteral(" twice[%1]").arg(notes.heldTwice.join(',')));
}

// The same book with the first entry under another uid (added on its own, not a copy of a card).
BookContents withOtherUid(BookContents book) {
    book.contacts[0].uid += QLatin1String("-other");
    return book;
}

// ---- Editing with undo and redo

TEST(BookDocumentTest, EveryEditUndoesAndRedoesAsOneStep) {
    BookDocument doc("/b/Office.vcf", book({"Ann 1", "Bob 2", "Cy 3"}, {"Team:Ann,Bob"}));
    QString error;
    QStringList states{render(doc.contents())};
    ASSERT_TRUE(doc.addContact(Contact{{}, "Dee", "4", "Acme", "new", -1}, &error));
    states.append(render(doc.contents()));
    ASSERT_TRUE(doc.editContact(0, Contact{{}, "Ann Lee", "10", {}, {}, -1}, &error));
    states.append(render(doc.contents()));
    doc.removeContacts({1, 1, 99, -1}); // Bob, once; bad rows ignored
    states.append(render(doc.contents()));
    Group team = doc.contents().groups.at(0);
    team.name = "Crew";
    team.memberUids.append(doc.contents().contacts.at(2).uid); // Dee
    ASSERT_TRUE(doc.editGroup(0, team, &error)) << error.toStdString();
    states.append(render(doc.contents()));
    doc.removeGroups({0});
    states.append(render(doc.contents()));

    EXPECT_EQ(states,
              QStringList({"Ann 1 | Bob 2 | Cy 3 || Team[Ann,Bob]",
                           "Ann 1 | Bob 2 | Cy 3 | Dee 4 (Acme/new) || Team[Ann,Bob]",
                           "Ann Lee 10 | Bob 2 | Cy 3 | Dee 4 (Acme/new) || Team[Ann Lee,Bob]",
                           "Ann Lee 10 | Cy 3 | Dee 4 (Acme/new) || Team[Ann Lee]",
                           "Ann Lee 10 | Cy 3 | Dee 4 (Acme/new) || Crew[Ann Lee,Dee]",
                           "Ann Lee 10 | Cy 3 | Dee 4 (Acme/new) || "}));
    EXPECT_EQ(doc.undoStack()->count(), 5);
    for (int i = static_cast<int>(states.size()) - 2; i >= 0; --i) {
        doc.undoStack()->undo();
        EXPECT_EQ(render(doc.contents()), states.at(i)) << "undo to " << i;
    }
    EXPECT_FALSE(doc.isModified());
    for (int i = 1; i < states.size(); ++i) {
        doc.undoStack()->redo();
        EXPECT_EQ(render(doc.contents()), states.at(i)) << "redo to " << i;
    }
    EXPECT_TRUE(doc.isModified());
}

TEST(BookDocumentTest, RefusedEditsChangeNothingAndSayWhy) {
    BookDocument doc("/b/Office.vcf", book({"Ann 1", "Bob 2"}, {"Team:Ann"}));
    const QString before = render(doc.contents());
    QString error;
    EXPECT_FALSE(doc.addContact(Contact{{}, "Ann", "+1 555", {}, {}, -1}, &error));
    EXPECT_TRUE(error.contains("Fax number")) << error.toStdString();
    EXPECT_FALSE(doc.editContact(5, Contact{{}, "Ann", "1", {}, {}, -1}, &error));
    EXPECT_FALSE(doc.addGroup(Group{{}, "Ghosts", {"u-Nobody"}, -1}, &error));
    EXPECT_TRUE(error.contains("not an entry")) << error.toStdString();
    EXPECT_EQ(render(doc.contents()), before);
    EXPECT_EQ(doc.undoStack()->count(), 0);
}

TEST(BookDocumentTest, AGroupTakes31MembersAndNotA32nd) {
    QStringList entries;
    for (int i = 0; i < 32; ++i) {
        entries.append(QStringLiteral("P%1 %1").arg(i));
    }
    BookDocument doc("/b/Big.vcf", book(entries));
    Group group{{}, "All", {}, -1};
    for (int i = 0; i < 31; ++i) {
        group.memberUids.append(doc.contents().contacts.at(i).uid);
    }
    QString error;
    ASSERT_TRUE(doc.addGroup(group, &error)) << error.toStdString();
    Group bigger = doc.contents().groups.at(0);
    bigger.memberUids.append(doc.contents().contacts.at(31).uid);
    EXPECT_FALSE(doc.editGroup(0, bigger, &error));
    EXPECT_TRUE(error.contains("at most 31")) << error.toStdString();
    EXPECT_EQ(doc.contents().groups.at(0).memberUids.size(), 31);
}

TEST(BookDocumentTest, AddedEntriesBreakingARuleAreListedAndTheRestAddedInOneStep) {
    BookDocument doc("/b/Office.vcf", book({"Ann 1"}));
    const BookContents imported = book({"Bob 2", "Bad +3", "Cy 4"}, {"Pair:Bob,Cy", "Odd:Bad"});
    QStringList skipped;
    EXPECT_EQ(doc.addEntries(imported.contacts, imported.groups, &skipped, "Import"), 2);
    // Bad is left out, so the group naming it names an entry that is not there.
    EXPECT_EQ(render(doc.contents()), "Ann 1 | Bob 2 | Cy 4 || Pair[Bob,Cy]");
    ASSERT_EQ(skipped.size(), 2);
    EXPECT_TRUE(skipped.at(0).startsWith("Bad +3: Fax number")) << skipped.at(0).toStdString();
    EXPECT_TRUE(skipped.at(1).startsWith("Group Odd")) << skipped.at(1).toStdString();
    doc.undoStack()->undo();
    EXPECT_EQ(render(doc.contents()), "Ann 1 || ");
}

// ---- Saving and changes made by other programs

TEST(BookDocumentTest, SavingMarksTheBookUnchangedAndAFailedSaveKeepsTheEdits) {
    MemoryStore store;
    BookDocument doc("/b/Office.vcf", book({"Ann 1"}));
    QString error;
    ASSERT_TRUE(doc.addContact(Contact{{}, "Bob", "2", {}, {}, -1}, &error));
    store.refuse = true;
    EXPECT_FALSE(doc.save(store, &error));
    EXPECT_EQ(error, "disk full");
    EXPECT_TRUE(doc.isModified());
    store.refuse = false;
    ASSERT_TRUE(doc.save(store, &error));
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(render(store.written.value("/b/Office.vcf")), "Ann 1 | Bob 2 || ");
}

TEST(BookDocumentTest, AChangeOnDiskIsTakenWholeWithoutEditsAndMergedWithThem) {
    BookDocument clean("/b/Office.vcf", book({"Ann 1", "Bob 2"}));
    QSignalSpy changed(&clean, &BookDocument::contentsChanged);
    EXPECT_FALSE(clean.takeExternalChange(book({"Ann 1", "Bob 2", "Cy 3"})));
    EXPECT_EQ(render(clean.contents()), "Ann 1 | Bob 2 | Cy 3 || ");
    EXPECT_FALSE(clean.isModified());
    EXPECT_EQ(changed.count(), 1);

    BookDocument edited("/b/Office.vcf", book({"Ann 1", "Bob 2"}));
    QString error;
    ASSERT_TRUE(edited.addContact(Contact{{}, "Dee", "4", {}, {}, -1}, &error));
    EXPECT_TRUE(edited.takeExternalChange(book({"Ann 1", "Bob 2", "Cy 3"})));
    EXPECT_EQ(render(edited.contents()), "Ann 1 | Bob 2 | Cy 3 | Dee 4 || ");
    EXPECT_TRUE(edited.isModified());
    EXPECT_EQ(edited.undoStack()->count(), 0);
}

TEST(BookDocumentTest, ASaveMergesWhatTheFileHoldsNowAndTakesItIn) {
    MemoryStore store;
    QString error;
    ASSERT_TRUE(store.write("/b/Office.vcf", book({"Ann 1", "Bob 2", "Cy 3"}), &error));
    BookDocument doc("/b/Office.vcf", *store.read("/b/Office.vcf", &error));
    Contact ann = doc.contents().contacts[0];
    ann.note = "call first";
    ASSERT_TRUE(doc.editContact(0, ann, &error));
    std::optional<MergeNotes> merged;
    ASSERT_TRUE(doc.save(store, &error, &merged));
    EXPECT_FALSE(merged) << "nothing to merge";

    // Another program writes between the editor's read and its save.
    ann.note = "mine";
    ASSERT_TRUE(doc.editContact(0, ann, &error));
    BookContents theirs = *store.read("/b/Office.vcf", &error);
    theirs.contacts[0].company = "Acme";
    theirs.contacts[0].note = "theirs";
    theirs.contacts.removeAt(2); // Cy
    theirs.contacts.append(Contact{"u-Dee", "Dee", "4", {}, {}, -1});
    ASSERT_TRUE(store.write("/b/Office.vcf", theirs, &error));
    ASSERT_TRUE(doc.save(store, &error, &merged));
    ASSERT_TRUE(merged);
    EXPECT_EQ(render(*merged), "kept[Ann] undone[] dropped[]");
    EXPECT_EQ(render(store.written.value("/b/Office.vcf")),
              "Ann 1 (Acme/mine) | Bob 2 | Dee 4 || ");
    EXPECT_EQ(render(doc.contents()), render(store.written.value("/b/Office.vcf")));
    EXPECT_EQ(doc.base().fileHash, store.written.value("/b/Office.vcf").fileHash);
    EXPECT_FALSE(doc.isModified());
}

// ---- The three-way merge

TEST(BookMergeTest, KeepsBothSidesChangesAndLosesNoEdit) {
    const BookContents annBase = withFirst(book({"Ann 1", "Bob 2"}), "Co", "n");
    const struct {
        const char* title;
        BookContents base, ours, theirs;
        const char* merged;
        const char* notes;
    } rows[] = {
        {"BothAdd", book({"Ann 1"}), book({"Ann 1", "Bob 2"}), book({"Ann 1", "Cy 3"}),
         "Ann 1 | Cy 3 | Bob 2 || ", "kept[] undone[] dropped[]"},
        {"WeEditTheyKeep", book({"Ann 1", "Bob 2"}), book({"Ann 9", "Bob 2"}),
         book({"Ann 1", "Bob 2"}), "Ann 9 | Bob 2 || ", "kept[] undone[] dropped[]"},
        {"TheyEditWeKeep", book({"Ann 1", "Bob 2"}), book({"Ann 1", "Bob 2"}),
         book({"Ann 1", "Bob 7"}), "Ann 1 | Bob 7 || ", "kept[] undone[] dropped[]"},
        {"WeRemoveTheyKeep", book({"Ann 1", "Bob 2"}), book({"Ann 1"}), book({"Ann 1", "Bob 2"}),
         "Ann 1 || ", "kept[] undone[] dropped[]"},
        {"WeRemoveTheyEdit", book({"Ann 1", "Bob 2"}), book({"Ann 1"}), book({"Ann 1", "Bob 5"}),
         "Ann 1 | Bob 5 || ", "kept[] undone[Bob] dropped[]"},
        {"TheyRemoveWeEdit", book({"Ann 1", "Bob 2"}), book({"Ann 1", "Bob 6"}), book({"Ann 1"}),
         "Ann 1 | Bob 6 || ", "kept[] undone[Bob] dropped[]"},
        {"TheyRemoveAMember", book({"Ann 1", "Bob 2"}, {"T:Ann,Bob"}),
         book({"Ann 1", "Bob 2"}, {"T:Ann,Bob", "U:Bob"}), book({"Ann 1"}, {"T:Ann,Bob"}),
         "Ann 1 || T[Ann] | U[]", "kept[] undone[] dropped[T,U]"},
        {"BothEditGroupOursWins", book({"Ann 1", "Bob 2"}, {"T:Ann"}),
         book({"Ann 1", "Bob 2"}, {"T:Ann,Bob"}), book({"Ann 1", "Bob 2"}, {"T:Bob"}),
         "Ann 1 | Bob 2 || T[Ann,Bob]", "kept[T] undone[] dropped[]"},
        // Field by field: each side's change of a different field of one entry stays.
        {"WeEditNoteTheyEditCompany", annBase, withFirst(annBase, "Co", "mine"),
         withFirst(annBase, "Theirs Inc", "n"), "Ann 1 (Theirs Inc/mine) | Bob 2 || ",
         "kept[] undone[] dropped[]"},
        {"BothEditNoteOursWins", annBase, withFirst(annBase, "Co", "mine"),
         withFirst(annBase, "Theirs Inc", "theirs"), "Ann 1 (Theirs Inc/mine) | Bob 2 || ",
         "kept[Ann] undone[] dropped[]"},
        {"BothEditNoteAlike", annBase, withFirst(annBase, "Co", "same"),
         withFirst(annBase, "Co", "same"), "Ann 1 (Co/same) | Bob 2 || ",
         "kept[] undone[] dropped[]"},
        // The library would have refused the second add; the merge keeps both and says so.
        {"BothAddTheSameNameAndNumber", book({}), withOtherUid(book({"Ann 1"})), book({"Ann 1"}),
         "Ann 1 | Ann 1 || ", "kept[] undone[] dropped[] twice[Ann 1]"},
        {"TheyAddOurFurtherNumber", book({"Bob 2"}),
         [] {
             BookContents ours = book({"Bob 2"});
             ours.contacts[0].otherFaxes = {"5"};
             return ours;
         }(),
         [] {
             BookContents theirs = book({"Bob 2"});
             theirs.contacts.append(Contact{"u-Bob5", "Bob", "5", {}, {}, -1});
             return theirs;
         }(),
         "Bob 2 | Bob 5 || ", "kept[] undone[] dropped[] twice[Bob 5]"},
        {"WeRenumberTheyAddACompany", book({"Ann 1"}), book({"Ann 9"}),
         withFirst(book({"Ann 1"}), "Co", ""), "Ann 9 (Co/) || ", "kept[] undone[] dropped[]"},
    };
    for (const auto& row : rows) {
        MergeNotes notes;
        EXPECT_EQ(render(mergeBooks(row.base, row.ours, row.theirs, &notes)),
                  QLatin1String(row.merged))
            << row.title;
        EXPECT_EQ(render(notes), QLatin1String(row.notes)) << row.title;
    }
}

} // namespace
