#pragma once

#include "kit/View.h"

#include <QList>
#include <QString>

class QTableView;
class QAbstractItemModel;
class QIdentityProxyModel;

namespace kit {

// A table (QTableView) with named columns. The model given with setModel() is shown through a
// proxy that supplies the header titles, so setHeaderTitle() works for any model.
//
// Clicks: clickedRow() is the row of the last mouse press in the table (-1 when it hit no row,
// the header included). A click sends the action; a double click anywhere in the table or its
// header sends the double action (check clickedRow() for -1).
class TableView : public View {
    Q_OBJECT

public:
    explicit TableView(QTableView* tableView);
    static TableView* create(View* superview);

    void addColumn(const QString& key, const QString& headerTitle);
    int columnCount() const;
    // A null QString when out of range.
    QString columnKey(int column) const;
    // The index of the column with that key, or -1.
    int indexOfColumnWithKey(const QString& key) const;
    QString headerTitle(int column) const;
    void setHeaderTitle(int column, const QString& title);

    // Borrowed; null clears.
    void setModel(QAbstractItemModel* model);
    QAbstractItemModel* model() const { return model_; }

    bool allowsMultipleSelection() const;
    void setAllowsMultipleSelection(bool allows);

    // Selected rows, ascending.
    QList<int> selectedRowIndexes() const;
    // Replaces the selection (whole rows); out-of-range rows are ignored.
    void selectRowIndexes(const QList<int>& rows);
    int numberOfRows() const;

    int clickedRow() const { return clickedRow_; }

    void setDoubleAction(const QByteArray& name);
    QByteArray doubleAction() const { return doubleAction_; }
    void setDoubleActionHandler(std::function<void(TableView*)> handler);
    bool sendDoubleAction();

    QTableView* tableView() const { return tableView_; }
    QList<View*> subviews() const override { return {}; }

signals:
    // The selection changed, by the user or from code.
    void selectionDidChange();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Column {
        QString key;
        QString title;
    };
    void connectSelection();
    void headerChanged();

    QTableView* tableView_;
    QIdentityProxyModel* proxy_;
    QAbstractItemModel* model_ = nullptr;
    QList<Column> columns_;
    int clickedRow_ = -1;
    QByteArray doubleAction_;
    std::function<void(TableView*)> doubleActionHandler_;

    friend class TableHeaderProxy;
};

} // namespace kit
