#pragma once

#include <QMetaObject>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

namespace kit {

// Objects kept in lists (array controller content, table rows) are shared.
using ObjectRef = std::shared_ptr<QObject>;

// Key-value coding over the meta-object system.
//
// A key of a QObject is one of its Qt properties (a declared Q_PROPERTY, else a dynamic
// property for reading). A key of a kit::Dictionary is an entry of its map. A key path joins
// keys with dots ("owner.address.city"); every step but the last must yield an object: a
// QObject pointer (of any QObject class), an ObjectRef, a std::shared_ptr<kit::Dictionary>, or
// a QVariantMap. A step that yields a list (QList<ObjectRef>, QVariantList) applies the rest of
// the path to every element and gives a QVariantList; the key "@count" of a list is its size.
//
// Nothing throws: a missing key or an object-less step reads as an invalid QVariant and a
// failed write returns false.

QVariant valueForKey(const QObject* object, const QString& key);
QVariant valueForKeyPath(const QObject* object, const QString& keyPath);

// Writes a property (converted to the property's type) or a dictionary entry (an invalid
// value removes the entry). A readable property without a WRITE accessor, a derived read-only
// flag, is not changed: its NOTIFY signal is emitted instead, so observers read it afresh
// ("writing a flag back under its own key"); that counts as success. False for a null object,
// an unknown key, a failed conversion, or a read-only property without a NOTIFY signal.
bool setValueForKey(QObject* object, const QString& key, const QVariant& value);
bool setValueForKeyPath(QObject* object, const QString& keyPath, const QVariant& value);

// Announces a change of the key without writing it: emits the property's NOTIFY signal (or the
// dictionary's valueChanged). False when there is nothing to emit.
bool didChangeValueForKey(QObject* object, const QString& key);

// The object a value stands for (a QObject pointer, an ObjectRef or a shared Dictionary), or
// null. The pointer is borrowed from the value's owner.
QObject* objectFromVariant(const QVariant& value);

// The keys (or key paths) whose changes are also announced for `key`, declared per class with
//   Q_CLASSINFO("kit.affects.canAddAddress", "addressPhoneNumber")
// (comma-separated). Declarations of base classes add to those of derived ones, and the
// relation is followed transitively (a key affecting an affecting key affects the key too).
QStringList keyPathsAffecting(const QMetaObject* metaObject, const QString& key);

// A running observation; destroying it (or calling invalidate) ends it.
class Observation {
public:
    ~Observation();
    Observation(const Observation&) = delete;
    Observation& operator=(const Observation&) = delete;

    void invalidate();
    QObject* object() const;
    QString keyPath() const;

    struct Private;

private:
    explicit Observation(std::unique_ptr<Private> d);
    std::unique_ptr<Private> d_;
    friend std::unique_ptr<Observation>
    observe(QObject* object, const QString& keyPath,
            std::function<void(const QVariant& newValue)> callback);
};

// Calls `callback` with the key path's new value whenever any key along the path, or any key
// declared as affecting the last key, announces a change. When an intermediate object is
// replaced, the observation moves on to the new one. Null for a null object or empty path.
// The callback may destroy the observation.
std::unique_ptr<Observation> observe(QObject* object, const QString& keyPath,
                                     std::function<void(const QVariant& newValue)> callback);

} // namespace kit
