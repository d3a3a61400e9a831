#pragma once

#include "kit/KeyValue.h"

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>
#include <QString>
#include <memory>
#include <vector>

namespace kit {

class ArrayController;
class Dictionary;

// Shows an array controller's arranged objects in a table: one row per object, one column per
// key. Display and edit roles give the item's value under the column's key as text, read through
// the controller so that value rows are shown without an object each. The model resets when
// the arranged objects change and reports a cell changed when its item announces the key.
// Dictionary rows are heard through kit::DictionaryChanges, so a table of tens of thousands
// of them starts no observation per cell.
class ArrayTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        QString key;
        QString title;
    };

    explicit ArrayTableModel(ArrayController* controller, QObject* parent = nullptr);
    ~ArrayTableModel() override;

    ArrayController* controller() const;

    void setColumns(const QList<Column>& columns);
    void addColumn(const QString& key, const QString& title);
    QList<Column> columns() const;
    // Empty when out of range.
    QString columnKey(int column) const;
    // -1 when no column shows the key.
    int columnForKey(const QString& key) const;
    void setHeaderTitle(int column, const QString& title);

    // Editing a cell writes the text back by key (off by default).
    bool isEditable() const;
    void setEditable(bool editable);

    // The arranged object shown in the row, or null.
    ObjectRef objectAt(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void reload();
    void observeRows();
    void cellAnnounced(const QObject* item, int column);
    void dictionaryChanged(const Dictionary* dictionary, const QString& key);

    QPointer<ArrayController> arrayController_;
    QList<Column> columnList_;
    // The arranged count when the model last reset: rows are read from the controller.
    int rowCount_ = 0;
    std::vector<std::unique_ptr<Observation>> cellObservations_;
    bool editable_ = false;
};

} // namespace kit
