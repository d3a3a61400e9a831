#include "kit/KeyValue.h"

#include "kit/Dictionary.h"

#include <QList>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QPointer>
#include <QVariantList>
#include <QVariantMap>
#include <array>
#include <vector>

namespace kit {

namespace {

const QString kCountKey = QStringLiteral("@count");
const QByteArray kAffectsPrefix = QByteArrayLiteral("kit.affects.");

QMetaProperty propertyNamed(const QObject* object, const QString& key) {
    const QMetaObject* meta = object->metaObject();
    const int index = meta->indexOfProperty(key.toUtf8().constData());
    return index < 0 ? QMetaProperty() : meta->property(index);
}

bool hasDynamicProperty(const QObject* object, const QString& key) {
    return object->dynamicPropertyNames().contains(key.toUtf8());
}

bool isList(const QVariant& value) {
    return value.metaType() == QMetaType::fromType<QList<ObjectRef>>() ||
           value.metaType() == QMetaType::fromType<QVariantList>();
}

QVariantList elementsOf(const QVariant& list) {
    if (list.metaType() == QMetaType::fromType<QVariantList>()) {
        return list.toList();
    }
    QVariantList elements;
    for (const ObjectRef& object : list.value<QList<ObjectRef>>()) {
        elements.append(QVariant::fromValue(object));
    }
    return elements;
}

QVariant valueOfStep(const QVariant& current, const QString& key);

QVariant valueOfListStep(const QVariant& list, const QString& key) {
    const QVariantList elements = elementsOf(list);
    if (key == kCountKey) {
        return QVariant(static_cast<int>(elements.size()));
    }
    QVariantList values;
    for (const QVariant& element : elements) {
        values.append(valueOfStep(element, key));
    }
    return values;
}

QVariant valueOfStep(const QVariant& current, const QString& key) {
    if (isList(current)) {
        return valueOfListStep(current, key);
    }
    if (current.metaType() == QMetaType::fromType<QVariantMap>()) {
        return current.toMap().value(key);
    }
    if (const QObject* object = objectFromVariant(current)) {
        return valueForKey(object, key);
    }
    return {};
}

// Emits a NOTIFY signal with the property's current value where the signal carries it and
// default values for any other parameter.
bool emitNotifySignal(QObject* object, const QMetaProperty& property) {
    const QMetaMethod signal = property.notifySignal();
    if (!signal.isValid() || signal.parameterCount() > 10) {
        return false;
    }
    const QVariant current = property.read(object);
    std::vector<QVariant> storage(static_cast<size_t>(signal.parameterCount()));
    std::vector<QByteArray> typeNames(static_cast<size_t>(signal.parameterCount()));
    std::array<QGenericArgument, 10> arguments{};
    for (int i = 0; i < signal.parameterCount(); ++i) {
        const QMetaType type = signal.parameterMetaType(i);
        QVariant& slot = storage[static_cast<size_t>(i)];
        if (type == QMetaType::fromType<QVariant>()) {
            slot = i == 0 ? current : QVariant();
            arguments[static_cast<size_t>(i)] = QGenericArgument("QVariant", &slot);
            continue;
        }
        slot = (i == 0 && current.metaType() == type) ? current : QVariant(type);
        typeNames[static_cast<size_t>(i)] = signal.parameterTypeName(i);
        arguments[static_cast<size_t>(i)] =
            QGenericArgument(typeNames[static_cast<size_t>(i)].constData(), slot.constData());
    }
    return signal.invoke(object, Qt::DirectConnection, arguments[0], arguments[1], arguments[2],
                         arguments[3], arguments[4], arguments[5], arguments[6], arguments[7],
                         arguments[8], arguments[9]);
}

QStringList directlyAffecting(const QMetaObject* metaObject, const QString& key) {
    const QByteArray name = kAffectsPrefix + key.toUtf8();
    QStringList keys;
    for (int i = 0; i < metaObject->classInfoCount(); ++i) {
        const QMetaClassInfo info = metaObject->classInfo(i);
        if (name != info.name()) {
            continue;
        }
        for (const QString& entry : QString::fromUtf8(info.value()).split(QLatin1Char(','))) {
            const QString trimmed = entry.trimmed();
            if (!trimmed.isEmpty()) {
                keys.append(trimmed);
            }
        }
    }
    return keys;
}

// Calls a function the trigger holds when a connected signal fires. The function is copied
// before the call, so the trigger may be destroyed by what the call does.
class Trigger : public QObject {
    Q_OBJECT
public:
    explicit Trigger(std::function<void()> action) : action_(std::move(action)) {}

