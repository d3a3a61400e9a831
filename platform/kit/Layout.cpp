#include "kit/Layout.h"

#include "kit/Binding.h"
#include "kit/Bundle.h"
#include "kit/ClassRegistry.h"
#include "kit/KeyValue.h"
#include "kit/Panel.h"
#include "kit/SystemLog.h"
#include "kit/TabView.h"
#include "kit/TabViewDelegate.h"
#include "kit/TableView.h"
#include "kit/UiFileLoader.h"
#include "kit/View.h"
#include "kit/Window.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QPointer>
#include <QScrollArea>
#include <QSet>
#include <QTabWidget>
#include <QTableView>
#include <algorithm>
#include <functional>
#include <vector>

// This file: reading the file (SpecReader, into a LayoutSpec), wrapping the widgets of a .ui file
// in kit views, and the loader (Loader), which makes the objects, connects them, hands them over
// and wakes them.

namespace kit {
namespace {

const QString OwnerName = QStringLiteral("owner");
const QString ContentViewSuffix = QStringLiteral(".contentView");

struct ObjectSpec {
    QString id;
    QString ui;
    QString widget;
    QString className;
    QString contentClass;
    QVariantMap properties;
};

struct OutletSpec {
    QString source;
    QString name;
    QString destination;
};

struct ActionSpec {
    QString source;
    QString target;
    QString action;
    QString doubleAction;
    QString deleteAction;
};

struct BindingSpec {
    QString view;
    QString binding;
    QString object;
    QString keyPath;
    BindingOptions options;
};

struct LayoutSpec {
    QList<ObjectSpec> objects;
    QList<OutletSpec> outlets;
    QList<ActionSpec> actions;
    QList<BindingSpec> bindings;
};

bool fail(QString* error, const QString& message) {
    *error = message;
    return false;
}

// ---- Reading the file

class SpecReader {
public:
    explicit SpecReader(QString* error) : error_(error) {}

    bool read(const QByteArray& data, LayoutSpec* spec) {
        QJsonParseError parseError;
        const QJsonDocument document = QJsonDocument::fromJson(data, &parseError);
        if (parseError.error != QJsonParseError::NoError) {
            return fail(error_, QStringLiteral("bad JSON at offset %1: %2")
                                    .arg(parseError.offset)
                                    .arg(parseError.errorString()));
        }
        if (!document.isObject()) {
            return fail(error_, QStringLiteral("the layout is not a JSON object"));
        }
        const QJsonObject root = document.object();
        return checkKeys(root, {"objects", "outlets", "actions", "bindings"}, "the layout") &&
               readEntries(root, "objects", spec->objects, &SpecReader::readObject) &&
               readEntries(root, "outlets", spec->outlets, &SpecReader::readOutlet) &&
               readEntries(root, "actions", spec->actions, &SpecReader::readAction) &&
               readEntries(root, "bindings", spec->bindings, &SpecReader::readBinding);
    }

private:
    bool checkKeys(const QJsonObject& entry, const QStringList& allowed, const QString& where) {
        for (const QString& key : entry.keys()) {
            if (!allowed.contains(key)) {
                return fail(error_, QStringLiteral("unknown key \"%1\" in %2").arg(key, where));
            }
        }
        return true;
    }

    bool readString(const QJsonObject& entry, const QString& key, bool required, QString* out,
                    const QString& where) {
        const QJsonValue value = entry.value(key);
        if (value.isUndefined() && !required) {
            return true;
        }
        if (!value.isString() || value.toString().isEmpty()) {
            return fail(error_,
                        QStringLiteral("%1 needs a non-empty string \"%2\"").arg(where, key));
        }
        *out = value.toString();
        return true;
    }

    template <class Spec>
    bool readEntries(const QJsonObject& root, const QString& section, QList<Spec>& out,
                     bool (SpecReader::*readOne)(const QJsonObject&, Spec*, const QString&)) {
        const QJsonValue value = root.value(section);
        if (value.isUndefined()) {
            return true;
        }
        if (!value.isArray()) {
            return fail(error_, QStringLiteral("\"%1\" is not an array").arg(section));
        }
        const QJsonArray entries = value.toArray();
        for (qsizetype index = 0; index < entries.size(); ++index) {
            const QString where = QStringLiteral("%1[%2]").arg(section).arg(index);
            if (!entries.at(index).isObject()) {
                return fail(error_, where + QStringLiteral(" is not an object"));
            }
            Spec spec;
            if (!(this->*readOne)(entries.at(index).toObject(), &spec, where)) {
                return false;
            }
            out.append(spec);
        }
        return true;
    }

