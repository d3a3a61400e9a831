#include "vextelpde/AddressBookRecords.h"

#include "common/UtilityService.h"

namespace tarvik_pde_m40vextel::address_book_records {

std::uint16_t readUInt16(const unsigned char* record, std::size_t offset) {
    return static_cast<std::uint16_t>(record[offset] | (record[offset + 1] << 8));
}

std::optional<QString> readText(const unsigned char* record, TextField field) {
    return UtilityService::stringFromUnicodeBuf(record + field.offset,
                                                static_cast<qsizetype>(field.size));
}

bool writeText(unsigned char* record, TextField field, const QString& text) {
    // QString holds UTF-16 already; only a lone surrogate has no UTF-16 form.
    const auto units = static_cast<std::size_t>(text.size());
    if ((units + 1) * 2 > field.size || !QStringView(text).isValidUtf16()) {
        return false;
    }
    unsigned char* out = record + field.offset;
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t unit = text.at(static_cast<qsizetype>(i)).unicode();
        out[2 * i] = static_cast<unsigned char>(unit & 0xFF);
        out[2 * i + 1] = static_cast<unsigned char>(unit >> 8);
    }
    out[2 * units] = 0;
    out[2 * units + 1] = 0;
    return true;
}

void writeInt64(unsigned char* record, std::size_t offset, std::int64_t value) {
    auto bits = static_cast<std::uint64_t>(value);
    for (std::size_t i = 0; i < 8; ++i) {
        record[offset + i] = static_cast<unsigned char>(bits & 0xFF);
        bits >>= 8;
    }
}

} // namespace tarvik_pde_m40vextel::address_book_records
