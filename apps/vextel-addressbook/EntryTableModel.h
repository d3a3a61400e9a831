#pragma once

#include "BookContents.h"
#include "EntryArrangement.h"

#include <QAbstractTableModel>

namespace vextel_addressbook {

// A book's entries or its groups as a table for a view, sorted by a column (the view's header
// sorts it) and narrowed by a search of every column, both ignoring case. Holds a copy of the
// book (implicitly shared) that setContents replaces whole; rows of the table are the rows the
// arrangement shows, contentsRow maps them back to the book's.
class EntryTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class Kind { Contacts, Groups };
    // Contacts: Name, Fax number, Company, Note. Groups: Name, Members (count), Member names.
    explicit EntryTableModel(Kind kind, QObject* parent = nullptr);

    void setContents(const BookContents& contents);
    const BookContents& contents() const { return contents_; }
    // Shows the rows with a text that contains text; an empty text shows every row.
    void setSearchText(const QString& text);
    // The index in contents() of a row of the table.
    qsizetype contentsRow(int row) const { return arrangement_.rowAt(row); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    QString text(qsizetype contentsRow, int column) const;
    QString memberNames(const Group& group) const;
    // Rows stay where they are shown, so that a selection follows its rows through a new order
    // or search (rows no longer shown leave it).
    void rearrange(const std::function<void()>& change);

    Kind kind_;
    BookContents contents_;
    EntryArrangement arrangement_;
    // Contacts by uid, for the groups' member names.
    QHash<QString, qsizetype> contactByUid_;
};

} // namespace vextel_addressbook
