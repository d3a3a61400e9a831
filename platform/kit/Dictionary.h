#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <memory>
#include <utility>
#include <vector>

namespace kit {

// A mutable string-keyed map that key-value coding and observing treat like an object whose
// keys are its entries. Shared as std::shared_ptr<kit::Dictionary>. Every change is also
// announced by kit::DictionaryChanges.
class Dictionary : public QObject {
    Q_OBJECT
public:
    explicit Dictionary(QObject* parent = nullptr);
    explicit Dictionary(const QVariantMap& map, QObject* parent = nullptr);
    static std::shared_ptr<Dictionary> create(const QVariantMap& map = {});
    // The same from entries in any order (of a key given twice the last counts), without a map
    // built on the way: for lists of many dictionaries made at once.
    static std::shared_ptr<Dictionary>
    createWithEntries(std::vector<std::pair<QString, QVariant>> entries);

    // An invalid QVariant for a missing key.
    QVariant value(const QString& key) const;
    bool contains(const QString& key) const;
    // An invalid value removes the entry. valueChanged is emitted only when the entry changed.
    void setValue(const QString& key, const QVariant& value);
    void removeValue(const QString& key);
    // Replaces every entry; valueChanged for each key that was added, changed or removed.
    void setMap(const QVariantMap& map);
    void removeAllValues();

    QStringList keys() const;
    int count() const;
    QVariantMap toMap() const;

signals:
    void valueChanged(const QString& key);

private:
    using Entry = std::pair<QString, QVariant>;
    using Entries = std::vector<Entry>;

    Entries::const_iterator find(const QString& key) const;
    Entries::iterator find(const QString& key);
    void announce(const QString& key);

    // Sorted by key, as a QVariantMap would hold them, in one block: a list of tens of thousands
    // of dictionaries of a few entries each costs one allocation per dictionary, not one per key.
    Entries entries_;
};

} // namespace kit
