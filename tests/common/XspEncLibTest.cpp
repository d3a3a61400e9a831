#include "xsplib/xspenclib.h"

#include <array>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::string scrambleToBase64(const std::string& plain) {
    std::array<unsigned char, 512> scrambled{};
    int32_t scrambledLength = 0;
    EXPECT_EQ(XspEncrypt(reinterpret_cast<const unsigned char*>(plain.data()),
                         static_cast<int32_t>(plain.size()), scrambled.data(), &scrambledLength,
                         static_cast<int32_t>(scrambled.size())),
              0);
    std::array<char, 1024> text{};
    int32_t textLength = 0;
    EXPECT_EQ(XspBinToB64(scrambled.data(), scrambledLength, text.data(), &textLength,
                          static_cast<int32_t>(text.size())),
              0);
    return std::string(text.data(), static_cast<size_t>(textLength));
}

struct Decoded {
    int32_t status;
    int32_t length;
    std::vector<unsigned char> bytes;
};

Decoded decode(const std::string& text, int32_t capacity = 64) {
    std::vector<unsigned char> out(static_cast<size_t>(capacity) + 1, 0xEE);
    int32_t length = -99;
    const int32_t status =
        XspB64ToBin(text.data(), static_cast<int32_t>(text.size()), out.data(), &length, capacity);
    out.resize(status == 0 ? static_cast<size_t>(length) : 0);
    return {status, length, out};
}

} // namespace

// Expected values computed independently of this code with:
//   printf '%s' 1234 | perl -0777 -ne 'my $k="qmzt"; my $o="";
//     for my $i (0..length($_)-1){ $o .= chr(ord(substr($_,$i,1)) ^ ord(substr($k,$i%4,1))) }
//     print $o' | base64
TEST(XspEncLib, ScrambledBase64MatchesKnownAnswers) {
    const std::vector<std::pair<std::string, std::string>> table = {
        {"1234", "QF9JQA=="},
        {"0000", "QV1KRA=="},
        {"9", "SA=="},
        {"12", "QF8="},
        {"123", "QF9J"},
        {"12345", "QF9JQEQ="},
        {"abcdefgh", "EA8ZEBQLHRw="},
    };
    for (const auto& [plain, expected] : table) {
        EXPECT_EQ(scrambleToBase64(plain), expected) << plain;
    }
}

TEST(XspEncLib, ScrambleTwiceRestoresEveryLengthFrom1To255) {
    for (int32_t length = 1; length <= 255; ++length) {
        std::vector<unsigned char> input(static_cast<size_t>(length));
        for (int32_t i = 0; i < length; ++i) {
            input[static_cast<size_t>(i)] = static_cast<unsigned char>(i * 37 + length);
        }
        std::vector<unsigned char> scrambled(255), restored(255);
        int32_t scrambledLength = 0, restoredLength = 0;
        ASSERT_EQ(XspEncrypt(input.data(), length, scrambled.data(), &scrambledLength, 255), 0);
        ASSERT_EQ(scrambledLength, length);
        ASSERT_EQ(XspEncrypt(scrambled.data(), length, restored.data(), &restoredLength, 255), 0);
        ASSERT_EQ(restoredLength, length);
        restored.resize(static_cast<size_t>(length));
        EXPECT_EQ(restored, input) << "length " << length;
    }
}

TEST(XspEncLib, Base64RoundTripsEveryLengthFrom1To255) {
    for (int32_t length = 1; length <= 255; ++length) {
        std::vector<unsigned char> input(static_cast<size_t>(length));
        for (int32_t i = 0; i < length; ++i) {
            input[static_cast<size_t>(i)] = static_cast<unsigned char>(255 - i * 11);
        }
        std::vector<char> text(400);
        int32_t textLength = 0;
        ASSERT_EQ(XspBinToB64(input.data(), length, text.data(), &textLength, 400), 0);
        ASSERT_EQ(textLength % 4, 0);
        const Decoded decoded = decode(std::string(text.data(), size_t(textLength)), 255);
        ASSERT_EQ(decoded.status, 0) << "length " << length;
        EXPECT_EQ(decoded.bytes, input) << "length " << length;
    }
}

