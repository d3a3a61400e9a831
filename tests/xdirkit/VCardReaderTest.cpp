#include "VCardReader.h"

#include "PersonalRecords.h"
#include "RecordText.h"
#include "xdirkit/XdirKit.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kCorpus = fs::path(VEXTEL_SOURCE_DIR) / "tests/fixtures/vcard";

std::string utf8(const uint16_t* field, std::size_t units) {
    const auto text = xdirkit::readField(field, units);
    if (!text)
        return "<unterminated>";
    return xdirkit::utf8FromUtf16(*text).value_or("<bad utf-16>");
}

// Backslashes and line ends shown as escapes, so a value stays on its line.
std::string shown(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::string statusLine(int32_t status) {
    char text[32];
    std::snprintf(text, sizeof text, "status 0x%08X", static_cast<unsigned>(status));
    return text;
}

// The same lines as a .expected file, comments left out.
std::string rendered(const xdirkit::PersonalRecords& records, int32_t status) {
    std::ostringstream out;
    out << statusLine(status) << '\n';
    for (const XDIRMyFaxRecord& e : records.entries)
        out << "entry " << e.identifier << '|' << shown(utf8(e.name, XDIR_NAME_UNITS)) << '|'
            << shown(utf8(e.faxNumber, XDIR_FAX_NUMBER_UNITS)) << '|'
            << shown(utf8(e.company, XDIR_COMPANY_UNITS)) << '|'
            << shown(utf8(e.note, XDIR_NOTE_UNITS)) << '\n';
    for (const XDIRMyFaxGroupRecord& g : records.groups) {
        out << "group " << shown(utf8(g.name, XDIR_NAME_UNITS)) << '|';
        for (uint16_t i = 0; i < g.memberCount && i < XDIR_MY_FAX_GROUP_MEMBERS; ++i)
            out << (i ? " " : "") << g.memberIdentifiers[i];
        out << '\n';
    }
    for (const std::string& warning : records.warnings)
        out << "warning " << warning << '\n';
    return out.str();
}

std::string expectedOf(const fs::path& path) {
    std::ifstream in(path);
    std::string line;
    std::string out;
    while (std::getline(in, line))
        if (!line.empty() && line[0] != '#')
            out += line + '\n';
    return out;
}

// ---- The corpus: each <case>.vcf beside its <case>.expected

TEST(VCardReader, EveryCorpusCaseReadsToItsExpectedEntriesGroupsAndWarnings) {
    int cases = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(kCorpus)) {
        if (entry.path().extension() != ".vcf")
            continue;
        fs::path expected = entry.path();
        expected.replace_extension(".expected");
        ASSERT_TRUE(fs::exists(expected)) << expected;
        xdirkit::PersonalRecords records;
        const int32_t status = records.readFile(entry.path());
        EXPECT_EQ(rendered(records, status), expectedOf(expected)) << entry.path().filename();
        ++cases;
    }
    EXPECT_GE(cases, 10);
}

// Reading a file goes card by card; building from cards kept whole (as adding does) must give
// the same records, warnings and status.
TEST(VCardReader, BuildingFromKeptCardsGivesWhatReadingTheFileGives) {
    for (const fs::directory_entry& entry : fs::directory_iterator(kCorpus)) {
        if (entry.path().extension() != ".vcf" || entry.path().stem() == "not-a-vcard" ||
            entry.path().stem() == "utf16-cut-inside-a-character")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const auto cards = xdirkit::VCardReader::read(text);
        ASSERT_TRUE(cards) << entry.path().filename();
        xdirkit::PersonalRecords fromCards;
        const int32_t status = fromCards.build(*cards);
        xdirkit::PersonalRecords fromFile;
        EXPECT_EQ(rendered(fromCards, status), rendered(fromFile, fromFile.readFile(entry.path())))
            << entry.path().filename();
    }
}

// A UTF-16 book is read through its UTF-8 copy: the group, built after the last card, still
// finds its members by the uids the copy held.
TEST(VCardReader, AUtf16BookReadsToWhatItsUtf8TextGivesGroupsIncluded) {
    const std::string book = "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:u-1\r\nFN:Ann Öst\r\n"
                             "TEL;TYPE=fax:01\r\nEND:VCARD\r\n"
                             "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:u-2\r\nFN:Bo\r\nTEL;TYPE=fax:02\r\n"
                             "END:VCARD\r\n"
                             "BEGIN:VCARD\r\nVERSION:4.0\r\nKIND:group\r\nFN:Team\r\n"
                             "MEMBER:u-2\r\nMEMBER:u-1\r\nEND:VCARD\r\n";
    char folder[] = "/tmp/xdirkit-utf16-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const auto readAs = [&](const std::string& bytes) {
        const fs::path path = fs::path(folder) / "book.vcf";
        std::ofstream(path, std::ios::binary) << bytes;
        xdirkit::PersonalRecords records;
        const int32_t status = records.readFile(path);
        return rendered(records, status);
    };
    const std::string asUtf8 = readAs(book);
    EXPECT_NE(asUtf8.find("group Team|2 1"), std::string::npos) << asUtf8;
    const auto units = xdirkit::utf16FromUtf8(book);
    ASSERT_TRUE(units);
    for (const bool bigEndian : {false, true}) {
        std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (const char16_t unit : *units) {
            const char high = static_cast<char>(unit >> 8);
            const char low = static_cast<char>(unit & 0xFF);
            bytes += bigEndian ? std::string{high, low} : std::string{low, high};
        }
        EXPECT_EQ(readAs(bytes), asUtf8) << (bigEndian ? "big-endian" : "little-endian");
    }
    fs::remove_all(folder);
}

