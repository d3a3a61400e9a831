#include "vextelpde/XdirKitLibrary.h"

#include "kit/FileNameText.h"
#include "kit/SystemLog.h"
#include "xdirkit/XdirKit.h"

#include <QByteArray>
#include <QFileInfo>
#include <cstring>

namespace tarvik_pde_m40vextel {

namespace {

XDIRDataRef handle(AddressBookLibrary::DataHandle data) {
    return static_cast<XDIRDataRef>(data);
}

} // namespace

std::int32_t XdirKitLibrary::initialize(std::int32_t reserved) {
    return Xdir_Initialize(reserved);
}

std::int32_t XdirKitLibrary::setDestinationDevice(std::int32_t reserved, std::int32_t kind,
                                                  const std::optional<QString>& address) {
    if (!address) {
        return XdirDevice_SetDestinationDevice(reserved, kind, nullptr);
    }
    const QByteArray utf8 = address->toUtf8();
    return XdirDevice_SetDestinationDevice(reserved, kind, utf8.constData());
}

std::int32_t XdirKitLibrary::deviceStatus(std::int32_t reserved, std::int32_t what) {
    return XdirDevice_GetStatus(reserved, what);
}

std::int32_t XdirKitLibrary::readDeviceData(std::int32_t reserved, DataHandle data,
                                            std::int32_t what, const QString& password) {
    QByteArray utf8 = password.toUtf8();
    const std::int32_t status = XdirDevice_ReadData(reserved, handle(data), what, utf8.constData());
    // The password's bytes do not outlive the call.
    std::memset(utf8.data(), 0, static_cast<std::size_t>(utf8.size()));
    return status;
}

AddressBookLibrary::DataHandle XdirKitLibrary::createData() {
    return XDIRData_Create();
}

void XdirKitLibrary::deleteData(DataHandle data) {
    XDIRData_Delete(handle(data));
}

std::int32_t XdirKitLibrary::count(DataHandle data, RecordKind kind) {
    switch (kind) {
    case RecordKind::MyFax:
        return XDIRData_GetCount_MyFax(handle(data));
    case RecordKind::MyFaxGroup:
        return XDIRData_GetCount_MyFaxGroup(handle(data));
    case RecordKind::Fax:
        return XDIRData_GetCount_Fax(handle(data));
    case RecordKind::FaxGroup:
        return XDIRData_GetCount_FaxGroup(handle(data));
    }
    return 0;
}

std::int32_t XdirKitLibrary::getAt(DataHandle data, RecordKind kind, std::int32_t index,
                                   void* record) {
    switch (kind) {
    case RecordKind::MyFax:
        return XDIRData_GetAt_MyFax(handle(data), index, record);
    case RecordKind::MyFaxGroup:
        return XDIRData_GetAt_MyFaxGroup(handle(data), index, record);
    case RecordKind::Fax:
        return XDIRData_GetAt_Fax(handle(data), index, record);
    case RecordKind::FaxGroup:
        return XDIRData_GetAt_FaxGroup(handle(data), index, record);
    }
    return XDIR_ERR_BAD_ARGUMENT;
}

std::int32_t XdirKitLibrary::addMyFax(DataHandle data, std::int32_t count, const void* records) {
    return XDIRData_Add_MyFax(handle(data), count, records);
}

std::optional<QString> XdirKitLibrary::fileDirectory() {
    const char* folder = XdirGADFile_GetFileDirectory();
    if (folder == nullptr) {
        return std::nullopt;
    }
    return kit::fileNameText(folder, "XdirKitLibrary", "folder");
}

std::optional<QString> XdirKitLibrary::fileList() {
    const char* list = XdirGADFile_GetFileList();
    if (list == nullptr) {
        return std::nullopt;
    }
    // Each name is ended by a NUL and the list by an empty name; the dialog takes the names
    // separated by U+0000.
    QString names;
    for (const char* name = list; *name != '\0'; name += std::strlen(name) + 1) {
        if (const auto text = kit::fileNameText(name, "XdirKitLibrary", "book")) {
            names += *text;
            names += QChar(0);
        }
    }
    return names;
}

std::int32_t XdirKitLibrary::readFile(const QString& path, DataHandle data, std::int32_t flags) {
    return XdirGADFile_Read(path.toUtf8().constData(), handle(data), flags);
}

std::int32_t XdirKitLibrary::addFile(const QString& path, DataHandle data, std::int32_t flags) {
    if (!QFileInfo::exists(path)) {
        kit::SystemLog::log(
            QStringLiteral("XdirKitLibrary: %1 is not there; nothing added").arg(path));
        return XDIR_ERR_FILE_NOT_FOUND;
    }
    return XdirGADFile_Add(path.toUtf8().constData(), handle(data), flags);
}

} // namespace tarvik_pde_m40vextel
