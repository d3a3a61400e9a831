#include "kit/Formatter.h"

#include <QValidator>

namespace kit {

namespace {

// Asks a formatter about every proposed text. A refused text is answered Invalid, which makes
// the line edit undo the whole edit (a paste included); a replacement text offered by the
// formatter is taken instead. Nothing is ever Intermediate, so editing can always finish.
class FormatterValidator : public QValidator {
public:
    FormatterValidator(const Formatter* formatter, QObject* parent)
        : QValidator(parent), formatter_(formatter) {}

    State validate(QString& input, int& pos) const override {
        QString replacement;
        if (formatter_->isPartialStringValid(input, &replacement, nullptr)) {
            return Acceptable;
        }
        if (replacement.isNull() || replacement == input) {
            return Invalid;
        }
        input = replacement;
        pos = qMin(pos, static_cast<int>(input.size()));
        return Acceptable;
    }

private:
    const Formatter* formatter_;
};

} // namespace

QString Formatter::stringForObjectValue(const QVariant& value) const {
    if (!value.isValid() || !value.canConvert<QString>()) {
        return {};
    }
    return value.toString();
}

bool Formatter::getObjectValue(QVariant* value, const QString& string,
                               QString* errorDescription) const {
    Q_UNUSED(errorDescription);
    if (value != nullptr) {
        *value = string;
    }
    return true;
}

QValidator* Formatter::makeValidator(QObject* parent) const {
    return new FormatterValidator(this, parent);
}

} // namespace kit
