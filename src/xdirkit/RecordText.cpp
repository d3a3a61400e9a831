#include "RecordText.h"

#include <algorithm>
#include <bit>
#include <cstring>

// Records hold UTF-16 little-endian; the fields are copied as native units.
static_assert(std::endian::native == std::endian::little, "records are little-endian");

namespace xdirkit {
namespace {

bool isHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Length of a UTF-8 sequence from its lead byte, 0 for a byte that cannot lead.
int sequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

void appendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

// Calls unit(u) for each UTF-16 unit of the text; false, at the first fault, when the bytes are
// not valid UTF-8.
template <typename Unit> bool decodeUtf8(std::string_view text, Unit unit) {
    static constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            unit(static_cast<char16_t>(lead));
            ++i;
            continue;
        }
        const int length = sequenceLength(lead);
        if (length == 0 || i + length > text.size())
            return false;
        char32_t codePoint = lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        if (codePoint < kMinimum[length] || codePoint > 0x10FFFF ||
            (codePoint >= 0xD800 && codePoint <= 0xDFFF))
            return false;
        if (codePoint >= 0x10000) {
            codePoint -= 0x10000;
            unit(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
            unit(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
        } else {
            unit(static_cast<char16_t>(codePoint));
        }
        i += length;
    }
    return true;
}

} // namespace

std::optional<std::u16string> utf16FromUtf8(std::string_view text) {
    std::u16string out;
    if (!appendUtf16(out, text))
        return std::nullopt;
    return out;
}

bool appendUtf16(std::u16string& out, std::string_view text) {
    const std::size_t start = out.size();
    // At most one unit per byte: room for all of them, written without growing.
    out.resize(start + text.size());
    char16_t* next = out.data() + start;
    if (!decodeUtf8(text, [&next](char16_t unit) { *next++ = unit; })) {
        out.resize(start);
        return false;
    }
    out.resize(static_cast<std::size_t>(next - out.data()));
    return true;
}

bool isValidUtf8(std::string_view text) {
    // ASCII runs, the common case, need no decoding.
    for (unsigned char c : text)
        if (c >= 0x80)
            return decodeUtf8(text, [](char16_t) {});
    return true;
}

std::optional<std::string> utf8FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t unit = text[i];
        if (isHighSurrogate(unit)) {
            if (i + 1 >= text.size() || !isLowSurrogate(text[i + 1]))
                return std::nullopt;
            unit = 0x10000 + ((unit - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (isLowSurrogate(unit)) {
            return std::nullopt;
        }
        appendUtf8(out, unit);
    }
    return out;
}

std::u16string_view cutAtCodePoint(std::u16string_view text, std::size_t maxUnits) {
    if (text.size() <= maxUnits)
        return text;
    std::size_t length = maxUnits;
    if (length > 0 && isHighSurrogate(text[length - 1]) && isLowSurrogate(text[length]))
        --length;
    return text.substr(0, length);
}

std::optional<std::u16string> readField(const uint16_t* field, std::size_t fieldUnits) {
    const uint16_t* end = std::find(field, field + fieldUnits, uint16_t{0});
    if (end == field + fieldUnits)
        return std::nullopt;
    return std::u16string(field, end);
}

bool writeField(uint16_t* field, std::size_t fieldUnits, std::u16string_view text) {
    if (text.size() >= fieldUnits)
        return false;
    std::copy(text.begin(), text.end(), field);
    std::fill(field + text.size(), field + fieldUnits, uint16_t{0});
    return true;
}

} // namespace xdirkit
