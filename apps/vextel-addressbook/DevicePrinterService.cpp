#include "DevicePrinterService.h"

#include "DataHandle.h"
#include "xdirkit/XdirKit.h"

#include <QHash>
#include <QSet>
#include <memory>

namespace vextel_addressbook {

namespace {

using HandlePointer = std::unique_ptr<XDIRData, decltype(&XDIRData_Delete)>;

// The printer's book as it was read: the library's handle, which also knows the version.
class DeviceOrigin : public BookOrigin {
public:
    explicit DeviceOrigin(HandlePointer handle) : handle(std::move(handle)) {}
    HandlePointer handle;
};

struct StatusMessage {
    int32_t status;
    const char* text; // %1: the printer's name
};

const StatusMessage kStatusMessages[] = {
    {XDIR_ERR_WRONG_PASSWORD, "The printer %1 refused the password."},
    {XDIR_ERR_DEVICE_LOCKED_OUT,
     "The printer %1 does not take passwords for a while after several wrong ones. Try again "
     "later."},
    {XDIR_ERR_DEVICE_UNREACHABLE,
     "The printer %1 cannot be reached. Check that it is on and connected."},
    {XDIR_ERR_DEVICE_TIMEOUT, "The printer %1 did not answer in time."},
    {XDIR_ERR_DEVICE_PROTOCOL, "The answer of the printer %1 cannot be understood."},
    {XDIR_ERR_DEVICE_TOO_LARGE, "The answer of the printer %1 is too large."},
    {XDIR_DEVICE_BUSY, "The printer %1 is busy. Try again in a moment."},
    {XDIR_DEVICE_ERROR, "The printer %1 reports an error. Check its display."},
    {XDIR_ERR_DEVICE_CHANGED,
     "The book of the printer %1 was changed by someone else since it was read; nothing was "
     "written. Its book is read again: repeat the copy."},
    {XDIR_ERR_DEVICE_REJECTED,
     "The printer %1 refused the new book (full or invalid); its book is unchanged."},
    {XDIR_ERR_DEVICE_NOT_SET, "No printer is chosen."},
    {XDIR_ERR_BAD_RECORD,
     "An entry cannot go into the book of the printer %1: its name or fax number breaks the "
     "printer's rules. Nothing was written."},
#ifdef XDIR_ERR_DEVICE_CONNECTION_LOST
    {XDIR_ERR_DEVICE_CONNECTION_LOST, "The connection to the printer %1 broke off."},
#endif
#ifdef XDIR_ERR_DEVICE_INVALID_BOOK
    {XDIR_ERR_DEVICE_INVALID_BOOK, "The book the printer %1 sent is not valid."},
#endif
};

QString fieldText(const uint16_t* field, int units) {
    int length = 0;
    while (length < units && field[length] != 0) {
        ++length;
    }
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(field), length);
}

// False when the text and its zero unit do not fit.
bool setField(uint16_t* field, int units, const QString& text) {
    if (text.size() >= units) {
        return false;
    }
    std::fill(field, field + units, uint16_t{0});
    std::copy(text.utf16(), text.utf16() + text.size(), field);
    return true;
}

PrinterService::Result failure(int32_t status, const PrinterConnection& printer) {
    PrinterService::Result result;
    result.status = status;
    result.stale = status == XDIR_ERR_DEVICE_CHANGED;
    result.message = DevicePrinterService::messageFor(status, printer);
    return result;
}

int32_t connect(const PrinterConnection& printer) {
    if (int32_t status = Xdir_Initialize(0); status != XDIR_OK) {
        return status;
    }
    const QByteArray address = printer.address.toUtf8();
    const bool usb = printer.kind == PrinterConnection::Kind::Usb;
    if (int32_t status = XdirDevice_SetDestinationDevice(
            0, usb ? XDIR_DEVICE_KIND_USB : XDIR_DEVICE_KIND_NETWORK,
            usb ? nullptr : address.constData());
        status != XDIR_OK) {
        return status;
    }
    const int32_t state = XdirDevice_GetStatus(0, XDIR_DEVICE_QUERY_STATUS);
    return state == XDIR_DEVICE_READY ? XDIR_OK : state;
}

BookContents contentsOf(HandlePointer handle) {
    BookContents book;
    XDIRData* data = handle.get();
    const int32_t entries = XDIRData_GetCount_Fax(data);
    for (int32_t i = 0; i < entries; ++i) {
        XDIRFaxRecord record{};
        if (XDIRData_GetAt_Fax(data, i, &record) != XDIR_OK) {
            continue;
        }
        Contact contact;
        contact.uid = DevicePrinterService::uidFor(record.identifier);
        contact.name = fieldText(record.name, XDIR_NAME_UNITS);
        contact.fax = fieldText(record.faxNumber, XDIR_FAX_NUMBER_UNITS);
        contact.originIndex = i;
        book.contacts.append(contact);
    }
    const int32_t groups = XDIRData_GetCount_FaxGroup(data);
    for (int32_t i = 0; i < groups; ++i) {
        XDIRFaxGroupRecord record{};
        if (XDIRData_GetAt_FaxGroup(data, i, &record) != XDIR_OK) {
            continue;
        }
        Group group;
        group.uid = QStringLiteral("printer-group:%1").arg(i + 1);
        group.name = fieldText(record.name, XDIR_NAME_UNITS);
        for (int m = 0; m < record.memberCount && m < XDIR_FAX_GROUP_MEMBERS; ++m) {
            group.memberUids.append(DevicePrinterService::uidFor(record.memberIdentifiers[m]));
        }
        group.originIndex = i;
        book.groups.append(group);
    }
    book.origin = std::make_shared<DeviceOrigin>(std::move(handle));
    return book;
}

} // namespace

