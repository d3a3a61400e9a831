#include "kit/TableView.h"

#include <QAbstractItemModel>
#include <QEvent>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QTableView>
#include <algorithm>

namespace kit {

// Shows the source model with the table's own column titles in the horizontal header.
class TableHeaderProxy : public QIdentityProxyModel {
public:
    TableHeaderProxy(TableView* table, QObject* parent)
        : QIdentityProxyModel(parent), table_(table) {}

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
            section < table_->columns_.size()) {
            return table_->columns_.at(section).title;
        }
        return QIdentityProxyModel::headerData(section, orientation, role);
    }

private:
    TableView* table_;
};

TableView::TableView(QTableView* tableView)
    : View(tableView), tableView_(tableView), proxy_(new TableHeaderProxy(this, this)) {
    tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    tableView->setSelectionMode(QAbstractItemView::SingleSelection);
    tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tableView->setModel(proxy_);
    tableView->viewport()->installEventFilter(this);
    tableView->horizontalHeader()->viewport()->installEventFilter(this);
    connectSelection();
}

TableView* TableView::create(View* superview) {
    auto* table = new TableView(new QTableView);
    table->tableView()->verticalHeader()->hide();
    attach(table->widget(), superview);
    return table;
}

void TableView::connectSelection() {
    if (QItemSelectionModel* selection = tableView_->selectionModel()) {
        connect(selection, &QItemSelectionModel::selectionChanged, this,
                &TableView::selectionDidChange, Qt::UniqueConnection);
    }
}

void TableView::addColumn(const QString& key, const QString& headerTitle) {
    columns_.append({key, headerTitle});
    headerChanged();
}

int TableView::columnCount() const {
    return static_cast<int>(columns_.size());
}

QString TableView::columnKey(int column) const {
    if (column < 0 || column >= columns_.size()) {
        return {};
    }
    return columns_.at(column).key;
}

int TableView::indexOfColumnWithKey(const QString& key) const {
    for (int i = 0; i < columns_.size(); ++i) {
        if (columns_.at(i).key == key) {
            return i;
        }
    }
    return -1;
}

QString TableView::headerTitle(int column) const {
    if (column < 0 || column >= columns_.size()) {
        return {};
    }
    return columns_.at(column).title;
}

void TableView::setHeaderTitle(int column, const QString& title) {
    if (column < 0 || column >= columns_.size()) {
        return;
    }
    columns_[column].title = title;
    headerChanged();
}

void TableView::headerChanged() {
    const int count = proxy_->columnCount();
    if (count > 0) {
        emit proxy_->headerDataChanged(Qt::Horizontal, 0, count - 1);
    }
}

void TableView::setModel(QAbstractItemModel* model) {
    model_ = model;
    proxy_->setSourceModel(model);
    connectSelection();
}

bool TableView::allowsMultipleSelection() const {
    return tableView_->selectionMode() == QAbstractItemView::ExtendedSelection;
}

void TableView::setAllowsMultipleSelection(bool allows) {
    tableView_->setSelectionMode(allows ? QAbstractItemView::ExtendedSelection
                                        : QAbstractItemView::SingleSelection);
}

QList<int> TableView::selectedRowIndexes() const {
    QList<int> rows;
    if (QItemSelectionModel* selection = tableView_->selectionModel()) {
        for (const QModelIndex& index : selection->selectedRows()) {
            rows.append(index.row());
        }
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TableView::selectRowIndexes(const QList<int>& rows) {
    QItemSelectionModel* selection = tableView_->selectionModel();
    if (selection == nullptr) {
        return;
    }
    QItemSelection wanted;
    const int rowCount = proxy_->rowCount();
    const int lastColumn = std::max(0, proxy_->columnCount() - 1);
    for (int row : rows) {
        if (row >= 0 && row < rowCount) {
            wanted.select(proxy_->index(row, 0), proxy_->index(row, lastColumn));
        }
    }
    if (wanted == selection->selection()) {
        return;
    }
    selection->select(wanted, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int TableView::numberOfRows() const {
    return proxy_->rowCount();
}

void TableView::setDoubleAction(const QByteArray& name) {
    doubleAction_ = selectorName(name);
}

void TableView::setDoubleActionHandler(std::function<void(TableView*)> handler) {
    doubleActionHandler_ = std::move(handler);
}

bool TableView::sendDoubleAction() {
    bool sent = false;
    if (doubleActionHandler_) {
        doubleActionHandler_(this);
        sent = true;
    }
    if (target() != nullptr && !doubleAction_.isEmpty()) {
        sent = invokeAction(target(), doubleAction_, this) || sent;
    }
    return sent;
}

bool TableView::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseButtonRelease) {
        return View::eventFilter(watched, event);
    }
    const bool inRows = watched == tableView_->viewport();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        clickedRow_ = inRows ? tableView_->rowAt(mouse->position().toPoint().y()) : -1;
    }
    if (type == QEvent::MouseButtonRelease && inRows) {
        sendAction();
    } else if (type == QEvent::MouseButtonDblClick) {
        // The press before it has already selected the row, so the action sees the selection.
        sendDoubleAction();
    }
    return View::eventFilter(watched, event);
}

} // namespace kit
