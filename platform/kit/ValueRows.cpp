#include "kit/ValueRows.h"

#include "kit/Dictionary.h"

#include <algorithm>
#include <utility>

namespace kit {

namespace {

QStringList distinctKeys(const QStringList& keys) {
    QStringList distinct;
    for (const QString& key : keys) {
        if (!distinct.contains(key)) {
            distinct.append(key);
        }
    }
    // A row must have a place of its own for its identity even without keys.
    if (distinct.isEmpty()) {
        distinct.append(QString());
    }
    return distinct;
}

} // namespace

ValueRows::ValueRows(const QStringList& keys) : keys_(distinctKeys(keys)) {}

int ValueRows::keyIndex(const QString& key) const {
    return static_cast<int>(keys_.indexOf(key));
}

void ValueRows::reserve(qsizetype rows) {
    values_.reserve(static_cast<std::size_t>(rows * keys_.size()));
}

QVariant* ValueRows::beginRow() {
    const std::size_t start = values_.size();
    values_.resize(start + static_cast<std::size_t>(keys_.size()));
    ++count_;
    return values_.data() + start;
}

void ValueRows::append(std::initializer_list<QVariant> values) {
    QVariant* row = beginRow();
    const auto taken = std::min(values.size(), static_cast<std::size_t>(keys_.size()));
    std::copy_n(values.begin(), taken, row);
}

void ValueRows::append(std::vector<QVariant>&& values) {
    QVariant* row = beginRow();
    const auto taken = std::min(values.size(), static_cast<std::size_t>(keys_.size()));
    std::move(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(taken), row);
}

QVariant ValueRows::value(qsizetype row, int keyIndex) const {
    if (row < 0 || row >= count_ || keyIndex < 0 || keyIndex >= keys_.size()) {
        return {};
    }
    return values_[static_cast<std::size_t>(row * keys_.size() + keyIndex)];
}

QVariant ValueRows::value(qsizetype row, const QString& key) const {
    return value(row, keyIndex(key));
}

ObjectRef ValueRows::makeObject(qsizetype row) const {
    std::vector<std::pair<QString, QVariant>> entries;
    for (int key = 0; key < keys_.size(); ++key) {
        QVariant cell = value(row, key);
        if (cell.isValid()) {
            entries.emplace_back(keys_.at(key), std::move(cell));
        }
    }
    return Dictionary::createWithEntries(std::move(entries));
}

const void* ValueRows::rowIdentity(qsizetype row) const {
    return values_.data() + row * keys_.size();
}

} // namespace kit
