#pragma once

#include "BookContents.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace vextel_addressbook {

// Where PC address books live and how they are read and written. Failures answer null or false
// with a sentence for the user in error.
class BookStore {
public:
    virtual ~BookStore();

    // The folder of the books (made on first use), or empty when there is none.
    virtual QString folder() = 0;
    // Full paths of the books in the folder, sorted by name.
    virtual QStringList bookPaths() = 0;

    // Every entry with a fax number and every group of a vCard file (2.1, 3.0 or 4.0).
    virtual std::optional<BookContents> read(const QString& path, QString* error) = 0;
    // Replaces the book at path by contents, keeping every line of contents' origin that the
    // editor does not show; atomic, under the book's lock. A missing file is created.
    virtual bool write(const QString& path, const BookContents& contents, QString* error) = 0;
    // A new vCard 4.0 file of contents alone (for export).
    virtual bool exportVCard(const QString& path, const BookContents& contents, QString* error) = 0;
};

} // namespace vextel_addressbook
