#pragma once

#include "vextelpde/AddressBookLibrary.h"

namespace tarvik_pde_m40vextel {

// The address-book library itself: each call forwards to its C function, strings as UTF-8.
// Paths travel as text, so a folder or file name that is not UTF-8 could not be named again:
// such a folder counts as none and such a file is left out of the list, each with a log line.
// An add goes only to a file that is there (one the list or the user named), so that a name
// that changed on its way is never made as a new book.
class XdirKitLibrary : public AddressBookLibrary {
public:
    std::int32_t initialize(std::int32_t reserved) override;
    std::int32_t setDestinationDevice(std::int32_t reserved, std::int32_t kind,
                                      const std::optional<QString>& address) override;
    std::int32_t deviceStatus(std::int32_t reserved, std::int32_t what) override;
    std::int32_t readDeviceData(std::int32_t reserved, DataHandle data, std::int32_t what,
                                const QString& password) override;
    DataHandle createData() override;
    void deleteData(DataHandle data) override;
    std::int32_t count(DataHandle data, RecordKind kind) override;
    std::int32_t getAt(DataHandle data, RecordKind kind, std::int32_t index, void* record) override;
    std::int32_t addMyFax(DataHandle data, std::int32_t count, const void* records) override;
    std::optional<QString> fileDirectory() override;
    std::optional<QString> fileList() override;
    std::int32_t readFile(const QString& path, DataHandle data, std::int32_t flags) override;
    std::int32_t addFile(const QString& path, DataHandle data, std::int32_t flags) override;
};

} // namespace tarvik_pde_m40vextel