TEST(XspEncLib, EncryptRejectsMissingPointersAndBadLengths) {
    unsigned char in[4] = {1, 2, 3, 4}, out[4];
    int32_t length = 0;
    EXPECT_EQ(XspEncrypt(nullptr, 4, out, &length, 4), -1);
    EXPECT_EQ(XspEncrypt(in, 4, nullptr, &length, 4), -1);
    EXPECT_EQ(XspEncrypt(in, 4, out, nullptr, 4), -1);
    EXPECT_EQ(XspEncrypt(in, 0, out, &length, 4), -2);
    EXPECT_EQ(XspEncrypt(in, -1, out, &length, 4), -2);
    EXPECT_EQ(XspEncrypt(in, 4, out, &length, 0), -2);
}

TEST(XspEncLib, EncryptStopsAtTheCapacityKeepingWholeGroups) {
    const unsigned char in[9] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    unsigned char out[9] = {};
    int32_t length = -1;
    EXPECT_EQ(XspEncrypt(in, 9, out, &length, 7), -3);
    EXPECT_EQ(length, 4);
    EXPECT_EQ(out[0], '1' ^ 'q');
    EXPECT_EQ(out[3], '4' ^ 't');
    EXPECT_EQ(out[4], 0);

    // The tail of 1 byte does not fit after two groups: the groups stay counted.
    length = -1;
    EXPECT_EQ(XspEncrypt(in, 9, out, &length, 8), -3);
    EXPECT_EQ(length, 8);
}

TEST(XspEncLib, BinToB64PadsAndAnswersSizeQueries) {
    const unsigned char in[3] = {0xFB, 0xFF, 0x00};
    char out[8];
    int32_t length = 0;
    ASSERT_EQ(XspBinToB64(in, 1, out, &length, 8), 0);
    EXPECT_EQ(std::string(out, size_t(length)), "+w==");
    ASSERT_EQ(XspBinToB64(in, 2, out, &length, 8), 0);
    EXPECT_EQ(std::string(out, size_t(length)), "+/8=");
    ASSERT_EQ(XspBinToB64(in, 3, out, &length, 8), 0);
    EXPECT_EQ(std::string(out, size_t(length)), "+/8A");

    length = 0;
    EXPECT_EQ(XspBinToB64(in, 3, nullptr, &length, 0), -3);
    EXPECT_EQ(length, 4);
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(XspBinToB64(in, 2, out, &length, 3), -3);
    EXPECT_EQ(length, 4);
    EXPECT_EQ(out[0], '#');

    EXPECT_EQ(XspBinToB64(in, 3, nullptr, &length, 4), -1);
    EXPECT_EQ(XspBinToB64(nullptr, 3, out, &length, 4), -1);
    EXPECT_EQ(XspBinToB64(in, 0, out, &length, 4), -2);
    EXPECT_EQ(XspBinToB64(in, 3, out, &length, -1), -2);
}

TEST(XspEncLib, BinToB64RefusesLengthsWhoseEncodingOverflows) {
    const unsigned char in[1] = {0};
    int32_t length = 0;
    // The needed size of 2^31-1 bytes does not fit a 32-bit count; no memory is touched.
    EXPECT_EQ(XspBinToB64(in, INT32_MAX, nullptr, &length, 0), -2);
}

