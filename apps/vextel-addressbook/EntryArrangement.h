#pragma once

#include <QString>
#include <QStringView>
#include <Qt>
#include <functional>
#include <vector>

namespace vextel_addressbook {

// The rows of a table as a view shows them: sorted by one column, ignoring case, and narrowed to
// those with a text that contains the search, ignoring case. Each row's texts are case-folded once
// when the rows are set, so that neither a comparison of the sort nor a keystroke of the search
// folds anything; a search filters the sorted order, and clearing it restores that order
// without sorting again. Rows are plain indexes: a large book costs a few vectors.
class EntryArrangement {
public:
    // A row's text in a column, as the view shows it.
    using Text = std::function<QString(qsizetype row, int column)>;
    // numericColumn, when set, sorts by number rather than by text (its text is still searched).
    explicit EntryArrangement(int columns, int numericColumn = -1);

    // Replaces every row; the sort and the search stay. number gives the numeric column's values.
    void setRows(qsizetype count, const Text& text,
                 const std::function<qint64(qsizetype row)>& number = {});
    // Stable: rows that compare equal keep their order, in either direction.
    void sortBy(int column, Qt::SortOrder order);
    // An empty text shows every row.
    void setSearch(const QString& text);

    qsizetype shownCount() const { return static_cast<qsizetype>(shown_.size()); }
    // The row (as setRows counted them) shown at a position.
    qsizetype rowAt(qsizetype position) const { return shown_[static_cast<std::size_t>(position)]; }

private:
    QStringView foldedText(qsizetype row, int column) const;
    QStringView foldedRow(qsizetype row) const;
    bool matches(qsizetype row) const;
    void sort();
    void filter();

    int columns_;
    int numericColumn_;
    int sortColumn_ = 0;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    QString search_; // folded
    // Every row's texts folded and joined, row after row in one buffer, and where each column's
    // text starts in it (columns_ per row, then one more for the end of the last); joined, a
    // search of every column of a row is one search.
    QString folded_;
    std::vector<qsizetype> bounds_;
    std::vector<qint64> numbers_;
    std::vector<int> sorted_; // every row, in the sort's order
    std::vector<int> shown_;  // the sorted rows that match the search
};

} // namespace vextel_addressbook