    bool readObject(const QJsonObject& entry, ObjectSpec* spec, const QString& where) {
        if (!checkKeys(entry, {"id", "ui", "widget", "class", "contentClass", "properties"},
                       where) ||
            !readString(entry, "id", true, &spec->id, where) ||
            !readString(entry, "ui", false, &spec->ui, where) ||
            !readString(entry, "widget", false, &spec->widget, where) ||
            !readString(entry, "class", spec->ui.isEmpty(), &spec->className, where) ||
            !readString(entry, "contentClass", false, &spec->contentClass, where)) {
            return false;
        }
        const QJsonValue properties = entry.value("properties");
        if (!properties.isUndefined() && !properties.isObject()) {
            return fail(error_, where + QStringLiteral(": \"properties\" is not an object"));
        }
        spec->properties = properties.toObject().toVariantMap();
        if (spec->ui.isEmpty() && (!spec->widget.isEmpty() || !spec->contentClass.isEmpty())) {
            return fail(error_,
                        where + QStringLiteral(": \"widget\" and \"contentClass\" need \"ui\""));
        }
        return true;
    }

    bool readOutlet(const QJsonObject& entry, OutletSpec* spec, const QString& where) {
        return checkKeys(entry, {"source", "name", "destination"}, where) &&
               readString(entry, "source", true, &spec->source, where) &&
               readString(entry, "name", true, &spec->name, where) &&
               readString(entry, "destination", true, &spec->destination, where);
    }

    bool readAction(const QJsonObject& entry, ActionSpec* spec, const QString& where) {
        if (!checkKeys(entry, {"source", "target", "action", "doubleAction", "deleteAction"},
                       where) ||
            !readString(entry, "source", true, &spec->source, where) ||
            !readString(entry, "target", true, &spec->target, where) ||
            !readString(entry, "action", false, &spec->action, where) ||
            !readString(entry, "doubleAction", false, &spec->doubleAction, where) ||
            !readString(entry, "deleteAction", false, &spec->deleteAction, where)) {
            return false;
        }
        if (spec->action.isEmpty() && spec->doubleAction.isEmpty() &&
            spec->deleteAction.isEmpty()) {
            return fail(error_, where + QStringLiteral(" needs \"action\", \"doubleAction\" or "
                                                       "\"deleteAction\""));
        }
        return true;
    }

    bool readBinding(const QJsonObject& entry, BindingSpec* spec, const QString& where) {
        if (!checkKeys(entry,
                       {"view", "binding", "object", "keyPath", "columns", "contentValues",
                        "continuouslyUpdatesValue"},
                       where) ||
            !readString(entry, "view", true, &spec->view, where) ||
            !readString(entry, "binding", true, &spec->binding, where) ||
            !readString(entry, "object", true, &spec->object, where) ||
            !readString(entry, "keyPath", false, &spec->keyPath, where) ||
            !readString(entry, "contentValues", false, &spec->options.contentValues, where)) {
            return false;
        }
        const QJsonValue continuous = entry.value("continuouslyUpdatesValue");
        if (!continuous.isUndefined() && !continuous.isBool()) {
            return fail(error_,
                        where + QStringLiteral(": \"continuouslyUpdatesValue\" is not a bool"));
        }
        spec->options.continuouslyUpdatesValue = continuous.toBool(true);
        return readColumns(entry.value("columns"), &spec->options, where);
    }

    bool readColumns(const QJsonValue& value, BindingOptions* options, const QString& where) {
        if (value.isUndefined()) {
            return true;
        }
        if (!value.isArray()) {
            return fail(error_, where + QStringLiteral(": \"columns\" is not an array"));
        }
        for (const QJsonValue& column : value.toArray()) {
            ArrayTableModel::Column made;
            const QString columnWhere = where + QStringLiteral(" column");
            if (!column.isObject() ||
                !checkKeys(column.toObject(), {"key", "title"}, columnWhere) ||
                !readString(column.toObject(), "key", true, &made.key, columnWhere)) {
                return fail(error_, where + QStringLiteral(": a column needs a \"key\""));
            }
            made.title = column.toObject().value("title").toString(made.key);
            options->columns.append(made);
        }
        return true;
    }

