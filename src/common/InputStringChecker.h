#pragma once

#include "common/FieldRules.h"
#include "kit/Formatter.h"

#include <array>
#include <cstdint>
#include <limits>
#include <memory>

namespace tarvik_pde_m40vextel {

// Refuses, while the user edits, a text longer than the maximum (in UTF-16 code units) or holding
// a code unit outside the accepted ranges or inside the refused ones. Converts nothing: the
// object value is the text itself.
class InputStringChecker : public kit::Formatter {
public:
    static constexpr uint64_t kNoLimit = std::numeric_limits<uint64_t>::max();

    InputStringChecker();
    ~InputStringChecker() override;
    InputStringChecker(const InputStringChecker&) = delete;
    InputStringChecker& operator=(const InputStringChecker&) = delete;

    // A checker that enforces the field rule.
    static std::unique_ptr<InputStringChecker> forRule(const FieldRule& rule);

    void setMaxLength(uint64_t length);
    uint64_t maxLength() const { return maximumLength_; }
    // Each call replaces the earlier set. A null list marks nothing.
    void setAcceptableCodeRange(const CodeRange* ranges);
    void setUnAcceptableCodeRange(const CodeRange* ranges);

    QString stringForObjectValue(const QVariant& value) const override;
    bool getObjectValue(QVariant* value, const QString& string,
                        QString* errorDescription) const override;
    bool isPartialStringValid(const QString& partialString, QString* newEditingString,
                              QString* errorDescription) const override;

private:
    using CodeTable = std::array<uint8_t, 65536>;
    static void buildTable(std::unique_ptr<CodeTable>& table, const CodeRange* ranges);

    uint64_t maximumLength_ = kNoLimit;
    std::unique_ptr<CodeTable> acceptableCodeRange_;
    std::unique_ptr<CodeTable> unAcceptableCodeRange_;
};

} // namespace tarvik_pde_m40vextel
