#pragma once

#include "PrinterService.h"

namespace vextel_addressbook {

// The printer's book through the address-book library: status first, then the book, with the
// password for that one request. A write sends the whole book back with the version it was read
// as, so a book changed by someone else meanwhile is refused, not overwritten.
class DevicePrinterService : public PrinterService {
public:
    Result read(const PrinterConnection& printer, const QString& password) override;
    Result write(const PrinterConnection& printer, const QString& password,
                 const BookContents& book) override;

    // The sentence for the user for a status of the library.
    static QString messageFor(int32_t status, const PrinterConnection& printer);
    // The printer's entries are named "printer:<identifier>".
    static QString uidFor(int identifier);
};

} // namespace vextel_addressbook