    QString* error_;
};

// ---- Wrapping the widgets of a .ui file

QString defaultViewClass(const QWidget* widget) {
    const QString explicitClass = widget->property("kitClass").toString();
    if (!explicitClass.isEmpty()) {
        return explicitClass;
    }
    if (const auto* lineEdit = qobject_cast<const QLineEdit*>(widget)) {
        const bool secure = lineEdit->echoMode() == QLineEdit::Password ||
                            lineEdit->echoMode() == QLineEdit::PasswordEchoOnEdit;
        return secure ? QStringLiteral("SecureTextField") : QStringLiteral("TextField");
    }
    if (const auto* comboBox = qobject_cast<const QComboBox*>(widget)) {
        return comboBox->isEditable() ? QStringLiteral("ComboBox") : QStringLiteral("PopUpButton");
    }
    const std::pair<const QMetaObject*, const char*> byType[] = {
        {&QLabel::staticMetaObject, "TextField"},
        {&QAbstractButton::staticMetaObject, "Button"},
        {&QDateTimeEdit::staticMetaObject, "DatePicker"},
        {&QTableView::staticMetaObject, "TableView"},
        {&QTabWidget::staticMetaObject, "TabView"},
        {&QGroupBox::staticMetaObject, "Box"},
        {&QScrollArea::staticMetaObject, "ScrollView"},
    };
    for (const auto& [metaObject, className] : byType) {
        if (widget->metaObject()->inherits(metaObject)) {
            return QString::fromLatin1(className);
        }
    }
    return QStringLiteral("View");
}

bool isLeafWidget(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) != nullptr ||
           qobject_cast<const QLabel*>(widget) != nullptr ||
           qobject_cast<const QAbstractButton*>(widget) != nullptr ||
           qobject_cast<const QComboBox*>(widget) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(widget) != nullptr ||
           qobject_cast<const QAbstractScrollArea*>(widget) != nullptr;
}

// The widgets Designer placed inside this one: a tab widget's pages, a scroll area's scrolled
// widget, or the direct children of a container. Widgets Qt makes for its own use (a combo
// box's editor, a table's header, a splitter's handles) are left alone.
QList<QWidget*> designedChildren(QWidget* widget) {
    if (auto* tabWidget = qobject_cast<QTabWidget*>(widget)) {
        QList<QWidget*> pages;
        for (int index = 0; index < tabWidget->count(); ++index) {
            pages.append(tabWidget->widget(index));
        }
        return pages;
    }
    if (auto* scrollArea = qobject_cast<QScrollArea*>(widget)) {
        return scrollArea->widget() == nullptr ? QList<QWidget*>{}
                                               : QList<QWidget*>{scrollArea->widget()};
    }
    if (isLeafWidget(widget)) {
        return {};
    }
    QList<QWidget*> children;
    for (QWidget* child : widget->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow() && !child->objectName().startsWith(QStringLiteral("qt_"))) {
            children.append(child);
        }
    }
    return children;
}

bool isWindowClass(const QString& className) {
    return className == QStringLiteral("Window") || className == QStringLiteral("Panel");
}

// An object reference that deletes through a guard: the object may have been destroyed by
// someone else (a host that adopted a view into its own dialog) before the reference goes.
ObjectRef guardedRef(QObject* handle, QObject* toDelete) {
    return ObjectRef(handle,
                     [guard = QPointer<QObject>(toDelete)](QObject*) { delete guard.data(); });
}

// Keeps a layout's top-level objects when the caller asked for no list; released, last made
// first, when the owner goes.
class TopLevelHolder : public QObject {
public:
    TopLevelHolder(QObject* parent, QList<ObjectRef> objects)
        : QObject(parent), objects_(std::move(objects)) {}
    ~TopLevelHolder() override {
        while (!objects_.isEmpty()) {
            objects_.removeLast();
        }
    }

private:
    QList<ObjectRef> objects_;
};

// ---- The loader

class Loader {
public:
    Loader(const QString& path, QObject* owner) : path_(path), owner_(owner) {}

    bool load(QList<ObjectRef>* topLevelObjects, QString* error) {
        LayoutSpec spec;
        if (!readSpec(&spec, error) || !makeObjects(spec, error) || !connectAll(spec, error)) {
            destroyEverything();
            return false;
        }
        handOver(topLevelObjects);
        wakeEveryObject();
        return true;
    }

private:
    struct Loaded {
        QString id;
        QObject* object = nullptr; // the window, the root view or the plain object
        QPointer<QWidget> root;    // a .ui file's root widget
        QPointer<QObject> plain;   // a plain object
        QList<QPointer<QObject>> toWake;
    };

