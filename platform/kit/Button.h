#pragma once

#include "kit/View.h"

class QAbstractButton;

namespace kit {

// A button: push button (QPushButton), check box (QCheckBox) or radio button (QRadioButton).
// Sends its action when clicked.
class Button : public View {
    Q_OBJECT
    Q_PROPERTY(int state READ state WRITE setState NOTIFY stateChanged)

public:
    enum class Type { Push, CheckBox, Radio };

    explicit Button(QAbstractButton* button);
    static Button* create(View* superview, const QString& title, Type type = Type::Push);

    Type type() const;

    bool respondsToSetTitle() const override { return true; }
    QString title() const override;
    void setTitle(const QString& title) override;

    // 1 when checked, 0 otherwise (push buttons are always 0).
    int state() const;
    void setState(int state);

    // Pushes the button as the user would: state changes, then the action is sent.
    void performClick();

    // Null for a PopUpButton.
    QAbstractButton* button() const { return button_; }

signals:
    void stateChanged(int state);

protected:
    // For subclasses built on other widgets.
    explicit Button(QWidget* widget, std::nullptr_t);

private:
    QAbstractButton* button_ = nullptr;
};

} // namespace kit
