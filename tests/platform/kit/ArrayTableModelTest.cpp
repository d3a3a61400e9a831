#include "kit/ArrayTableModel.h"

#include "kit/ArrayController.h"
#include "kit/Dictionary.h"
#include "kit/KeyValue.h"
#include "kit/ValueRows.h"

#include <QObject>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

class Recipient : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString name MEMBER name NOTIFY nameChanged)
    Q_PROPERTY(QString phoneNumber MEMBER phoneNumber NOTIFY phoneNumberChanged)
public:
    Recipient(const QString& name, const QString& phoneNumber)
        : name(name), phoneNumber(phoneNumber) {}
    QString name;
    QString phoneNumber;
signals:
    void nameChanged();
    void phoneNumberChanged();
};

kit::ObjectRef recipient(const QString& name, const QString& phoneNumber) {
    return std::make_shared<Recipient>(name, phoneNumber);
}

QStringList column(const kit::ArrayTableModel& model, int columnIndex) {
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row) {
        texts.append(model.data(model.index(row, columnIndex)).toString());
    }
    return texts;
}

class ArrayTableModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        controller.setSortDescriptors({{"name", false, true}});
        model.setColumns({{"name", "Name"}, {"phoneNumber", "Fax Number"}});
    }
    kit::ArrayController controller;
    kit::ArrayTableModel model{&controller};
};

TEST_F(ArrayTableModelTest, ShowsArrangedObjectsByColumnKey) {
    auto alpha = recipient("alpha", "1");
    controller.addObjects({alpha, recipient("Beta", "22")});
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.columnCount(), 2);
    EXPECT_EQ(column(model, 0), (QStringList{"Beta", "alpha"}));
    EXPECT_EQ(model.data(model.index(0, 1), Qt::EditRole).toString(), "22");
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "Fax Number");
    EXPECT_EQ(model.objectAt(1), alpha);
    EXPECT_EQ(model.objectAt(2), nullptr);
    EXPECT_FALSE(model.data(model.index(0, 0), Qt::DecorationRole).isValid());
}

TEST_F(ArrayTableModelTest, FollowsAddsAndRemoves) {
    int resets = 0;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });
    auto carl = recipient("Carl", "3");
    controller.addObject(recipient("Anna", "1"));
    controller.addObject(carl);
    EXPECT_EQ(column(model, 0), (QStringList{"Carl", "Anna"}));
    controller.removeObject(carl);
    EXPECT_EQ(column(model, 0), QStringList{"Anna"});
    controller.removeAllArrangedObjects();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(resets, 4);
}

TEST_F(ArrayTableModelTest, ReportsACellChangedWhenItsItemAnnouncesTheKey) {
    auto anna = recipient("Anna", "1");
    controller.addObjects({recipient("Zoe", "9"), anna});
    QList<QModelIndex> changed;
    QObject::connect(
        &model, &QAbstractItemModel::dataChanged,
        [&](const QModelIndex& topLeft, const QModelIndex&) { changed.append(topLeft); });
    kit::setValueForKey(anna.get(), "phoneNumber", QString("555"));
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed.first().row(), 1);
    EXPECT_EQ(changed.first().column(), 1);
    EXPECT_EQ(model.data(changed.first()).toString(), "555");
}

TEST_F(ArrayTableModelTest, DictionaryRowsReportOnlyTheirShownCells) {
    auto anna = kit::Dictionary::create({{"name", "Anna"}, {"phoneNumber", "1"}});
    auto stranger = kit::Dictionary::create({{"name", "Xavier"}, {"phoneNumber", "2"}});
    controller.addObjects({kit::Dictionary::create({{"name", "Zoe"}}), anna});
    QList<QModelIndex> changed;
    QObject::connect(
        &model, &QAbstractItemModel::dataChanged,
        [&](const QModelIndex& topLeft, const QModelIndex&) { changed.append(topLeft); });
    anna->setValue("phoneNumber", "555");
    stranger->setValue("phoneNumber", "3");
    anna->setValue("note", "not a column");
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed.first().row(), 1);
    EXPECT_EQ(changed.first().column(), 1);
    EXPECT_EQ(model.data(changed.first()).toString(), "555");

    controller.removeObject(anna);
    anna->setValue("name", "Ann");
    EXPECT_EQ(changed.size(), 1) << "a removed row reports nothing";
}

TEST_F(ArrayTableModelTest, EditsWriteBackOnlyWhenEditable) {
    auto entry = kit::Dictionary::create({{"name", "Old"}, {"phoneNumber", "1"}});
    controller.addObject(entry);
    const QModelIndex cell = model.index(0, 0);
    EXPECT_FALSE(model.flags(cell).testFlag(Qt::ItemIsEditable));
    EXPECT_FALSE(model.setData(cell, QString("New")));
    EXPECT_EQ(entry->value("name").toString(), "Old");

    model.setEditable(true);
    EXPECT_TRUE(model.flags(cell).testFlag(Qt::ItemIsEditable));
    EXPECT_TRUE(model.setData(cell, QString("New")));
    EXPECT_EQ(entry->value("name").toString(), "New");
}

TEST_F(ArrayTableModelTest, ShowsValueRowsAndTheChangesOfTheirMadeObjects) {
    auto rows = std::make_shared<kit::ValueRows>(QStringList{"name", "phoneNumber"});
    rows->append({QString("Anna"), QString("100")});
    rows->append({QString("Peter")});
    controller.setContentRows(rows);
    EXPECT_EQ(column(model, 0), (QStringList{"Peter", "Anna"}));
    EXPECT_EQ(column(model, 1), (QStringList{"", "100"}));

    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    auto anna = std::static_pointer_cast<kit::Dictionary>(model.objectAt(1));
    anna->setValue("phoneNumber", "101");
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.first().at(0).toModelIndex(), model.index(1, 1));
    EXPECT_EQ(column(model, 1), (QStringList{"", "101"}));
}

TEST(ArrayTableModel, EmptiesWhenItsControllerGoes) {
    auto controller = std::make_unique<kit::ArrayController>();
    kit::ArrayTableModel model(controller.get());
    model.addColumn("name", "Name");
    controller->addObject(recipient("Anna", "1"));
    EXPECT_EQ(model.rowCount(), 1);
    controller.reset();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.controller(), nullptr);
}

} // namespace

#include "ArrayTableModelTest.moc"
