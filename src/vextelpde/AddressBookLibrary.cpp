#include "vextelpde/AddressBookLibrary.h"

namespace tarvik_pde_m40vextel {

namespace {

AddressBookLibrary*& installedLibrary() {
    static AddressBookLibrary* library = nullptr;
    return library;
}

} // namespace

AddressBookLibrary& AddressBookLibrary::current() {
    if (AddressBookLibrary* library = installedLibrary()) {
        return *library;
    }
    // TEMPORARY until the library lands: every call fails.
    struct Unavailable : AddressBookLibrary {
        std::int32_t initialize(std::int32_t) override { return -1; }
        std::int32_t setDestinationDevice(std::int32_t, std::int32_t,
                                          const std::optional<QString>&) override {
            return -1;
        }
        std::int32_t deviceStatus(std::int32_t, std::int32_t) override { return -1; }
        std::int32_t readDeviceData(std::int32_t, DataHandle, std::int32_t,
                                    const QString&) override {
            return -1;
        }
        DataHandle createData() override { return nullptr; }
        void deleteData(DataHandle) override {}
        std::int32_t count(DataHandle, RecordKind) override { return 0; }
        std::int32_t getAt(DataHandle, RecordKind, std::int32_t, void*) override { return -1; }
        std::int32_t addMyFax(DataHandle, std::int32_t, const void*) override { return -1; }
        std::optional<QString> fileDirectory() override { return std::nullopt; }
        std::optional<QString> fileList() override { return std::nullopt; }
        std::int32_t readFile(const QString&, DataHandle, std::int32_t) override { return -1; }
        std::int32_t addFile(const QString&, DataHandle, std::int32_t) override { return -1; }
    };
    static Unavailable real;
    return real;
}

AddressBookLibrary::Override::Override(AddressBookLibrary& library)
    : previous_(installedLibrary()) {
    installedLibrary() = &library;
}

AddressBookLibrary::Override::~Override() {
    installedLibrary() = previous_;
}

} // namespace tarvik_pde_m40vextel
