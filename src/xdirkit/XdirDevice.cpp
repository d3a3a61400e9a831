// The printer's entry points of the C interface: the destination chosen last, and the device
// records converted to and from the device protocol's book. Each call makes its own client, so
// nothing of one call (a connection, a password) outlives it.
#include "DataHandle.h"
#include "DeviceClient.h"
#include "RecordText.h"
#include "xdirkit/XdirKit.h"

#include <cstring>
#include <iostream>
#include <mutex>

namespace {

using xdirkit::DeviceBook;
using xdirkit::DeviceClient;
using xdirkit::DeviceEndpoint;
using Outcome = DeviceClient::Outcome;

// The destination of the next calls; absent until one is set, and after an unusable one, so a
// call never reaches the printer chosen before by mistake.
struct Destination {
    std::mutex mutex;
    std::optional<DeviceEndpoint> endpoint;
};

Destination& destination() {
    static Destination shared;
    return shared;
}

std::optional<DeviceEndpoint> currentEndpoint() {
    std::lock_guard lock(destination().mutex);
    return destination().endpoint;
}

// One line on standard error for a failure the caller sees only as a status.
void report(const char* function, const DeviceClient& client) {
    if (!client.lastReason().empty())
        std::cerr << function << " - " << client.lastReason() << "\n";
}

bool writeText(uint16_t* field, std::size_t units, const std::string& text) {
    const auto converted = xdirkit::utf16FromUtf8(text);
    return converted && xdirkit::writeField(field, units, *converted);
}

std::optional<std::string> readText(const uint16_t* field, std::size_t units) {
    const auto text = xdirkit::readField(field, units);
    if (!text || text->empty())
        return std::nullopt;
    return xdirkit::utf8FromUtf16(*text);
}

// The book as device records; false when a text does not fit, which the book's rules exclude.
bool toRecords(const DeviceBook& book, std::vector<XDIRFaxRecord>& entries,
               std::vector<XDIRFaxGroupRecord>& groups) {
    entries.assign(book.individuals.size(), XDIRFaxRecord{});
    for (std::size_t i = 0; i < book.individuals.size(); ++i) {
        const DeviceBook::Individual& individual = book.individuals[i];
        XDIRFaxRecord& record = entries[i];
        record.identifier = individual.id;
        if (!writeText(record.name, XDIR_NAME_UNITS, individual.name) ||
            !writeText(record.faxNumber, XDIR_FAX_NUMBER_UNITS, individual.faxNumber))
            return false;
    }
    groups.assign(book.groups.size(), XDIRFaxGroupRecord{});
    for (std::size_t i = 0; i < book.groups.size(); ++i) {
        const DeviceBook::Group& group = book.groups[i];
        XDIRFaxGroupRecord& record = groups[i];
        if (!writeText(record.name, XDIR_NAME_UNITS, group.name) ||
            group.members.size() > XDIR_FAX_GROUP_MEMBERS)
            return false;
        record.memberCount = static_cast<uint16_t>(group.members.size());
        std::copy(group.members.begin(), group.members.end(), record.memberIdentifiers);
    }
    return true;
}

// The handle's device records as a book; absent when a record's text cannot be read.
std::optional<DeviceBook> fromRecords(const xdirkit::DataHandle& handle) {
    DeviceBook book;
    for (const XDIRFaxRecord& record : handle.fax()) {
        auto name = readText(record.name, XDIR_NAME_UNITS);
        auto faxNumber = readText(record.faxNumber, XDIR_FAX_NUMBER_UNITS);
        if (!name || !faxNumber)
            return std::nullopt;
        book.individuals.push_back({record.identifier, std::move(*name), std::move(*faxNumber)});
    }
    for (const XDIRFaxGroupRecord& record : handle.faxGroups()) {
        auto name = readText(record.name, XDIR_NAME_UNITS);
        if (!name || record.memberCount > XDIR_FAX_GROUP_MEMBERS)
            return std::nullopt;
        book.groups.push_back(
            {std::move(*name),
             {record.memberIdentifiers, record.memberIdentifiers + record.memberCount}});
    }
    return book;
}

} // namespace

extern "C" {

int32_t XdirDevice_SetDestinationDevice(int32_t reserved, int32_t kind, const char* address) {
    std::optional<DeviceEndpoint> endpoint;
    if (reserved == 0)
        endpoint = DeviceEndpoint::forDevice(kind, address);
    std::lock_guard lock(destination().mutex);
    destination().endpoint = endpoint;
    return endpoint ? XDIR_OK : XDIR_ERR_BAD_ARGUMENT;
}

int32_t XdirDevice_GetStatus(int32_t reserved, int32_t what) {
    if (reserved != 0 || what != XDIR_DEVICE_QUERY_STATUS)
        return XDIR_ERR_BAD_ARGUMENT;
    const auto endpoint = currentEndpoint();
    if (!endpoint)
        return XDIR_ERR_DEVICE_NOT_SET;
    DeviceClient client(*endpoint);
    const Outcome outcome = client.status();
    if (outcome == Outcome::Ok)
        return XDIR_DEVICE_READY;
    report("XdirDevice_GetStatus", client);
    return DeviceClient::statusOf(outcome);
}

int32_t XdirDevice_ReadData(int32_t reserved, XDIRDataRef data, int32_t what,
                            const char* password) {
    if (reserved != 0 || !data || what != XDIR_DEVICE_ADDRESS_BOOK || !password)
        return XDIR_ERR_BAD_ARGUMENT;
    const auto endpoint = currentEndpoint();
    if (!endpoint)
        return XDIR_ERR_DEVICE_NOT_SET;
    DeviceClient client(*endpoint);
    DeviceClient::ReadResult result = client.readBook(password);
    if (result.outcome != Outcome::Ok) {
        report("XdirDevice_ReadData", client);
        return DeviceClient::statusOf(result.outcome);
    }
    std::vector<XDIRFaxRecord> entries;
    std::vector<XDIRFaxGroupRecord> groups;
    if (!toRecords(result.book, entries, groups))
        return XDIR_ERR_DEVICE_INVALID_BOOK;
    data->handle.setDevice(std::move(entries), std::move(groups), std::move(result.etag));
    return XDIR_OK;
}

int32_t XdirDevice_WriteData(int32_t reserved, XDIRDataRef data, int32_t what,
                             const char* password) {
    if (reserved != 0 || !data || what != XDIR_DEVICE_ADDRESS_BOOK || !password)
        return XDIR_ERR_BAD_ARGUMENT;
    const auto book = fromRecords(data->handle);
    // Records the printer would refuse are refused here, before the password goes anywhere.
    if (!book || !book->brokenRule().empty())
        return XDIR_ERR_BAD_RECORD;
    const auto endpoint = currentEndpoint();
    if (!endpoint)
        return XDIR_ERR_DEVICE_NOT_SET;
    DeviceClient client(*endpoint);
    DeviceClient::WriteResult result = client.writeBook(*book, data->handle.deviceETag(), password);
    if (result.outcome != Outcome::Ok) {
        report("XdirDevice_WriteData", client);
        // The book was checked above, so an invalid book now is the printer's refusal.
        return result.outcome == Outcome::InvalidBook ? XDIR_ERR_DEVICE_REJECTED
                                                      : DeviceClient::statusOf(result.outcome);
    }
    data->handle.setDevice(data->handle.fax(), data->handle.faxGroups(), std::move(result.etag));
    return XDIR_OK;
}

} // extern "C"
