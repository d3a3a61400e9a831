#pragma once

#include "BookContents.h"
#include "CommandLine.h"

#include <QString>
#include <cstdint>

namespace vextel_addressbook {

// The printer's own address book: read and written whole, with the four-digit password. Calls
// block (a worker thread makes them); the password is used for the one request and kept nowhere.
class PrinterService {
public:
    struct Result {
        bool ok = false;
        int32_t status = 0;    // the library's status, 0 on success
        QString message;       // for the user when !ok
        BookContents book;     // on a read: the printer's entries (uids "printer:<id>") and groups
        bool bookRead = false; // book holds what the printer holds now
        bool stale = false;    // a write was refused: the printer's book changed since its read
    };

    virtual ~PrinterService();
    virtual Result read(const PrinterConnection& printer, const QString& password) = 0;
    // Replaces the printer's book by book, unless someone else changed it since the read that
    // book comes from (book.origin): then nothing is written and the result says so.
    virtual Result write(const PrinterConnection& printer, const QString& password,
                         const BookContents& book) = 0;
};

} // namespace vextel_addressbook
