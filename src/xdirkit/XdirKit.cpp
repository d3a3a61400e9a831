// The C entry points of the handles and the PC address books: each checks its arguments, calls
// one class and answers a status. The printer's entry points live in XdirDevice.cpp.
#include "xdirkit/XdirKit.h"

#include "AddressBookFolder.h"
#include "BookFile.h"
#include "DataHandle.h"
#include "PersonalRecords.h"
#include "RecordText.h"
#include "VCardCard.h"
#include "VCardReader.h"
#include "VCardWriter.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

using xdirkit::DataHandle;

template <typename Records>
int32_t countOf(XDIRDataRef data, const Records& (DataHandle::*records)() const) {
    if (data == nullptr)
        return XDIR_COUNT_INVALID_HANDLE;
    return static_cast<int32_t>((data->handle.*records)().size());
}

template <typename Record>
void copyRecord(const std::vector<Record>& all, std::size_t index, void* record) {
    std::memcpy(record, &all[index], sizeof(Record));
}

void copyRecord(const xdirkit::PersonalEntries& all, std::size_t index, void* record) {
    all.copyTo(index, record);
}

template <typename Records>
int32_t copyAt(XDIRDataRef data, int32_t index, void* record,
               const Records& (DataHandle::*records)() const) {
    if (data == nullptr || record == nullptr)
        return XDIR_ERR_BAD_ARGUMENT;
    const Records& all = (data->handle.*records)();
    if (index < 0 || static_cast<std::size_t>(index) >= all.size())
        return XDIR_ERR_INDEX_OUT_OF_RANGE;
    copyRecord(all, static_cast<std::size_t>(index), record);
    return XDIR_OK;
}

// A record handed in must carry a name and a fax number as a reader of the book will read them
// (a name of blanks only reads as none, a number without a digit as no fax number), and every
// text field must end inside itself and hold valid UTF-16, so that writing it out can neither
// overrun nor garble it.
bool isWellFormed(const XDIRMyFaxRecord& record) {
    const auto name = xdirkit::readField(record.name, XDIR_NAME_UNITS);
    const auto faxNumber = xdirkit::readField(record.faxNumber, XDIR_FAX_NUMBER_UNITS);
    const auto company = xdirkit::readField(record.company, XDIR_COMPANY_UNITS);
    const auto note = xdirkit::readField(record.note, XDIR_NOTE_UNITS);
    if (!name || !faxNumber || !company || !note)
        return false;
    for (const std::u16string* text : {&*name, &*faxNumber, &*company, &*note})
        if (!xdirkit::utf8FromUtf16(*text))
            return false;
    const std::string nameText = *xdirkit::utf8FromUtf16(*name);
    const std::string faxNumberText = *xdirkit::utf8FromUtf16(*faxNumber);
    return !xdirkit::VCardCard::nameOf(nameText).empty() &&
           !xdirkit::VCardCard::faxNumberOf(faxNumberText).empty();
}

} // namespace

