#include "VCardBookStore.h"

#include "BookDocument.h"
#include "BookTestSupport.h"
#include "CsvMapping.h"
#include "CsvTable.h"
#include "PickerRows.h"
#include "RecordText.h"
#include "VCardReader.h"
#include "kit/SystemLog.h"
#include "xdirkit/XdirKit.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace vextel_addressbook;

const QString kCorpus = QStringLiteral(VEXTEL_SOURCE_DIR "/tests/fixtures/vcard");
const QString kEdited = QStringLiteral(VEXTEL_SOURCE_DIR "/tests/fixtures/vcard-edits");

// A book as an independent vCard parser (Debian's python3-vobject) reads it: one line per card
// and property the editor is about, "invalid ..." for what the card's version does not allow.
QString independentRead(const QString& path) {
    QProcess parser;
    parser.start(
        QStringLiteral("/usr/bin/python3"),
        {QStringLiteral(VEXTEL_SOURCE_DIR "/tests/apps/vextel-addressbook/read_vcards.py"), path});
    const bool finished = parser.waitForFinished(30000);
    EXPECT_TRUE(finished && parser.exitCode() == 0) << parser.readAllStandardError().toStdString();
    return QString::fromUtf8(parser.readAllStandardOutput());
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What the fax dialog's picker gets from a book: every record the library fills, as bytes.
QByteArray libraryRecords(const QString& path) {
    XDIRDataRef data = XDIRData_Create();
    QByteArray records;
    if (XdirGADFile_Read(QFile::encodeName(path).constData(), data, 0) == XDIR_OK) {
        for (int32_t i = 0; i < XDIRData_GetCount_MyFax(data); ++i) {
            XDIRMyFaxRecord record{};
            XDIRData_GetAt_MyFax(data, i, &record);
            records.append(reinterpret_cast<const char*>(&record), sizeof record);
        }
        for (int32_t i = 0; i < XDIRData_GetCount_MyFaxGroup(data); ++i) {
            XDIRMyFaxGroupRecord record{};
            XDIRData_GetAt_MyFaxGroup(data, i, &record);
            records.append(reinterpret_cast<const char*>(&record), sizeof record);
        }
    }
    XDIRData_Delete(data);
    return records;
}

// The lines of every card as the library's reader sees them.
QStringList cardLines(const QByteArray& bytes) {
    QStringList lines;
    if (auto cards = xdirkit::VCardReader::read(bytes.toStdString())) {
        for (const auto& card : *cards) {
            if (card.original().empty()) {
                continue;
            }
            QStringList one;
            for (const auto& line : card.lines()) {
                one.append(QString::fromUtf8(line.text().data(),
                                             static_cast<qsizetype>(line.text().size())));
            }
            lines.append(one.join('\n'));
        }
    }
    return lines;
}

// Adds entries named prefix0, prefix1, ... to the book, one library call each, in a child
// process (as the fax dialog adds them); the child exits 0 when every add was stored. Killed and
// reaped when the test leaves early.
class AddingProcess {
public:
    AddingProcess(const QString& path, const std::string& prefix, int count) : pid_(::fork()) {
        if (pid_ != 0) {
            return;
        }
        const QByteArray file = QFile::encodeName(path);
        for (int i = 0; i < count; ++i) {
            XDIRMyFaxRecord record{};
            const std::string name = prefix + std::to_string(i);
            xdirkit::writeField(record.name, XDIR_NAME_UNITS,
                                std::u16string(name.begin(), name.end()));
            xdirkit::writeField(record.faxNumber, XDIR_FAX_NUMBER_UNITS, u"0301");
            XDIRDataRef data = XDIRData_Create();
            const bool stored = XDIRData_Add_MyFax(data, 1, &record) == XDIR_OK &&
                                XdirGADFile_Add(file.constData(), data, 0) == XDIR_OK;
            XDIRData_Delete(data);
            if (!stored) {
                ::_exit(1);
            }
        }
        ::_exit(0);
    }
    ~AddingProcess() {
        if (status_ < 0 && pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    bool finished() {
        int status = 0;
        if (status_ < 0 && ::waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = status;
        }
        return status_ >= 0;
    }
    // The wait status once finished.
    int status() const { return status_; }

private:
    pid_t pid_;
    int status_ = -1;
};

class VCardBookStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        qputenv("VEXTEL_ADDRESS_BOOK_DIR", QFile::encodeName(folder.path()));
        books = QDir(kCorpus).entryList({"*.vcf"}, QDir::Files, QDir::Name);
        ASSERT_FALSE(books.isEmpty()) << kCorpus.toStdString();
    }
    void TearDown() override { qunsetenv("VEXTEL_ADDRESS_BOOK_DIR"); }

    QString copyOf(const QString& name) {
        const QString path = folder.filePath(name);
        QFile::remove(path);
        QFile::copy(QDir(kCorpus).filePath(name), path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }

    QTemporaryDir folder;
    VCardBookStore store;
    QStringList books;
    QString error;
};

TEST_F(VCardBookStoreTest, ListsTheLibrarysFolder) {
    copyOf("v40-contacts-and-group.vcf");
    EXPECT_EQ(store.folder(), folder.path());
    EXPECT_EQ(store.bookPaths(), QStringList({folder.filePath("v40-contacts-and-group.vcf")}));
}

TEST_F(VCardBookStoreTest, ABookWhoseNameIsNotUtf8IsLeftOutWithALogLine) {
    copyOf("v40-contacts-and-group.vcf");
    const QByteArray latin1 = QFile::encodeName(folder.path()) + "/b\xe4r.vcf";
    FILE* book = std::fopen(latin1.constData(), "wb");
    ASSERT_NE(book, nullptr);
    std::fputs("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Ann\r\nTEL;TYPE=fax:1\r\nEND:VCARD\r\n", book);
    std::fclose(book);
    kit::SystemLog::Capture log;
    // Its name as text would name another file: a save there would leave the book as it is.
    EXPECT_EQ(store.bookPaths(), QStringList({folder.filePath("v40-contacts-and-group.vcf")}));
    EXPECT_EQ(log.lines(), QStringList({"VCardBookStore: book b%E4r.vcf is not UTF-8; left out"}));
}

TEST_F(VCardBookStoreTest, AnUnchangedBookIsWrittenBackWithNothingLost) {
    for (const QString& name : books) {
        const QString path = copyOf(name);
        const auto book = store.read(path, &error);
        if (!book) {
            continue; // the corpus's broken files; reading them is the library's test
        }
        const QByteArray before = fileBytes(path);
        ASSERT_TRUE(store.write(path, *book, &error)) << name.toStdString() << error.toStdString();
        // Every card as read is there line for line (a card cut off by the end of the file
        // comes back whole, written anew).
        const QStringList after = cardLines(fileBytes(path));
        for (const QString& card : cardLines(before)) {
            EXPECT_TRUE(after.contains(card))
                << name.toStdString() << ": lost " << card.toStdString();
        }
        EXPECT_EQ(libraryRecords(path), libraryRecords(QDir(kCorpus).filePath(name)))
            << name.toStdString();
    }
}

TEST_F(VCardBookStoreTest, AnEditChangesItsCardAloneAndKeepsItsOtherLines) {
    for (const QString& name : books) {
        const QString path = copyOf(name);
        auto book = store.read(path, &error);
        if (!book || book->contacts.isEmpty()) {
            continue;
        }
        const QStringList linesBefore = cardLines(fileBytes(path));
        book->contacts[0].name = QStringLiteral("Renamed Entry");
        const Contact first = book->contacts[0];
        book->contacts.append(Contact{newUid(), "Added", "0123-456", "Co", "a note", -1});
        Group group{newUid(), "Pair", {first.uid, book->contacts.last().uid}, -1};
        book->groups.append(group);
        ASSERT_TRUE(store.write(path, *book, &error)) << name.toStdString();

        const auto again = store.read(path, &error);
        ASSERT_TRUE(again) << name.toStdString();
        EXPECT_EQ(test::render(*again), test::render(*book)) << name.toStdString();
        // Every card but the edited one is there line for line; the edited one keeps every line
        // that is not its name.
        const QStringList linesAfter = cardLines(fileBytes(path));
        int unchanged = 0;
        for (const QString& card : linesBefore) {
            unchanged += linesAfter.contains(card) ? 1 : 0;
        }
        EXPECT_EQ(unchanged, linesBefore.size() - 1) << name.toStdString();
        const QString edited = linesBefore.at(first.originIndex);
        for (const QString& line : edited.split('\n')) {
            const QString property = line.section(QRegularExpression("[;:]"), 0, 0).toUpper();
            if (property != "FN" && property != "N" && !property.endsWith(".FN") &&
                property != "UID" && property != "VERSION") {
                // A changed card is written anew as 4.0: its values stay, parameters may be
                // spelt anew.
                EXPECT_TRUE(linesAfter.join('\n').contains(line.section(':', 1)) ||
                            line.contains("CHARSET") || line.contains("QUOTED-PRINTABLE"))
                    << name.toStdString() << ": lost " << line.toStdString();
            }
        }
    }
}

// Everything of a book a later write relies on: uids, the cards entries come from, every field.
QString described(const BookContents& book) {
    QStringList lines;
    for (const Contact& contact : book.contacts) {
        lines.append(
            QStringLiteral("%1 @%2 %3 [%4] %5 / %6")
                .arg(contact.uid)
                .arg(contact.originIndex)
                .arg(contact.name, contact.faxNumbers().join(','), contact.company, contact.note));
    }
    for (const Group& group : book.groups) {
        lines.append(QStringLiteral("%1 @%2 %3 [%4]")
                         .arg(group.uid)
                         .arg(group.originIndex)
                         .arg(group.name, group.memberUids.join(',')));
    }
    return lines.join('\n');
}

TEST_F(VCardBookStoreTest, ASaveAnswersTheBookAReadOfTheBytesWrittenGivesAndSavesOnFromIt) {
    // Each round edits the book the last Save answered: a renamed entry, one added, one removed,
    // a group of the first and the added (the first may be a card without a UID).
    const auto edit = [](BookContents book, int round) {
        if (!book.contacts.isEmpty()) {
            book.contacts[0].name = QStringLiteral("Renamed %1").arg(round);
        }
        if (book.contacts.size() > 2) {
            book.contacts.removeAt(book.contacts.size() / 2);
        }
        book.contacts.append(Contact{newUid(), QStringLiteral("Added %1").arg(round), "0123-456",
                                     "Co", "a note", -1});
        book.groups.append(Group{newUid(),
                                 QStringLiteral("Pair %1").arg(round),
                                 {book.contacts.first().uid, book.contacts.last().uid},
                                 -1});
        return book;
    };
    for (const QString& name : books) {
        const QString path = copyOf(name);
        auto book = store.read(path, &error);
        for (int round = 1; book && round <= 3; ++round) {
            const BookContents edited = edit(*book, round);
            book = store.update(
                path, [&](const BookOnDisk&, QString*) { return std::optional(edited); }, &error);
            ASSERT_TRUE(book) << name.toStdString() << error.toStdString();
            const auto read = store.read(path, &error);
            ASSERT_TRUE(read) << name.toStdString();
            EXPECT_EQ(described(*book), described(*read)) << name.toStdString() << " " << round;
            EXPECT_EQ(book->fileHash, read->fileHash) << name.toStdString();
            EXPECT_TRUE(book->contacts.last().sameFields(edited.contacts.last()));
        }
    }
}

// The editor's usual Save: one entry edited where it stands, the others as the last Save
// answered them, round after round.
TEST_F(VCardBookStoreTest, ASaveOfOneEntryEditedInPlaceAnswersWhatAReadGives) {
    for (const QString& name : books) {
        const QString path = copyOf(name);
        auto book = store.read(path, &error); // null for a file that is no book
        for (int round = 1; book && !book->contacts.isEmpty() && round <= 3; ++round) {
            BookContents edited = *book;
            const qsizetype middle = edited.contacts.size() / 2;
            edited.contacts[middle].note = QStringLiteral("note %1").arg(round);
            book = store.update(
                path, [&](const BookOnDisk&, QString*) { return std::optional(edited); }, &error);
            ASSERT_TRUE(book) << name.toStdString() << error.toStdString();
            const auto read = store.read(path, &error);
            ASSERT_TRUE(read) << name.toStdString();
            EXPECT_EQ(described(*book), described(*read)) << name.toStdString() << " " << round;
            EXPECT_EQ(book->contacts[middle].note, QStringLiteral("note %1").arg(round));
        }
    }
}

TEST_F(VCardBookStoreTest, CardsOfOneUidStayEntriesOfTheirOwnThroughEditsAndSaves) {
    const QString path = folder.filePath("twins.vcf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("BEGIN:VCARD\r\nVERSION:4.0\r\nUID:u-1\r\nFN:Ann\r\nTEL;TYPE=fax:01\r\nEND:VCARD\r\n"
               "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:u-1\r\nFN:Bob\r\nTEL;TYPE=fax:02\r\nEND:VCARD\r\n"
               "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Cy\r\nTEL;TYPE=fax:03\r\nEND:VCARD\r\n"
               "BEGIN:VCARD\r\nVERSION:4.0\r\nKIND:group\r\nFN:Team\r\nMEMBER:u-1\r\n"
               "END:VCARD\r\n");
    file.close();
    auto book = store.read(path, &error);
    ASSERT_TRUE(book);
    ASSERT_EQ(book->contacts.size(), 3);
    EXPECT_EQ(book->contacts[1].uid, "u-1#2");
    EXPECT_EQ(test::render(*book), "Ann 01 | Bob 02 | Cy 03 || Team[Ann]");
    // Bob edited, then Ann removed and Cy (who has no UID) put in the group.
    const std::function<void(BookContents&)> edits[] = {
        [](BookContents& b) { b.contacts[1].note = "edited"; },
        [](BookContents& b) {
            b.contacts.removeAt(0);
            b.groups[0].memberUids = {b.contacts[1].uid};
        },
    };
    for (const auto& edit : edits) {
        BookContents edited = *book;
        edit(edited);
        book = store.update(
            path, [&](const BookOnDisk&, QString*) { return std::optional(edited); }, &error);
        ASSERT_TRUE(book) << error.toStdString();
        const auto read = store.read(path, &error);
        ASSERT_TRUE(read);
        EXPECT_EQ(described(*book), described(*read));
    }
    EXPECT_EQ(test::render(*book), "Bob 02 (/edited) | Cy 03 || Team[Cy]");
    EXPECT_EQ(book->contacts[0].uid, "u-1");                          // the first of its uid now
    EXPECT_FALSE(book->contacts[1].uid.startsWith("x-vextel-card:")); // named by the group
}

TEST_F(VCardBookStoreTest, AnEditedCardKeepsItsVersionAndEveryLineTheEditDidNotTouch) {
    const QString path = folder.filePath("Ada.vcf");
    ASSERT_TRUE(QFile::copy(QDir(kEdited).filePath("photo-3.0.vcf"), path));
    const QString before = independentRead(path);
    ASSERT_TRUE(before.startsWith("card 3.0\n") && before.contains("PHOTO 213 "))
        << before.toStdString();
    auto book = store.read(path, &error);
    ASSERT_TRUE(book && book->contacts.size() == 1);
    Contact& ada = book->contacts[0];
    EXPECT_EQ(ada.name, "Ada King");
    ada.note = QStringLiteral("Edited; note");
    ada.fax = QStringLiteral("0207946009");
    ASSERT_TRUE(store.write(path, *book, &error)) << error.toStdString();

    QString expected = before;
    expected.replace("NOTE First line\\nsecond line", "NOTE Edited; note");
    expected.replace("TEL FAX,WORK:0207946001", "TEL FAX,WORK:0207946009");
    EXPECT_EQ(independentRead(path), expected);
    const auto again = store.read(path, &error);
    ASSERT_TRUE(again);
    EXPECT_EQ(test::render(*again), test::render(*book));
    // Every other line of the card is there as it was.
    const QStringList linesAfter = cardLines(fileBytes(path)).join('\n').split('\n');
    for (const QString& line :
         cardLines(fileBytes(QDir(kEdited).filePath("photo-3.0.vcf"))).join('\n').split('\n')) {
        if (!line.startsWith("NOTE") && !line.contains("0207946001")) {
            EXPECT_TRUE(linesAfter.contains(line)) << "lost " << line.toStdString();
        }
    }

    // An export is valid 4.0 with the same photo.
    const QString exported = folder.filePath("export.vcf");
    ASSERT_TRUE(store.exportVCard(exported, *again, &error));
    const QString fromExport = independentRead(exported);
    EXPECT_TRUE(fromExport.startsWith("card 4.0\n")) << fromExport.toStdString();
    EXPECT_FALSE(fromExport.contains("invalid")) << fromExport.toStdString();
    EXPECT_TRUE(fromExport.contains(before.section('\n', 6, 6))) << fromExport.toStdString();
}

TEST_F(VCardBookStoreTest, EveryFaxNumberOfACardIsShownAndEditedAsThePickerListsThem) {
    const QByteArray card = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ada Lovelace\r\n"
                            "N:Lovelace;Ada;;;\r\nTEL;TYPE=WORK,FAX:0111\r\n"
                            "TEL;TYPE=HOME,FAX,PREF:0222\r\nTEL;TYPE=CELL:0999\r\n"
                            "UID:ada\r\nEND:VCARD\r\n";
    const struct {
        const char* title;
        QStringList faxes;    // the preferred number first
        const char* telLines; // as the independent parser reads the card's TEL lines
    } rows[] = {
        {"Unchanged", {"0222", "0111"}, "TEL FAX,WORK:0111|TEL FAX,HOME,PREF:0222|TEL CELL:0999"},
        {"OtherChangedInItsPlace",
         {"0222", "0112"},
         "TEL FAX,WORK:0112|TEL FAX,HOME,PREF:0222|TEL CELL:0999"},
        {"OneAddedAfterTheOthersKeepingTheirTypes",
         {"0222", "0111", "0333"},
         "TEL FAX,WORK:0111|TEL FAX,HOME,PREF:0222|TEL CELL:0999|TEL FAX:0333"},
        {"OneRemovedTheOtherKeepingItsTypes", {"0111"}, "TEL FAX,WORK:0111|TEL CELL:0999"},
        {"ANewOrderRewritesTheFaxLines",
         {"0111", "0222"},
         "TEL CELL:0999|TEL FAX,PREF:0111|TEL FAX:0222"},
    };
    for (const auto& row : rows) {
        const QString path = folder.filePath("Ada.vcf");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(card);
        file.close();
        auto book = store.read(path, &error);
        ASSERT_TRUE(book && book->contacts.size() == 1);
        EXPECT_EQ(test::editorRows(*book), test::libraryRows(path));
        book->contacts[0].fax = row.faxes.first();
        book->contacts[0].otherFaxes = row.faxes.mid(1);
        ASSERT_TRUE(store.write(path, *book, &error)) << error.toStdString();

        const auto again = store.read(path, &error);
        ASSERT_TRUE(again) << row.title;
        EXPECT_EQ(again->contacts.value(0).faxNumbers(), row.faxes) << row.title;
        EXPECT_EQ(test::libraryRows(path), test::editorRows(*again)) << row.title;
        QStringList tel;
        for (const QString& line : independentRead(path).split('\n')) {
            if (line.startsWith("TEL ")) {
                tel.append(line);
            }
        }
        std::sort(tel.begin(), tel.end());
        QStringList expected = QString::fromUtf8(row.telLines).split('|');
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(tel, expected) << row.title;
        if (row.faxes == QStringList({"0222", "0111"})) {
            EXPECT_EQ(fileBytes(path), card) << row.title;
        }
    }
}

// ---- Saving beside other writers

TEST_F(VCardBookStoreTest, SavesBesideAProgramAddingEntriesLoseNoEntryOfEither) {
    constexpr int kAdded = 150;
    constexpr int kSaves = 20;
    const QString path = folder.filePath("Shared.vcf");
    ASSERT_TRUE(store.write(path, BookContents(), &error));
    BookDocument doc(path, *store.read(path, &error));
    QSet<QString> expected;
    for (int i = 0; i < kAdded; ++i) {
        expected.insert(QStringLiteral("W%1").arg(i));
    }
    AddingProcess writer(path, "W", kAdded);
    int saves = 0;
    int savesWhileAdding = 0;
    while (!writer.finished() || saves < kSaves) {
        const QString name = QStringLiteral("E%1").arg(saves);
        ASSERT_TRUE(doc.addContact(Contact{{}, name, "0502", {}, {}, -1}, &error));
        ASSERT_TRUE(doc.save(store, &error)) << error.toStdString();
        expected.insert(name);
        ++saves;
        savesWhileAdding += writer.finished() ? 0 : 1;
    }
    EXPECT_EQ(writer.status(), 0);
    EXPECT_GT(savesWhileAdding, 0) << "the saves did not overlap the adds";
    // A save after the last add takes in what the writer added since the one before.
    ASSERT_TRUE(doc.save(store, &error)) << error.toStdString();
    const auto book = store.read(path, &error);
    ASSERT_TRUE(book);
    QSet<QString> names;
    for (const Contact& contact : book->contacts) {
        names.insert(contact.name);
    }
    EXPECT_EQ(book->contacts.size(), expected.size()) << "an entry is there twice";
    EXPECT_EQ(names, expected);
    EXPECT_EQ(test::render(doc.contents()), test::render(*book));
}

TEST_F(VCardBookStoreTest, ExportsVCard4AndCsvThatImportToTheSameBook) {
    for (const QString& name : books) {
        const auto book = store.read(copyOf(name), &error);
        if (!book) {
            continue;
        }
        const QString exported = folder.filePath("export.vcf");
        QFile::remove(exported);
        ASSERT_TRUE(store.exportVCard(exported, *book, &error)) << name.toStdString();
        const auto cards = xdirkit::VCardReader::read(fileBytes(exported).toStdString());
        if (!book->contacts.isEmpty() || !book->groups.isEmpty()) {
            ASSERT_TRUE(cards) << name.toStdString();
            for (const auto& card : *cards) {
                EXPECT_EQ(card.version(), "4.0") << name.toStdString();
            }
        }
        const auto imported = store.read(exported, &error);
        ASSERT_TRUE(imported || book->contacts.isEmpty()) << name.toStdString();
        if (imported) {
            EXPECT_EQ(test::render(*imported), test::render(*book)) << name.toStdString();
        }

        const QList<QStringList> rows =
            CsvTable::parse(CsvTable::decode(CsvTable::write(CsvMapping::exportRows(*book))));
        // CSV keeps no empty group; numbers come back as written (the import preview makes
        // them dialable).
        BookContents withMembers = *book;
        withMembers.groups.removeIf([](const Group& group) { return group.memberUids.isEmpty(); });
        // A CSV row lists an entry's groups, so members come in the order of the entries.
        auto membersInEntryOrder = [](BookContents book) {
            for (Group& group : book.groups) {
                std::sort(group.memberUids.begin(), group.memberUids.end(),
                          [&](const QString& a, const QString& b) {
                              return book.contactIndex(a) < book.contactIndex(b);
                          });
            }
            return test::render(book);
        };
        EXPECT_EQ(membersInEntryOrder(CsvMapping::guess(rows).entries(rows)),
                  membersInEntryOrder(withMembers))
            << name.toStdString();
    }
}

} // namespace
