#include "kit/DatePicker.h"

#include <QTimeEdit>

namespace kit {

DatePicker::DatePicker(QTimeEdit* timeEdit) : View(timeEdit), timeEdit_(timeEdit) {
    timeEdit->setDisplayFormat(QStringLiteral("HH:mm"));
    value_ = QDateTime(QDate::currentDate(), timeEdit->time());
    connect(timeEdit, &QTimeEdit::timeChanged, this, &DatePicker::timeEdited);
}

DatePicker* DatePicker::create(View* superview) {
    auto* picker = new DatePicker(new QTimeEdit);
    attach(picker->widget(), superview);
    return picker;
}

void DatePicker::setDateValue(const QDateTime& value) {
    if (value == value_ && value.isValid() == value_.isValid()) {
        return;
    }
    value_ = value;
    settingFromCode_ = true;
    timeEdit_->setTime(value.isValid() ? value.time() : QTime(0, 0));
    settingFromCode_ = false;
    emit dateValueChanged(value_);
}

void DatePicker::timeEdited(const QTime& time) {
    if (settingFromCode_) {
        return;
    }
    // The user edits hours and minutes only; the date and the seconds stay as they were.
    const QDate date = value_.isValid() ? value_.date() : QDate::currentDate();
    const QTime old = value_.isValid() ? value_.time() : QTime(0, 0);
    const QTime edited(time.hour(), time.minute(), old.second(), old.msec());
    if (value_.isValid()) {
        value_.setTime(edited);
    } else {
        value_ = QDateTime(date, edited);
    }
    emit dateValueChanged(value_);
    emit userChangedDate(value_);
    sendAction();
}

} // namespace kit
