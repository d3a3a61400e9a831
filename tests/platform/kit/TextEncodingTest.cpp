#include "kit/TextEncoding.h"

#include <array>
#include <gtest/gtest.h>

using namespace kit;

namespace {

QByteArray bytesOf(const QString& text, StringEncoding encoding, qsizetype capacity,
                   qsizetype* converted = nullptr) {
    std::array<unsigned char, 64> buffer{};
    qsizetype used = -1;
    const qsizetype units = TextEncoding::getBytes(text, encoding, buffer.data(), capacity, &used);
    if (converted != nullptr) {
        *converted = units;
    }
    return QByteArray(reinterpret_cast<const char*>(buffer.data()), used);
}

} // namespace

TEST(TextEncoding, KnowsTheFiveEncodings) {
    EXPECT_STREQ(TextEncoding::iconvName(0x08000100), "UTF-8");
    EXPECT_STREQ(TextEncoding::iconvName(0x0628), "SHIFT_JISX0213");
    EXPECT_STREQ(TextEncoding::iconvName(0x0201), "ISO-8859-1");
    EXPECT_STREQ(TextEncoding::iconvName(0x0500), "CP1252");
    EXPECT_STREQ(TextEncoding::iconvName(0x0600), "ASCII");
    EXPECT_EQ(TextEncoding::iconvName(0x0100), nullptr);
}

TEST(TextEncoding, GetBytesConvertsWithoutAByteOrderMark) {
    qsizetype units = 0;
    EXPECT_EQ(bytesOf(QStringLiteral("a\u00e9"), TextEncoding::UTF8, 64, &units),
              QByteArray("a\xc3\xa9"));
    EXPECT_EQ(units, 2);
    EXPECT_EQ(bytesOf(QStringLiteral("\u30bd\u3042"), TextEncoding::ShiftJIS_X0213, 64),
              QByteArray("\x83\x5c\x82\xa0"));
    EXPECT_EQ(bytesOf(QStringLiteral("\u20ac"), TextEncoding::WindowsLatin1, 64),
              QByteArray("\x80"));
    EXPECT_EQ(bytesOf(QString::fromUcs4(U"x\U0001F600"), TextEncoding::UTF8, 64, &units),
              QByteArray("x\xf0\x9f\x98\x80"));
    EXPECT_EQ(units, 3) << "counted in UTF-16 units";
}

TEST(TextEncoding, GetBytesStopsAtTheFirstUnrepresentableCharacter) {
    qsizetype units = -1;
    EXPECT_EQ(bytesOf(QStringLiteral("ab\u20acc"), TextEncoding::ISOLatin1, 64, &units),
              QByteArray("ab"));
    EXPECT_EQ(units, 2);
    EXPECT_EQ(bytesOf(QStringLiteral("\u00e9"), TextEncoding::ASCII, 64, &units), QByteArray());
    EXPECT_EQ(units, 0);
    // A lone surrogate has no form in any encoding.
    EXPECT_EQ(bytesOf(QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b"), TextEncoding::UTF8,
                      64, &units),
              QByteArray("a"));
    EXPECT_EQ(bytesOf(QStringLiteral("abc"), 0x1234, 64, &units), QByteArray());
    EXPECT_EQ(units, 0);
}

TEST(TextEncoding, GetBytesStopsAtTheBuffersEndWithWholeCharacters) {
    qsizetype units = -1;
    EXPECT_EQ(bytesOf(QStringLiteral("abcdef"), TextEncoding::ASCII, 4, &units),
              QByteArray("abcd"));
    EXPECT_EQ(units, 4);
    EXPECT_EQ(bytesOf(QStringLiteral("a\u00e9"), TextEncoding::UTF8, 2, &units), QByteArray("a"));
    EXPECT_EQ(units, 1) << "a two-byte character does not go in half";
}

TEST(TextEncoding, GetCStringIsAllOrNothing) {
    char buffer[8];
    ASSERT_TRUE(TextEncoding::getCString(QStringLiteral("a/b"), TextEncoding::UTF8, buffer, 8));
    EXPECT_STREQ(buffer, "a/b");
    EXPECT_TRUE(
        TextEncoding::getCString(QStringLiteral("1234567"), TextEncoding::ASCII, buffer, 8));
    EXPECT_FALSE(
        TextEncoding::getCString(QStringLiteral("12345678"), TextEncoding::ASCII, buffer, 8))
        << "no room for the terminator";
    EXPECT_FALSE(
        TextEncoding::getCString(QStringLiteral("ab\u20ac"), TextEncoding::ISOLatin1, buffer, 8));
    ASSERT_TRUE(TextEncoding::getCString(QString(), TextEncoding::UTF8, buffer, 8));
    EXPECT_STREQ(buffer, "");
}