    struct PlannedOutlet {
        QObject* source;
        QMetaProperty property;
        QObject* destination;
    };

    bool readSpec(LayoutSpec* spec, QString* error) {
        QFile file(path_);
        if (!file.open(QIODevice::ReadOnly)) {
            return fail(error, QStringLiteral("cannot read the file: ") + file.errorString());
        }
        return SpecReader(error).read(file.readAll(), spec);
    }

    // ---- Objects

    bool makeObjects(const LayoutSpec& spec, QString* error) {
        for (const ObjectSpec& object : spec.objects) {
            if (object.id == OwnerName || idTaken(object.id)) {
                return fail(
                    error,
                    QStringLiteral("the id \"%1\" is used twice or reserved").arg(object.id));
            }
            loaded_.push_back(Loaded{object.id, nullptr, {}, {}, {}});
            Loaded& made = loaded_.back();
            const bool ok = object.ui.isEmpty() ? makePlainObject(object, &made, error)
                                                : makeWidgetTree(object, &made, error);
            if (!ok) {
                return false;
            }
        }
        return true;
    }

    bool idTaken(const QString& id) const {
        return std::any_of(loaded_.begin(), loaded_.end(),
                           [&id](const Loaded& made) { return made.id == id; });
    }

    bool makePlainObject(const ObjectSpec& spec, Loaded* made, QString* error) {
        if (!ClassRegistry::hasObjectClass(spec.className)) {
            return fail(error, QStringLiteral("unknown class \"%1\"").arg(spec.className));
        }
        QObject* object = ClassRegistry::createObject(spec.className);
        if (object == nullptr) {
            return fail(error,
                        QStringLiteral("the class \"%1\" made no object").arg(spec.className));
        }
        made->object = object;
        made->plain = object;
        made->toWake.append(object);
        for (auto property = spec.properties.cbegin(); property != spec.properties.cend();
             ++property) {
            if (!setValueForKey(object, property.key(), property.value())) {
                return fail(
                    error,
                    QStringLiteral("cannot set \"%1\" of \"%2\"").arg(property.key(), spec.id));
            }
        }
        return true;
    }

    bool makeWidgetTree(const ObjectSpec& spec, Loaded* made, QString* error) {
        QWidget* root = loadUiFile(spec.ui, error);
        if (root == nullptr) {
            return false;
        }
        made->root = root;
        if (!spec.widget.isEmpty() && root->objectName() != spec.widget) {
            return fail(error, QStringLiteral("the root widget of %1 is \"%2\", not \"%3\"")
                                   .arg(spec.ui, root->objectName(), spec.widget));
        }
        const bool isWindow = isWindowClass(spec.className);
        if (!isWindow && !spec.contentClass.isEmpty()) {
            return fail(error, QStringLiteral("\"contentClass\" needs the class Window or Panel"));
        }
        const QString rootClass = isWindow ? spec.contentClass : spec.className;
        if (!wrapTree(root, rootClass, &made->toWake, error)) {
            return false;
        }
        made->object = isWindow ? makeWindow(spec.className, root, error) : View::of(root);
        if (made->object == nullptr) {
            return false;
        }
        if (isWindow) {
            made->toWake.append(made->object);
        }
        return true;
    }

    QWidget* loadUiFile(const QString& name, QString* error) {
        QString reason;
        QWidget* root = UiFileLoader::load(QFileInfo(path_).absoluteDir().filePath(name), &reason);
        if (root == nullptr) {
            fail(error, reason);
        }
        return root;
    }

    // Wraps the widget (as `className`, or its default class when empty), then what Designer
    // placed inside it, depth first.
    bool wrapTree(QWidget* widget, const QString& className, QList<QPointer<QObject>>* toWake,
                  QString* error) {
        const QString chosen = className.isEmpty() ? defaultViewClass(widget) : className;
        if (!ClassRegistry::hasViewClass(chosen)) {
            return fail(error, QStringLiteral("unknown view class \"%1\" for \"%2\"")
                                   .arg(chosen, widget->objectName()));
        }
        View* view = createKeepingDesignerSettings(chosen, widget);
        if (view == nullptr) {
            return fail(error, QStringLiteral("the class \"%1\" cannot wrap \"%2\" (%3)")
                                   .arg(chosen, widget->objectName(),
                                        QString::fromLatin1(widget->metaObject()->className())));
        }
        toWake->append(view);
        for (QWidget* child : designedChildren(widget)) {
            if (!wrapTree(child, QString(), toWake, error)) {
                return false;
            }
        }
        return true;
    }

