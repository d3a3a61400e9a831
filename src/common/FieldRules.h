#pragma once

#include <cstdint>

namespace tarvik_pde_m40vextel {

// One range of UTF-16 code units, low through high inclusive. A list of ranges ends with a range
// whose low code is 0.
struct CodeRange {
    uint16_t low;
    uint16_t high;
};

inline constexpr CodeRange kSenderNameAcceptableRange[] = {{0x0020, 0x007E}, {0, 0}};
inline constexpr CodeRange kAddressNameAcceptableRange[] = {{0x0020, 0x007E}, {0, 0}};
inline constexpr CodeRange kPhoneNumberAcceptableRange[] = {{0x0030, 0x0039},
                                                            {0x0023, 0x0023},
                                                            {0x002A, 0x002A},
                                                            {0x002D, 0x002D},
                                                            {0x003A, 0x003A},
                                                            {0x003D, 0x003D},
                                                            {0, 0}};
inline constexpr CodeRange kPasswordAcceptableRange[] = {{0x0030, 0x0039}, {0, 0}};
// Free text: every code but the control characters.
inline constexpr CodeRange kFreeTextAcceptableRange[] = {
    {0x0020, 0x007E}, {0x00A0, 0xFFFF}, {0, 0}};

// What one text field takes: at most maxLength UTF-16 code units, each inside the accepted
// ranges. Every field of the fax panel, the fax-sending dialog and the address books takes its
// rule from here; InputStringChecker::forRule makes the field's formatter.
struct FieldRule {
    uint64_t maxLength;
    const CodeRange* acceptableRange;
};

// The cover page's sender name.
inline constexpr FieldRule kSenderNameRule{30, kSenderNameAcceptableRange};
// A recipient's name.
inline constexpr FieldRule kAddressNameRule{32, kAddressNameAcceptableRange};
// A recipient's fax number: digits and the dialing characters # * - : =.
inline constexpr FieldRule kPhoneNumberRule{50, kPhoneNumberAcceptableRange};
// The fax job's password: up to four digits.
inline constexpr FieldRule kPasswordRule{4, kPasswordAcceptableRange};
// A name in a PC address book: every character the picker shows (the book is not the printer's
// 7-bit name field), as many as a recipient's name.
inline constexpr FieldRule kBookNameRule{32, kFreeTextAcceptableRange};
// An address-book entry's company and note, as long as the library's personal entry record holds.
inline constexpr FieldRule kCompanyRule{64, kFreeTextAcceptableRange};
inline constexpr FieldRule kNoteRule{254, kFreeTextAcceptableRange};

} // namespace tarvik_pde_m40vextel
