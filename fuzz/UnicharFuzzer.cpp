// The fixed UTF-16 field reader. Property: the text is exactly the units before the first 0 unit
// of the field, and none when the field has no terminator or is empty.
#include "FuzzSupport.h"
#include "common/UtilityService.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 16) {
        return 0;
    }
    // An exact-size copy, so a read past the field is seen by the sanitizer.
    const std::vector<uint8_t> field(data, data + size);
    const auto length = static_cast<qsizetype>(size);
    const std::optional<QString> text = tarvik_pde_m40vextel::UtilityService::stringFromUnicodeBuf(
        field.empty() ? nullptr : field.data(), length);

    std::optional<QString> expected;
    QString units;
    for (size_t i = 0; i + 1 < size; i += 2) {
        const char16_t unit = static_cast<char16_t>(field[i] | field[i + 1] << 8);
        if (unit == 0) {
            expected = units;
            break;
        }
        units.append(QChar(unit));
    }
    if (expected && expected->isEmpty()) {
        expected.reset(); // an empty field reads as none
    }
    FUZZ_CHECK(text == expected);
    return 0;
}