    // A wrapper may set up its widget the way code-built views want it (a table with single
    // selection); what Designer chose for the widget wins.
    static View* createKeepingDesignerSettings(const QString& className, QWidget* widget) {
        auto* itemView = qobject_cast<QAbstractItemView*>(widget);
        const auto selectionMode =
            itemView != nullptr ? itemView->selectionMode() : QAbstractItemView::NoSelection;
        View* view = ClassRegistry::createView(className, widget);
        if (view != nullptr && itemView != nullptr) {
            itemView->setSelectionMode(selectionMode);
        }
        return view;
    }

    QObject* makeWindow(const QString& className, QWidget* root, QString* error) {
        if (className == QStringLiteral("Window")) {
            return new Window(root);
        }
        auto* dialog = qobject_cast<QDialog*>(root);
        if (dialog == nullptr) {
            fail(error, QStringLiteral("a Panel's root widget \"%1\" is no QDialog")
                            .arg(root->objectName()));
            return nullptr;
        }
        return new Panel(dialog);
    }

    // ---- Names

    // "owner", an object's id, or a widget's objectName within the loaded .ui files; a window's
    // name followed by ".contentView" names its content view, whose root widget otherwise
    // answers to the window's name.
    QObject* resolve(const QString& name, QString* error) const {
        if (name.endsWith(ContentViewSuffix)) {
            auto* window =
                qobject_cast<Window*>(resolve(name.chopped(ContentViewSuffix.size()), error));
            if (window == nullptr) {
                fail(error, QStringLiteral("\"%1\" names no window's content view").arg(name));
                return nullptr;
            }
            return window->contentView();
        }
        if (name == OwnerName) {
            if (owner_ == nullptr) {
                fail(error, QStringLiteral("\"owner_\" is named but the layout has no owner_"));
            }
            return owner_;
        }
        for (const Loaded& made : loaded_) {
            if (made.id == name) {
                return made.object;
            }
        }
        for (const Loaded& made : loaded_) {
            if (made.root.isNull()) {
                continue;
            }
            if (made.root->objectName() == name) {
                return made.object;
            }
            if (auto* widget = made.root->findChild<QWidget*>(name)) {
                if (View* view = View::of(widget)) {
                    return view;
                }
                fail(error, QStringLiteral("the widget \"%1\" is not a view").arg(name));
                return nullptr;
            }
        }
        fail(error, QStringLiteral("unknown id \"%1\"").arg(name));
        return nullptr;
    }

    View* resolveView(const QString& name, QString* error) const {
        QObject* object = resolve(name, error);
        if (object == nullptr) {
            return nullptr;
        }
        if (auto* window = qobject_cast<Window*>(object)) {
            return window->contentView();
        }
        auto* view = qobject_cast<View*>(object);
        if (view == nullptr) {
            fail(error, QStringLiteral("\"%1\" is not a view").arg(name));
        }
        return view;
    }

    // ---- Connections: everything is checked before anything is connected

    bool connectAll(const LayoutSpec& spec, QString* error) {
        QList<PlannedOutlet> outlets;
        QList<std::function<void()>> delegates;
        return planOutlets(spec, &outlets, &delegates, error) && checkActions(spec, error) &&
               checkBindings(spec, error) && applyOutlets(outlets, delegates, error) &&
               applyActions(spec, error) && applyBindings(spec, error);
    }

    bool planOutlets(const LayoutSpec& spec, QList<PlannedOutlet>* outlets,
                     QList<std::function<void()>>* delegates, QString* error) {
        for (const OutletSpec& outlet : spec.outlets) {
            QObject* source = resolve(outlet.source, error);
            QObject* destination = source == nullptr ? nullptr : resolve(outlet.destination, error);
            if (destination == nullptr) {
                return false;
            }
            if (auto* tabView = qobject_cast<TabView*>(source);
                tabView != nullptr && outlet.name == QStringLiteral("delegate")) {
                auto* delegate = dynamic_cast<TabViewDelegate*>(destination);
                if (delegate == nullptr) {
                    return fail(
                        error,
                        QStringLiteral("\"%1\" is no tab view delegate").arg(outlet.destination));
                }
                delegates->append([tabView, delegate] { tabView->setDelegate(delegate); });
                continue;
            }
            QMetaProperty property;
            if (!checkOutlet(outlet, source, destination, &property, error)) {
                return false;
            }
            outlets->append({source, property, destination});
        }
        return true;
    }

