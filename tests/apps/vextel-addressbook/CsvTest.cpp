#include "BookTestSupport.h"
#include "CsvMapping.h"
#include "CsvTable.h"
#include "ImportPreview.h"

#include <gtest/gtest.h>

namespace {

using namespace vextel_addressbook;

QString joined(const QList<QStringList>& rows) {
    QStringList lines;
    for (const QStringList& row : rows) {
        lines.append(row.join(QLatin1Char('|')));
    }
    return lines.join(QLatin1String(" / "));
}

TEST(CsvTableTest, ReadsWhatSpreadsheetsWrite) {
    const struct {
        const char* title;
        QString text;
        const char* rows;
    } cases[] = {
        {"Plain", "a,b\r\nc,d\r\n", "a|b / c|d"},
        {"LfAndNoLastBreak", "a,b\nc,d", "a|b / c|d"},
        {"Quoted", "\"Lee, Ann\",\"say \"\"hi\"\"\"\n", "Lee, Ann|say \"hi\""},
        {"BreakInQuotes", "\"two\nlines\",x\n", "two\nlines|x"},
        {"Semicolons", "a;b;\"c;d\"\n1;2;3\n", "a|b|c;d / 1|2|3"},
        {"Tabs", "a\tb\n", "a|b"},
        {"EmptyFields", ",,\n", "||"},
        {"BlankLinesSkipped", "a\n\n\nb\n", "a / b"},
        {"QuotedEmpty", "\"\"\n", ""},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(joined(CsvTable::parse(row.text)), QLatin1String(row.rows)) << row.title;
    }
}

TEST(CsvTableTest, DecodesUtf8WithBomAndFallsBackToLatin1) {
    EXPECT_EQ(CsvTable::decode("\xEF\xBB\xBFM\xC3\xBCller"), QString::fromUtf8("Müller"));
    EXPECT_EQ(CsvTable::decode("M\xFCller"), QString::fromUtf8("Müller"));
}

TEST(CsvTableTest, WritesWhatItReads) {
    const QList<QStringList> rows = {{"Name", "Note"},
                                     {"Lee, Ann", "said \"yes\"\non two lines"},
                                     {"Bob", ""},
                                     {"a;b", "tab\there"}};
    EXPECT_EQ(CsvTable::parse(CsvTable::decode(CsvTable::write(rows))), rows);
}

TEST(CsvMappingTest, GuessesColumnsFromTitlesInAnyOrderOrTakesNameAndFaxFirst) {
    const struct {
        const char* title;
        QList<QStringList> rows;
        std::array<int, 5> columns;
        bool header;
    } cases[] = {
        {"ExportTitles",
         {{"Name", "Fax number", "Company", "Note", "Groups"}},
         {0, 1, 2, 3, 4},
         true},
        {"OtherOrderAndWords",
         {{"Notes", "Organization", "E-mail", "Business Fax", "Full Name"}},
         {4, 3, 1, 0, -1},
         true},
        {"NoTitles", {{"Ann", "0312345678"}}, {0, 1, -1, -1, -1}, false},
        {"OneColumn", {{"Ann"}}, {0, -1, -1, -1, -1}, false},
    };
    for (const auto& row : cases) {
        const CsvMapping mapping = CsvMapping::guess(row.rows);
        for (int field = 0; field < CsvMapping::FieldCount; ++field) {
            EXPECT_EQ(mapping.column[field], row.columns[field]) << row.title << " field " << field;
        }
        EXPECT_EQ(mapping.firstRowIsHeader, row.header) << row.title;
    }
}

TEST(CsvMappingTest, MappedColumnsMakeEntriesAndGroups) {
    const QList<QStringList> rows = {{"E-mail", "Fax", "Who", "Groups"},
                                     {"a@x", "03 (1234) 5678", "Ann", "Team; Board"},
                                     {"b@x", "", "", ""},
                                     {"c@x", "06.555/1", "Cy", "Team"}};
    CsvMapping mapping;
    mapping.firstRowIsHeader = true;
    mapping.column[CsvMapping::Name] = 2;
    mapping.column[CsvMapping::Fax] = 1;
    mapping.column[CsvMapping::Note] = 0;
    mapping.column[CsvMapping::Groups] = 3;
    // Numbers come as written; the import makes them dialable.
    EXPECT_EQ(test::render(mapping.entries(rows)),
              "Ann 03 (1234) 5678 (/a@x) | Cy 06.555/1 (/c@x) || Team[Ann,Cy] | Board[Ann]");
    EXPECT_EQ(test::render(ImportPreview::dialable(mapping.entries(rows), "00")),
              "Ann 0312345678 (/a@x) | Cy 065551 (/c@x) || Team[Ann,Cy] | Board[Ann]");
    mapping.firstRowIsHeader = false;
    EXPECT_EQ(mapping.entries(rows).contacts.first().name, "Who");
}

TEST(CsvMappingTest, ExportedRowsImportToTheSameBook) {
    BookContents original = test::book({"Ann 1", "Bob 2", "Cy 3"}, {"Team:Ann,Cy", "Solo:Bob"});
    original.contacts[0].company = "Lee, Lee & Co";
    original.contacts[1].note = "two\nlines";
    original.contacts[2].otherFaxes = {"30", "31"};
    const QList<QStringList> rows =
        CsvTable::parse(CsvTable::decode(CsvTable::write(CsvMapping::exportRows(original))));
    const BookContents imported = CsvMapping::guess(rows).entries(rows);
    EXPECT_EQ(test::render(imported), test::render(original));
    EXPECT_EQ(imported.contacts.value(2).otherFaxes, QStringList({"30", "31"}));
    EXPECT_EQ(rows.value(3).value(1), "3, 30, 31");
}

TEST(CsvMappingTest, ACellASpreadsheetWouldRunAsAFormulaIsExportedAsText) {
    BookContents book = test::book({"Ann 1"});
    const struct {
        const char* note;
        const char* exported;
    } rows[] = {
        {"=HYPERLINK(\"http://x\")", "'=HYPERLINK(\"http://x\")"},
        {"+1 call first", "'+1 call first"},
        {"-", "'-"},
        {"@home", "'@home"},
        {"\tindented", "'\tindented"},
        {"'=already marked", "''=already marked"},
        {"'plain", "'plain"},
        {"a=b", "a=b"},
        {"", ""},
    };
    for (const auto& row : rows) {
        book.contacts[0].note = QString::fromUtf8(row.note);
        const QList<QStringList> exported = CsvMapping::exportRows(book);
        EXPECT_EQ(exported.at(1).at(CsvMapping::Note), QString::fromUtf8(row.exported)) << row.note;
        // And back: the import takes the mark off, so the book comes back as it was.
        const QString imported =
            CsvMapping::guess(exported).entries(exported).contacts.value(0).note;
        if (!QString::fromUtf8(row.note).startsWith('\t')) { // a cell is read trimmed
            EXPECT_EQ(imported, QString::fromUtf8(row.note)) << row.note;
        }
    }
}

} // namespace