TEST(XspEncLib, B64ToBinHandlesPadsWhiteSpaceAndSizeQueries) {
    EXPECT_EQ(decode("+w==").bytes, std::vector<unsigned char>({0xFB}));
    EXPECT_EQ(decode("+/8=").bytes, std::vector<unsigned char>({0xFB, 0xFF}));
    EXPECT_EQ(decode(" +/\t8A\r\n").bytes, std::vector<unsigned char>({0xFB, 0xFF, 0x00}));
    EXPECT_EQ(decode("QUJD").bytes, std::vector<unsigned char>({'A', 'B', 'C'}));

    EXPECT_EQ(decode("QUJ").status, -2);
    EXPECT_EQ(decode("QUJDQ").status, -2);

    int32_t length = 0;
    EXPECT_EQ(XspB64ToBin("QUJDQQ==", 8, nullptr, &length, 0), -3);
    EXPECT_EQ(length, 4);
    const Decoded tooSmall = decode("QUJDQQ==", 3);
    EXPECT_EQ(tooSmall.status, -3);
    EXPECT_EQ(tooSmall.length, 4);

    unsigned char out[4];
    EXPECT_EQ(XspB64ToBin(nullptr, 4, out, &length, 4), -1);
    EXPECT_EQ(XspB64ToBin("QUJD", 4, out, nullptr, 4), -1);
    EXPECT_EQ(XspB64ToBin("QUJD", 4, nullptr, &length, 4), -1);
    EXPECT_EQ(XspB64ToBin("QUJD", 4, out, &length, -1), -2);
}

TEST(XspEncLib, B64ToBinStopsAtTheGivenLengthAndAtNul) {
    // Only the first quad lies within the given length.
    unsigned char out[8] = {};
    int32_t length = 0;
    ASSERT_EQ(XspB64ToBin("QUJDRUZH", 4, out, &length, 8), 0);
    EXPECT_EQ(length, 3);

    const std::string withNul("QUJD\0\0\0\0", 8);
    const Decoded decoded = decode(withNul);
    ASSERT_EQ(decoded.status, 0);
    EXPECT_EQ(decoded.bytes, std::vector<unsigned char>({'A', 'B', 'C'}));
}

TEST(XspEncLib, B64ToBinRejectsCharactersOutsideTheAlphabet) {
    for (const std::string text : {"QU-D", "QUJ.", "QUD\x80", "Q\xff==", "=QUJ", "Q===", "QQ=A",
                                   "QQ==QUJD", "QUJ=QUJD", "QUJ\x7f"}) {
        std::vector<unsigned char> out(8, 0xEE);
        int32_t length = -99;
        EXPECT_EQ(
            XspB64ToBin(text.data(), static_cast<int32_t>(text.size()), out.data(), &length, 8), -2)
            << text;
        EXPECT_EQ(length, -99) << text;
        EXPECT_EQ(out[0], 0xEE) << text;
    }
}

TEST(XspEncLib, DecodeTableMatchesTheAlphabet) {
    int valid = 0;
    for (int c = 0; c < 128; ++c) {
        if (B64TBL[c] != 255) {
            ++valid;
            EXPECT_EQ(B64CHR[B64TBL[c]], c);
        }
    }
    EXPECT_EQ(valid, 64);
    EXPECT_EQ(B64TBL[static_cast<unsigned char>('=')], 255);
    EXPECT_EQ(std::string(xspkey, 4), "qmzt");
}

TEST(XspEncLib, B64ToBinRefusesAShortLastGroupAndAnswersTheExactSize) {
    // Fewer than four characters before the end (or a NUL) is a cut-off text, never a shorter
    // result; spaces pad the raw length to a multiple of four.
    const std::string kCutOff[] = {"YWJ ",
                                   "YQ  ",
                                   "Y   ",
                                   "YWJjYQ  ",
                                   "YWJjY   ",
                                   "YWJj\nYQ\n\n\n\n\n",
                                   std::string("YWJ\0", 4),
                                   std::string("YWJjY\0\0\0", 8)};
    for (const std::string& text : kCutOff) {
        std::vector<unsigned char> out(8, 0xEE);
        int32_t length = -99;
        EXPECT_EQ(
            XspB64ToBin(text.data(), static_cast<int32_t>(text.size()), out.data(), &length, 8), -2)
            << text;
        EXPECT_EQ(length, -99) << text;
        EXPECT_EQ(out[0], 0xEE) << text;
    }
    // The size query counts what decoding writes, not what the raw length could hold.
    int32_t length = 0;
    EXPECT_EQ(XspB64ToBin(" +/\t8A\r\n", 8, nullptr, &length, 0), -3);
    EXPECT_EQ(length, 3);
    EXPECT_EQ(decode(" +/\t8A\r\n", 3).bytes, std::vector<unsigned char>({0xFB, 0xFF, 0x00}));
}
