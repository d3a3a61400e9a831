#include "VCardLine.h"

#include "VCardCard.h"
#include "VCardReader.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace {

using xdirkit::VCardCard;
using xdirkit::VCardLine;

// A value needing no decoding is viewed where it stands; any other is decoded into the scratch
// text; either way the text is textValue()'s.
TEST(VCardLine, PlainValuesAreViewedAndOthersDecodedIntoTheScratchText) {
    struct Case {
        const char* line;
        bool plain;
    };
    const Case kCases[] = {
        {"FN:Anna Berg", true},
        {"FN:J\xC3\xBCrgen", true},
        {"NOTE:a\\nb", false},            // an escape
        {"FN:M\xFCller", false},          // not UTF-8: read as Windows-1252
        {"FN;CHARSET=UTF-8:Anna", false}, // a character set, even UTF-8
        {"FN;ENCODING=QUOTED-PRINTABLE:A=3DB", false},
        {"TEL;FAX;QUOTED-PRINTABLE:0301", false}, // a bare encoding counts
        {"FN;CHARSET=X-UNKNOWN:Anna", false},     // no text at all
        {"ORG:A;B", true},
        {"FN:", true},
    };
    for (const Case& c : kCases) {
        const auto line = VCardLine::parse(c.line);
        ASSERT_TRUE(line) << c.line;
        EXPECT_EQ(line->plainValue().has_value(), c.plain) << c.line;
        std::string scratch = "old";
        const auto viewed = line->textValue(scratch);
        const auto copied = line->textValue();
        ASSERT_EQ(viewed.has_value(), copied.has_value()) << c.line;
        if (copied) {
            EXPECT_EQ(std::string(*viewed), *copied) << c.line;
        }
        if (c.plain) {
            EXPECT_EQ(scratch, "old") << c.line;
        }
    }
}

TEST(VCardLine, PreferenceIsTheBestOfPrefAndTypePref) {
    const std::pair<const char*, int> kCases[] = {
        {"TEL;TYPE=fax:1", VCardLine::kNoPreference},
        {"TEL;TYPE=fax;PREF=3:1", 3},
        {"TEL;PREF=7;TYPE=fax;PREF=2:1", 2},
        {"TEL;TYPE=fax,pref:1", 1},
        {"TEL;FAX;PREF:1", 1},          // 2.1's bare word is a TYPE
        {"TEL;TYPE=\"fax,PREF\":1", 1}, // quoted list
        {"TEL;PREF=0:1", 1},            // unreadable or below 1: most preferred
        {"TEL;PREF=x:1", 1},
        {"TEL;PREF=500:1", VCardLine::kNoPreference},
    };
    for (const auto& [text, preference] : kCases) {
        const auto line = VCardLine::parse(text);
        ASSERT_TRUE(line) << text;
        EXPECT_EQ(line->preference(), preference) << text;
    }
}

// The viewing accessors read plain values in place and decode the others.
TEST(VCardCard, ViewsGiveTheCardsTextsPlainOrDecoded) {
    struct Case {
        const char* book;
        std::optional<std::string> name;
        std::string company, note, uid;
        std::vector<std::pair<std::string, int>> faxNumbers;
    };
    const Case kCases[] = {
        {"BEGIN:VCARD\r\nFN: Anna \r\nORG: Acme ;; Sales \r\nNOTE:n\r\nUID: u1 \r\n"
         "TEL;TYPE=fax:tel: 0301 \r\nTEL;TYPE=fax,pref:0302\r\nEND:VCARD\r\n",
         "Anna",
         "Acme, Sales",
         "n",
         "u1",
         {{"0301", 100}, {"0302", 1}}},
        {"BEGIN:VCARD\r\nN:Cole;Ben;J.;Dr.;Jr.\r\nORG:Acme\\, Inc;R\\;D\r\nNOTE:a\\nb\r\n"
         "TEL;FAX;CHARSET=ISO-8859-1:0\xB9\r\nEND:VCARD\r\n",
         "Dr. Ben J. Cole Jr.",
         "Acme, Inc, R;D",
         "a\nb",
         "",
         {{"0\xC2\xB9", 100}}},
        {"BEGIN:VCARD\r\nFN:\r\nORG:;\r\nTEL;TYPE=voice:1\r\nEND:VCARD\r\n",
         std::nullopt,
         "",
         "",
         "",
         {}},
        {"BEGIN:VCARD\r\nORG;ENCODING=QUOTED-PRINTABLE:Caf=C3=A9;Bar\r\nEND:VCARD\r\n",
         std::nullopt,
         "Caf\xC3\xA9, Bar",
         "",
         "",
         {}},
    };
    for (const Case& c : kCases) {
        const auto cards = xdirkit::VCardReader::read(c.book);
        ASSERT_TRUE(cards && cards->size() == 1) << c.book;
        const VCardCard& card = cards->front();
        std::string nameScratch, companyScratch, noteScratch, uidScratch;
        const auto name = card.displayName(nameScratch);
        EXPECT_EQ(name ? std::optional<std::string>(*name) : std::nullopt, c.name) << c.book;
        EXPECT_EQ(card.company(companyScratch), c.company) << c.book;
        EXPECT_EQ(card.note(noteScratch), c.note) << c.book;
        EXPECT_EQ(card.uid(uidScratch), c.uid) << c.book;
        std::vector<std::pair<std::string, int>> numbers;
        card.forEachFaxNumber([&numbers](std::string_view number, int preference) {
            numbers.emplace_back(number, preference);
        });
        EXPECT_EQ(numbers, c.faxNumbers) << c.book;
    }
}

} // namespace
