#include "RecordText.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using xdirkit::cutAtCodePoint;
using xdirkit::readField;
using xdirkit::utf16FromUtf8;
using xdirkit::utf8FromUtf16;
using xdirkit::writeField;

// ---- UTF-8 and UTF-16, both directions

TEST(RecordText, ValidTextConvertsBothWays) {
    struct Case {
        std::string utf8;
        std::u16string utf16;
    };
    const Case kCases[] = {
        {"", u""},
        {"Anna", u"Anna"},
        {"M\xC3\xBCller", u"M\u00FCller"},
        {"\xE5\xB1\xB1\xE7\x94\xB0", u"\u5C71\u7530"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
        {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
        {"\xEF\xBF\xBD", u"\uFFFD"},
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(utf16FromUtf8(c.utf8), c.utf16) << c.utf8;
        EXPECT_EQ(utf8FromUtf16(c.utf16), c.utf8) << c.utf8;
    }
}

TEST(RecordText, MalformedTextIsRefused) {
    const std::string kBadUtf8[] = {
        "\x80",             // a continuation byte alone
        "\xC3",             // truncated
        "\xC0\xAF",         // overlong slash
        "\xE0\x80\xAF",     // overlong, three bytes
        "\xED\xA0\x80",     // an encoded surrogate
        "\xF4\x90\x80\x80", // past U+10FFFF
        "\xE5\xB1",         // truncated at the end
        "a\xE5(b",          // a lead byte followed by ASCII
    };
    for (const std::string& text : kBadUtf8)
        EXPECT_FALSE(utf16FromUtf8(text)) << testing::PrintToString(text);
    const std::u16string kBadUtf16[] = {
        {char16_t(0xD800)}, {char16_t(0xDC00), u'a'}, {u'a', char16_t(0xD83D)}};
    for (const std::u16string& text : kBadUtf16)
        EXPECT_FALSE(utf8FromUtf16(text));
}

// ---- Cutting to a field

TEST(RecordText, CutsNeverSplitASurrogatePair) {
    const std::u16string emoji = u"\U0001F600";
    struct Case {
        std::u16string text;
        std::size_t maxUnits;
        std::u16string expected;
    };
    const Case kCases[] = {
        {u"short", 32, u"short"},
        {std::u16string(32, u'a'), 32, std::u16string(32, u'a')},
        {std::u16string(33, u'a'), 32, std::u16string(32, u'a')},
        {std::u16string(31, u'a') + emoji, 32, std::u16string(31, u'a')},
        {std::u16string(30, u'a') + emoji + u"b", 32, std::u16string(30, u'a') + emoji},
        {emoji, 1, u""},
        {u"abc", 0, u""},
    };
    for (const Case& c : kCases)
        EXPECT_EQ(cutAtCodePoint(c.text, c.maxUnits), c.expected) << c.maxUnits;
}

// ---- Fields

TEST(RecordText, FieldsHoldTextAndAZeroUnitWithinTheirSize) {
    uint16_t field[4] = {9, 9, 9, 9};
    EXPECT_TRUE(writeField(field, 4, u"abc"));
    EXPECT_EQ(std::vector<uint16_t>(field, field + 4), (std::vector<uint16_t>{'a', 'b', 'c', 0}));
    EXPECT_EQ(readField(field, 4), u"abc");
    EXPECT_TRUE(writeField(field, 4, u"x"));
    EXPECT_EQ(std::vector<uint16_t>(field, field + 4), (std::vector<uint16_t>{'x', 0, 0, 0}));
    EXPECT_FALSE(writeField(field, 4, u"abcd"));
    EXPECT_EQ(readField(field, 4), u"x") << "a refused write leaves the field";
    const uint16_t unterminated[3] = {'a', 'b', 'c'};
    EXPECT_FALSE(readField(unterminated, 3));
    const uint16_t empty[3] = {0, 'b', 'c'};
    EXPECT_EQ(readField(empty, 3), u"");
}

} // namespace
