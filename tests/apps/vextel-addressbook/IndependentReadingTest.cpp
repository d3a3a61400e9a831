// Books as other programs wrote them, after the library added to them and after the editor saved
// them: an independent vCard parser (Debian's python3-vobject, fax_entries.py) reads the same
// fax entries, names and numbers, as the library does.
#include "BookDocument.h"
#include "RecordText.h"
#include "VCardBookStore.h"
#include "xdirkit/XdirKit.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace vextel_addressbook;

const QString kCorpus = QStringLiteral(VEXTEL_SOURCE_DIR "/tests/fixtures/vcard");
// Cards as phones, mail programs, desktop address books and Windows tools write them (not the
// 2.1 phone book whose bare QUOTED-PRINTABLE soft line breaks the parser does not join).
const QStringList kBooks = {
    "no-final-line-end.vcf",   "utf16-book.vcf",
    "cut-off-nested-card.vcf", "base64-values-2.1.vcf",
    "label-on-item-group.vcf", "labels-in-place-of-numbers-2.1.vcf",
    "v30-server-groups.vcf",   "v40-contacts-and-group.vcf",
};
const QString kAdded = QStringLiteral("Added Person|0309");

QStringList independentEntries(const QString& path) {
    QProcess parser;
    parser.start(
        QStringLiteral("/usr/bin/python3"),
        {QStringLiteral(VEXTEL_SOURCE_DIR "/tests/apps/vextel-addressbook/fax_entries.py"), path});
    const bool finished = parser.waitForFinished(30000);
    EXPECT_TRUE(finished && parser.exitStatus() == QProcess::NormalExit && parser.exitCode() == 0)
        << path.toStdString() << ": " << parser.readAllStandardError().toStdString();
    return QString::fromUtf8(parser.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

QString fieldText(const uint16_t* field, std::size_t units) {
    const auto text = xdirkit::readField(field, units);
    return text ? QString::fromStdU16String(*text) : QStringLiteral("<unterminated>");
}

// "name|fax number" of each record the library reads, as the fax dialog's picker gets them.
QStringList libraryEntries(const QString& path) {
    XDIRDataRef data = XDIRData_Create();
    QStringList entries;
    EXPECT_EQ(XdirGADFile_Read(QFile::encodeName(path).constData(), data, 0), XDIR_OK);
    for (int32_t i = 0; i < XDIRData_GetCount_MyFax(data); ++i) {
        XDIRMyFaxRecord record{};
        XDIRData_GetAt_MyFax(data, i, &record);
        entries.append(fieldText(record.name, XDIR_NAME_UNITS) + '|' +
                       fieldText(record.faxNumber, XDIR_FAX_NUMBER_UNITS));
    }
    XDIRData_Delete(data);
    return entries;
}

class IndependentReadingTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    QString copyOf(const QString& name) {
        const QString path = folder.filePath(name);
        QFile::remove(path);
        EXPECT_TRUE(QFile::copy(QDir(kCorpus).filePath(name), path)) << name.toStdString();
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }

    QTemporaryDir folder;
};

TEST_F(IndependentReadingTest, BooksTheLibraryAddedToReadTheSameInAnIndependentParser) {
    for (const QString& name : kBooks) {
        const QString path = copyOf(name);
        XDIRDataRef data = XDIRData_Create();
        XDIRMyFaxRecord record{};
        xdirkit::writeField(record.name, XDIR_NAME_UNITS, u"Added Person");
        xdirkit::writeField(record.faxNumber, XDIR_FAX_NUMBER_UNITS, u"0309");
        ASSERT_EQ(XDIRData_Add_MyFax(data, 1, &record), XDIR_OK);
        EXPECT_EQ(XdirGADFile_Add(QFile::encodeName(path).constData(), data, 0), XDIR_OK)
            << name.toStdString();
        XDIRData_Delete(data);
        const QStringList entries = libraryEntries(path);
        EXPECT_EQ(entries.count(kAdded), 1) << name.toStdString();
        EXPECT_EQ(independentEntries(path), entries) << name.toStdString();
    }
}

TEST_F(IndependentReadingTest, BooksTheEditorSavedAndExportedReadTheSameInAnIndependentParser) {
    VCardBookStore store;
    QString error;
    for (const QString& name : kBooks) {
        const QString path = copyOf(name);
        const auto book = store.read(path, &error);
        ASSERT_TRUE(book) << name.toStdString() << error.toStdString();
        BookDocument doc(path, *book);
        ASSERT_TRUE(doc.addContact(Contact{{}, "Added Person", "0309", {}, {}, -1}, &error));
        // The book's own last card stays unchanged: its bytes are written as they were read.
        if (doc.contents().contacts.size() > 2) {
            Contact edited = doc.contents().contacts.front();
            edited.note = QStringLiteral("Edited; note");
            ASSERT_TRUE(doc.editContact(0, edited, &error)) << error.toStdString();
        }
        ASSERT_TRUE(doc.save(store, &error)) << name.toStdString() << error.toStdString();
        const QStringList entries = libraryEntries(path);
        EXPECT_EQ(entries.count(kAdded), 1) << name.toStdString();
        EXPECT_EQ(independentEntries(path), entries) << name.toStdString();

        const QString exported = folder.filePath("export.vcf");
        ASSERT_TRUE(store.exportVCard(exported, doc.contents(), &error)) << error.toStdString();
        EXPECT_EQ(independentEntries(exported), libraryEntries(exported)) << name.toStdString();
    }
}

} // namespace
