#include "kit/ArrayTableModel.h"

#include "kit/ArrayController.h"
#include "kit/Dictionary.h"
#include "kit/DictionaryChanges.h"

#include <QStringList>
#include <algorithm>

namespace kit {

namespace {

QString displayText(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<QVariantList>()) {
        QStringList parts;
        for (const QVariant& element : value.toList()) {
            parts.append(displayText(element));
        }
        return parts.join(QStringLiteral(", "));
    }
    return value.toString();
}

bool isPlainKey(const QString& key) {
    return !key.contains(QLatin1Char('.'));
}

// Rows are nearly always plain dictionaries: their exact class is told at once, a subclass by a
// cast.
bool isDictionary(const QObject* item) {
    return item->metaObject() == &Dictionary::staticMetaObject ||
           qobject_cast<const Dictionary*>(item) != nullptr;
}

bool allDictionaries(const QList<ObjectRef>& items) {
    return std::all_of(items.begin(), items.end(),
                       [](const ObjectRef& item) { return isDictionary(item.get()); });
}

} // namespace

ArrayTableModel::ArrayTableModel(ArrayController* controller, QObject* parent)
    : QAbstractTableModel(parent), arrayController_(controller) {
    if (controller) {
        connect(controller, &ArrayController::arrangedObjectsChanged, this,
                &ArrayTableModel::reload);
        connect(controller, &QObject::destroyed, this, &ArrayTableModel::reload);
    }
    connect(&DictionaryChanges::instance(), &DictionaryChanges::valueChanged, this,
            &ArrayTableModel::dictionaryChanged, Qt::DirectConnection);
    reload();
}

ArrayTableModel::~ArrayTableModel() = default;

ArrayController* ArrayTableModel::controller() const {
    return arrayController_.data();
}

void ArrayTableModel::setColumns(const QList<Column>& columns) {
    columnList_ = columns;
    reload();
}

void ArrayTableModel::addColumn(const QString& key, const QString& title) {
    QList<Column> columns = columnList_;
    columns.append(Column{key, title});
    setColumns(columns);
}

QList<ArrayTableModel::Column> ArrayTableModel::columns() const {
    return columnList_;
}

QString ArrayTableModel::columnKey(int column) const {
    return column >= 0 && column < columnList_.size() ? columnList_.at(column).key : QString();
}

int ArrayTableModel::columnForKey(const QString& key) const {
    for (int i = 0; i < columnList_.size(); ++i) {
        if (columnList_.at(i).key == key) {
            return i;
        }
    }
    return -1;
}

void ArrayTableModel::setHeaderTitle(int column, const QString& title) {
    if (column < 0 || column >= columnList_.size()) {
        return;
    }
    columnList_[column].title = title;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

bool ArrayTableModel::isEditable() const {
    return editable_;
}

void ArrayTableModel::setEditable(bool isEditable) {
    editable_ = isEditable;
}

ObjectRef ArrayTableModel::objectAt(int row) const {
    return arrayController_ && row >= 0 && row < rowCount_ ? arrayController_->arrangedObjectAt(row)
                                                           : nullptr;
}

int ArrayTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rowCount_;
}

int ArrayTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columnList_.size());
}

QVariant ArrayTableModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole && role != Qt::EditRole) {
        return {};
    }
    const QString key = columnKey(index.column());
    if (!index.isValid() || !arrayController_ || index.row() >= rowCount_ || key.isEmpty()) {
        return {};
    }
    return displayText(arrayController_->arrangedValue(index.row(), key));
}

bool ArrayTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const ObjectRef object = objectAt(index.row());
    const QString key = columnKey(index.column());
    if (!editable_ || role != Qt::EditRole || !index.isValid() || !object || key.isEmpty()) {
        return false;
    }
    if (!setValueForKeyPath(object.get(), key, value)) {
        return false;
    }
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

QVariant ArrayTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < columnList_.size()) {
        return columnList_.at(section).title;
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags ArrayTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    if (editable_ && index.isValid()) {
        result |= Qt::ItemIsEditable;
    }
    return result;
}

void ArrayTableModel::reload() {
    beginResetModel();
    rowCount_ = arrayController_ ? arrayController_->count() : 0;
    observeRows();
    endResetModel();
}

// A cell changes when its item announces the column's key; the row's place is re-read then,
// since the item may have moved since the observation began. Dictionaries announce their plain
// keys through dictionaryChanged instead; value rows change only through the dictionaries made
// of them.
void ArrayTableModel::observeRows() {
    cellObservations_.clear();
    if (!arrayController_ || arrayController_->contentRows()) {
        return;
    }
    QList<bool> plainColumns;
    for (const Column& column : std::as_const(columnList_)) {
        plainColumns.append(isPlainKey(column.key));
    }
    if (!plainColumns.contains(false) && allDictionaries(arrayController_->content())) {
        return;
    }
    for (const ObjectRef& object : arrayController_->arrangedObjects()) {
        QObject* item = object.get();
        const bool dictionary = isDictionary(item);
        for (int column = 0; column < columnList_.size(); ++column) {
            if (dictionary && plainColumns.at(column)) {
                continue;
            }
            auto observation =
                observe(item, columnList_.at(column).key,
                        [this, item, column](const QVariant&) { cellAnnounced(item, column); });
            if (observation) {
                cellObservations_.push_back(std::move(observation));
            }
        }
    }
}

void ArrayTableModel::cellAnnounced(const QObject* item, int column) {
    if (!arrayController_) {
        return;
    }
    for (int row : arrayController_->arrangedIndexesOfObject(item)) {
        if (row < rowCount_) {
            const QModelIndex cell = index(row, column);
            emit dataChanged(cell, cell, {Qt::DisplayRole, Qt::EditRole});
        }
    }
}

void ArrayTableModel::dictionaryChanged(const Dictionary* dictionary, const QString& key) {
    if (!isPlainKey(key)) {
        return;
    }
    for (int column = 0; column < columnList_.size(); ++column) {
        if (columnList_.at(column).key == key) {
            cellAnnounced(dictionary, column);
        }
    }
}

} // namespace kit
