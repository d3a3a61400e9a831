#pragma once

#include "xdirkit/XdirKit.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace tarvik_pde_m40vextel {

// The address-book library's records as byte layouts (fields taken from the library's own
// declarations) and the statuses the dialog and the picker tell apart. Text fields are UTF-16
// little-endian ended by a zero unit inside the field; identifiers and counts are unsigned 16-bit
// little-endian.
namespace address_book_records {

struct TextField {
    std::size_t offset;
    std::size_t size;
};

// Personal fax entry: read from PC files and written when adding to a file.
constexpr std::size_t kMyFaxSize = sizeof(XDIRMyFaxRecord);
constexpr std::size_t kMyFaxIdentifierOffset = offsetof(XDIRMyFaxRecord, identifier);
constexpr TextField kMyFaxName{offsetof(XDIRMyFaxRecord, name), sizeof(XDIRMyFaxRecord::name)};
constexpr TextField kMyFaxNumber{offsetof(XDIRMyFaxRecord, faxNumber),
                                 sizeof(XDIRMyFaxRecord::faxNumber)};
constexpr TextField kMyFaxCompany{offsetof(XDIRMyFaxRecord, company),
                                  sizeof(XDIRMyFaxRecord::company)};
constexpr TextField kMyFaxNote{offsetof(XDIRMyFaxRecord, note), sizeof(XDIRMyFaxRecord::note)};
constexpr std::size_t kMyFaxTimeStampOffset = offsetof(XDIRMyFaxRecord, timeStamp);

// Personal fax group.
constexpr std::size_t kMyFaxGroupSize = sizeof(XDIRMyFaxGroupRecord);
constexpr TextField kMyFaxGroupName{offsetof(XDIRMyFaxGroupRecord, name),
                                    sizeof(XDIRMyFaxGroupRecord::name)};
constexpr std::size_t kMyFaxGroupMemberCountOffset = offsetof(XDIRMyFaxGroupRecord, memberCount);
constexpr std::size_t kMyFaxGroupMembersOffset = offsetof(XDIRMyFaxGroupRecord, memberIdentifiers);

// Device fax entry.
constexpr std::size_t kFaxSize = sizeof(XDIRFaxRecord);
constexpr std::size_t kFaxIdentifierOffset = offsetof(XDIRFaxRecord, identifier);
constexpr TextField kFaxName{offsetof(XDIRFaxRecord, name), sizeof(XDIRFaxRecord::name)};
constexpr TextField kFaxNumber{offsetof(XDIRFaxRecord, faxNumber),
                               sizeof(XDIRFaxRecord::faxNumber)};

// Device fax group.
constexpr std::size_t kFaxGroupSize = sizeof(XDIRFaxGroupRecord);
constexpr TextField kFaxGroupName{offsetof(XDIRFaxGroupRecord, name),
                                  sizeof(XDIRFaxGroupRecord::name)};
constexpr std::size_t kFaxGroupMemberCountOffset = offsetof(XDIRFaxGroupRecord, memberCount);
constexpr std::size_t kFaxGroupMembersOffset = offsetof(XDIRFaxGroupRecord, memberIdentifiers);

// The largest record: one buffer of this size takes any of the four.
constexpr std::size_t kLargestRecordSize = kMyFaxSize;
static_assert(kLargestRecordSize >= kMyFaxGroupSize && kLargestRecordSize >= kFaxSize &&
              kLargestRecordSize >= kFaxGroupSize);

// Statuses the dialog and the picker tell apart. 0x20000001 and 0x20000008 are the dialog's own
// and never come from the library.
constexpr std::int32_t kStatusSuccess = XDIR_OK;
constexpr std::int32_t kStatusCannotConvert = 0x20000001;
constexpr std::int32_t kStatusWrongPassword = XDIR_ERR_WRONG_PASSWORD;
constexpr std::int32_t kStatusNoName = 0x20000008;
constexpr std::int32_t kStatusAlreadyExists = XDIR_ERR_DUPLICATE_ENTRY;
constexpr std::int32_t kStatusDeviceReady = XDIR_DEVICE_READY;

// The arguments the library is always called with.
constexpr std::int32_t kReserved = 0;
constexpr std::int32_t kDeviceStatusQuery = XDIR_DEVICE_QUERY_STATUS;
constexpr std::int32_t kDeviceReadAddressBook = XDIR_DEVICE_ADDRESS_BOOK;
constexpr std::int32_t kDeviceOnUsb = XDIR_DEVICE_KIND_USB;
constexpr std::int32_t kDeviceOnNetwork = XDIR_DEVICE_KIND_NETWORK;
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
