#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace vextel_addressbook {

// Comma-separated tables as spreadsheets and contact programs write them: fields in double
// quotes may hold separators, quotes ("") and line breaks; lines end in CRLF or LF; the separator
// is a comma, a semicolon or a tab, whichever the first line uses most outside quotes.
class CsvTable {
public:
    // UTF-8 (a BOM is dropped); bytes that are not UTF-8 are read as Windows-1252 / Latin-1.
    static QString decode(const QByteArray& bytes);
    static QChar detectSeparator(const QString& text);
    // Rows of fields; a last line without fields is not a row.
    static QList<QStringList> parse(const QString& text);
    // UTF-8 with CRLF line ends; a field is quoted when it holds a separator, quote or line break.
    static QByteArray write(const QList<QStringList>& rows);
};

} // namespace vextel_addressbook