QString DevicePrinterService::uidFor(int identifier) {
    return QStringLiteral("printer:%1").arg(identifier);
}

QString DevicePrinterService::messageFor(int32_t status, const PrinterConnection& printer) {
    for (const StatusMessage& message : kStatusMessages) {
        if (message.status == status) {
            return QString::fromUtf8(message.text).arg(printer.displayName());
        }
    }
    return QStringLiteral("The printer %1 cannot be used (status 0x%2).")
        .arg(printer.displayName())
        .arg(static_cast<uint32_t>(status), 8, 16, QLatin1Char('0'));
}

PrinterService::Result DevicePrinterService::read(const PrinterConnection& printer,
                                                  const QString& password) {
    if (int32_t status = connect(printer); status != XDIR_OK) {
        return failure(status, printer);
    }
    HandlePointer handle(XDIRData_Create(), &XDIRData_Delete);
    if (!handle) {
        return failure(XDIR_ERR_OUT_OF_MEMORY, printer);
    }
    QByteArray secret = password.toUtf8();
    const int32_t status =
        XdirDevice_ReadData(0, handle.get(), XDIR_DEVICE_ADDRESS_BOOK, secret.constData());
    secret.fill('\0');
    if (status != XDIR_OK) {
        return failure(status, printer);
    }
    Result result;
    result.ok = true;
    result.bookRead = true;
    result.book = contentsOf(std::move(handle));
    return result;
}

PrinterService::Result DevicePrinterService::write(const PrinterConnection& printer,
                                                   const QString& password,
                                                   const BookContents& book) {
    const auto* origin = dynamic_cast<const DeviceOrigin*>(book.origin.get());
    if (origin == nullptr) {
        return failure(XDIR_ERR_DEVICE_NOT_SET, printer);
    }
    // Entries read from the printer keep their identifiers; new ones take free ones.
    QSet<int> used;
    for (const Contact& contact : book.contacts) {
        if (contact.uid.startsWith(QLatin1String("printer:"))) {
            used.insert(contact.uid.mid(8).toInt());
        }
    }
    QHash<QString, int> identifierOf;
    int next = 1;
    std::vector<XDIRFaxRecord> entries;
    for (const Contact& contact : book.contacts) {
        int identifier = 0;
        if (contact.uid.startsWith(QLatin1String("printer:"))) {
            identifier = contact.uid.mid(8).toInt();
        } else {
            while (used.contains(next)) {
                ++next;
            }
            identifier = next;
            used.insert(next);
        }
        XDIRFaxRecord record{};
        record.identifier = static_cast<uint16_t>(identifier);
        if (identifier < 1 || identifier > XDIR_MAX_INDIVIDUALS ||
            !setField(record.name, XDIR_NAME_UNITS, contact.name) ||
            !setField(record.faxNumber, XDIR_FAX_NUMBER_UNITS, contact.fax)) {
            Result result = failure(XDIR_ERR_DEVICE_REJECTED, printer);
            result.message =
                QStringLiteral("The entry “%1” does not fit the printer's book.").arg(contact.name);
            return result;
        }
        identifierOf.insert(contact.uid, identifier);
        entries.push_back(record);
    }
    std::vector<XDIRFaxGroupRecord> groups;
    for (const Group& group : book.groups) {
        XDIRFaxGroupRecord record{};
        if (group.memberUids.size() > XDIR_FAX_GROUP_MEMBERS ||
            !setField(record.name, XDIR_NAME_UNITS, group.name)) {
            Result result = failure(XDIR_ERR_DEVICE_REJECTED, printer);
            result.message =
                QStringLiteral("The group “%1” does not fit the printer's book.").arg(group.name);
            return result;
        }
        for (const QString& member : group.memberUids) {
            if (identifierOf.contains(member)) {
                record.memberIdentifiers[record.memberCount++] =
                    static_cast<uint16_t>(identifierOf.value(member));
            }
        }
        groups.push_back(record);
    }
    if (int32_t status = connect(printer); status != XDIR_OK) {
        return failure(status, printer);
    }
    HandlePointer handle(XDIRData_Create(), &XDIRData_Delete);
    if (!handle) {
        return failure(XDIR_ERR_OUT_OF_MEMORY, printer);
    }
    handle->handle.setDevice(std::move(entries), std::move(groups),
                             origin->handle->handle.deviceETag());
    QByteArray secret = password.toUtf8();
    const int32_t status =
        XdirDevice_WriteData(0, handle.get(), XDIR_DEVICE_ADDRESS_BOOK, secret.constData());
    secret.fill('\0');
    if (status != XDIR_OK) {
        return failure(status, printer);
    }
    Result result;
    result.ok = true;
    return result;
}

} // namespace vextel_addressbook
