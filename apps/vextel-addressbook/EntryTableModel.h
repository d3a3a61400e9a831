#pragma once

#include "BookContents.h"

#include <QAbstractTableModel>

namespace vextel_addressbook {

// A book's entries or its groups as a table for a view (behind a sort and filter proxy). Holds
// a copy of the book (implicitly shared) that setContents replaces whole.
class EntryTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class Kind { Contacts, Groups };
    // Contacts: Name, Fax number, Company, Note. Groups: Name, Members (count), Member names.
    explicit EntryTableModel(Kind kind, QObject* parent = nullptr);

    void setContents(const BookContents& contents);
    const BookContents& contents() const { return contents_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QString memberNames(const Group& group) const;

    Kind kind_;
    BookContents contents_;
};

} // namespace vextel_addressbook
