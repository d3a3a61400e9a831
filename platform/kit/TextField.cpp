#include "kit/TextField.h"

#include "kit/Formatter.h"

#include <QLabel>
#include <QLineEdit>
#include <QValidator>

namespace kit {

TextField::TextField(QLineEdit* lineEdit) : View(lineEdit), lineEdit_(lineEdit) {
    connectLineEdit();
}

TextField::TextField(QLabel* label) : View(label), label_(label) {}

TextField::TextField(QWidget* widget, QLineEdit* lineEdit) : View(widget), lineEdit_(lineEdit) {}

TextField* TextField::create(View* superview, bool editable) {
    TextField* field = nullptr;
    if (editable) {
        field = new TextField(new QLineEdit);
    } else {
        field = new TextField(new QLabel);
    }
    attach(field->widget(), superview);
    return field;
}

void TextField::connectLineEdit() {
    if (lineEdit_ == nullptr) {
        return;
    }
    connect(lineEdit_, &QLineEdit::textChanged, this, &TextField::stringValueChanged);
    connect(lineEdit_, &QLineEdit::textEdited, this, &TextField::textEdited);
    connect(lineEdit_, &QLineEdit::editingFinished, this, [this] {
        emit editingEnded();
        sendAction();
    });
}

QString TextField::stringValue() const {
    if (lineEdit_ != nullptr) {
        return lineEdit_->text();
    }
    return label_ != nullptr ? label_->text() : QString();
}

void TextField::setStringValue(const QString& text) {
    if (lineEdit_ != nullptr) {
        lineEdit_->setText(text);
        return;
    }
    if (label_ != nullptr && label_->text() != text) {
        label_->setText(text);
        emit stringValueChanged(text);
    }
}

bool TextField::isEditable() const {
    return lineEdit_ != nullptr && !lineEdit_->isReadOnly();
}

void TextField::setEditable(bool editable) {
    if (lineEdit_ != nullptr) {
        lineEdit_->setReadOnly(!editable);
    }
}

QString TextField::placeholderString() const {
    return lineEdit_ != nullptr ? lineEdit_->placeholderText() : QString();
}

void TextField::setPlaceholderString(const QString& text) {
    if (lineEdit_ != nullptr) {
        lineEdit_->setPlaceholderText(text);
    }
}

void TextField::setFormatter(const Formatter* formatter) {
    if (formatter == formatter_) {
        return;
    }
    formatter_ = formatter;
    if (lineEdit_ == nullptr) {
        return;
    }
    QValidator* old = validator_;
    validator_ = formatter != nullptr ? formatter->makeValidator(this) : nullptr;
    lineEdit_->setValidator(validator_);
    delete old;
}

} // namespace kit
