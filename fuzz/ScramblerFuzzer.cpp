// The password scrambler. Properties: scrambling twice gives the input back; a too small output
// takes whole groups of four only and says so.
#include "FuzzSupport.h"
#include "xsplib/xspenclib.h"

#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InputReader input(data, size);
    const int32_t capacity = input.takeByte();
    const auto length = static_cast<int32_t>(input.restSize());
    if (length == 0 || length > 1 << 16) {
        return 0;
    }
    std::vector<unsigned char> scrambled(static_cast<size_t>(length));
    int32_t scrambledLength = -1;
    FUZZ_CHECK(XspEncrypt(input.rest(), length, scrambled.data(), &scrambledLength, length) == 0);
    FUZZ_CHECK(scrambledLength == length);
    std::vector<unsigned char> restored(static_cast<size_t>(length));
    int32_t restoredLength = -1;
    FUZZ_CHECK(XspEncrypt(scrambled.data(), length, restored.data(), &restoredLength, length) == 0);
    FUZZ_CHECK(restoredLength == length);
    FUZZ_CHECK(std::memcmp(restored.data(), input.rest(), static_cast<size_t>(length)) == 0);

    if (capacity > 0 && capacity < length) {
        std::vector<unsigned char> small(static_cast<size_t>(capacity));
        int32_t smallLength = -1;
        FUZZ_CHECK(XspEncrypt(input.rest(), length, small.data(), &smallLength, capacity) == -3);
        FUZZ_CHECK(smallLength >= 0 && smallLength <= capacity && smallLength % 4 == 0);
        FUZZ_CHECK(std::memcmp(small.data(), scrambled.data(), static_cast<size_t>(smallLength)) ==
                   0);
    }
    return 0;
}