    static QMetaMethod fireMethod() {
        const QMetaObject& meta = Trigger::staticMetaObject;
        return meta.method(meta.indexOfSlot("fire()"));
    }

public slots:
    void fire() {
        const std::function<void()> call = action_;
        if (call) {
            call();
        }
    }

private:
    std::function<void()> action_;
};

// Watches the first key of a key path on one object; a child watches the rest of the path on
// the object that key currently yields.
class Watch {
public:
    // The keys affecting a key are collected transitively, so a watch made for one of them
    // leaves out its own affecting keys: each would otherwise announce twice.
    Watch(QObject* object, const QString& keyPath, std::function<void()> changed,
          bool followAffectingKeys = true)
        : object_(object), changed_(std::move(changed)) {
        const qsizetype dot = keyPath.indexOf(QLatin1Char('.'));
        key_ = dot < 0 ? keyPath : keyPath.left(dot);
        rest_ = dot < 0 ? QString() : keyPath.mid(dot + 1);
        watchKey();
        if (followAffectingKeys) {
            watchAffectingKeys();
        }
        attachChild();
    }

private:
    void watchKey() {
        auto trigger = std::make_unique<Trigger>([this] { keyChanged(); });
        if (auto* dictionary = qobject_cast<Dictionary*>(object_.data())) {
            Trigger* raw = trigger.get();
            QObject::connect(dictionary, &Dictionary::valueChanged, raw,
                             [raw, key = key_](const QString& changedKey) {
                                 if (changedKey == key) {
                                     raw->fire();
                                 }
                             });
        } else {
            const QMetaProperty property = propertyNamed(object_, key_);
            if (!property.hasNotifySignal()) {
                return;
            }
            QObject::connect(object_, property.notifySignal(), trigger.get(),
                             Trigger::fireMethod());
        }
        triggers_.push_back(std::move(trigger));
    }

    void watchAffectingKeys() {
        if (qobject_cast<Dictionary*>(object_.data())) {
            return;
        }
        for (const QString& path : keyPathsAffecting(object_->metaObject(), key_)) {
            affecting_.push_back(std::make_unique<Watch>(
                object_, path, [this] { announce(); }, false));
        }
    }

    void attachChild() {
        if (rest_.isEmpty()) {
            return;
        }
        QObject* next = object_ ? objectFromVariant(valueForKey(object_, key_)) : nullptr;
        if (child_ && next == childObject_.data()) {
            return;
        }
        child_.reset();
        childObject_ = next;
        if (next) {
            child_ = std::make_unique<Watch>(next, rest_, [this] { announce(); });
        }
    }

    void keyChanged() {
        attachChild();
        announce();
    }

    void announce() {
        const std::function<void()> call = changed_;
        call();
    }

