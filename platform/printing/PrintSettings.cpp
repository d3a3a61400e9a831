#include "printing/PrintSettings.h"

#include "printing/PrintStatus.h"

namespace printing {

bool PrintSettings::contains(const QString& key) const {
    return indexOf(key) >= 0;
}

QVariant PrintSettings::value(const QString& key) const {
    const qsizetype index = indexOf(key);
    return index >= 0 ? entries_.at(index).value : QVariant();
}

bool PrintSettings::isLocked(const QString& key) const {
    const qsizetype index = indexOf(key);
    return index >= 0 && entries_.at(index).locked;
}

int PrintSettings::setValue(const QString& key, const QVariant& value, bool locked) {
    if (key.isEmpty())
        return kPMInvalidParameter;
    if (failingKeys_.contains(key))
        return kPMStoreFailed;
    const qsizetype index = indexOf(key);
    if (index >= 0 && entries_.at(index).locked)
        return kPMKeyLocked;
    if (!value.isValid()) {
        if (index >= 0)
            entries_.removeAt(index);
        return noErr;
    }
    if (index >= 0) {
        entries_[index].value = value;
        entries_[index].locked = locked;
    } else {
        entries_.append(Entry{key, value, locked});
    }
    return noErr;
}

QStringList PrintSettings::keys() const {
    QStringList result;
    result.reserve(entries_.size());
    for (const Entry& entry : entries_)
        result.append(entry.key);
    return result;
}

QList<PrintSettings::Entry> PrintSettings::entries() const {
    return entries_;
}

void PrintSettings::failStoresForKey(const QString& key) {
    failingKeys_.insert(key);
}

void PrintSettings::clearStoreFailures() {
    failingKeys_.clear();
}

qsizetype PrintSettings::indexOf(const QString& key) const {
    for (qsizetype i = 0; i < entries_.size(); ++i) {
        if (entries_.at(i).key == key)
            return i;
    }
    return -1;
}

} // namespace printing
