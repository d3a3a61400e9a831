#include "kit/Binding.h"

#include "kit/ArrayController.h"
#include "kit/Box.h"
#include "kit/Button.h"
#include "kit/DatePicker.h"
#include "kit/Dictionary.h"
#include "kit/PopUpButton.h"
#include "kit/SecureTextField.h"
#include "kit/TableView.h"
#include "kit/TextField.h"
#include "kit/View.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QTimeEdit>
#include <gtest/gtest.h>
#include <memory>

namespace {

class Model : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
    Q_PROPERTY(int flag READ flag WRITE setFlag NOTIFY flagChanged)
    Q_PROPERTY(bool allowed READ allowed WRITE setAllowed NOTIFY allowedChanged)
    Q_PROPERTY(QDateTime when READ when WRITE setWhen NOTIFY whenChanged)
    Q_PROPERTY(int choice READ choice WRITE setChoice NOTIFY choiceChanged)
    Q_PROPERTY(bool canSend READ canSend NOTIFY canSendChanged)
    Q_CLASSINFO("kit.affects.canSend", "text")

public:
    QString text() const { return text_; }
    void setText(const QString& text) {
        ++textWrites;
        if (text_ != text) {
            text_ = text;
            emit textChanged();
        }
    }
    int flag() const { return flag_; }
    void setFlag(int flag) {
        if (flag_ != flag) {
            flag_ = flag;
            emit flagChanged();
        }
    }
    bool allowed() const { return allowed_; }
    void setAllowed(bool allowed) {
        if (allowed_ != allowed) {
            allowed_ = allowed;
            emit allowedChanged();
        }
    }
    QDateTime when() const { return when_; }
    void setWhen(const QDateTime& when) {
        if (when_ != when) {
            when_ = when;
            emit whenChanged();
        }
    }
    int choice() const { return choice_; }
    void setChoice(int choice) {
        if (choice_ != choice) {
            choice_ = choice;
            emit choiceChanged();
        }
    }
    bool canSend() const { return !text_.isEmpty(); }

    int textWrites = 0;

signals:
    void textChanged();
    void flagChanged();
    void allowedChanged();
    void whenChanged();
    void choiceChanged();
    void canSendChanged();

private:
    QString text_;
    int flag_ = 0;
    bool allowed_ = false;
    QDateTime when_;
    int choice_ = 0;
};

class Person : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)

public:
    explicit Person(const QString& name) : name_(name) {}
    QString name() const { return name_; }
    void setName(const QString& name) {
        if (name_ != name) {
            name_ = name;
            emit nameChanged();
        }
    }

signals:
    void nameChanged();

private:
    QString name_;
};

// Clicks where a check box has its box, as a person would.
void clickIndicator(kit::Button* box) {
    QTest::mouseClick(box->button(), Qt::LeftButton, {}, QPoint(6, box->button()->height() / 2));
}

kit::ObjectRef person(const QString& name) {
    return std::make_shared<Person>(name);
}

class BindingTest : public ::testing::Test {
protected:
    void SetUp() override {
        container->widget()->resize(300, 200);
        container->widget()->show();
    }
    void TearDown() override { delete container->widget(); }

    kit::View* container = kit::View::create();
    Model model;
};

TEST_F(BindingTest, TextValueFollowsEveryKeystrokeAndTheModel) {
    auto* field = kit::TextField::create(container, true);
    model.setText("start");
    ASSERT_NE(kit::Binding::bind(field, "value", &model, "text"), nullptr);
    EXPECT_EQ(field->stringValue(), "start");

    field->lineEdit()->clear();
    model.textWrites = 0;
    QTest::keyClicks(field->lineEdit(), "abc");
    EXPECT_EQ(model.text(), "abc");
    EXPECT_EQ(model.textWrites, 3);

    model.setText("from model");
    EXPECT_EQ(field->stringValue(), "from model");
}

