#pragma once

#include <QString>
#include <QVariant>

class QValidator;
class QObject;

namespace kit {

// A text field's formatter: decides whether a proposed text may stand in the field while the user
// edits it. TextField bridges isPartialStringValid to a QValidator, so an edit or a paste that
// fails the test is refused whole and the field keeps its previous text. Setting a field's text
// from code does not go through the formatter.
class Formatter {
public:
    virtual ~Formatter() = default;

    // The whole proposed text of the field. Either out-parameter may be null.
    virtual bool isPartialStringValid(const QString& partialString, QString* newEditingString,
                                      QString* errorDescription) const = 0;

    // The text shown for an object value; a null QString when the value has no text form.
    virtual QString stringForObjectValue(const QVariant& value) const;

    // The object value for a text; false when the text cannot be turned into one.
    virtual bool getObjectValue(QVariant* value, const QString& string,
                                QString* errorDescription) const;

    // A validator that asks this formatter; owned by the given parent.
    QValidator* makeValidator(QObject* parent) const;
};

} // namespace kit