    static bool checkOutlet(const OutletSpec& outlet, QObject* source, QObject* destination,
                            QMetaProperty* property, QString* error) {
        const QMetaObject* metaObject = source->metaObject();
        const int index = metaObject->indexOfProperty(outlet.name.toUtf8().constData());
        if (index < 0 || !metaObject->property(index).isWritable()) {
            return fail(error, QStringLiteral("%1 (%2) has no writable outlet \"%3\"")
                                   .arg(outlet.source, QString::fromLatin1(metaObject->className()),
                                        outlet.name));
        }
        *property = metaObject->property(index);
        const QMetaType type = property->metaType();
        const bool anyObject = type.id() == QMetaType::QObjectStar;
        const bool objectPointer =
            type.flags().testFlag(QMetaType::PointerToQObject) && type.metaObject() != nullptr;
        if (!anyObject && !objectPointer) {
            return fail(error, QStringLiteral("the outlet \"%1\" of %2 is no object pointer")
                                   .arg(outlet.name, outlet.source));
        }
        if (objectPointer && !destination->metaObject()->inherits(type.metaObject())) {
            return fail(error,
                        QStringLiteral("the outlet \"%1\" of %2 takes a %3, \"%4\" is a %5")
                            .arg(outlet.name, outlet.source,
                                 QString::fromLatin1(type.metaObject()->className()),
                                 outlet.destination,
                                 QString::fromLatin1(destination->metaObject()->className())));
        }
        return true;
    }

    // Written last, after every check passed; should a write still be refused, the outlets
    // written so far get their old values back, so the owner keeps no pointer into a layout that
    // is about to be destroyed.
    bool applyOutlets(const QList<PlannedOutlet>& outlets,
                      const QList<std::function<void()>>& delegates, QString* error) {
        QList<std::pair<const PlannedOutlet*, QVariant>> written;
        for (const PlannedOutlet& outlet : outlets) {
            const QVariant previous = outlet.property.read(outlet.source);
            QObject* destination = outlet.destination;
            // QObject is the first base of every moc'd class, so the pointer is the same for
            // the property's own pointer type.
            if (!outlet.property.write(outlet.source,
                                       QVariant(outlet.property.metaType(), &destination))) {
                for (auto it = written.crbegin(); it != written.crend(); ++it) {
                    it->first->property.write(it->first->source, it->second);
                }
                return fail(error, QStringLiteral("the outlet \"%1\" refused its value")
                                       .arg(QString::fromLatin1(outlet.property.name())));
            }
            written.append({&outlet, previous});
        }
        for (const auto& setDelegate : delegates) {
            setDelegate();
        }
        return true;
    }

    bool checkActions(const LayoutSpec& spec, QString* error) const {
        for (const ActionSpec& action : spec.actions) {
            View* source = resolveView(action.source, error);
            QObject* target = source == nullptr ? nullptr : resolve(action.target, error);
            if (target == nullptr) {
                return false;
            }
            if (!action.doubleAction.isEmpty() && qobject_cast<TableView*>(source) == nullptr) {
                return fail(
                    error,
                    QStringLiteral("\"%1\" is no table: no double action").arg(action.source));
            }
            if (!action.deleteAction.isEmpty() && qobject_cast<TableView*>(source) == nullptr) {
                return fail(
                    error,
                    QStringLiteral("\"%1\" is no table: no delete action").arg(action.source));
            }
            for (const QString& name : {action.action, action.doubleAction, action.deleteAction}) {
                if (!name.isEmpty() && !hasActionMethod(target, name)) {
                    return fail(error,
                                QStringLiteral("%1 (%2) has no action %3")
                                    .arg(action.target,
                                         QString::fromLatin1(target->metaObject()->className()),
                                         name));
                }
            }
        }
        return true;
    }

