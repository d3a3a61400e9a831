#pragma once

// A stand-in for the address-book library: it serves records built here, answers the statuses a
// test sets, and records every call as one line ("createData", "readFile /a/b.vcf 0", ...), so a
// test can check the order of calls and that each handle is deleted once.

#include "vextelpde/AddressBookLibrary.h"
#include "vextelpde/AddressBookRecords.h"

#include <QStringList>
#include <cstring>
#include <map>
#include <vector>

namespace tarvik_pde_m40vextel::testing {

using Record = std::vector<unsigned char>;

namespace records = address_book_records;

inline void putUInt16(Record& record, std::size_t offset, std::uint16_t value) {
    record[offset] = static_cast<unsigned char>(value & 0xFF);
    record[offset + 1] = static_cast<unsigned char>(value >> 8);
}

// A field of the given text; a null text leaves it empty, kUnterminated fills it without a zero.
inline const QString kUnterminated = QStringLiteral("\x01unterminated");

inline void putText(Record& record, records::TextField field, const QString& text) {
    if (text == kUnterminated) {
        std::memset(record.data() + field.offset, 'A', field.size);
    } else if (!text.isNull()) {
        records::writeText(record.data(), field, text);
    }
}

inline Record pcIndividual(std::uint16_t id, const QString& name, const QString& number,
                           const QString& company = {}, const QString& note = {}) {
    Record record(records::kMyFaxSize, 0);
    putUInt16(record, records::kMyFaxIdentifierOffset, id);
    putText(record, records::kMyFaxName, name);
    putText(record, records::kMyFaxNumber, number);
    putText(record, records::kMyFaxCompany, company);
    putText(record, records::kMyFaxNote, note);
    return record;
}

inline Record group(bool onDevice, const QString& name, const std::vector<std::uint16_t>& members,
                    int count = -1) {
    Record record(onDevice ? records::kFaxGroupSize : records::kMyFaxGroupSize, 0);
    putText(record, onDevice ? records::kFaxGroupName : records::kMyFaxGroupName, name);
    const std::size_t countOffset =
        onDevice ? records::kFaxGroupMemberCountOffset : records::kMyFaxGroupMemberCountOffset;
    const std::size_t membersOffset =
        onDevice ? records::kFaxGroupMembersOffset : records::kMyFaxGroupMembersOffset;
    putUInt16(record, countOffset,
              static_cast<std::uint16_t>(count >= 0 ? count : static_cast<int>(members.size())));
    for (std::size_t i = 0; i < members.size(); ++i) {
        putUInt16(record, membersOffset + 2 * i, members[i]);
    }
    return record;
}

inline Record deviceIndividual(std::uint16_t id, const QString& name, const QString& number) {
    Record record(records::kFaxSize, 0);
    putUInt16(record, records::kFaxIdentifierOffset, id);
    putText(record, records::kFaxName, name);
    putText(record, records::kFaxNumber, number);
    return record;
}

class FakeAddressBookLibrary : public AddressBookLibrary {
public:
    // What the library holds and answers.
    std::map<RecordKind, std::vector<Record>> book;
    std::int32_t initializeStatus = records::kStatusSuccess;
    std::int32_t statusAnswer = records::kStatusDeviceReady;
    std::int32_t readDeviceStatus = records::kStatusSuccess;
    std::int32_t readFileStatus = records::kStatusSuccess;
    std::int32_t addMyFaxStatus = records::kStatusSuccess;
    std::int32_t addFileStatus = records::kStatusSuccess;
    bool createFails = false;
    std::optional<QString> directory;
    std::optional<QString> names;

    // What the library saw.
    QStringList calls;
    std::vector<Record> added;
    int liveHandles = 0;

    std::int32_t initialize(std::int32_t reserved) override {
        calls << QStringLiteral("initialize %1").arg(reserved);
        return initializeStatus;
    }
    std::int32_t setDestinationDevice(std::int32_t reserved, std::int32_t kind,
                                      const std::optional<QString>& address) override {
        calls << QStringLiteral("setDestinationDevice %1 %2 %3")
                     .arg(reserved)
                     .arg(kind)
                     .arg(address ? *address : QStringLiteral("(none)"));
        return records::kStatusSuccess;
    }
    std::int32_t deviceStatus(std::int32_t reserved, std::int32_t what) override {
        calls << QStringLiteral("deviceStatus %1 %2").arg(reserved).arg(what);
        return statusAnswer;
    }
    std::int32_t readDeviceData(std::int32_t reserved, DataHandle, std::int32_t what,
                                const QString& password) override {
        calls
            << QStringLiteral("readDeviceData %1 %2 \"%3\"").arg(reserved).arg(what).arg(password);
        return readDeviceStatus;
    }
    DataHandle createData() override {
        calls << QStringLiteral("createData");
        if (createFails) {
            return nullptr;
        }
        ++liveHandles;
        return &handleToken_;
    }
    void deleteData(DataHandle) override {
        calls << QStringLiteral("deleteData");
        --liveHandles;
    }
    std::int32_t count(DataHandle, RecordKind kind) override {
        return static_cast<std::int32_t>(book[kind].size());
    }
    std::int32_t getAt(DataHandle, RecordKind kind, std::int32_t index, void* record) override {
        const Record& source = book[kind].at(static_cast<std::size_t>(index));
        std::memcpy(record, source.data(), source.size());
        return records::kStatusSuccess;
    }
    std::int32_t addMyFax(DataHandle, std::int32_t count, const void* data) override {
        calls << QStringLiteral("addMyFax %1").arg(count);
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::int32_t i = 0; i < count; ++i) {
            added.emplace_back(bytes + i * records::kMyFaxSize,
                               bytes + (i + 1) * records::kMyFaxSize);
        }
        return addMyFaxStatus;
    }
    std::optional<QString> fileDirectory() override {
        calls << QStringLiteral("fileDirectory");
        return directory;
    }
    std::optional<QString> fileList() override {
        calls << QStringLiteral("fileList");
        return names;
    }
    std::int32_t readFile(const QString& path, DataHandle, std::int32_t flags) override {
        calls << QStringLiteral("readFile %1 %2").arg(path).arg(flags);
        return readFileStatus;
    }
    std::int32_t addFile(const QString& path, DataHandle, std::int32_t flags) override {
        calls << QStringLiteral("addFile %1 %2").arg(path).arg(flags);
        return addFileStatus;
    }

private:
    int handleToken_ = 0;
};

} // namespace tarvik_pde_m40vextel::testing
