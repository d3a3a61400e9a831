#include "kit/TableView.h"

#include <QHeaderView>
#include <QPointer>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

class DoubleTarget : public QObject {
    Q_OBJECT
public:
    QList<QObject*> senders;
    QList<int> clickedRows;
    QList<QObject*> deleted;

public slots:
    void deleteAddressInfo(QObject* sender) { deleted.append(sender); }
    void addSelectedPCAddressData(QObject* sender) {
        senders.append(sender);
        clickedRows.append(static_cast<kit::TableView*>(sender)->clickedRow());
    }
};

struct Table {
    std::unique_ptr<QWidget> window{new QWidget};
    QStandardItemModel model{2, 2};
    kit::TableView* table = kit::TableView::create(nullptr);

    Table() {
        table->widget()->setParent(window.get());
        table->widget()->setGeometry(0, 0, 300, 300);
        table->addColumn("name", "Name");
        table->addColumn("phoneNumber", "Fax Number");
        model.setItem(0, 0, new QStandardItem("Beta"));
        model.setItem(1, 0, new QStandardItem("alpha"));
        table->setModel(&model);
        window->resize(300, 300);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    QWidget* viewport() const { return table->tableView()->viewport(); }
    QPoint rowPoint(int row) const {
        const QRect rect =
            table->tableView()->visualRect(table->tableView()->model()->index(row, 0));
        return rect.center();
    }
    QPoint belowRows() const { return QPoint(10, viewport()->height() - 5); }
};

TEST(TableViewTest, ColumnsByKeyAndHeaderTitles) {
    Table t;
    EXPECT_EQ(t.table->columnCount(), 2);
    EXPECT_EQ(t.table->columnKey(1), "phoneNumber");
    EXPECT_EQ(t.table->indexOfColumnWithKey("name"), 0);
    EXPECT_EQ(t.table->columnKey(2), QString());
    t.table->setHeaderTitle(1, "Numéro de fax");
    EXPECT_EQ(t.table->headerTitle(1), "Numéro de fax");
    EXPECT_EQ(t.table->tableView()->model()->headerData(1, Qt::Horizontal).toString(),
              "Numéro de fax")
        << "the shown header follows the title";
}

TEST(TableViewTest, ClickedRowIsMinusOneOnEmptyAreaAndDoubleClickSendsTheDoubleAction) {
    Table t;
    QList<int> clickedAtDoubleAction;
    t.table->setDoubleActionHandler(
        [&](kit::TableView* sender) { clickedAtDoubleAction.append(sender->clickedRow()); });

    QTest::mouseClick(t.viewport(), Qt::LeftButton, {}, t.rowPoint(1));
    EXPECT_EQ(t.table->clickedRow(), 1);
    EXPECT_EQ(t.table->selectedRowIndexes(), QList<int>{1});

    QTest::mouseClick(t.viewport(), Qt::LeftButton, {}, t.belowRows());
    EXPECT_EQ(t.table->clickedRow(), -1);
    EXPECT_TRUE(clickedAtDoubleAction.isEmpty());

    QTest::mouseDClick(t.viewport(), Qt::LeftButton, {}, t.rowPoint(0));
    QTest::mouseDClick(t.viewport(), Qt::LeftButton, {}, t.belowRows());
    QTest::mouseDClick(t.table->tableView()->horizontalHeader()->viewport(), Qt::LeftButton, {},
                       QPoint(5, 5));
    EXPECT_EQ(clickedAtDoubleAction, (QList<int>{0, -1, -1}));
}

TEST(TableViewTest, DoubleActionIsInvokedOnTheTargetByName) {
    Table t;
    DoubleTarget target;
    t.table->setTarget(&target);
    t.table->setDoubleAction("addSelectedPCAddressData:");
    EXPECT_EQ(t.table->doubleAction(), "addSelectedPCAddressData");

    QTest::mouseDClick(t.viewport(), Qt::LeftButton, {}, t.rowPoint(1));
    ASSERT_EQ(target.senders.size(), 1);
    EXPECT_EQ(target.senders.first(), t.table);
    EXPECT_EQ(target.clickedRows, QList<int>{1});

    t.table->setDoubleAction("noSuchAction:");
    EXPECT_FALSE(t.table->sendDoubleAction());
}

TEST(TableViewTest, ReturnOnARowSendsTheDoubleActionAndDeleteTheDeleteAction) {
    Table t;
    DoubleTarget target;
    t.table->setTarget(&target);
    QTableView* view = t.table->tableView();
    view->setFocus();
    // Without a selection the keys are not the table's.
    QTest::keyClick(view, Qt::Key_Return);
    QTest::keyClick(view, Qt::Key_Delete);
    t.table->setDoubleAction("addSelectedPCAddressData:");
    t.table->setDeleteAction("deleteAddressInfo:");
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_TRUE(target.senders.isEmpty());

    t.table->selectRowIndexes({1});
    QTest::keyClick(view, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(view, Qt::Key_Return, Qt::ControlModifier); // not a plain Return
    EXPECT_EQ(target.clickedRows, QList<int>{1});
    QTest::keyClick(view, Qt::Key_Delete);
    QTest::keyClick(view, Qt::Key_Backspace);
    EXPECT_EQ(target.deleted.size(), 2);
    EXPECT_EQ(t.table->deleteAction(), "deleteAddressInfo");
}

TEST(TableViewTest, AMarkerValueIsShownTranslatedWhileTheDataKeepsIt) {
    Table t;
    t.model.setItem(0, 1, new QStandardItem("Group"));
    t.model.setItem(1, 1, new QStandardItem("Groups"));
    t.table->setShownText(1, "Group", "Gruppe");
    const QAbstractItemModel* shown = t.table->tableView()->model();
    EXPECT_EQ(shown->index(0, 1).data().toString(), "Gruppe");
    EXPECT_EQ(shown->index(1, 1).data().toString(), "Groups") << "only the exact value";
    EXPECT_EQ(shown->index(0, 0).data().toString(), "Beta") << "only in its column";
    EXPECT_EQ(shown->index(0, 1).data(Qt::EditRole).toString(), "Group");
}

TEST(TableViewTest, SelectionByCodeAndMultipleSelection) {
    Table t;
    t.table->setAllowsMultipleSelection(true);
    EXPECT_TRUE(t.table->allowsMultipleSelection());
    int changes = 0;
    QObject::connect(t.table, &kit::TableView::selectionDidChange, [&] { ++changes; });
    t.table->selectRowIndexes({1, 0, 5});
    EXPECT_EQ(t.table->selectedRowIndexes(), (QList<int>{0, 1}));
    t.table->selectRowIndexes({});
    EXPECT_TRUE(t.table->selectedRowIndexes().isEmpty());
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(t.table->numberOfRows(), 2);
}

TEST(TableViewTest, DeletingTheWidgetTakesTheWrapperAlong) {
    QStandardItemModel model(3, 1);
    kit::TableView* table = kit::TableView::create(nullptr);
    table->addColumn("name", "Name");
    table->setModel(&model);
    table->selectRowIndexes({2});
    QPointer<kit::TableView> wrapper(table);
    delete table->widget();
    EXPECT_TRUE(wrapper.isNull());
}

} // namespace

#include "TableViewTest.moc"
