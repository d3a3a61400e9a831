#pragma once

#include <cstdint>
#include <cups/ppd.h>

namespace tarvik_pde_m40vextel {

// A four-character code as one 32-bit value, the first character in the highest byte.
constexpr uint32_t fourCharCode(const char (&code)[5]) {
    return (uint32_t(uint8_t(code[0])) << 24) | (uint32_t(uint8_t(code[1])) << 16) |
           (uint32_t(uint8_t(code[2])) << 8) | uint32_t(uint8_t(code[3]));
}

// The selectors of Gestalt_ALT keep the platform's names, on purpose (not kName).
inline constexpr uint32_t gestaltSystemVersion = fourCharCode("sysv");
inline constexpr uint32_t gestaltSystemVersionMajor = fourCharCode("sys1");
inline constexpr uint32_t gestaltSystemVersionMinor = fourCharCode("sys2");
inline constexpr uint32_t gestaltSystemVersionBugFix = fourCharCode("sys3");

// The system version in the old selector style, derived from the kernel release once per
// process: 0x1000 + (kernel major - 4) * 16 + kernel minor (low 4 bits). 0 for a known selector;
// -1, with a line on standard error and the response untouched, for any other (or without a
// response to write).
int16_t Gestalt_ALT(uint32_t selector, int32_t* response);

// The first attribute of the PPD, in PPD order, whose name begins with the given name; null
// without a PPD, with a missing or empty name, or when none matches. The option specifier is not
// looked at.
ppd_attr_t* ppdFindAttr_ALT(const ppd_file_t* ppd, const char* name);

} // namespace tarvik_pde_m40vextel
