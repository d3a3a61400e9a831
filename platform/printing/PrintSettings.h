#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace printing {

// The job's print settings: values (mostly strings) by key, each with a lock flag, kept in the
// order in which the keys were first stored. The host turns every entry into a job option.
class PrintSettings {
public:
    struct Entry {
        QString key;
        QVariant value;
        bool locked = false;
    };

    PrintSettings() = default;

    bool contains(const QString& key) const;
    // The value under the key; an invalid QVariant when there is none.
    QVariant value(const QString& key) const;
    bool isLocked(const QString& key) const;

    // Stores the value under the key. A new key goes to the end of the order; a known key keeps
    // its place. An invalid QVariant removes the entry. Fails with kPMKeyLocked when the key was
    // stored locked, with kPMStoreFailed when a test asked this key's stores to fail, and with
    // kPMInvalidParameter for an empty key.
    int setValue(const QString& key, const QVariant& value, bool locked);

    // Keys in the order in which they were first stored.
    QStringList keys() const;
    QList<Entry> entries() const;
    int count() const { return static_cast<int>(entries_.size()); }

    // Test seam: every later store (and removal) under this key fails with kPMStoreFailed and
    // leaves the settings unchanged.
    void failStoresForKey(const QString& key);
    void clearStoreFailures();

private:
    qsizetype indexOf(const QString& key) const;

    QList<Entry> entries_;
    QSet<QString> failingKeys_;
};

} // namespace printing
