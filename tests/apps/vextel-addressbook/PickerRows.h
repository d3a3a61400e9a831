#pragma once

#include "BookContents.h"
#include "RecordText.h"
#include "xdirkit/XdirKit.h"

#include <QFile>
#include <QStringList>

namespace vextel_addressbook::test {

// A book's entries as sorted "name fax" rows: as the library lists them for the fax dialog's
// picker, and as the editor shows them (a row for each fax number of an entry), so the two can
// be compared whole.

// status, when given, receives the library's read status; the rows are those it read.
inline QStringList libraryRows(const QString& path, int32_t* status = nullptr) {
    XDIRDataRef data = XDIRData_Create();
    const int32_t read = XdirGADFile_Read(QFile::encodeName(path).constData(), data, 0);
    if (status != nullptr) {
        *status = read;
    }
    const auto text = [](const uint16_t* field, std::size_t units) {
        return QString::fromStdU16String(xdirkit::readField(field, units).value_or(u""));
    };
    QStringList rows;
    for (int32_t i = 0; i < XDIRData_GetCount_MyFax(data); ++i) {
        XDIRMyFaxRecord record{};
        XDIRData_GetAt_MyFax(data, i, &record);
        rows.append(text(record.name, XDIR_NAME_UNITS) + ' ' +
                    text(record.faxNumber, XDIR_FAX_NUMBER_UNITS));
    }
    XDIRData_Delete(data);
    rows.sort();
    return rows;
}

inline QStringList editorRows(const BookContents& book) {
    QStringList rows;
    for (const Contact& contact : book.contacts) {
        for (const QString& fax : contact.faxNumbers()) {
            rows.append(contact.name + ' ' + fax);
        }
    }
    rows.sort();
    return rows;
}

} // namespace vextel_addressbook::test
