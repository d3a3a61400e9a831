#include "CsvMapping.h"

#include "EntryRules.h"

#include <QHash>

namespace vextel_addressbook {

namespace {

struct TitleRule {
    CsvMapping::Field field;
    QStringList titles; // lower case, the export title first
};

const QList<TitleRule>& titleRules() {
    static const QList<TitleRule> rules = {
        {CsvMapping::Name, {"name", "full name", "display name", "fn", "contact"}},
        {CsvMapping::Fax, {"fax number", "fax", "business fax", "fax (work)", "telefax"}},
        {CsvMapping::Company, {"company", "organization", "organisation", "org"}},
        {CsvMapping::Note, {"note", "notes", "comment", "comments"}},
        {CsvMapping::Groups, {"groups", "group", "categories"}},
    };
    return rules;
}

const QString kFormulaStarts = QStringLiteral("=+-@\t\r");
constexpr QChar kTextMark = QLatin1Char('\'');

// A cell a spreadsheet would run as a formula: "=", "+", "-" or "@" first (or a tab or carriage
// return, which some take for the start of one), also behind apostrophes already.
bool runsAsFormula(const QString& cell) {
    qsizetype first = 0;
    while (first < cell.size() && cell.at(first) == kTextMark) {
        ++first;
    }
    return first < cell.size() && kFormulaStarts.contains(cell.at(first));
}

// Written behind an apostrophe, which spreadsheets show as text: a note such as
// "=HYPERLINK(...)" from someone's card stays a note. Reading takes the apostrophe off again,
// so an exported book imports as it was.
QString spreadsheetSafe(const QString& cell) {
    return runsAsFormula(cell) ? kTextMark + cell : cell;
}

QString fromSpreadsheetSafe(const QString& cell) {
    return cell.startsWith(kTextMark) && runsAsFormula(cell.mid(1)) ? cell.mid(1) : cell;
}

QString cell(const QStringList& row, int column) {
    return column >= 0 && column < row.size() ? fromSpreadsheetSafe(row.at(column).trimmed())
                                              : QString();
}

} // namespace

QStringList CsvMapping::exportTitles() {
    return {QStringLiteral("Name"), QStringLiteral("Fax number"), QStringLiteral("Company"),
            QStringLiteral("Note"), QStringLiteral("Groups")};
}

CsvMapping CsvMapping::guess(const QList<QStringList>& rows) {
    CsvMapping mapping;
    if (rows.isEmpty()) {
        return mapping;
    }
    const QStringList& first = rows.first();
    for (const TitleRule& rule : titleRules()) {
        for (int column = 0; column < first.size() && mapping.column[rule.field] < 0; ++column) {
            if (rule.titles.contains(first.at(column).trimmed().toLower())) {
                mapping.column[rule.field] = column;
            }
        }
    }
    mapping.firstRowIsHeader = mapping.column[Name] >= 0 || mapping.column[Fax] >= 0;
    if (!mapping.firstRowIsHeader) {
        mapping.column[Name] = 0;
        mapping.column[Fax] = first.size() > 1 ? 1 : -1;
    }
    return mapping;
}

BookContents CsvMapping::entries(const QList<QStringList>& rows) const {
    BookContents book;
    QHash<QString, qsizetype> groupByName;
    for (qsizetype r = firstRowIsHeader ? 1 : 0; r < rows.size(); ++r) {
        const QStringList& row = rows.at(r);
        Contact contact;
        contact.uid = newUid();
        contact.name = cell(row, column[Name]);
        // A card's numbers are exported as "0123, 0456"; a comma alone may be a dialling pause.
        for (const QString& number : cell(row, column[Fax]).split(QStringLiteral(", "))) {
            if (const QString written = number.trimmed(); !written.isEmpty()) {
                (contact.fax.isEmpty() ? contact.fax : contact.otherFaxes.emplaceBack()) = written;
            }
        }
        contact.company = cell(row, column[Company]);
        contact.note = cell(row, column[Note]);
        if (contact.name.isEmpty() && contact.fax.isEmpty()) {
            continue;
        }
        book.contacts.append(contact);
        const QStringList groupNames = cell(row, column[Groups]).split(QLatin1Char(';'));
        for (const QString& rawName : groupNames) {
            const QString groupName = rawName.trimmed();
            if (groupName.isEmpty()) {
                continue;
            }
            if (!groupByName.contains(groupName)) {
                groupByName.insert(groupName, book.groups.size());
                book.groups.append(Group{newUid(), groupName, {}, -1});
            }
            book.groups[groupByName.value(groupName)].memberUids.append(contact.uid);
        }
    }
    return book;
}

QList<QStringList> CsvMapping::exportRows(const BookContents& book) {
    QList<QStringList> rows{exportTitles()};
    for (const Contact& contact : book.contacts) {
        QStringList groups;
        for (const Group& group : book.groups) {
            if (group.memberUids.contains(contact.uid)) {
                groups.append(group.name);
            }
        }
        QStringList row{contact.name, EntryRules::joinFaxNumbers(contact.faxNumbers()),
                        contact.company, contact.note, groups.join(QStringLiteral("; "))};
        for (QString& cell : row) {
            cell = spreadsheetSafe(cell);
        }
        rows.append(row);
    }
    return rows;
}

} // namespace vextel_addressbook
