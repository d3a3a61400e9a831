#include "kit/Dictionary.h"

#include "kit/DictionaryChanges.h"

#include <QPointer>
#include <algorithm>

namespace kit {

namespace {

template <class Entries> auto lowerBound(Entries& entries, const QString& key) {
    return std::lower_bound(
        entries.begin(), entries.end(), key,
        [](const auto& entry, const QString& wanted) { return entry.first < wanted; });
}

// A map's entries are already in key order.
std::vector<std::pair<QString, QVariant>> entriesOf(const QVariantMap& map) {
    std::vector<std::pair<QString, QVariant>> entries;
    entries.reserve(static_cast<std::size_t>(map.size()));
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        entries.emplace_back(it.key(), it.value());
    }
    return entries;
}

} // namespace

Dictionary::Dictionary(QObject* parent) : QObject(parent) {}

Dictionary::Dictionary(const QVariantMap& map, QObject* parent)
    : QObject(parent), entries_(entriesOf(map)) {}

std::shared_ptr<Dictionary> Dictionary::create(const QVariantMap& map) {
    return std::make_shared<Dictionary>(map);
}

std::shared_ptr<Dictionary>
Dictionary::createWithEntries(std::vector<std::pair<QString, QVariant>> entries) {
    const auto byKey = [](const Entry& a, const Entry& b) {
        return a.first < b.first;
    };
    if (!std::is_sorted(entries.begin(), entries.end(), byKey)) {
        std::stable_sort(entries.begin(), entries.end(), byKey);
    }
    // Of equal keys the last is kept: reversed, unique keeps the first of each run.
    std::reverse(entries.begin(), entries.end());
    entries.erase(std::unique(entries.begin(), entries.end(),
                              [](const Entry& a, const Entry& b) { return a.first == b.first; }),
                  entries.end());
    std::reverse(entries.begin(), entries.end());
    auto dictionary = std::make_shared<Dictionary>();
    dictionary->entries_ = std::move(entries);
    return dictionary;
}

Dictionary::Entries::const_iterator Dictionary::find(const QString& key) const {
    const auto found = lowerBound(entries_, key);
    return found != entries_.end() && found->first == key ? found : entries_.end();
}

Dictionary::Entries::iterator Dictionary::find(const QString& key) {
    const auto found = lowerBound(entries_, key);
    return found != entries_.end() && found->first == key ? found : entries_.end();
}

QVariant Dictionary::value(const QString& key) const {
    const auto found = find(key);
    return found != entries_.end() ? found->second : QVariant();
}

bool Dictionary::contains(const QString& key) const {
    return find(key) != entries_.end();
}

void Dictionary::setValue(const QString& key, const QVariant& value) {
    if (!value.isValid()) {
        removeValue(key);
        return;
    }
    const auto place = lowerBound(entries_, key);
    if (place != entries_.end() && place->first == key) {
        if (place->second.metaType() == value.metaType() && place->second == value) {
            return;
        }
        place->second = value;
    } else {
        entries_.emplace(place, key, value);
    }
    announce(key);
}

void Dictionary::removeValue(const QString& key) {
    const auto found = find(key);
    if (found != entries_.end()) {
        entries_.erase(found);
        announce(key);
    }
}

void Dictionary::setMap(const QVariantMap& map) {
    const QVariantMap before = toMap();
    entries_ = entriesOf(map);
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
    QStringList keys;
    keys.reserve(static_cast<qsizetype>(entries_.size()));
    for (const Entry& entry : entries_) {
        keys.append(entry.first);
    }
    return keys;
}

int Dictionary::count() const {
    return static_cast<int>(entries_.size());
}

QVariantMap Dictionary::toMap() const {
    QVariantMap map;
    for (const Entry& entry : entries_) {
        map.insert(entry.first, entry.second);
    }
    return map;
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
