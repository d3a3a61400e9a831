#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace tarvik_pde_m40vextel {

// The byte layouts of the address-book library's records and the statuses the dialog and the
// picker tell apart. Text fields are UTF-16 little-endian ended by a zero unit inside the field;
// identifiers and counts are unsigned 16-bit little-endian.
namespace address_book_records {

struct TextField {
    std::size_t offset;
    std::size_t size;
};

// Personal fax entry: read from PC files and written when adding to a file.
constexpr std::size_t kMyFaxSize = 960;
constexpr std::size_t kMyFaxIdentifierOffset = 0;
constexpr TextField kMyFaxName{2, 66};
constexpr TextField kMyFaxNumber{68, 102};
constexpr TextField kMyFaxCompany{170, 130};
constexpr TextField kMyFaxNote{300, 510};
constexpr std::size_t kMyFaxTimeStampOffset = 816;

// Personal fax group.
constexpr std::size_t kMyFaxGroupSize = 144;
constexpr TextField kMyFaxGroupName{2, 66};
constexpr std::size_t kMyFaxGroupMemberCountOffset = 80;
constexpr std::size_t kMyFaxGroupMembersOffset = 82;

// Device fax entry.
constexpr std::size_t kFaxSize = 176;
constexpr std::size_t kFaxIdentifierOffset = 0;
constexpr TextField kFaxName{2, 66};
constexpr TextField kFaxNumber{68, 102};

// Device fax group.
constexpr std::size_t kFaxGroupSize = 472;
constexpr TextField kFaxGroupName{2, 66};
constexpr std::size_t kFaxGroupMemberCountOffset = 68;
constexpr std::size_t kFaxGroupMembersOffset = 70;

// Statuses. 0x20000001 and 0x20000008 are set by the dialog itself, never by the library.
constexpr std::int32_t kStatusSuccess = 0;
constexpr std::int32_t kStatusCannotConvert = 0x20000001;
constexpr std::int32_t kStatusWrongPassword = 0x20000003;
constexpr std::int32_t kStatusNoName = 0x20000008;
constexpr std::int32_t kStatusAlreadyExists = 0x20000010;
constexpr std::int32_t kStatusDeviceReady = 0x21000001;

// The arguments the library is always called with.
constexpr std::int32_t kReserved = 0;
constexpr std::int32_t kDeviceStatusQuery = 2048;
constexpr std::int32_t kDeviceReadAddressBook = 23;
constexpr std::int32_t kDeviceOnUsb = 0;
constexpr std::int32_t kDeviceOnNetwork = 1;
constexpr std::int32_t kNoFlags = 0;

std::uint16_t readUInt16(const unsigned char* record, std::size_t offset);
// The field's text; none when it is empty or has no zero unit inside it.
std::optional<QString> readText(const unsigned char* record, TextField field);
// False when the text (with its zero unit) does not fit the field or holds a lone surrogate;
// the field is then untouched.
bool writeText(unsigned char* record, TextField field, const QString& text);
void writeInt64(unsigned char* record, std::size_t offset, std::int64_t value);

} // namespace address_book_records

} // namespace tarvik_pde_m40vextel