extern "C" {

int32_t Xdir_Initialize(int32_t reserved) {
    return reserved == 0 ? XDIR_OK : XDIR_ERR_BAD_ARGUMENT;
}

XDIRDataRef XDIRData_Create(void) {
    return new (std::nothrow) XDIRData;
}

void XDIRData_Delete(XDIRDataRef data) {
    delete data;
}

int32_t XDIRData_GetCount_MyFax(XDIRDataRef data) {
    return countOf(data, &DataHandle::myFax);
}

int32_t XDIRData_GetCount_MyFaxGroup(XDIRDataRef data) {
    return countOf(data, &DataHandle::myFaxGroups);
}

int32_t XDIRData_GetCount_Fax(XDIRDataRef data) {
    return countOf(data, &DataHandle::fax);
}

int32_t XDIRData_GetCount_FaxGroup(XDIRDataRef data) {
    return countOf(data, &DataHandle::faxGroups);
}

int32_t XDIRData_GetAt_MyFax(XDIRDataRef data, int32_t index, void* record) {
    return copyAt(data, index, record, &DataHandle::myFax);
}

int32_t XDIRData_GetAt_MyFaxGroup(XDIRDataRef data, int32_t index, void* record) {
    return copyAt(data, index, record, &DataHandle::myFaxGroups);
}

int32_t XDIRData_GetAt_Fax(XDIRDataRef data, int32_t index, void* record) {
    return copyAt(data, index, record, &DataHandle::fax);
}

int32_t XDIRData_GetAt_FaxGroup(XDIRDataRef data, int32_t index, void* record) {
    return copyAt(data, index, record, &DataHandle::faxGroups);
}

int32_t XDIRData_Add_MyFax(XDIRDataRef data, int32_t count, const void* records) {
    if (data == nullptr || count < 0 || (count > 0 && records == nullptr))
        return XDIR_ERR_BAD_ARGUMENT;
    if (count > XDIR_MAX_INDIVIDUALS)
        return XDIR_ERR_TOO_MANY_INDIVIDUALS;
    // Copied first: the caller's array need not be aligned for the record type.
    std::vector<XDIRMyFaxRecord> copies;
    try {
        copies.resize(static_cast<std::size_t>(count));
    } catch (const std::bad_alloc&) {
        return XDIR_ERR_OUT_OF_MEMORY;
    }
    if (count > 0)
        std::memcpy(copies.data(), records, copies.size() * sizeof(XDIRMyFaxRecord));
    for (const XDIRMyFaxRecord& record : copies)
        if (!isWellFormed(record))
            return XDIR_ERR_BAD_RECORD;
    try {
        if (!data->handle.appendMyFax(copies.data(), copies.size()))
            return XDIR_ERR_TOO_MANY_INDIVIDUALS;
    } catch (const std::bad_alloc&) {
        return XDIR_ERR_OUT_OF_MEMORY;
    }
    return XDIR_OK;
}

const char* XdirGADFile_GetFileDirectory(void) {
    static thread_local std::string directory;
    const auto found = xdirkit::AddressBookFolder::directory();
    if (!found)
        return nullptr;
    directory = *found;
    return directory.c_str();
}

const char* XdirGADFile_GetFileList(void) {
    static thread_local std::string list;
    const auto directory = xdirkit::AddressBookFolder::directory();
    if (!directory)
        return nullptr;
    const auto names = xdirkit::AddressBookFolder::bookNames(*directory);
    if (!names)
        return nullptr;
    list.clear();
    for (const std::string& name : *names) {
        list += name;
        list += '\0';
    }
    list += '\0';
    return list.data();
}

int32_t XdirGADFile_Read(const char* path, XDIRDataRef data, int32_t flags) {
    if (path == nullptr || data == nullptr || flags != 0)
        return XDIR_ERR_BAD_ARGUMENT;
    try {
        xdirkit::PersonalRecords records;
        if (const int32_t status = records.readFile(path); status != XDIR_OK)
            return status;
        for (const std::string& warning : records.warnings)
            std::fprintf(stderr, "XdirGADFile_Read : %s: %s\n", path, warning.c_str());
        data->handle.setPersonal(std::move(records.entries), std::move(records.groups));
        return XDIR_OK;
    } catch (const std::bad_alloc&) {
        return XDIR_ERR_OUT_OF_MEMORY;
    }
}

int32_t XdirGADFile_Add(const char* path, XDIRDataRef data, int32_t flags) {
    if (path == nullptr || *path == '\0' || data == nullptr || flags != 0)
        return XDIR_ERR_BAD_ARGUMENT;
    if (data->handle.myFax().empty())
        return XDIR_OK;
    try {
        return xdirkit::VCardWriter::appendEntries(path, data->handle.myFax());
    } catch (const std::bad_alloc&) {
        return XDIR_ERR_OUT_OF_MEMORY;
    }
}

} // extern "C"
