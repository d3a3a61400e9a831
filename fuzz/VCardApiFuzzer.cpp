// The address-book library through its C interface, as the fax dialog and other programs call it:
// a book file, a read with hostile indexes and pointers, then adds of records made from the input
// (unterminated fields, unpaired surrogates, blanks, "tel:" prefixes included). Properties:
// - every status is one the call may answer; a bad index or pointer is refused, never followed;
// - a record is refused as bad exactly when its name or fax number would not read back (no
//   zero unit, not UTF-16, a blank name, a number without a digit);
// - an add that answers success leaves every old entry as it was and adds one entry per record,
//   reading back as added (blanks around the name and number and a "tel:" prefix dropped, line
//   breaks as line feeds); the same add again is a duplicate;
// - an add that answers anything else leaves the file's bytes as they were.
#include "FuzzSupport.h"
#include "RecordText.h"
#include "VCardCard.h"
#include "xdirkit/XdirKit.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string folder;
std::string book;

// Units that make records interesting: wide characters, surrogates, blanks and digits of other
// scripts; ASCII bytes stand for themselves.
constexpr char16_t kUnits[] = {0x3042, 0xD800, 0xDC00, 0xFF10, 0x00A0, 0x3000, 0x00E9,
                               0x0000, 0x000D, 0x000A, 0x0009, 0x0020, 0xFEFF, 0x2028};

void removeFolder() {
    if (folder.empty())
        return;
    ::unlink(book.c_str());
    ::unlink((folder + "/.book.vcf.lock").c_str());
    ::rmdir(folder.c_str());
}

std::string fileBytes() {
    std::ifstream in(book, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeBook(const std::string& bytes) {
    std::ofstream(book, std::ios::binary | std::ios::trunc) << bytes;
}

// A field of the given size filled from the input; every third one or so runs to the field's
// end without a zero unit.
void fillField(fuzz::InputReader& in, uint16_t* field, std::size_t units) {
    const uint8_t length = in.takeByte();
    const std::size_t count = std::min<std::size_t>(length % 64, units);
    for (std::size_t i = 0; i < count; ++i) {
        const uint8_t byte = in.takeByte();
        field[i] = byte < 0x80 ? byte : kUnits[byte % std::size(kUnits)];
    }
}

std::optional<std::string> fieldText(const uint16_t* field, std::size_t units) {
    const auto text = xdirkit::readField(field, units);
    if (!text)
        return std::nullopt;
    return xdirkit::utf8FromUtf16(*text);
}

std::string lineBreaksAsLineFeeds(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i] == '\r' ? '\n' : text[i];
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
    }
    return out;
}

struct Entry {
    std::string name;
    std::string faxNumber;
    bool operator==(const Entry&) const = default;
};

// The entry a record reads back as; null for a record the library must refuse.
std::optional<Entry> readBackOf(const XDIRMyFaxRecord& record) {
    const auto name = fieldText(record.name, XDIR_NAME_UNITS);
    const auto number = fieldText(record.faxNumber, XDIR_FAX_NUMBER_UNITS);
    if (!name || !number || !fieldText(record.company, XDIR_COMPANY_UNITS) ||
        !fieldText(record.note, XDIR_NOTE_UNITS))
        return std::nullopt;
    Entry entry{std::string(xdirkit::VCardCard::nameOf(*name)),
                std::string(xdirkit::VCardCard::faxNumberOf(*number))};
    if (entry.name.empty() || entry.faxNumber.empty())
        return std::nullopt;
    entry.name = lineBreaksAsLineFeeds(entry.name);
    entry.faxNumber = lineBreaksAsLineFeeds(entry.faxNumber);
    return entry;
}

// The book's entries through a handle, checking the handle's answers on the way; null when the
// read fails (its status in status).
std::optional<std::vector<Entry>> readEntries(int32_t& status) {
    XDIRDataRef data = XDIRData_Create();
    FUZZ_CHECK(data != nullptr);
    status = XdirGADFile_Read(book.c_str(), data, 0);
    FUZZ_CHECK(status == XDIR_OK || status == XDIR_ERR_FILE_NOT_FOUND ||
               status == XDIR_ERR_FILE_MALFORMED || status == XDIR_ERR_TOO_MANY_INDIVIDUALS);
    std::optional<std::vector<Entry>> entries;
    const int32_t count = XDIRData_GetCount_MyFax(data);
    FUZZ_CHECK(count >= 0 && (status == XDIR_OK || count == 0));
    if (status == XDIR_OK) {
        entries.emplace();
        for (int32_t i = 0; i < count; ++i) {
            XDIRMyFaxRecord record;
            std::memset(&record, 0xA5, sizeof record);
            FUZZ_CHECK(XDIRData_GetAt_MyFax(data, i, &record) == XDIR_OK);
            FUZZ_CHECK(record.identifier == i + 1);
            const auto name = fieldText(record.name, XDIR_NAME_UNITS);
            const auto number = fieldText(record.faxNumber, XDIR_FAX_NUMBER_UNITS);
            FUZZ_CHECK(name && !name->empty() && number);
            FUZZ_CHECK(fieldText(record.company, XDIR_COMPANY_UNITS));
            FUZZ_CHECK(fieldText(record.note, XDIR_NOTE_UNITS));
            // A number as read is one the reader would read again so: it holds a digit.
            FUZZ_CHECK(xdirkit::VCardCard::faxNumberOf(*number) == *number);
            entries->push_back({*name, *number});
        }
    }
    XDIRMyFaxRecord record{};
    for (const int32_t bad : {-1, count, INT32_MAX, INT32_MIN})
        FUZZ_CHECK(XDIRData_GetAt_MyFax(data, bad, &record) == XDIR_ERR_INDEX_OUT_OF_RANGE);
    FUZZ_CHECK(XDIRData_GetAt_MyFax(data, 0, nullptr) == XDIR_ERR_BAD_ARGUMENT);
    FUZZ_CHECK(XDIRData_GetAt_MyFaxGroup(data, -1, &record) == XDIR_ERR_INDEX_OUT_OF_RANGE);
    for (int32_t i = 0; i < XDIRData_GetCount_MyFaxGroup(data); ++i) {
        XDIRMyFaxGroupRecord group{};
        FUZZ_CHECK(XDIRData_GetAt_MyFaxGroup(data, i, &group) == XDIR_OK);
        FUZZ_CHECK(group.memberCount <= XDIR_MY_FAX_GROUP_MEMBERS);
        for (uint16_t m = 0; m < group.memberCount; ++m)
            FUZZ_CHECK(group.memberIdentifiers[m] >= 1 &&
                       group.memberIdentifiers[m] <= static_cast<uint16_t>(count));
    }
    XDIRData_Delete(data);
    return entries;
}

