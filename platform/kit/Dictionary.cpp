#include "kit/Dictionary.h"

#include "kit/DictionaryChanges.h"

#include <QPointer>
#include <QSet>

namespace kit {

Dictionary::Dictionary(QObject* parent) : QObject(parent) {}

Dictionary::Dictionary(const QVariantMap& map, QObject* parent) : QObject(parent), entries_(map) {}

std::shared_ptr<Dictionary> Dictionary::create(const QVariantMap& map) {
    return std::make_shared<Dictionary>(map);
}

QVariant Dictionary::value(const QString& key) const {
    return entries_.value(key);
}

bool Dictionary::contains(const QString& key) const {
    return entries_.contains(key);
}

void Dictionary::setValue(const QString& key, const QVariant& value) {
    if (!value.isValid()) {
        removeValue(key);
        return;
    }
    const auto existing = entries_.constFind(key);
    if (existing != entries_.constEnd() && existing->metaType() == value.metaType() &&
        *existing == value) {
        return;
    }
    entries_.insert(key, value);
    announce(key);
}

void Dictionary::removeValue(const QString& key) {
    if (entries_.remove(key) > 0) {
        announce(key);
    }
}

void Dictionary::setMap(const QVariantMap& map) {
    const QVariantMap before = entries_;
    entries_ = map;
    QStringList changedKeys;
    for (auto it = before.constBegin(); it != before.constEnd(); ++it) {
        if (!map.contains(it.key()) || map.value(it.key()) != it.value()) {
            changedKeys.append(it.key());
        }
    }
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        if (!before.contains(it.key())) {
            changedKeys.append(it.key());
        }
    }
    for (const QString& key : changedKeys) {
        announce(key);
    }
}

void Dictionary::removeAllValues() {
    setMap({});
}

QStringList Dictionary::keys() const {
    return entries_.keys();
}

int Dictionary::count() const {
    return static_cast<int>(entries_.size());
}

QVariantMap Dictionary::toMap() const {
    return entries_;
}

void Dictionary::announce(const QString& key) {
    // An observer may let the dictionary go when it hears of the change.
    const QPointer<Dictionary> alive(this);
    emit valueChanged(key);
    if (alive) {
        emit DictionaryChanges::instance().valueChanged(this, key);
    }
}

} // namespace kit
