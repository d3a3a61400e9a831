#include "kit/TableView.h"

#include <QAbstractItemModel>
#include <QEvent>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QItemSelectionModel>
#include <QKeyEvent>
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

    QVariant data(const QModelIndex& index, int role) const override {
        QVariant value = QIdentityProxyModel::data(index, role);
        if (role == Qt::DisplayRole && index.column() < table_->columns_.size()) {
            const QHash<QString, QString>& shown = table_->columns_.at(index.column()).shownTexts;
            if (!shown.isEmpty()) {
                const auto found = shown.constFind(value.toString());
                if (found != shown.constEnd()) {
                    return *found;
                }
            }
        }
        return value;
    }

private:
    TableView* table_;
};

TableView::TableView(QTableView* tableView)
    : View(tableView), tableView_(tableView), proxy_(new TableHeaderProxy(this, this)) {
    tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    tableView->setSelectionMode(QAbstractItemView::SingleSelection);
    tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the table for the next control, as in every other control of a window; the
    // arrow keys move between rows.
    tableView->setTabKeyNavigation(false);
    tableView->setModel(proxy_);
    tableView->installEventFilter(this);
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
    columns_.append({key, headerTitle, {}});
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

void TableView::setShownText(int column, const QString& value, const QString& shown) {
    if (column < 0 || column >= columns_.size()) {
        return;
    }
    columns_[column].shownTexts.insert(value, shown);
    const int rows = proxy_->rowCount();
    if (rows > 0) {
        emit proxy_->dataChanged(proxy_->index(0, column), proxy_->index(rows - 1, column),
                                 {Qt::DisplayRole});
    }
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

void TableView::setDeleteAction(const QByteArray& name) {
    deleteAction_ = selectorName(name);
}

bool TableView::handleKey(const QKeyEvent* key) {
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    const QList<int> rows = selectedRowIndexes();
    if (modifiers != Qt::NoModifier || rows.isEmpty()) {
        return false;
    }
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        if (doubleAction_.isEmpty() && !doubleActionHandler_) {
            return false;
        }
        const QModelIndex current = tableView_->currentIndex();
        clickedRow_ =
            current.isValid() && rows.contains(current.row()) ? current.row() : rows.first();
        return sendDoubleAction();
    }
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        return !deleteAction_.isEmpty() && target() != nullptr &&
               invokeAction(target(), deleteAction_, this);
    default:
        return false;
    }
}

bool TableView::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == tableView_ && type == QEvent::KeyPress &&
        handleKey(static_cast<QKeyEvent*>(event))) {
        return true;
    }
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
