#pragma once

#include <QObject>
#include <QString>

namespace kit {

class Dictionary;

// Every kit::Dictionary's changes announced in one place, after the dictionary's own
// valueChanged: an observer of thousands of dictionaries (the rows of a table) connects here
// once instead of once to each of them. Announced in the thread that changed the dictionary.
class DictionaryChanges : public QObject {
    Q_OBJECT
public:
    static DictionaryChanges& instance();

signals:
    void valueChanged(kit::Dictionary* dictionary, const QString& key);

private:
    DictionaryChanges() = default;
};

} // namespace kit
