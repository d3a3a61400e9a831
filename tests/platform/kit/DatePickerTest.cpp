#include "kit/DatePicker.h"

#include <QTest>
#include <QTimeEdit>
#include <gtest/gtest.h>
#include <memory>

namespace {

TEST(DatePickerTest, KeepsTheGivenDateAndTimeOfDay) {
    kit::DatePicker* picker = kit::DatePicker::create(nullptr);
    std::unique_ptr<QWidget> owner(picker->widget());
    const QDateTime given(QDate(2024, 5, 17), QTime(14, 37, 22));
    picker->setDateValue(given);
    EXPECT_EQ(picker->dateValue(), given);
    EXPECT_EQ(picker->timeEdit()->displayFormat(), "HH:mm");
    EXPECT_EQ(picker->timeEdit()->text(), "14:37");
}

TEST(DatePickerTest, UserEditChangesTheTimeOfDayOnly) {
    kit::DatePicker* picker = kit::DatePicker::create(nullptr);
    std::unique_ptr<QWidget> owner(picker->widget());
    picker->setDateValue(QDateTime(QDate(2024, 5, 17), QTime(14, 37, 22)));
    int actions = 0;
    picker->setActionHandler([&](kit::View*) { ++actions; });

    picker->timeEdit()->setFocus();
    picker->timeEdit()->setCurrentSection(QDateTimeEdit::HourSection);
    QTest::keyClick(picker->timeEdit(), Qt::Key_Up);

    EXPECT_EQ(picker->dateValue(), QDateTime(QDate(2024, 5, 17), QTime(15, 37, 22)));
    EXPECT_EQ(actions, 1);
}

} // namespace
