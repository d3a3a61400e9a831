// The input checker. Property: a partial string is accepted exactly when its length in UTF-16
// code units is within the maximum and every unit lies in an accepted range and in no refused
// one; the checker never converts the text.
#include "FuzzSupport.h"
#include "common/InputStringChecker.h"

#include <QString>
#include <QVariant>
#include <iterator>

namespace {

using tarvik_pde_m40vextel::CodeRange;
using tarvik_pde_m40vextel::InputStringChecker;

// Range lists as the panel uses them, and a few edge lists: the last code unit, a single code.
constexpr CodeRange kWholeTopRange[] = {{0xFF00, 0xFFFF}, {0, 0}};
constexpr CodeRange kSingleCode[] = {{0x0041, 0x0041}, {0, 0}};
constexpr CodeRange kEmpty[] = {{0, 0}};
const CodeRange* const kRangeLists[] = {
    nullptr,
    tarvik_pde_m40vextel::kSenderNameAcceptableRange,
    tarvik_pde_m40vextel::kPhoneNumberAcceptableRange,
    tarvik_pde_m40vextel::kPasswordAcceptableRange,
    kWholeTopRange,
    kSingleCode,
    kEmpty,
};
constexpr size_t kRangeListCount = std::size(kRangeLists);

bool inRanges(const CodeRange* ranges, char16_t unit) {
    for (const CodeRange* range = ranges; range != nullptr && range->low != 0; ++range) {
        if (unit >= range->low && unit <= range->high) {
            return true;
        }
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InputReader input(data, size);
    const uint8_t choice = input.takeByte();
    const uint8_t limitByte = input.takeByte();
    const CodeRange* accepted = kRangeLists[choice % kRangeListCount];
    const CodeRange* refused = kRangeLists[(choice / kRangeListCount) % kRangeListCount];
    const bool setAccepted = (choice & 0x80) != 0;
    const uint64_t limit = limitByte == 0xFF ? InputStringChecker::kNoLimit : limitByte;

    QString text;
    while (input.restSize() >= 2) {
        text.append(QChar(input.takeUint16()));
    }

    InputStringChecker checker;
    checker.setMaxLength(limit);
    if (setAccepted) {
        checker.setAcceptableCodeRange(accepted);
    }
    checker.setUnAcceptableCodeRange(refused);

    bool expected = static_cast<uint64_t>(text.size()) <= limit;
    for (const QChar unit : text) {
        if (setAccepted && !inRanges(accepted, unit.unicode())) {
            expected = false;
        }
        if (inRanges(refused, unit.unicode())) {
            expected = false;
        }
    }
    FUZZ_CHECK(checker.isPartialStringValid(text, nullptr, nullptr) == expected);

    QVariant value;
    FUZZ_CHECK(checker.getObjectValue(&value, text, nullptr));
    FUZZ_CHECK(value.toString() == text);
    FUZZ_CHECK(checker.stringForObjectValue(value) == text);
    return 0;
}
