#pragma once

#include "BookContents.h"

#include <QList>
#include <QStringList>

namespace vextel_addressbook {

// Which column of a CSV table holds which field of an entry, and the entries that gives.
struct CsvMapping {
    enum Field { Name, Fax, Company, Note, Groups, FieldCount };

    int column[FieldCount] = {-1, -1, -1, -1, -1}; // -1: not imported
    bool firstRowIsHeader = false;

    // The column titles export writes and guess recognises first.
    static QStringList exportTitles();
    // A mapping read from the first row's titles ("Name", "Full name", "Fax", "Fax number",
    // "Company", "Organization", "Note", "Notes", "Groups", in any case); without recognisable
    // titles, the first row is data and columns 0 and 1 are name and fax number.
    static CsvMapping guess(const QList<QStringList>& rows);

    // Entries of the data rows (fax numbers as written: the import preview makes them
    // dialable and shows how), and groups named in the Groups column (names separated by ";").
    // Rows without name and fax number are left out.
    BookContents entries(const QList<QStringList>& rows) const;

    // The whole book as a table with the export titles, one row per entry.
    static QList<QStringList> exportRows(const BookContents& book);
};

} // namespace vextel_addressbook
