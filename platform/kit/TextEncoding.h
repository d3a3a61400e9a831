#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <optional>

namespace kit {

// Text encodings named by their Core Foundation string-encoding identifiers, converted with the
// C library's iconv.
using StringEncoding = uint32_t;

namespace TextEncoding {

inline constexpr StringEncoding UTF8 = 0x08000100;
inline constexpr StringEncoding ShiftJIS_X0213 = 0x0628;
inline constexpr StringEncoding ISOLatin1 = 0x0201;
inline constexpr StringEncoding WindowsLatin1 = 0x0500;
inline constexpr StringEncoding ASCII = 0x0600;

// The iconv name of an encoding; null for an encoding this system does not know.
const char* iconvName(StringEncoding encoding);

// Converts the text from its first character into the buffer, character by character, and stops
// at the first character the encoding cannot represent and at the first character whose bytes
// would not fit whole. Writes no byte-order mark and no terminator. Returns the number of UTF-16
// code units converted; usedLength (may be null) receives the bytes written. An unknown encoding
// converts nothing.
qsizetype getBytes(const QString& text, StringEncoding encoding, unsigned char* buffer,
                   qsizetype bufferLength, qsizetype* usedLength);

// The whole text's bytes in the encoding, a U+0000 as a 0 byte like any other character; none
// when any character cannot be represented.
std::optional<QByteArray> bytesFromString(const QString& text, StringEncoding encoding);
// Converts the whole text into a NUL-terminated byte string in the buffer. False, with the buffer
// unspecified, when any character cannot be represented or the bytes and the terminator do not
// fit. All or nothing.
bool getCString(const QString& text, StringEncoding encoding, char* buffer, qsizetype bufferSize);

// The text that the bytes spell in the encoding; none when they are not valid in it.
std::optional<QString> stringFromBytes(const char* bytes, qsizetype length,
                                       StringEncoding encoding);
// UTF-8 bytes as text, every character kept: a leading U+FEFF too. Malformed sequences become
// U+FFFD.
QString decodeUtf8(QByteArrayView bytes);
// The text of a NUL-terminated byte string (up to its first 0 byte); none when not valid.
std::optional<QString> stringFromCString(const char* bytes, StringEncoding encoding);

} // namespace TextEncoding
} // namespace kit
