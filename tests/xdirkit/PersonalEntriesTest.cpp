#include "PersonalEntries.h"

#include "RecordText.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using xdirkit::PersonalEntries;

// The record as writing each field whole makes it.
XDIRMyFaxRecord recordOf(uint16_t identifier, std::u16string_view name, std::u16string_view fax,
                         std::u16string_view company, std::u16string_view note) {
    XDIRMyFaxRecord record{};
    record.identifier = identifier;
    xdirkit::writeField(record.name, XDIR_NAME_UNITS, name);
    xdirkit::writeField(record.faxNumber, XDIR_FAX_NUMBER_UNITS, fax);
    xdirkit::writeField(record.company, XDIR_COMPANY_UNITS, company);
    xdirkit::writeField(record.note, XDIR_NOTE_UNITS, note);
    return record;
}

bool sameBytes(const XDIRMyFaxRecord& a, const XDIRMyFaxRecord& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Read entries are made byte for byte as whole records would be, sharing a contact's texts;
// added records follow them and come back exactly as given, bytes after a field's end included.
TEST(PersonalEntries, ReadEntriesMakeWholeRecordsAndAddedOnesComeBackAsGiven) {
    PersonalEntries entries;
    const auto name = entries.addText("Anna", XDIR_NAME_UNITS - 1);
    const auto company = entries.addText("Acme", XDIR_COMPANY_UNITS - 1);
    const auto note = entries.addText("", XDIR_NOTE_UNITS - 1);
    PersonalEntries::Text first, second;
    ASSERT_TRUE(entries.addWholeText("0301", XDIR_FAX_NUMBER_UNITS - 1, first));
    ASSERT_TRUE(entries.addWholeText("0302", XDIR_FAX_NUMBER_UNITS - 1, second));
    entries.addRead(1, name, first, company, note);
    entries.addRead(2, name, second, company, note);
    XDIRMyFaxRecord added = recordOf(0, u"Ben", u"0400", u"", u"");
    added.name[10] = 0x4141; // after the field's zero unit
    added.timeStamp = 1700000000;
    entries.append(&added, 1);

    ASSERT_EQ(entries.size(), 3u);
    EXPECT_TRUE(sameBytes(entries[0], recordOf(1, u"Anna", u"0301", u"Acme", u"")));
    EXPECT_TRUE(sameBytes(entries[1], recordOf(2, u"Anna", u"0302", u"Acme", u"")));
    EXPECT_TRUE(sameBytes(entries.back(), added));
    std::vector<uint16_t> identifiers;
    for (const XDIRMyFaxRecord& record : entries)
        identifiers.push_back(record.identifier);
    EXPECT_EQ(identifiers, (std::vector<uint16_t>{1, 2, 0}));

    // Into memory the record type is not aligned for, every byte written.
    std::vector<unsigned char> buffer(sizeof(XDIRMyFaxRecord) + 1, 0xEE);
    entries.copyTo(1, buffer.data() + 1);
    const XDIRMyFaxRecord expected = recordOf(2, u"Anna", u"0302", u"Acme", u"");
    EXPECT_EQ(std::memcmp(buffer.data() + 1, &expected, sizeof expected), 0);
    EXPECT_EQ(buffer[0], 0xEE);

    entries.clear();
    EXPECT_TRUE(entries.empty());
    EXPECT_EQ(entries.begin(), entries.end());
}

TEST(PersonalEntries, TextsAreCutAtCodePointsAndWholeTextsRefusedWhenTooLong) {
    struct Case {
        const char* utf8;
        std::size_t maxUnits;
        std::u16string cut; // addText
        bool whole;         // addWholeText keeps it
    };
    const Case kCases[] = {
        {"abcdef", 4, u"abcd", false},
        {"abcd", 4, u"abcd", true},
        {"ab\xF0\x9F\x98\x80", 3, u"ab", false}, // a pair across the limit: dropped whole
        {"ab\xF0\x9F\x98\x80", 4, u"ab\xD83D\xDE00", true}, // the pair fits
        {"\xC3\xA9t\xC3\xA9", 2, u"\u00E9t", false},
        {"bad \xC3", 10, u"", true}, // not UTF-8: empty, as the record fields take it
        {"", 4, u"", true},
    };
    for (const Case& c : kCases) {
        PersonalEntries entries;
        const auto fax = entries.addText("1", XDIR_FAX_NUMBER_UNITS - 1);
        const auto cut = entries.addText(c.utf8, c.maxUnits);
        PersonalEntries::Text whole;
        EXPECT_EQ(entries.addWholeText(c.utf8, c.maxUnits, whole), c.whole) << c.utf8;
        // A refused text leaves nothing behind: the next text starts where it would have.
        const auto after = entries.addText("z", 1);
        EXPECT_EQ(after.begin, c.whole ? whole.begin + whole.length : cut.begin + cut.length)
            << c.utf8;
        entries.addRead(1, cut, fax, after, cut);
        XDIRMyFaxRecord record = entries[0];
        EXPECT_EQ(xdirkit::readField(record.name, XDIR_NAME_UNITS), c.cut) << c.utf8;
        EXPECT_EQ(xdirkit::readField(record.company, XDIR_COMPANY_UNITS), u"z") << c.utf8;
    }
}

} // namespace
