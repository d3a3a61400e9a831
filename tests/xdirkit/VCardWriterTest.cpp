#include "VCardWriter.h"

#include "PersonalRecords.h"
#include "RecordText.h"
#include "VCardReader.h"
#include "xdirkit/XdirKit.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

XDIRMyFaxRecord entry(const std::u16string& name, const std::u16string& fax,
                      int64_t stamp = 1765105200, const std::u16string& company = u"",
                      const std::u16string& note = u"") {
    XDIRMyFaxRecord record{};
    xdirkit::writeField(record.name, XDIR_NAME_UNITS, name);
    xdirkit::writeField(record.faxNumber, XDIR_FAX_NUMBER_UNITS, fax);
    xdirkit::writeField(record.company, XDIR_COMPANY_UNITS, company);
    xdirkit::writeField(record.note, XDIR_NOTE_UNITS, note);
    record.timeStamp = stamp;
    return record;
}

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void spit(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string utf8(const uint16_t* field, std::size_t units) {
    return xdirkit::utf8FromUtf16(xdirkit::readField(field, units).value_or(u"?")).value_or("?");
}

// The book as "name/fax/company/note" lines, read as the picker would.
std::vector<std::string> entriesOf(const fs::path& path) {
    xdirkit::PersonalRecords records;
    EXPECT_EQ(records.readFile(path), XDIR_OK) << path;
    std::vector<std::string> lines;
    for (const XDIRMyFaxRecord& e : records.entries)
        lines.push_back(utf8(e.name, XDIR_NAME_UNITS) + "/" +
                        utf8(e.faxNumber, XDIR_FAX_NUMBER_UNITS) + "/" +
                        utf8(e.company, XDIR_COMPANY_UNITS) + "/" + utf8(e.note, XDIR_NOTE_UNITS));
    return lines;
}

int32_t addThroughHandle(const fs::path& path, const std::vector<XDIRMyFaxRecord>& records) {
    XDIRDataRef data = XDIRData_Create();
    int32_t status = XDIRData_Add_MyFax(data, static_cast<int32_t>(records.size()), records.data());
    if (status == XDIR_OK)
        status = XdirGADFile_Add(path.c_str(), data, 0);
    XDIRData_Delete(data);
    return status;
}

class VCardWriterTest : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/xdirkit-writer-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder_ = pattern;
        book_ = folder_ / "book.vcf";
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path folder_;
    fs::path book_;
};

// ---- Adding entries

