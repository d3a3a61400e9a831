#include "EntryArrangement.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

using vextel_addressbook::EntryArrangement;

// Rows of two text columns and a numeric third, given as "first|second|number".
struct Table {
    QList<QStringList> rows;

    explicit Table(const QStringList& lines) {
        for (const QString& line : lines) {
            rows.append(line.split(QLatin1Char('|')));
        }
    }
    void setInto(EntryArrangement& arrangement) const {
        arrangement.setRows(
            rows.size(), [this](qsizetype row, int column) { return rows[row][column]; },
            [this](qsizetype row) { return rows[row][2].toLongLong(); });
    }
    // The first column of the shown rows, in their order.
    QStringList shown(const EntryArrangement& arrangement) const {
        QStringList names;
        for (qsizetype i = 0; i < arrangement.shownCount(); ++i) {
            names.append(rows[arrangement.rowAt(i)][0]);
        }
        return names;
    }
};

const Table kTable({"bob|Acme|3", "Ann|beta|10", "ann|Acme|2", "Émile|acme 7|7",
                    "cy|x\xef\xbf\xbfy|3"});

TEST(EntryArrangementTest, SortsByAColumnIgnoringCaseAndKeepsTheOrderOfEqualRows) {
    const struct {
        int column;
        Qt::SortOrder order;
        QStringList expected;
    } cases[] = {
        {0, Qt::AscendingOrder, {"Ann", "ann", "bob", "cy", "Émile"}},
        // Equal names keep their order in either direction.
        {0, Qt::DescendingOrder, {"Émile", "cy", "bob", "Ann", "ann"}},
        {1, Qt::AscendingOrder, {"ann", "bob", "Émile", "Ann", "cy"}},
        // By number, not by text ("10" after "7").
        {2, Qt::AscendingOrder, {"ann", "bob", "cy", "Émile", "Ann"}},
        {2, Qt::DescendingOrder, {"Ann", "Émile", "bob", "cy", "ann"}},
    };
    for (const auto& c : cases) {
        EntryArrangement arrangement(3, 2);
        kTable.setInto(arrangement);
        arrangement.sortBy(c.column, c.order);
        EXPECT_EQ(kTable.shown(arrangement), c.expected) << c.column << " " << c.order;
    }
}

TEST(EntryArrangementTest, ASearchShowsTheRowsWithATextThatHoldsItIgnoringCase) {
    const struct {
        QString search;
        QStringList expected;
    } cases[] = {
        {"", {"Ann", "ann", "bob", "cy", "Émile"}},
        {"ACME", {"ann", "bob", "Émile"}},
        {"émi", {"Émile"}},
        {"7", {"Émile"}},           // the numeric column is searched as text
        {"10", {"Ann"}},            // so is the number of a row
        {"annbeta", {}},            // never across two columns
        {"x\xef\xbf\xbfy", {"cy"}}, // a search that holds the separator still finds its column
        {"\xef\xbf\xbf", {"cy"}},
    };
    for (const auto& c : cases) {
        EntryArrangement arrangement(3, 2);
        kTable.setInto(arrangement);
        arrangement.setSearch(c.search);
        EXPECT_EQ(kTable.shown(arrangement), c.expected) << c.search.toStdString();
    }
}

TEST(EntryArrangementTest, CaseIsIgnoredBeyondTheBasicPlaneAndForSignsThatFoldToLetters) {
    // U+10400 and U+10428 are one letter's two cases; the Kelvin sign folds to "k".
    const Table table({"\xF0\x90\x90\x80x|a|1", "\xE2\x84\xAA|b|2", "b|b|3"});
    const struct {
        QString search;
        QStringList expected;
    } cases[] = {
        {"\xF0\x90\x90\xA8X", {"\xF0\x90\x90\x80x"}},
        {"k", {"\xE2\x84\xAA"}},
    };
    for (const auto& c : cases) {
        EntryArrangement arrangement(3, 2);
        table.setInto(arrangement);
        arrangement.setSearch(c.search);
        EXPECT_EQ(table.shown(arrangement), c.expected) << c.search.toStdString();
    }
}

TEST(EntryArrangementTest, SortAndSearchLastThroughNewRowsAndClearingRestoresTheSortedOrder) {
    EntryArrangement arrangement(3, 2);
    kTable.setInto(arrangement);
    arrangement.sortBy(0, Qt::DescendingOrder);
    arrangement.setSearch("a");
    EXPECT_EQ(kTable.shown(arrangement), QStringList({"Émile", "bob", "Ann", "ann"}));
    // A sort while searching sorts the rows hidden too, from the order the last sort gave.
    arrangement.sortBy(2, Qt::AscendingOrder);
    EXPECT_EQ(kTable.shown(arrangement), QStringList({"ann", "bob", "Émile", "Ann"}));
    arrangement.setSearch({});
    EXPECT_EQ(kTable.shown(arrangement), QStringList({"ann", "cy", "bob", "Émile", "Ann"}));

    const Table grown({"zed|acme|1", "Abe|z|0"});
    arrangement.setSearch("acme");
    grown.setInto(arrangement);
    EXPECT_EQ(grown.shown(arrangement), QStringList({"zed"}));
    arrangement.setSearch({});
    EXPECT_EQ(grown.shown(arrangement), QStringList({"Abe", "zed"}));
    EntryArrangement empty(3, 2);
    Table({}).setInto(empty);
    EXPECT_EQ(empty.shownCount(), 0);
}

} // namespace