    QPointer<QObject> object_;
    QString key_;
    QString rest_;
    std::function<void()> changed_;
    std::vector<std::unique_ptr<Trigger>> triggers_;
    std::vector<std::unique_ptr<Watch>> affecting_;
    QPointer<QObject> childObject_;
    std::unique_ptr<Watch> child_;
};

} // namespace

QObject* objectFromVariant(const QVariant& value) {
    const QMetaType type = value.metaType();
    if (type.flags().testFlag(QMetaType::PointerToQObject)) {
        return value.value<QObject*>();
    }
    if (type == QMetaType::fromType<ObjectRef>()) {
        return value.value<ObjectRef>().get();
    }
    if (type == QMetaType::fromType<std::shared_ptr<Dictionary>>()) {
        return value.value<std::shared_ptr<Dictionary>>().get();
    }
    return nullptr;
}

QVariant valueForKey(const QObject* object, const QString& key) {
    if (!object || key.isEmpty()) {
        return {};
    }
    // A plain dictionary, the item of nearly every list, is told by its exact class at once.
    if (object->metaObject() == &Dictionary::staticMetaObject) {
        return static_cast<const Dictionary*>(object)->value(key);
    }
    if (const auto* dictionary = qobject_cast<const Dictionary*>(object)) {
        return dictionary->value(key);
    }
    const QMetaProperty property = propertyNamed(object, key);
    if (property.isValid()) {
        return property.read(object);
    }
    if (hasDynamicProperty(object, key)) {
        return object->property(key.toUtf8().constData());
    }
    return {};
}

QVariant valueForKeyPath(const QObject* object, const QString& keyPath) {
    if (!object || keyPath.isEmpty()) {
        return {};
    }
    // A plain key, as sorting and tables read from every item, splits nothing.
    if (!keyPath.contains(QLatin1Char('.'))) {
        return valueForKey(object, keyPath);
    }
    const QStringList keys = keyPath.split(QLatin1Char('.'));
    QVariant current = valueForKey(object, keys.first());
    for (qsizetype i = 1; i < keys.size(); ++i) {
        current = valueOfStep(current, keys.at(i));
    }
    return current;
}

bool setValueForKey(QObject* object, const QString& key, const QVariant& value) {
    if (!object || key.isEmpty()) {
        return false;
    }
    if (auto* dictionary = qobject_cast<Dictionary*>(object)) {
        dictionary->setValue(key, value);
        return true;
    }
    const QMetaProperty property = propertyNamed(object, key);
    if (!property.isValid()) {
        if (hasDynamicProperty(object, key)) {
            object->setProperty(key.toUtf8().constData(), value);
            return true;
        }
        return false;
    }
    if (!property.isWritable()) {
        return property.isReadable() && emitNotifySignal(object, property);
    }
    return property.write(object, value);
}

bool setValueForKeyPath(QObject* object, const QString& keyPath, const QVariant& value) {
    if (!object || keyPath.isEmpty()) {
        return false;
    }
    const qsizetype dot = keyPath.lastIndexOf(QLatin1Char('.'));
    if (dot < 0) {
        return setValueForKey(object, keyPath, value);
    }
    QObject* owner = objectFromVariant(valueForKeyPath(object, keyPath.left(dot)));
    return setValueForKey(owner, keyPath.mid(dot + 1), value);
}

bool didChangeValueForKey(QObject* object, const QString& key) {
    if (!object || key.isEmpty()) {
        return false;
    }
    if (auto* dictionary = qobject_cast<Dictionary*>(object)) {
        emit dictionary->valueChanged(key);
        return true;
    }
    const QMetaProperty property = propertyNamed(object, key);
    return property.isValid() && emitNotifySignal(object, property);
}

QStringList keyPathsAffecting(const QMetaObject* metaObject, const QString& key) {
    QStringList result;
    if (!metaObject) {
        return result;
    }
    QStringList pending = directlyAffecting(metaObject, key);
    while (!pending.isEmpty()) {
        const QString next = pending.takeFirst();
        if (next == key || result.contains(next)) {
            continue;
        }
        result.append(next);
        if (!next.contains(QLatin1Char('.'))) {
            pending.append(directlyAffecting(metaObject, next));
        }
    }
    return result;
}

struct Observation::Private {
    QPointer<QObject> object;
    QString keyPath;
    std::unique_ptr<Watch> root;
};

Observation::Observation(std::unique_ptr<Private> d) : d_(std::move(d)) {}

Observation::~Observation() = default;

void Observation::invalidate() {
    d_->root.reset();
}

QObject* Observation::object() const {
    return d_->object.data();
}

QString Observation::keyPath() const {
    return d_->keyPath;
}

std::unique_ptr<Observation> observe(QObject* object, const QString& keyPath,
                                     std::function<void(const QVariant& newValue)> callback) {
    if (!object || keyPath.isEmpty() || !callback) {
        return nullptr;
    }
    auto d = std::make_unique<Observation::Private>();
    d->object = object;
    d->keyPath = keyPath;
    QPointer<QObject> observed(object);
    auto notify = [observed, keyPath, callback = std::move(callback)] {
        if (observed) {
            const auto call = callback;
            call(valueForKeyPath(observed, keyPath));
        }
    };
    d->root = std::make_unique<Watch>(object, keyPath, notify);
    return std::unique_ptr<Observation>(new Observation(std::move(d)));
}

} // namespace kit

#include "KeyValue.moc"
