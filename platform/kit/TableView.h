#pragma once

#include "kit/View.h"

#include <QHash>
#include <QList>
#include <QString>

class QTableView;
class QAbstractItemModel;
class QKeyEvent;
class QIdentityProxyModel;

namespace kit {

// A table (QTableView) with named columns. The model given with setModel() is shown through a
// proxy that supplies the header titles, so setHeaderTitle() works for any model.
//
// Clicks: clickedRow() is the row of the last mouse press in the table (-1 when it hit no row,
// the header included). A click sends the action; a double click anywhere in the table or its
// header sends the double action (check clickedRow() for -1).
// Keys: Return or Enter on a selected row sends the double action as a double click on that row
// does (clickedRow() is the row); Delete or Backspace with a selection sends the delete action.
// Without the action the key goes on to the window (Return to its default button).
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
    // Shows the cell text `shown` wherever the column's value is exactly `value` (a marker
    // word of the data, such as a group's "Group" fax number, shown translated); the data and
    // what the table's model answers for the edit role stay as they are.
    void setShownText(int column, const QString& value, const QString& shown);

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

    void setDeleteAction(const QByteArray& name);
    QByteArray deleteAction() const { return deleteAction_; }

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
        QHash<QString, QString> shownTexts;
    };
    void connectSelection();
    void headerChanged();
    // True when the key was the table's: a row's double action or the delete action went out.
    bool handleKey(const QKeyEvent* key);

    QTableView* tableView_;
    QIdentityProxyModel* proxy_;
    QAbstractItemModel* model_ = nullptr;
    QList<Column> columns_;
    int clickedRow_ = -1;
    QByteArray doubleAction_;
    QByteArray deleteAction_;
    std::function<void(TableView*)> doubleActionHandler_;

    friend class TableHeaderProxy;
};

} // namespace kit