TEST(TextEncoding, BytesToStringValidatesTheBytes) {
    EXPECT_EQ(TextEncoding::stringFromBytes("caf\xc3\xa9", 5, TextEncoding::UTF8),
              QStringLiteral("caf\u00e9"));
    EXPECT_EQ(TextEncoding::stringFromBytes("caf\xe9", 4, TextEncoding::ISOLatin1),
              QStringLiteral("caf\u00e9"));
    EXPECT_EQ(TextEncoding::stringFromBytes("\x83\x5c", 2, TextEncoding::ShiftJIS_X0213),
              QStringLiteral("\u30bd"));
    EXPECT_FALSE(TextEncoding::stringFromBytes("caf\xe9", 4, TextEncoding::UTF8));
    // Forms no Unicode character has (five and six bytes, past U+10FFFF, surrogates, overlong)
    // are refused too, not read as replacement characters.
    for (const char* notUtf8 : {"\x10\xfb\xbb\x88\xbb\xbf", "\xfd\xbf\xbf\xbf\xbf\xbf",
                                "\xf4\x90\x80\x80", "\xed\xa0\x80", "\xc0\xaf"}) {
        EXPECT_FALSE(TextEncoding::stringFromBytes(notUtf8, qstrlen(notUtf8), TextEncoding::UTF8))
            << notUtf8;
    }
    EXPECT_FALSE(TextEncoding::stringFromBytes("\x80", 1, TextEncoding::ASCII));
    const std::optional<QString> empty = TextEncoding::stringFromBytes("", 0, TextEncoding::UTF8);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->isEmpty());
    EXPECT_EQ(TextEncoding::stringFromCString("a\0b", TextEncoding::ASCII), QStringLiteral("a"));
    EXPECT_FALSE(TextEncoding::stringFromCString(nullptr, TextEncoding::ASCII));
}

TEST(TextEncoding, ShiftJisReadsTheAsciiRangeAsAscii) {
    // Every printable ASCII character is one byte of the same value in Shift-JIS, and reading
    // the byte back must give the character again: backslash and tilde included, which the
    // iconv table alone reads as yen sign and overline.
    for (char16_t code = 0x20; code < 0x7F; ++code) {
        const QString text(QChar{code});
        char bytes[4] = {};
        ASSERT_TRUE(TextEncoding::getCString(text, TextEncoding::ShiftJIS_X0213, bytes, 4));
        EXPECT_EQ(QByteArray(bytes), QByteArray(1, static_cast<char>(code)));
        EXPECT_EQ(TextEncoding::stringFromCString(bytes, TextEncoding::ShiftJIS_X0213), text)
            << "code " << static_cast<int>(code);
    }
    // The yen sign and the overline would be written as those bytes too and come back changed:
    // a text holding them is refused whole, and converted only up to them.
    for (const QString& text : {QStringLiteral("a\u00a5"), QStringLiteral("a\u203e")}) {
        char bytes[4] = {};
        EXPECT_FALSE(TextEncoding::getCString(text, TextEncoding::ShiftJIS_X0213, bytes, 4));
        qsizetype units = -1;
        EXPECT_EQ(bytesOf(text, TextEncoding::ShiftJIS_X0213, 4, &units), QByteArray("a"));
        EXPECT_EQ(units, 1);
    }
    // The second byte 0x5C of a double-byte character stays part of that character.
    EXPECT_EQ(TextEncoding::stringFromBytes("\x83\x5c\x5c", 3, TextEncoding::ShiftJIS_X0213),
              QStringLiteral("\u30bd\\"));
}

TEST(TextEncoding, DecodingEndsForCharactersThatStraddleTheWorkChunk) {
    // 0xCF is one character; 0x86 0x86 is one code that decodes to two characters. Placed so
    // that the pair's output crosses the end of the decoder's work chunk, the whole text must
    // come out as its pieces do one by one.
    const QByteArray single("\xcf");
    const QByteArray pair("\x86\x86");
    for (int lead : {81, 82, 83, 84, 85, 170}) {
        const QByteArray bytes = single.repeated(lead) + pair.repeated(3);
        const std::optional<QString> whole = TextEncoding::stringFromBytes(
            bytes.constData(), bytes.size(), TextEncoding::ShiftJIS_X0213);
        const std::optional<QString> one =
            TextEncoding::stringFromBytes(single.constData(), 1, TextEncoding::ShiftJIS_X0213);
        const std::optional<QString> two =
            TextEncoding::stringFromBytes(pair.constData(), 2, TextEncoding::ShiftJIS_X0213);
        ASSERT_TRUE(whole && one && two) << lead;
        EXPECT_EQ(two->size(), 2);
        EXPECT_EQ(*whole, one->repeated(lead) + two->repeated(3)) << lead;
    }
}

TEST(TextEncoding, AByteOrderMarkIsTextLikeAnyOtherCharacter) {
    // Every encoding that has U+FEFF keeps it where it stands, at the start too, both ways.
    const QString text = QStringLiteral("\ufeffa\ufeff");
    const QByteArray utf8("\xef\xbb\xbf"
                          "a"
                          "\xef\xbb\xbf");
    char bytes[16] = {};
    ASSERT_TRUE(TextEncoding::getCString(text, TextEncoding::UTF8, bytes, sizeof bytes));
    EXPECT_EQ(QByteArray(bytes), utf8);
    EXPECT_EQ(TextEncoding::stringFromBytes(utf8.constData(), utf8.size(), TextEncoding::UTF8),
              text);
    EXPECT_EQ(TextEncoding::stringFromCString(utf8.constData(), TextEncoding::UTF8), text);
    EXPECT_EQ(TextEncoding::stringFromBytes(utf8.constData(), 3, TextEncoding::UTF8),
              QStringLiteral("\ufeff"));
}
