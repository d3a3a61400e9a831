#pragma once

#include <QByteArray>
#include <QString>
#include <string_view>

namespace vextel_addressbook {

// The name of a book file's bytes, by which the editor tells whether another program changed
// the file since the editor last read or wrote it: their 128-bit XXH3 hash. A large book is
// hashed at every open, every Save and every change another program makes, at the speed of
// reading memory; the names are compared only within one run of the editor, never stored.
class BookHash {
public:
    static QByteArray ofBytes(std::string_view bytes);
    // Empty when the file cannot be read.
    static QByteArray ofFile(const QString& path);
};

} // namespace vextel_addressbook
