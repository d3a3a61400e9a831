#include "kit/ClassRegistry.h"

#include "kit/ArrayController.h"
#include "kit/Box.h"
#include "kit/Button.h"
#include "kit/ClipView.h"
#include "kit/ComboBox.h"
#include "kit/DatePicker.h"
#include "kit/Dictionary.h"
#include "kit/PopUpButton.h"
#include "kit/ScrollView.h"
#include "kit/SearchField.h"
#include "kit/SecureTextField.h"
#include "kit/TabView.h"
#include "kit/TableView.h"
#include "kit/TextField.h"
#include "kit/View.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableView>
#include <QTimeEdit>

namespace kit {
namespace {

struct Registry {
    QHash<QString, ClassRegistry::ObjectFactory> objectClasses;
    QHash<QString, ClassRegistry::ViewFactory> viewClasses;
};

View* makeTextField(QWidget* widget) {
    if (auto* lineEdit = qobject_cast<QLineEdit*>(widget)) {
        return new TextField(lineEdit);
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return new TextField(label);
    }
    return nullptr;
}

// Registered one by one (rather than with the templates) where a class takes a specific widget
// type, so that a wrong kind of widget answers null instead of failing to compile.
template <class T, class W> ClassRegistry::ViewFactory wrapping() {
    return [](QWidget* widget) -> View* {
        auto* typed = qobject_cast<W*>(widget);
        return typed == nullptr ? nullptr : new T(typed);
    };
}

void registerKitClasses(Registry& registry) {
    registry.objectClasses.insert("ArrayController",
                                  [] { return static_cast<QObject*>(new ArrayController()); });
    registry.objectClasses.insert("Dictionary",
                                  [] { return static_cast<QObject*>(new Dictionary()); });

    auto& views = registry.viewClasses;
    views.insert("View", [](QWidget* widget) { return new View(widget); });
    views.insert("TextField", makeTextField);
    views.insert("SecureTextField", wrapping<SecureTextField, QLineEdit>());
    views.insert("SearchField", wrapping<SearchField, QLineEdit>());
    views.insert("ComboBox", wrapping<ComboBox, QComboBox>());
    views.insert("Button", wrapping<Button, QAbstractButton>());
    views.insert("PopUpButton", wrapping<PopUpButton, QComboBox>());
    views.insert("DatePicker", wrapping<DatePicker, QTimeEdit>());
    views.insert("TableView", wrapping<TableView, QTableView>());
    views.insert("TabView", wrapping<TabView, QTabWidget>());
    views.insert("Box", wrapping<Box, QGroupBox>());
    views.insert("ScrollView", wrapping<ScrollView, QScrollArea>());
    views.insert("ClipView", [](QWidget* widget) { return new ClipView(widget); });
}

Registry& registry() {
    static Registry instance = [] {
        Registry made;
        registerKitClasses(made);
        return made;
    }();
    return instance;
}

} // namespace

bool ClassRegistry::registerObjectClass(const QString& name, ObjectFactory factory) {
    auto& classes = registry().objectClasses;
    const bool wasFree = !classes.contains(name);
    classes.insert(name, std::move(factory));
    return wasFree;
}

bool ClassRegistry::registerViewClass(const QString& name, ViewFactory factory) {
    auto& classes = registry().viewClasses;
    const bool wasFree = !classes.contains(name);
    classes.insert(name, std::move(factory));
    return wasFree;
}

bool ClassRegistry::unregisterClass(const QString& name) {
    const bool removedObject = registry().objectClasses.remove(name) > 0;
    const bool removedView = registry().viewClasses.remove(name) > 0;
    return removedObject || removedView;
}

bool ClassRegistry::hasObjectClass(const QString& name) {
    return registry().objectClasses.contains(name);
}

bool ClassRegistry::hasViewClass(const QString& name) {
    return registry().viewClasses.contains(name);
}

QStringList ClassRegistry::objectClassNames() {
    QStringList names = registry().objectClasses.keys();
    names.sort();
    return names;
}

QStringList ClassRegistry::viewClassNames() {
    QStringList names = registry().viewClasses.keys();
    names.sort();
    return names;
}

QObject* ClassRegistry::createObject(const QString& name) {
    const auto found = registry().objectClasses.constFind(name);
    if (found == registry().objectClasses.constEnd() || !*found) {
        return nullptr;
    }
    // A copy: a factory may register or unregister classes while it runs.
    const ObjectFactory factory = *found;
    return factory();
}

View* ClassRegistry::createView(const QString& name, QWidget* widget) {
    if (widget == nullptr || View::of(widget) != nullptr) {
        return nullptr;
    }
    const auto found = registry().viewClasses.constFind(name);
    if (found == registry().viewClasses.constEnd() || !*found) {
        return nullptr;
    }
    const ViewFactory factory = *found;
    return factory(widget);
}

} // namespace kit
