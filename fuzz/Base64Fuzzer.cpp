// The Base64 pair. Properties: the size query and the decode agree; a refused input (-2) leaves
// the output untouched; encoding any bytes and decoding the result gives the bytes back.
#include "FuzzSupport.h"
#include "xsplib/xspenclib.h"

#include <climits>
#include <cstring>
#include <vector>

namespace {

constexpr unsigned char kCanary = 0xA5;

void checkDecode(const char* text, int32_t length) {
    int32_t needed = -1;
    const int32_t queried = XspB64ToBin(text, length, nullptr, &needed, 0);
    FUZZ_CHECK(queried == -2 || queried == -3);

    // Room for every byte the text could spell, plus a margin that must stay untouched.
    const int32_t room = length / 4 * 3 + 8;
    std::vector<unsigned char> output(static_cast<size_t>(room), kCanary);
    int32_t produced = -1;
    const int32_t status = XspB64ToBin(text, length, output.data(), &produced, room);
    if (queried == -2) {
        FUZZ_CHECK(status == -2);
        for (unsigned char byte : output) {
            FUZZ_CHECK(byte == kCanary);
        }
        return;
    }
    FUZZ_CHECK(status == 0);
    FUZZ_CHECK(produced == needed);
    for (size_t i = static_cast<size_t>(produced); i < output.size(); ++i) {
        FUZZ_CHECK(output[i] == kCanary);
    }
    // One byte less than asked for is too small, and writes nothing.
    if (needed > 0) {
        std::vector<unsigned char> small(static_cast<size_t>(needed) - 1 + 8, kCanary);
        int32_t smallProduced = -1;
        FUZZ_CHECK(XspB64ToBin(text, length, small.data(), &smallProduced, needed - 1) == -3);
        for (unsigned char byte : small) {
            FUZZ_CHECK(byte == kCanary);
        }
    }
}

void checkRoundTrip(const unsigned char* bytes, int32_t length) {
    if (length <= 0) {
        return;
    }
    int32_t needed = -1;
    FUZZ_CHECK(XspBinToB64(bytes, length, nullptr, &needed, 0) == -3);
    std::vector<char> encoded(static_cast<size_t>(needed));
    int32_t encodedLength = -1;
    FUZZ_CHECK(XspBinToB64(bytes, length, encoded.data(), &encodedLength, needed) == 0);
    FUZZ_CHECK(encodedLength == needed);
    std::vector<unsigned char> decoded(static_cast<size_t>(length));
    int32_t decodedLength = -1;
    FUZZ_CHECK(XspB64ToBin(encoded.data(), encodedLength, decoded.data(), &decodedLength, length) ==
               0);
    FUZZ_CHECK(decodedLength == length);
    FUZZ_CHECK(std::memcmp(decoded.data(), bytes, static_cast<size_t>(length)) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 20) {
        return 0;
    }
    const auto length = static_cast<int32_t>(size);
    if (length > 0) {
        checkDecode(reinterpret_cast<const char*>(data), length);
    }
    checkRoundTrip(data, length);
    return 0;
}
