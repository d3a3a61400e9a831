#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace tarvik_pde_m40vextel {

// The address-book library as the fax-sending dialog and the picker call it: one virtual per
// call of the library's C interface, with Qt strings at the edge. The real implementation
// (XdirKitLibrary) forwards to the C functions; tests install a fake with Override, so the call
// order, the records and every status can be checked without files or a printer.
//
// A data handle is opaque here; each one created must be deleted once. Records are the library's
// fixed byte layouts (see AddressBookRecords.h); getAt fills the caller's buffer.
class AddressBookLibrary {
public:
    using DataHandle = void*;

    // The four kinds of record a handle holds.
    enum class RecordKind { MyFax, MyFaxGroup, Fax, FaxGroup };

    virtual ~AddressBookLibrary() = default;

    virtual std::int32_t initialize(std::int32_t reserved) = 0;
    // kind 0 without an address: the printer on USB; kind 1: the printer at that address.
    virtual std::int32_t setDestinationDevice(std::int32_t reserved, std::int32_t kind,
                                              const std::optional<QString>& address) = 0;
    virtual std::int32_t deviceStatus(std::int32_t reserved, std::int32_t what) = 0;
    // The password goes to the library as typed and nowhere else.
    virtual std::int32_t readDeviceData(std::int32_t reserved, DataHandle data, std::int32_t what,
                                        const QString& password) = 0;

    // Null when no handle could be made.
    virtual DataHandle createData() = 0;
    virtual void deleteData(DataHandle data) = 0;
    virtual std::int32_t count(DataHandle data, RecordKind kind) = 0;
    virtual std::int32_t getAt(DataHandle data, RecordKind kind, std::int32_t index,
                               void* record) = 0;
    virtual std::int32_t addMyFax(DataHandle data, std::int32_t count, const void* records) = 0;

    // The folder of the address-book files; none when the library has none.
    virtual std::optional<QString> fileDirectory() = 0;
    // The file names separated by U+0000; none when the library gives no list.
    virtual std::optional<QString> fileList() = 0;
    virtual std::int32_t readFile(const QString& path, DataHandle data, std::int32_t flags) = 0;
    virtual std::int32_t addFile(const QString& path, DataHandle data, std::int32_t flags) = 0;

    // The library in use: the installed override, else the real one.
    static AddressBookLibrary& current();

    // Installs a library for its lifetime (tests); overrides nest.
    class Override {
    public:
        explicit Override(AddressBookLibrary& library);
        ~Override();
        Override(const Override&) = delete;
        Override& operator=(const Override&) = delete;

    private:
        AddressBookLibrary* previous_;
    };
};

} // namespace tarvik_pde_m40vextel