TEST_F(VCardWriterTest, AddingCreatesAMissingBookOfVersion4CardsThatReadBack) {
    ASSERT_EQ(addThroughHandle(book_, {entry(u"Müller, Anna; Sales", u"+49 30 1234", 1765105200,
                                             u"Acme", u"Line 1\nLine 2"),
                                       entry(std::u16string(32, u'\u3042'), u"03-1111")}),
              XDIR_OK);
    EXPECT_EQ(fs::status(book_).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    const std::string text = slurp(book_);
    const std::regex card(
        "BEGIN:VCARD\r\nVERSION:4\\.0\r\nFN:M\xC3\xBCller\\\\, Anna\\\\; Sales\r\n"
        "N:M\xC3\xBCller\\\\, Anna\\\\; Sales;;;;\r\nTEL;TYPE=fax:\\+49 30 1234\r\n"
        "ORG:Acme\r\nNOTE:Line 1\\\\nLine 2\r\n"
        "UID:urn:uuid:[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}\r\n"
        "REV:20251207T110000Z\r\nEND:VCARD\r\nBEGIN:VCARD\r\n[^]*");
    EXPECT_TRUE(std::regex_match(text, card)) << text;
    // 32 three-byte characters: the FN line folds, never inside a character, at most 75 bytes.
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        EXPECT_LE(line.size(), 76u) << line; // 75 and the CR
    EXPECT_TRUE(xdirkit::isValidUtf8(text));
    std::string hiragana;
    for (int i = 0; i < 32; ++i)
        hiragana += "\xE3\x81\x82";
    EXPECT_EQ(entriesOf(book_),
              (std::vector<std::string>{"Müller, Anna; Sales/+49 30 1234/Acme/Line 1\nLine 2",
                                        hiragana + "/03-1111//"}));
}

TEST_F(VCardWriterTest, AddingKeepsEveryExistingByte) {
    const std::string kOld[] = {
        "BEGIN:VCARD\nVERSION:3.0\nFN:Old\nTEL;TYPE=FAX:1\nX-CUSTOM;X-P=\"a:b\":kept\nEND:"
        "VCARD", // no last line end
        "\xEF\xBB\xBF"
        "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Old\r\nTEL;FAX:1\r\nEND:VCARD\r\n\r\n",
        "BEGIN:VCARD\r\nFN:Old\r\nTEL;TYPE=fax:1\r\n", // cut off: the new card must not end up
                                                       // inside it
    };
    for (const std::string& old : kOld) {
        spit(book_, old);
        ASSERT_EQ(addThroughHandle(book_, {entry(u"New", u"2")}), XDIR_OK);
        const std::string now = slurp(book_);
        EXPECT_EQ(now.substr(0, old.size()), old);
        EXPECT_EQ(entriesOf(book_), (std::vector<std::string>{"Old/1//", "New/2//"})) << old;
    }
}

TEST_F(VCardWriterTest, RefusedAddsLeaveTheBookUntouched) {
    const std::string old =
        "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Anna\r\nTEL;TYPE=fax:0301\r\nEND:VCARD\r\n";
    struct Case {
        const char* label;
        std::string contents;
        std::vector<XDIRMyFaxRecord> records;
        int32_t status;
    };
    const Case kCases[] = {
        {"same name and number",
         old,
         {entry(u"Bob", u"1"), entry(u"Anna", u"0301")},
         XDIR_ERR_DUPLICATE_ENTRY},
        {"twice in one call",
         old,
         {entry(u"Bob", u"1"), entry(u"Bob", u"1")},
         XDIR_ERR_DUPLICATE_ENTRY},
        {"not a vCard book",
         "name,fax\nAnna,0301\n",
         {entry(u"Bob", u"1")},
         XDIR_ERR_FILE_MALFORMED},
        {"UTF-16 that does not convert",
         slurp(fs::path(VEXTEL_SOURCE_DIR) /
               "tests/fixtures/vcard/utf16-cut-inside-a-character.vcf"),
         {entry(u"Bob", u"1")},
         XDIR_ERR_FILE_MALFORMED},
    };
    for (const Case& c : kCases) {
        spit(book_, c.contents);
        EXPECT_EQ(addThroughHandle(book_, c.records), c.status) << c.label;
        EXPECT_EQ(slurp(book_), c.contents) << c.label;
    }
    // Another case or another number is another entry.
    spit(book_, old);
    EXPECT_EQ(addThroughHandle(book_, {entry(u"anna", u"0301"), entry(u"Anna", u"0302")}), XDIR_OK);
    EXPECT_EQ(entriesOf(book_).size(), 3u);
}

TEST_F(VCardWriterTest, BadAddsAnswerAStatus) {
    XDIRDataRef data = XDIRData_Create();
    EXPECT_EQ(XdirGADFile_Add(nullptr, data, 0), XDIR_ERR_BAD_ARGUMENT);
    EXPECT_EQ(XdirGADFile_Add("", data, 0), XDIR_ERR_BAD_ARGUMENT);
    EXPECT_EQ(XdirGADFile_Add(book_.c_str(), nullptr, 0), XDIR_ERR_BAD_ARGUMENT);
    EXPECT_EQ(XdirGADFile_Add(book_.c_str(), data, 1), XDIR_ERR_BAD_ARGUMENT);
    EXPECT_EQ(XdirGADFile_Add(book_.c_str(), data, 0), XDIR_OK) << "nothing to add";
    EXPECT_FALSE(fs::exists(book_));
    const XDIRMyFaxRecord one = entry(u"A", u"1");
    ASSERT_EQ(XDIRData_Add_MyFax(data, 1, &one), XDIR_OK);
    EXPECT_EQ(XdirGADFile_Add((folder_ / "missing/book.vcf").c_str(), data, 0),
              XDIR_ERR_LOCK_FAILED);
    fs::create_directory(folder_ / "dir.vcf");
    EXPECT_EQ(XdirGADFile_Add((folder_ / "dir.vcf").c_str(), data, 0), XDIR_ERR_FILE_UNREADABLE);
    XDIRData_Delete(data);
}

TEST_F(VCardWriterTest, ABookThatIsALinkIsChangedWhereItPoints) {
    fs::create_directory(folder_ / "real");
    spit(folder_ / "real/book.vcf", "BEGIN:VCARD\r\nFN:Old\r\nTEL;TYPE=fax:1\r\nEND:VCARD\r\n");
    fs::create_symlink("real/book.vcf", book_);
    ASSERT_EQ(addThroughHandle(book_, {entry(u"New", u"2")}), XDIR_OK);
    EXPECT_TRUE(fs::is_symlink(book_));
    EXPECT_EQ(entriesOf(folder_ / "real/book.vcf").size(), 2u);
}

// Books as other programs write them: an entry added reads back as added, every old entry still
// reads, and the adding is refused the second time.
TEST_F(VCardWriterTest, AddingToBooksOtherProgramsWroteKeepsOldAndNewEntriesReadable) {
    const fs::path kCorpus = fs::path(VEXTEL_SOURCE_DIR) / "tests/fixtures/vcard";
    struct Case {
        const char* file;
        std::string oldEntry;
    };
    const Case kCases[] = {
        {"no-final-line-end.vcf", "Last Card/0301234//"},
        {"utf16-book.vcf", "Existing Person/0301111//"},
        {"cut-off-nested-card.vcf", "Ken Kato/045-000-0000//"},
    };
    for (const Case& c : kCases) {
        const std::string old = slurp(kCorpus / c.file);
        spit(book_, old);
        ASSERT_EQ(addThroughHandle(book_, {entry(u"New", u"0309")}), XDIR_OK) << c.file;
        EXPECT_EQ(entriesOf(book_), (std::vector<std::string>{c.oldEntry, "New/0309//"})) << c.file;
        EXPECT_EQ(addThroughHandle(book_, {entry(u"New", u"0309")}), XDIR_ERR_DUPLICATE_ENTRY)
            << c.file;
        const std::string now = slurp(book_);
        EXPECT_EQ(now.substr(0, old.size()), old) << c.file;
        // One encoding for the whole file, every card closed: the text reads as a whole book.
        const bool utf16 = old.starts_with("\xFF\xFE");
        EXPECT_NE(now.find(utf16 ? std::string("B\0E\0G\0I\0N\0", 10) : "BEGIN", old.size()),
                  std::string::npos)
            << c.file;
        EXPECT_EQ(now.find(utf16 ? "BEGIN" : "END:VCARDBEGIN"), std::string::npos) << c.file;
        const auto cards = xdirkit::VCardReader::read(now);
        ASSERT_TRUE(cards && cards->size() == 2u) << now;
        EXPECT_FALSE(cards->back().isCutOff()) << now;
    }
}

// The duplicate test and the record test compare what the book will read back.
TEST_F(VCardWriterTest, AddedEntriesReadBackAsAddedAndCompareAsTheyReadBack) {
    struct Case {
        std::u16string firstName, firstNumber, secondName, secondNumber;
        int32_t secondStatus;
        std::vector<std::string> entries;
    };
    const Case kCases[] = {
        {u" Ada ", u"0301", u" Ada ", u"0301", XDIR_ERR_DUPLICATE_ENTRY, {"Ada/0301//"}},
        {u"Ada", u"0301", u"\tAda ", u" 0301 ", XDIR_ERR_DUPLICATE_ENTRY, {"Ada/0301//"}},
        {u"Ada", u"tel:0311", u"Ada", u"0311", XDIR_ERR_DUPLICATE_ENTRY, {"Ada/0311//"}},
        {u"Ada", u"0311", u"ada", u"0311", XDIR_OK, {"Ada/0311//", "ada/0311//"}},
    };
    for (const Case& c : kCases) {
        fs::remove(book_);
        ASSERT_EQ(addThroughHandle(book_, {entry(c.firstName, c.firstNumber)}), XDIR_OK);
        EXPECT_EQ(addThroughHandle(book_, {entry(c.secondName, c.secondNumber)}), c.secondStatus);
        EXPECT_EQ(entriesOf(book_), c.entries);
    }
    // Two records of one call that read back alike.
    fs::remove(book_);
    EXPECT_EQ(addThroughHandle(book_, {entry(u"Ada", u"0301"), entry(u"Ada ", u"tel:0301")}),
              XDIR_ERR_DUPLICATE_ENTRY);
    EXPECT_FALSE(fs::exists(book_));
}

TEST_F(VCardWriterTest, RecordsThatWouldReadBackAsNoEntryAreBadRecords) {
    XDIRDataRef data = XDIRData_Create();
    for (const auto& [name, number] : std::vector<std::pair<std::u16string, std::u16string>>{
             {u"Ada", u"   "},
             {u"Ada", u"tel:"},
             {u"Ada", u"BusinessFaxPhone"},
             {u" \t ", u"0301"},
         }) {
        const XDIRMyFaxRecord record = entry(name, number);
        EXPECT_EQ(XDIRData_Add_MyFax(data, 1, &record), XDIR_ERR_BAD_RECORD)
            << xdirkit::utf8FromUtf16(number).value_or("?");
    }
    EXPECT_EQ(XDIRData_GetCount_MyFax(data), 0);
    // Full-width digits are digits.
    const XDIRMyFaxRecord wide = entry(u"Ada", u"\uFF10\uFF13");
    EXPECT_EQ(XDIRData_Add_MyFax(data, 1, &wide), XDIR_OK);
    XDIRData_Delete(data);
}

// ---- Rewriting a whole book

TEST_F(VCardWriterTest,
       RewritingKeepsUnchangedCardsByteForByteAndWritesChangedOnesInTheirOwnVersion) {
    const std::string untouched =
        "BEGIN:VCARD\nVERSION:3.0\nFN:Keep Me\nitem1.TEL;type=FAX:1\nitem1.X-ABLabel:Desk\n"
        "PHOTO;ENCODING=b;TYPE=JPEG:AAEC\nEND:VCARD\n";
    const std::string phone = "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=SHIFT_JIS;ENCODING=QUOTED-"
                              "PRINTABLE:=8E=52=93=63\r\n"
                              "TEL;FAX;WORK:03-1\r\nX-PHONE-EXTRA;X-A=1:keep\r\nEND:VCARD\r\n";
    const std::string group =
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Team\r\nX-ADDRESSBOOKSERVER-KIND:group\r\n"
        "X-ADDRESSBOOKSERVER-MEMBER:urn:uuid:x\r\nEND:VCARD\r\n";
    auto cards = xdirkit::VCardReader::read(untouched + phone + group);
    ASSERT_TRUE(cards);
    ASSERT_EQ(cards->size(), 3u);
    (*cards)[1].setCompany("Tokyo Office");
    (*cards)[1].setFaxNumbers({"03-2", "03-3"});
    (*cards)[2].setMemberUids({"urn:uuid:a", "urn:uuid:b"});
    xdirkit::VCardCard added;
    added.setUid("urn:uuid:new");
    added.setDisplayName("Added; Person");
    added.setFaxNumbers({"9"});
    cards->push_back(added);
    ASSERT_EQ(xdirkit::VCardWriter::writeBook(book_, *cards), XDIR_OK);

    const std::string text = slurp(book_);
    EXPECT_EQ(text.substr(0, untouched.size()), untouched);
    EXPECT_EQ(text.substr(untouched.size()),
              "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=SHIFT_JIS;ENCODING=QUOTED-PRINTABLE:=8E="
              "52=93=63\r\nTEL;FAX;PREF:03-2\r\nTEL;FAX:03-3\r\nX-PHONE-EXTRA;X-A=1:keep\r\n"
              "ORG:Tokyo Office\r\nEND:VCARD\r\n"
              "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Team\r\nX-ADDRESSBOOKSERVER-KIND:group\r\n"
              "X-ADDRESSBOOKSERVER-MEMBER:urn:uuid:a\r\nX-ADDRESSBOOKSERVER-MEMBER:urn:uuid:b\r\n"
              "END:VCARD\r\n"
              "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:urn:uuid:new\r\nFN:Added\\; Person\r\nN:Added\\; "
              "Person;;;;\r\n"
              "TEL;TYPE=fax;PREF=1:9\r\nEND:VCARD\r\n");
    // An export writes them all as 4.0: no encodings, binary values as data: URIs.
    EXPECT_EQ(xdirkit::VCardWriter::cardTextAsVersion4((*cards)[0]),
              "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Keep Me\r\nitem1.TEL;type=FAX:1\r\n"
              "item1.X-ABLabel:Desk\r\nPHOTO:data:image/jpeg;base64,AAEC\r\nEND:VCARD\r\n");
    const auto reread = xdirkit::VCardReader::read(text);
    ASSERT_TRUE(reread);
    EXPECT_EQ((*reread)[1].company(), "Tokyo Office");
    EXPECT_EQ((*reread)[2].memberUids(), (std::vector<std::string>{"urn:uuid:a", "urn:uuid:b"}));
    EXPECT_EQ((*reread)[3].displayName(), "Added; Person");
}

// A book written back, as the editor saves it with a card copied in behind the others: every card
// reads as before, whether unchanged, changed in its own version or exported as 4.0.
TEST_F(VCardWriterTest, BooksOtherProgramsWroteReadTheSameWhenWrittenBack) {
    const fs::path kCorpus = fs::path(VEXTEL_SOURCE_DIR) / "tests/fixtures/vcard";
    using Reading = std::vector<std::pair<std::string, std::vector<std::string>>>;
    const auto readingOf = [](const std::vector<xdirkit::VCardCard>& cards) {
        Reading reading;
        for (const xdirkit::VCardCard& card : cards) {
            std::vector<std::string> numbers;
            for (const auto& fax : card.faxNumbers())
                numbers.push_back(fax.number);
            reading.emplace_back(card.displayName().value_or("<none>"), numbers);
        }
        return reading;
    };
    xdirkit::VCardCard copied;
    copied.setDisplayName("Copied");
    copied.setFaxNumbers({"0309"});
    for (const char* file : {"no-final-line-end.vcf", "utf16-book.vcf", "cut-off-nested-card.vcf",
                             "base64-values-2.1.vcf", "label-on-item-group.vcf",
                             "labels-in-place-of-numbers-2.1.vcf"}) {
        auto cards = xdirkit::VCardReader::read(slurp(kCorpus / file));
        ASSERT_TRUE(cards) << file;
        Reading expected = readingOf(*cards);
        expected.emplace_back("Copied", std::vector<std::string>{"0309"});
        auto changed = *cards;
        for (xdirkit::VCardCard& card : changed)
            card.setNote("edited");
        for (const auto& [label, book] :
             {std::pair{"unchanged", *cards}, std::pair{"changed", changed},
              std::pair{"as 4.0", *cards}}) {
            auto withCopy = book;
            withCopy.push_back(copied);
            const std::string text = xdirkit::VCardWriter::bookText(
                withCopy, std::string(label) == "as 4.0" ? xdirkit::VCardWriter::Versions::AllAs4
                                                         : xdirkit::VCardWriter::Versions::Own);
            const auto reread = xdirkit::VCardReader::read(text);
            ASSERT_TRUE(reread) << file << ' ' << label;
            EXPECT_EQ(readingOf(*reread), expected) << file << ' ' << label << '\n' << text;
        }
    }
    // Encoded values stay encoded in the card's own version: a changed 2.1 card keeps its base64
    // lines as they were, and the text it changed is quoted-printable.
    auto cards = xdirkit::VCardReader::read(slurp(kCorpus / "base64-values-2.1.vcf"));
    ASSERT_TRUE(cards && cards->size() == 2u);
    (*cards)[1].setNote("Büro");
    EXPECT_EQ(xdirkit::VCardWriter::cardText((*cards)[1]),
              "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=UTF-8;ENCODING=BASE64:5bGx55Sw5aSq6YOO\r\n"
              "TEL;FAX;ENCODING=BASE64:MDMxMjM0\r\n"
              "NOTE;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:B=C3=BCro\r\nEND:VCARD\r\n");
}

TEST_F(VCardWriterTest, AUtf16BookRewrittenStaysUtf16UnlessExportedAs4) {
    const std::string old =
        slurp(fs::path(VEXTEL_SOURCE_DIR) / "tests/fixtures/vcard/utf16-book.vcf");
    auto cards = xdirkit::VCardReader::read(old);
    ASSERT_TRUE(cards);
    cards->emplace_back().setDisplayName("New");
    cards->back().setFaxNumbers({"0309"});
    for (const auto versions :
         {xdirkit::VCardWriter::Versions::Own, xdirkit::VCardWriter::Versions::AllAs4}) {
        spit(book_, old);
        ASSERT_EQ(xdirkit::VCardWriter::writeBook(book_, *cards, versions), XDIR_OK);
        const std::string now = slurp(book_);
        EXPECT_EQ(now.starts_with("\xFF\xFE"), versions == xdirkit::VCardWriter::Versions::Own);
        if (versions == xdirkit::VCardWriter::Versions::Own) {
            EXPECT_EQ(now.substr(0, old.size()), old);
        }
        EXPECT_EQ(entriesOf(book_),
                  (std::vector<std::string>{"Existing Person/0301111//", "New/0309//"}));
    }
}

TEST_F(VCardWriterTest, OnlyAQuotedPrintableValueGoesOnAfterALineEndingInAnEqualsSign) {
    // A parameter that merely names the encoding: the line after is a line of its own, and a
    // changed card whose fold would fall right after an '=' folds before it and reads back with
    // the same name.
    const std::string value = std::string(48, 'x') + "=yz";
    const auto cards = xdirkit::VCardReader::read(
        "BEGIN:VCARD\r\nVERSION:2.1\r\nN;X-NOTE=QUOTED-PRINTABLE:Kato=\r\nTEL;FAX:1\r\nEND:"
        "VCARD\r\n"
        "BEGIN:VCARD\r\nVERSION:2.1\r\nN;X-NOTE=QUOTED-PRINTABLE:" +
        value +
        "\r\nEND:VCARD\r\nBEGIN:VCARD\r\nVERSION:2.1\r\nN;QUOTED-PRINTABLE:Ka=\r\nto\r\n"
        "END:VCARD\r\n");
    ASSERT_TRUE(cards);
    ASSERT_EQ(cards->size(), 3u);
    EXPECT_EQ((*cards)[0].displayName(), "Kato=");
    ASSERT_EQ((*cards)[0].faxNumbers().size(), 1u);
    EXPECT_EQ((*cards)[0].faxNumbers()[0].number, "1");
    EXPECT_EQ((*cards)[2].displayName(), "Kato") << "a real soft line break still joins";

    xdirkit::VCardCard changed = (*cards)[1];
    changed.setFaxNumbers({"2"});
    const std::string text = xdirkit::VCardWriter::cardText(changed);
    ASSERT_NE(text.find("\r\n =yz"), std::string::npos) << text;
    const auto reread = xdirkit::VCardReader::read(text);
    ASSERT_TRUE(reread);
    ASSERT_EQ(reread->size(), 1u);
    EXPECT_EQ(reread->front().displayName(), value);
}

// A changed 2.1 card refolds its unchanged quoted-printable lines: wherever the fold falls, the
// value reads back the same.
TEST_F(VCardWriterTest, RefoldedQuotedPrintableValuesReadBackTheSame) {
    std::string encoded;
    for (int i = 0; i < 30; ++i)
        encoded += "=E5=B1=B1";
    const std::string kValues[] = {
        encoded,
        "x" + encoded,
        "xx" + encoded,
        // Bytes that are no UTF-8 after an '=' that encodes nothing (found by fuzzing).
        "=\xBB" + std::string(80, '\xA1'),
        // A run of '=' longer than a physical line.
        std::string(100, '=') + "x",
    };
    for (const std::string& value : kValues) {
        const auto cards = xdirkit::VCardReader::read(
            "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:" + value +
            "\r\nTEL;FAX:1\r\nEND:VCARD\r\n");
        ASSERT_TRUE(cards && cards->size() == 1u);
        xdirkit::VCardCard changed = cards->front();
        changed.setFaxNumbers({"2"});
        const auto reread = xdirkit::VCardReader::read(xdirkit::VCardWriter::cardText(changed));
        ASSERT_TRUE(reread && reread->size() == 1u);
        EXPECT_EQ(reread->front().displayName(), cards->front().displayName()) << value;
    }
}

// Lines that only look like content lines, or whose parameters are malformed: written back from a
// changed card, they must not turn into lines that end the card, join the line before or move
// text between the parameters and the value.
TEST_F(VCardWriterTest, AFoldAfterAnEmptyLineIsNoLineOfItsOwnSoAChangedCardKeepsItsNumbers) {
    for (const char* malformed :
         {"BEGIN:VCARD\r\nVERSION:2.1\r\nN:Kato\r\nTEL;FAX:999\r\n\r\n \t:VCARD\r\nEND:VCARD\r\n",
          "BEGIN:VCARD\r\nVERSION:4.0\r\nN:Kato\r\n.BEGIN:VCARD\r\nTEL;TYPE=fax:999\r\nEND:"
          "VCARD\r\n",
          // Quotes inside a parameter's value or name: the parameters end where they ended.
          "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CTY,voice\":ce\":Kato\r\nTEL;FAX:999\r\nEND:VCARD\r\n",
          "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;A\"B=x:y;C\"D=1:Kato\r\nTEL;FAX:999\r\nEND:"
          "VCARD\r\n",
          // A name holding a ':' between quotes: the value stays the value.
          "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;A\"B:C\"D=1:Kato\r\nTEL;FAX:999\r\nEND:VCARD\r\n",
          // BEGIN and END lines that were no markers stay none.
          "BEGIN:VCARD\r\nVERSION:4.0\r\nN:Kato\r\nEND;:VCARD\r\nTEL;TYPE=fax:999\r\nEND:VCARD\r\n",
          "BEGIN:VCARD\r\nVERSION:4.0\r\nN:Kato\r\nBEGIN;:VCARD\r\nTEL;TYPE=fax:999\r\nEND:"
          "VCARD\r\n",
          // Read as the types `"fax` and `voice"`: writing them back makes no fax number of 111.
          "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Kato\r\nTEL;\"fax,voice\":111\r\nTEL;FAX:999\r\nEND:"
          "VCARD\r\n"}) {
        const auto cards = xdirkit::VCardReader::read(malformed);
        ASSERT_TRUE(cards) << malformed;
        ASSERT_EQ(cards->size(), 1u) << malformed;
        xdirkit::VCardCard changed = cards->front();
        changed.setFaxNumbers({"999"});
        const auto reread = xdirkit::VCardReader::read(xdirkit::VCardWriter::cardText(changed));
        ASSERT_TRUE(reread) << malformed;
        ASSERT_EQ(reread->size(), 1u) << malformed;
        EXPECT_EQ(reread->front().displayName(), cards->front().displayName()) << malformed;
        ASSERT_EQ(reread->front().faxNumbers().size(), 1u) << malformed;
        EXPECT_EQ(reread->front().faxNumbers()[0].number, "999") << malformed;
    }
}

// A decoded 2.1 value may hold line breaks; written back as a 4.0 line they must stay inside
// the value, or the text after them reads as a line of its own (here a fax number).
TEST_F(VCardWriterTest, LineBreaksInADecodedValueStayInsideItsLineWhenWrittenBack) {
    for (const char* breakCode : {"=0A", "=0D=0A", "=0D", "\\=0A", "\\\\=0A"}) {
        const std::string text = std::string("BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=UTF-8;") +
                                 "ENCODING=QUOTED-PRINTABLE:Kato" + breakCode +
                                 "TEL=3BTYPE=3Dfax:666\r\nTEL;FAX:999\r\nEND:VCARD\r\n";
        const auto cards = xdirkit::VCardReader::read(text);
        ASSERT_TRUE(cards && cards->size() == 1u) << breakCode;
        const auto name = cards->front().displayName();
        ASSERT_TRUE(name) << breakCode;
        EXPECT_TRUE(name->ends_with("\nTEL;TYPE=fax:666")) << *name;
        xdirkit::VCardCard changed = cards->front();
        changed.setFaxNumbers({"999"});
        const auto reread = xdirkit::VCardReader::read(xdirkit::VCardWriter::cardText(changed));
        ASSERT_TRUE(reread && reread->size() == 1u) << breakCode;
        EXPECT_EQ(reread->front().displayName(), name) << breakCode;
        ASSERT_EQ(reread->front().faxNumbers().size(), 1u) << breakCode;
        EXPECT_EQ(reread->front().faxNumbers()[0].number, "999") << breakCode;
    }
}

} // namespace