TEST_F(BindingTest, NonContinuousTextValueWaitsForTheEndOfEditing) {
    auto* field = kit::TextField::create(container, true);
    kit::BindingOptions options;
    options.continuouslyUpdatesValue = false;
    ASSERT_NE(kit::Binding::bind(field, "value", &model, "text", options), nullptr);
    QTest::keyClicks(field->lineEdit(), "abc");
    EXPECT_EQ(model.text(), "");
    QTest::keyClick(field->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(model.text(), "abc");
}

TEST_F(BindingTest, SubclassesOfTextFieldAndLabelsTakeValueBindings) {
    auto* secure = kit::SecureTextField::create(container);
    auto* label = kit::TextField::create(container, false);
    ASSERT_NE(kit::Binding::bind(secure, "value", &model, "text"), nullptr);
    ASSERT_NE(kit::Binding::bind(label, "value", &model, "flag"), nullptr);
    QTest::keyClicks(secure->lineEdit(), "1234");
    EXPECT_EQ(model.text(), "1234");
    model.setFlag(7);
    EXPECT_EQ(label->stringValue(), "7");
}

TEST_F(BindingTest, CheckBoxStateFollowsANumberBothWays) {
    auto* box = kit::Button::create(container, "Later", kit::Button::Type::CheckBox);
    ASSERT_NE(kit::Binding::bind(box, "value", &model, "flag"), nullptr);
    EXPECT_EQ(box->state(), 0);
    clickIndicator(box);
    EXPECT_EQ(model.flag(), 1);
    model.setFlag(0);
    EXPECT_EQ(box->state(), 0);
    model.setFlag(1);
    EXPECT_EQ(box->state(), 1);
}

TEST_F(BindingTest, CheckBoxStateWritesABoolProperty) {
    auto* box = kit::Button::create(container, "Allowed", kit::Button::Type::CheckBox);
    ASSERT_NE(kit::Binding::bind(box, "value", &model, "allowed"), nullptr);
    clickIndicator(box);
    EXPECT_TRUE(model.allowed());
}

TEST_F(BindingTest, DatePickerFollowsTheModelAndTheUser) {
    auto* picker = kit::DatePicker::create(container);
    const QDateTime morning(QDate(2024, 5, 6), QTime(9, 30));
    model.setWhen(morning);
    ASSERT_NE(kit::Binding::bind(picker, "value", &model, "when"), nullptr);
    EXPECT_EQ(picker->dateValue(), morning);

    picker->timeEdit()->setTime(QTime(17, 45));
    EXPECT_EQ(model.when(), QDateTime(QDate(2024, 5, 6), QTime(17, 45)));
}

TEST_F(BindingTest, PopUpValueIsTheSelectedIndex) {
    auto* popUp = kit::PopUpButton::create(container);
    popUp->addItemsWithTitles({"Standard", "Fine", "Superfine"});
    model.setChoice(2);
    ASSERT_NE(kit::Binding::bind(popUp, "value", &model, "choice"), nullptr);
    EXPECT_EQ(popUp->indexOfSelectedItem(), 2);
    emit popUp->comboBox()->activated(1);
    EXPECT_EQ(model.choice(), 1);
}

TEST_F(BindingTest, SeveralEnabledBindingsAreAndedAndHiddenOnesOred) {
    auto* button = kit::Button::create(container, "Send");
    ASSERT_NE(kit::Binding::bind(button, "enabled", &model, "allowed"), nullptr);
    ASSERT_NE(kit::Binding::bind(button, "enabled", &model, "canSend"), nullptr);
    EXPECT_FALSE(button->isEnabled());
    model.setAllowed(true);
    EXPECT_FALSE(button->isEnabled()) << "canSend is still false";
    model.setText("x"); // announced for canSend through the affects declaration
    EXPECT_TRUE(button->isEnabled());
    model.setAllowed(false);
    EXPECT_FALSE(button->isEnabled());

    auto* label = kit::TextField::create(container, false);
    ASSERT_NE(kit::Binding::bind(label, "hidden", &model, "allowed"), nullptr);
    ASSERT_NE(kit::Binding::bind(label, "hidden", &model, "flag"), nullptr);
    EXPECT_FALSE(label->isHidden());
    model.setFlag(1);
    EXPECT_TRUE(label->isHidden());
    model.setFlag(0);
    EXPECT_FALSE(label->isHidden());
}

TEST_F(BindingTest, DictionaryKeysBindLikeProperties) {
    auto* field = kit::TextField::create(container, true);
    kit::Dictionary values;
    values.setValue("name", "Ann");
    ASSERT_NE(kit::Binding::bind(field, "value", &values, "name"), nullptr);
    EXPECT_EQ(field->stringValue(), "Ann");
    QTest::keyClicks(field->lineEdit(), "e");
    EXPECT_EQ(values.value("name").toString(), "Anne");
    values.setValue("name", "Bob");
    EXPECT_EQ(field->stringValue(), "Bob");
}

class TableBindingTest : public BindingTest {
protected:
    void SetUp() override {
        BindingTest::SetUp();
        table = kit::TableView::create(container);
        table->setAllowsMultipleSelection(true);
        controller.setSortDescriptors({{"name", false, true}});
        controller.setSelectsInsertedObjects(false);
        controller.addObjects({person("alpha"), person("Beta"), person("gamma")});
        kit::BindingOptions options;
        options.columns = {{"name", "Name"}};
        ASSERT_NE(kit::Binding::bind(table, "content", &controller, {}, options), nullptr);
    }

    QString cell(int row) const { return table->model()->index(row, 0).data().toString(); }

    kit::TableView* table = nullptr;
    kit::ArrayController controller;
};

TEST_F(TableBindingTest, RowsAreTheArrangedObjectsUnderTheColumns) {
    ASSERT_EQ(table->numberOfRows(), 3);
    EXPECT_EQ(cell(0), "gamma");
    EXPECT_EQ(cell(1), "Beta");
    EXPECT_EQ(cell(2), "alpha");
    EXPECT_EQ(table->columnCount(), 1);
    EXPECT_EQ(table->headerTitle(0), "Name");
    controller.addObject(person("delta"));
    EXPECT_EQ(table->numberOfRows(), 4);
    EXPECT_EQ(cell(1), "delta");
}

TEST_F(TableBindingTest, SelectionFollowsBothWaysAndSurvivesRearranging) {
    table->selectRowIndexes({0, 2});
    EXPECT_EQ(controller.selectionIndexes(), (QList<int>{0, 2}));

    controller.setSelectionIndexes({1});
    EXPECT_EQ(table->selectedRowIndexes(), (QList<int>{1}));

    // "delta" sorts above "Beta": the selected object moves down a row, and so does the row.
    controller.addObject(person("delta"));
    ASSERT_EQ(controller.selectionIndexes(), (QList<int>{2}));
    EXPECT_EQ(table->selectedRowIndexes(), (QList<int>{2}));
}

TEST_F(TableBindingTest, TheTableKeepsWorkingWhenTheControllerGoesFirst) {
    auto* other = new kit::ArrayController;
    other->addObject(person("solo"));
    auto* otherTable = kit::TableView::create(container);
    kit::BindingOptions options;
    options.columns = {{"name", "Name"}};
    kit::Binding* binding = kit::Binding::bind(otherTable, "content", other, {}, options);
    ASSERT_NE(binding, nullptr);
    delete other;
    EXPECT_FALSE(binding->isBound());
    otherTable->selectRowIndexes({0});
    EXPECT_EQ(otherTable->numberOfRows(), 0);
}

TEST_F(BindingTest, PopUpContentFollowsTheControllerItsTitlesAndItsSelection) {
    auto* popUp = kit::PopUpButton::create(container);
    kit::ArrayController files;
    auto work = person("work.vcf");
    files.addObjects({person("home.vcf"), work});
    files.setSelectionIndex(1);
    kit::BindingOptions options;
    options.contentValues = "name";
    ASSERT_NE(kit::Binding::bind(popUp, "content", &files, {}, options), nullptr);
    EXPECT_EQ(popUp->itemTitles(), (QStringList{"home.vcf", "work.vcf"}));
    EXPECT_EQ(popUp->indexOfSelectedItem(), 1);
    EXPECT_EQ(kit::objectFromVariant(popUp->representedObjectAt(1)), work.get());

    static_cast<Person*>(work.get())->setName("office.vcf");
    EXPECT_EQ(popUp->itemTitleAt(1), "office.vcf");

    emit popUp->comboBox()->activated(0);
    EXPECT_EQ(files.selectionIndex(), 0);
    files.setSelectionIndex(1);
    EXPECT_EQ(popUp->indexOfSelectedItem(), 1);

    files.removeAllArrangedObjects();
    EXPECT_EQ(popUp->numberOfItems(), 0);
}

TEST_F(BindingTest, AnObjectDestroyedFirstLeavesTheViewQuiet) {
    auto* field = kit::TextField::create(container, true);
    auto* doomed = new Model;
    doomed->setText("last words");
    kit::Binding* binding = kit::Binding::bind(field, "value", doomed, "text");
    ASSERT_NE(binding, nullptr);
    delete doomed;
    EXPECT_FALSE(binding->isBound());
    QTest::keyClicks(field->lineEdit(), "!");
    EXPECT_EQ(field->stringValue(), "last words!");
}

TEST_F(BindingTest, UnbindStopsFollowing) {
    auto* field = kit::TextField::create(container, true);
    ASSERT_NE(kit::Binding::bind(field, "value", &model, "text"), nullptr);
    ASSERT_EQ(kit::Binding::bindingsOf(field).size(), 1);
    kit::Binding::unbind(field);
    EXPECT_TRUE(kit::Binding::bindingsOf(field).isEmpty());
    model.setText("ignored");
    EXPECT_EQ(field->stringValue(), "");
}

TEST_F(BindingTest, BindingsAViewCannotTakeAreRefusedWithAReason) {
    auto* box = kit::Box::create(container, "Group");
    auto* field = kit::TextField::create(container, true);
    auto* table = kit::TableView::create(container);
    auto* popUp = kit::PopUpButton::create(container);
    kit::ArrayController controller;
    QString reason;

    EXPECT_EQ(kit::Binding::bind(box, "value", &model, "text", {}, &reason), nullptr);
    EXPECT_TRUE(reason.contains("no value binding")) << reason.toStdString();
    EXPECT_EQ(kit::Binding::bind(field, "value", &model, "txet", {}, &reason), nullptr);
    EXPECT_TRUE(reason.contains("txet")) << reason.toStdString();
    EXPECT_EQ(kit::Binding::bind(field, "colour", &model, "text", {}, &reason), nullptr);
    EXPECT_EQ(kit::Binding::bind(table, "content", &model, {}, {}, &reason), nullptr);
    EXPECT_TRUE(reason.contains("ArrayController")) << reason.toStdString();
    EXPECT_EQ(kit::Binding::bind(table, "content", &controller, {}, {}, &reason), nullptr)
        << "a table without columns";
    EXPECT_EQ(kit::Binding::bind(popUp, "content", &controller, {}, {}, &reason), nullptr)
        << "a popup without contentValues";
    EXPECT_EQ(kit::Binding::bind(field, "content", &controller, {}, {}, &reason), nullptr);
    EXPECT_EQ(kit::Binding::bind(field, "enabled", nullptr, "text", {}, &reason), nullptr);
    EXPECT_TRUE(kit::Binding::bindingsOf(field).isEmpty());
}

TEST(BindingTruthValue, FollowsTheDocumentedRule) {
    EXPECT_FALSE(kit::Binding::truthValue(QVariant()));
    EXPECT_FALSE(kit::Binding::truthValue(0));
    EXPECT_TRUE(kit::Binding::truthValue(3));
    EXPECT_FALSE(kit::Binding::truthValue(QString()));
    EXPECT_TRUE(kit::Binding::truthValue(QString("x")));
    EXPECT_FALSE(kit::Binding::truthValue(QVariant::fromValue(QList<kit::ObjectRef>{})));
    EXPECT_TRUE(kit::Binding::truthValue(QVariant::fromValue(QList<kit::ObjectRef>{person("a")})));
    EXPECT_TRUE(kit::Binding::truthValue(QVariant::fromValue(person("a"))));
}

} // namespace

#include "BindingTest.moc"