    static bool hasActionMethod(const QObject* target, const QString& action) {
        const QByteArray name = View::selectorName(action.toUtf8());
        const QMetaObject* metaObject = target->metaObject();
        for (int index = 0; index < metaObject->methodCount(); ++index) {
            const QMetaMethod method = metaObject->method(index);
            if (method.name() == name && method.parameterCount() <= 1 &&
                method.methodType() != QMetaMethod::Signal) {
                return true;
            }
        }
        return false;
    }

    bool applyActions(const LayoutSpec& spec, QString* error) const {
        for (const ActionSpec& action : spec.actions) {
            View* source = resolveView(action.source, error);
            QObject* target = resolve(action.target, error);
            source->setTarget(target);
            if (!action.action.isEmpty()) {
                source->setAction(action.action.toUtf8());
            }
            if (!action.doubleAction.isEmpty()) {
                qobject_cast<TableView*>(source)->setDoubleAction(action.doubleAction.toUtf8());
            }
            if (!action.deleteAction.isEmpty()) {
                qobject_cast<TableView*>(source)->setDeleteAction(action.deleteAction.toUtf8());
            }
        }
        return true;
    }

    bool checkBindings(const LayoutSpec& spec, QString* error) const {
        for (const BindingSpec& binding : spec.bindings) {
            View* view = resolveView(binding.view, error);
            QObject* object = view == nullptr ? nullptr : resolve(binding.object, error);
            if (object == nullptr) {
                return false;
            }
            QString reason;
            if (!Binding::canBind(view, binding.binding, object, binding.keyPath, binding.options,
                                  &reason)) {
                return fail(error, QStringLiteral("cannot bind %1 of \"%2\": %3")
                                       .arg(binding.binding, binding.view, reason));
            }
        }
        return true;
    }

    bool applyBindings(const LayoutSpec& spec, QString* error) const {
        for (const BindingSpec& binding : spec.bindings) {
            View* view = resolveView(binding.view, error);
            QObject* object = resolve(binding.object, error);
            QString reason;
            if (Binding::bind(view, binding.binding, object, binding.keyPath, binding.options,
                              &reason) == nullptr) {
                return fail(error, QStringLiteral("cannot bind %1 of \"%2\": %3")
                                       .arg(binding.binding, binding.view, reason));
            }
        }
        return true;
    }

    // ---- Ownership and waking

    void handOver(QList<ObjectRef>* topLevelObjects) {
        QList<ObjectRef> references;
        for (const Loaded& made : loaded_) {
            QObject* toDelete = made.root.isNull() ? made.plain.data() : made.root.data();
            references.append(guardedRef(made.object, toDelete));
        }
        if (topLevelObjects != nullptr) {
            topLevelObjects->append(references);
        } else {
            new TopLevelHolder(owner_ != nullptr ? owner_ : QCoreApplication::instance(),
                               std::move(references));
        }
    }

    void wakeEveryObject() {
        QSet<QObject*> woken;
        for (const Loaded& made : loaded_) {
            for (const QPointer<QObject>& object : made.toWake) {
                if (object.isNull() || woken.contains(object.data())) {
                    continue;
                }
                woken.insert(object.data());
                if (object->metaObject()->indexOfMethod("awakeFromNib()") >= 0) {
                    QMetaObject::invokeMethod(object.data(), "awakeFromNib", Qt::DirectConnection);
                }
            }
        }
    }

    void destroyEverything() {
        for (auto it = loaded_.rbegin(); it != loaded_.rend(); ++it) {
            delete it->root.data();
            delete it->plain.data();
        }
        loaded_.clear();
    }

    QString path_;
    QObject* owner_;
    std::vector<Loaded> loaded_;
};

} // namespace

bool Layout::loadFile(const QString& path, QObject* owner, QList<ObjectRef>* topLevelObjects) {
    QString error;
    if (Loader(path, owner).load(topLevelObjects, &error)) {
        return true;
    }
    SystemLog::log(QStringLiteral("Layout: %1: %2").arg(path, error));
    return false;
}

bool Layout::load(const Bundle& bundle, const QString& name, QObject* owner,
                  QList<ObjectRef>* topLevelObjects) {
    const QString path = bundle.pathForResource(name, QStringLiteral("layout"));
    if (path.isEmpty()) {
        SystemLog::log(QStringLiteral("Layout: no layout \"%1\" in the bundle %2")
                           .arg(name, bundle.bundlePath()));
        return false;
    }
    return loadFile(path, owner, topLevelObjects);
}

} // namespace kit
