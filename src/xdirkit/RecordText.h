#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Text conversions between the library's UTF-8 strings and the UTF-16 fields of its records.
namespace xdirkit {

// Null when the bytes are not valid UTF-8 (overlong forms, surrogates and truncated sequences
// included).
std::optional<std::u16string> utf16FromUtf8(std::string_view text);
// Appends the text as UTF-16; false, with out as it was, when the bytes are not valid UTF-8.
bool appendUtf16(std::u16string& out, std::string_view text);
bool isValidUtf8(std::string_view text);
// Null when the text holds an unpaired surrogate.
std::optional<std::string> utf8FromUtf16(std::u16string_view text);

// The longest prefix of at most maxUnits units that does not split a surrogate pair.
std::u16string_view cutAtCodePoint(std::u16string_view text, std::size_t maxUnits);

// The units before the first zero unit of a field of fieldUnits units; null when the field
// holds no zero unit.
std::optional<std::u16string> readField(const uint16_t* field, std::size_t fieldUnits);
// Writes text and its zero unit, zero-filling the rest of the field; false (field untouched)
// when text and the zero unit do not fit.
bool writeField(uint16_t* field, std::size_t fieldUnits, std::u16string_view text);

} // namespace xdirkit