TEST(VCardReader, CardByCardReadingStopsWhenAskedAndTellsANonBook) {
    std::string book = "BEGIN:VCARD\r\nFN:A\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN:B\r\nEND:VCARD\r\n"
                       "BEGIN:VCARD\r\nFN:C\r\n";
    for (const int stopAfter : {1, 2, 3}) {
        std::vector<std::string> names;
        std::string text = book;
        EXPECT_TRUE(xdirkit::VCardReader::forEachCard(
            text, xdirkit::VCardReader::Lines::All, [&](const xdirkit::VCardCard& card) {
                names.push_back(card.displayName().value_or("?") +
                                (card.isCutOff() ? " cut off" : ""));
                return static_cast<int>(names.size()) < stopAfter;
            }));
        const std::vector<std::string> all = {"A", "B", "C cut off"};
        EXPECT_EQ(names, std::vector<std::string>(all.begin(), all.begin() + stopAfter));
    }
    std::string notABook = "just text\n";
    EXPECT_FALSE(xdirkit::VCardReader::forEachCard(notABook, xdirkit::VCardReader::Lines::All,
                                                   [](const xdirkit::VCardCard&) { return true; }));
}

// ---- Through the C interface

TEST(VCardReader, ReadingThroughTheHandleWarnsOnStandardErrorAndKeepsTheHandleOnFailure) {
    XDIRDataRef data = XDIRData_Create();
    const std::string fitting = (kCorpus / "fitting-the-records.vcf").string();
    testing::internal::CaptureStderr();
    ASSERT_EQ(XdirGADFile_Read(fitting.c_str(), data, 0), XDIR_OK);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 3) << errors;
    EXPECT_EQ(errors.rfind("XdirGADFile_Read : " + fitting + ": fax number \"", 0), 0u) << errors;
    EXPECT_EQ(XDIRData_GetCount_MyFax(data), 34);
    EXPECT_EQ(XDIRData_GetCount_MyFaxGroup(data), 1);

    struct Failure {
        std::string path;
        int32_t flags;
        int32_t status;
    };
    const Failure kFailures[] = {
        {(kCorpus / "absent.vcf").string(), 0, XDIR_ERR_FILE_NOT_FOUND},
        {kCorpus.string(), 0, XDIR_ERR_FILE_UNREADABLE},
        {(kCorpus / "not-a-vcard.vcf").string(), 0, XDIR_ERR_FILE_MALFORMED},
        {fitting, 1, XDIR_ERR_BAD_ARGUMENT},
    };
    for (const Failure& f : kFailures) {
        EXPECT_EQ(XdirGADFile_Read(f.path.c_str(), data, f.flags), f.status) << f.path;
        EXPECT_EQ(XDIRData_GetCount_MyFax(data), 34) << f.path;
    }
    EXPECT_EQ(XdirGADFile_Read(nullptr, data, 0), XDIR_ERR_BAD_ARGUMENT);
    EXPECT_EQ(XdirGADFile_Read(fitting.c_str(), nullptr, 0), XDIR_ERR_BAD_ARGUMENT);
    XDIRData_Delete(data);
}

// Identifiers are 16-bit: one individual too many is a status of its own, not wrapped numbers.
TEST(VCardReader, MoreThan65535IndividualsIsAStatusOfItsOwn) {
    const fs::path book =
        fs::temp_directory_path() / ("xdirkit-many-" + std::to_string(::getpid()) + ".vcf");
    for (int count : {65535, 65536}) {
        std::ofstream out(book, std::ios::trunc);
        for (int i = 0; i < count; ++i)
            out << "BEGIN:VCARD\r\nFN:P" << i << "\r\nTEL;TYPE=fax:" << i << "\r\nEND:VCARD\r\n";
        out.close();
        xdirkit::PersonalRecords records;
        const int32_t status = records.readFile(book);
        EXPECT_EQ(status, count == 65535 ? XDIR_OK : XDIR_ERR_TOO_MANY_INDIVIDUALS) << count;
        EXPECT_EQ(records.entries.size(), count == 65535 ? 65535u : 0u) << count;
        if (!records.entries.empty()) {
            EXPECT_EQ(records.entries.back().identifier, 65535);
        }
    }
    fs::remove(book);
}

} // namespace
