#include "kit/Button.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

namespace kit {

Button::Button(QAbstractButton* button) : View(button), button_(button) {
    connect(button, &QAbstractButton::toggled, this,
            [this](bool checked) { emit stateChanged(checked ? 1 : 0); });
    connect(button, &QAbstractButton::clicked, this, [this] { sendAction(); });
}

Button::Button(QWidget* widget, std::nullptr_t) : View(widget) {}

Button* Button::create(View* superview, const QString& title, Type type) {
    QAbstractButton* widget = nullptr;
    switch (type) {
    case Type::Push:
        widget = new QPushButton(title);
        break;
    case Type::CheckBox:
        widget = new QCheckBox(title);
        break;
    case Type::Radio:
        widget = new QRadioButton(title);
        break;
    }
    auto* button = new Button(widget);
    attach(widget, superview);
    return button;
}

Button::Type Button::type() const {
    if (qobject_cast<QCheckBox*>(button_) != nullptr) {
        return Type::CheckBox;
    }
    if (qobject_cast<QRadioButton*>(button_) != nullptr) {
        return Type::Radio;
    }
    return Type::Push;
}

QString Button::title() const {
    return button_ != nullptr ? button_->text() : QString();
}

void Button::setTitle(const QString& title) {
    if (button_ != nullptr) {
        button_->setText(title);
    }
}

int Button::state() const {
    return button_ != nullptr && button_->isChecked() ? 1 : 0;
}

void Button::setState(int state) {
    if (button_ != nullptr && button_->isCheckable()) {
        button_->setChecked(state != 0);
    }
}

void Button::performClick() {
    if (button_ != nullptr) {
        button_->click();
    }
}

} // namespace kit
