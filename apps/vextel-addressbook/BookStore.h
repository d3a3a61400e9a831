#pragma once

#include "BookContents.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace vextel_addressbook {

// A book's file as a change made under the book's lock finds it.
struct BookOnDisk {
    QByteArray hash; // of the file's bytes; empty when there is no file
    // The file's contents, with that hash; null with a sentence in error when they cannot be read.
    std::function<std::optional<BookContents>(QString* error)> read;
};

// Where PC address books live and how they are read and written. Failures answer null or false
// with a sentence for the user in error.
class BookStore {
public:
    virtual ~BookStore();

    // The folder of the books (made on first use), or empty when there is none.
    virtual QString folder() = 0;
    // Full paths of the books in the folder, sorted by name.
    virtual QStringList bookPaths() = 0;

    // Every entry with a fax number and every group of a vCard file (2.1, 3.0 or 4.0), with the
    // hash of the bytes read.
    virtual std::optional<BookContents> read(const QString& path, QString* error) = 0;
    // Replaces the book at path by contents, keeping every line of contents' origin that the
    // editor does not show; atomic, under the book's lock. A missing file is created.
    virtual bool write(const QString& path, const BookContents& contents, QString* error) = 0;
    // Changes the book at path under its lock, so that no other writer comes in between: change
    // sees the file as it is now and answers what to write (null, with a sentence in error, to
    // leave the file alone). Answers the book as written, read back from the bytes written and
    // with their hash; null with a sentence in error when nothing was written.
    using Change =
        std::function<std::optional<BookContents>(const BookOnDisk& current, QString* error)>;
    virtual std::optional<BookContents> update(const QString& path, const Change& change,
                                               QString* error) = 0;
    // A new vCard 4.0 file of contents alone (for export).
    virtual bool exportVCard(const QString& path, const BookContents& contents, QString* error) = 0;
};

} // namespace vextel_addressbook