int32_t add(const std::vector<XDIRMyFaxRecord>& records) {
    XDIRDataRef data = XDIRData_Create();
    int32_t status = XDIRData_Add_MyFax(data, static_cast<int32_t>(records.size()), records.data());
    if (status == XDIR_OK)
        status = XdirGADFile_Add(book.c_str(), data, 0);
    XDIRData_Delete(data);
    return status;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* temporary = std::getenv("TMPDIR");
    std::string pattern = std::string(temporary ? temporary : "/tmp") + "/xdirkit-api-XXXXXX";
    FUZZ_CHECK(::mkdtemp(pattern.data()) != nullptr);
    folder = pattern;
    book = folder + "/book.vcf";
    std::atexit(removeFolder);
    fuzz::muteLibraryDiagnostics();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 16)
        return 0;
    fuzz::InputReader in(data, size);
    const uint8_t control = in.takeByte();
    // Up to three records, made from the input's front; the rest is the book (none for bit 2).
    std::vector<XDIRMyFaxRecord> records(1 + control % 3);
    for (XDIRMyFaxRecord& record : records) {
        std::memset(&record, 0, sizeof record);
        fillField(in, record.name, XDIR_NAME_UNITS);
        fillField(in, record.faxNumber, XDIR_FAX_NUMBER_UNITS);
    }
    ::unlink(book.c_str());
    if ((control & 4) == 0)
        writeBook(in.restAsString());

    // Hostile arguments are refused before anything is read or written.
    FUZZ_CHECK(XDIRData_GetCount_MyFax(nullptr) == XDIR_COUNT_INVALID_HANDLE);
    FUZZ_CHECK(XDIRData_Add_MyFax(nullptr, 1, records.data()) == XDIR_ERR_BAD_ARGUMENT);
    FUZZ_CHECK(XdirGADFile_Read(nullptr, nullptr, 0) == XDIR_ERR_BAD_ARGUMENT);

    int32_t readStatus = 0;
    const auto before = readEntries(readStatus);
    const std::string bytesBefore = fileBytes();

    std::vector<Entry> expected;
    bool wellFormed = true;
    for (const XDIRMyFaxRecord& record : records) {
        const auto entry = readBackOf(record);
        wellFormed = wellFormed && entry.has_value();
        if (entry)
            expected.push_back(*entry);
    }
    XDIRDataRef handle = XDIRData_Create();
    const int32_t recordStatus =
        XDIRData_Add_MyFax(handle, static_cast<int32_t>(records.size()), records.data());
    XDIRData_Delete(handle);
    FUZZ_CHECK(recordStatus == (wellFormed ? XDIR_OK : XDIR_ERR_BAD_RECORD));
    if (!wellFormed)
        return 0;

    const int32_t status = add(records);
    if (status != XDIR_OK) {
        FUZZ_CHECK(status == XDIR_ERR_DUPLICATE_ENTRY || status == XDIR_ERR_FILE_MALFORMED ||
                   status == XDIR_ERR_TOO_MANY_INDIVIDUALS);
        FUZZ_CHECK(fileBytes() == bytesBefore);
        FUZZ_CHECK((status == XDIR_ERR_FILE_MALFORMED) == (readStatus == XDIR_ERR_FILE_MALFORMED));
        if (status == XDIR_ERR_DUPLICATE_ENTRY) {
            // A record names an entry of the book or one of an earlier record.
            bool found = false;
            for (std::size_t i = 0; i < expected.size() && !found; ++i) {
                found = std::find(expected.begin(), expected.begin() + static_cast<long>(i),
                                  expected[i]) != expected.begin() + static_cast<long>(i);
                found = found || (before && std::find(before->begin(), before->end(),
                                                      expected[i]) != before->end());
            }
            FUZZ_CHECK(found);
        }
        return 0;
    }
    FUZZ_CHECK(readStatus == XDIR_OK || readStatus == XDIR_ERR_FILE_NOT_FOUND);
    int32_t afterStatus = 0;
    const auto after = readEntries(afterStatus);
    FUZZ_CHECK(after.has_value());
    std::vector<Entry> wanted = before.value_or(std::vector<Entry>());
    wanted.insert(wanted.end(), expected.begin(), expected.end());
    FUZZ_CHECK(*after == wanted);
    const std::string bytesAfter = fileBytes();
    FUZZ_CHECK(bytesAfter.compare(0, bytesBefore.size(), bytesBefore) == 0);
    FUZZ_CHECK(add(records) == XDIR_ERR_DUPLICATE_ENTRY);
    FUZZ_CHECK(fileBytes() == bytesAfter);
    return 0;
}
