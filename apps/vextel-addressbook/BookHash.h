#pragma once

#include <QByteArray>
#include <QString>
#include <string_view>

namespace vextel_addressbook {

// The name of a book file's bytes, by which the editor tells whether another program changed
// the file: their SHA-256. Made by the system's crypto library, which uses the processor's SHA
// instructions where it has them: a large book is hashed at every open and every Save.
class BookHash {
public:
    static QByteArray ofBytes(std::string_view bytes);
    // Empty when the file cannot be read.
    static QByteArray ofFile(const QString& path);
};

} // namespace vextel_addressbook
