#pragma once

#include "kit/View.h"

class QLineEdit;
class QLabel;
class QValidator;

namespace kit {

class Formatter;

// A text field: an editable QLineEdit, or a QLabel when it is a label. Sends its action when
// editing ends (Return, or focus leaves after a change).
class TextField : public View {
    Q_OBJECT
    Q_PROPERTY(QString stringValue READ stringValue WRITE setStringValue NOTIFY stringValueChanged)

public:
    explicit TextField(QLineEdit* lineEdit);
    explicit TextField(QLabel* label);

    // An editable field (QLineEdit) or a label (QLabel).
    static TextField* create(View* superview, bool editable);

    QString stringValue() const;
    // Sets the text from code: the formatter is not asked.
    void setStringValue(const QString& text);

    bool isEditable() const;
    // Read-only or editable; a label stays a label.
    void setEditable(bool editable);

    // The grey text an empty field shows; empty for a label.
    QString placeholderString() const;
    void setPlaceholderString(const QString& text);

    // The formatter is borrowed and must outlive the field (or be removed with nullptr).
    // While it is set every edit and paste is checked with isPartialStringValid; a refused
    // edit leaves the previous text in place.
    void setFormatter(const Formatter* formatter);
    const Formatter* formatter() const { return formatter_; }

    // The editor underneath, or null for a label.
    QLineEdit* lineEdit() const { return lineEdit_; }
    QLabel* label() const { return label_; }

signals:
    // Any change of the text, by the user or from code.
    void stringValueChanged(const QString& text);
    // A change made by the user only (typing, pasting, deleting).
    void textEdited(const QString& text);
    void editingEnded();

protected:
    // For subclasses whose widget holds the line edit (a combo box).
    TextField(QWidget* widget, QLineEdit* lineEdit);
    void connectLineEdit();

private:
    QLineEdit* lineEdit_ = nullptr;
    QLabel* label_ = nullptr;
    const Formatter* formatter_ = nullptr;
    QValidator* validator_ = nullptr;
};

} // namespace kit
