#include "InputStringChecker.h"

namespace tarvik_pde_m40vextel {

InputStringChecker::InputStringChecker() = default;

InputStringChecker::~InputStringChecker() = default;

std::unique_ptr<InputStringChecker> InputStringChecker::forRule(const FieldRule& rule) {
    auto checker = std::make_unique<InputStringChecker>();
    checker->setMaxLength(rule.maxLength);
    checker->setAcceptableCodeRange(rule.acceptableRange);
    return checker;
}

void InputStringChecker::setMaxLength(uint64_t length) {
    maximumLength_ = length;
}

void InputStringChecker::setAcceptableCodeRange(const CodeRange* ranges) {
    buildTable(acceptableCodeRange_, ranges);
}

void InputStringChecker::setUnAcceptableCodeRange(const CodeRange* ranges) {
    buildTable(unAcceptableCodeRange_, ranges);
}

void InputStringChecker::buildTable(std::unique_ptr<CodeTable>& table, const CodeRange* ranges) {
    if (!table) {
        table = std::make_unique<CodeTable>();
    }
    table->fill(0);
    for (const CodeRange* range = ranges; range != nullptr && range->low != 0; ++range) {
        // 32-bit counter: a range ending at 0xFFFF must not wrap around.
        for (uint32_t code = range->low; code <= range->high; ++code) {
            (*table)[code] = 1;
        }
    }
}

QString InputStringChecker::stringForObjectValue(const QVariant& value) const {
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

bool InputStringChecker::getObjectValue(QVariant* value, const QString& string,
                                        QString* /*errorDescription*/) const {
    if (value != nullptr) {
        *value = QString(string);
    }
    return true;
}

bool InputStringChecker::isPartialStringValid(const QString& partialString,
                                              QString* /*newEditingString*/,
                                              QString* /*errorDescription*/) const {
    if (static_cast<uint64_t>(partialString.size()) > maximumLength_) {
        return false;
    }
    for (const QChar unit : partialString) {
        if (acceptableCodeRange_ && (*acceptableCodeRange_)[unit.unicode()] != 1) {
            return false;
        }
        if (unAcceptableCodeRange_ && (*unAcceptableCodeRange_)[unit.unicode()] == 1) {
            return false;
        }
    }
    return true;
}

} // namespace tarvik_pde_m40vextel
