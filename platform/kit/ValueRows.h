#pragma once

#include "kit/KeyValue.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace kit {

// Rows of plain values under a fixed list of keys, for an array controller to hold instead of
// one object per row: a list of tens of thousands costs one block of values, not tens of
// thousands of objects. A row lacks a key whose value is invalid.
//
// Rows are filled once and then handed over, shared and unchanged: a controller reads them by
// key, and makes a kit::Dictionary of a row's values only where an object is asked for.
class ValueRows {
public:
    // At least one key; a key given twice counts once.
    explicit ValueRows(const QStringList& keys);

    const QStringList& keys() const { return keys_; }
    // -1 for a key the rows do not have.
    int keyIndex(const QString& key) const;
    qsizetype count() const { return count_; }
    void reserve(qsizetype rows);

    // One row of values in the order of keys(); values beyond the keys are ignored, missing ones
    // leave the row without those keys.
    void append(std::initializer_list<QVariant> values);
    void append(std::vector<QVariant>&& values);

    // An invalid value when the row lacks the key or the row is out of range.
    QVariant value(qsizetype row, int keyIndex) const;
    QVariant value(qsizetype row, const QString& key) const;

    // A new dictionary of the row's values.
    ObjectRef makeObject(qsizetype row) const;
    // An address that stands for the row while the rows live: the same for the same row, never
    // the same for two rows.
    const void* rowIdentity(qsizetype row) const;

private:
    QVariant* beginRow();

    QStringList keys_;
    // Row after row, keys_.size() values each.
    std::vector<QVariant> values_;
    qsizetype count_ = 0;
};

} // namespace kit
