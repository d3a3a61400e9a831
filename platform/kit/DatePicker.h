#pragma once

#include "kit/View.h"

#include <QDateTime>

class QTimeEdit;

namespace kit {

// A time-of-day picker (QTimeEdit shown as HH:mm). The date value keeps the date it was given;
// the user changes its time of day.
class DatePicker : public View {
    Q_OBJECT
    Q_PROPERTY(QDateTime dateValue READ dateValue WRITE setDateValue NOTIFY dateValueChanged)

public:
    explicit DatePicker(QTimeEdit* timeEdit);
    static DatePicker* create(View* superview);

    QDateTime dateValue() const { return value_; }
    void setDateValue(const QDateTime& value);

    QTimeEdit* timeEdit() const { return timeEdit_; }

signals:
    // Any change, by the user or from code.
    void dateValueChanged(const QDateTime& value);
    // A change made by the user only.
    void userChangedDate(const QDateTime& value);

private:
    void timeEdited(const QTime& time);

    QTimeEdit* timeEdit_;
    QDateTime value_;
    bool settingFromCode_ = false;
};

} // namespace kit
