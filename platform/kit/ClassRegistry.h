#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

namespace kit {

class View;

// Classes by name, so that layouts can name the classes of their objects and views.
//
// An object class makes a new, parentless QObject. A view class wraps an existing widget (the
// widget a layout's .ui file made) and answers null when it cannot wrap that kind of widget.
// The kit's own classes are registered before the first lookup; a plug-in registers its own
// when it loads and may unregister them before it unloads, since the factories live in its code.
// Registering a name again replaces the earlier factory. Main thread only.
class ClassRegistry {
public:
    using ObjectFactory = std::function<QObject*()>;
    using ViewFactory = std::function<View*(QWidget*)>;

    // True when the name was free, false when an earlier factory was replaced.
    static bool registerObjectClass(const QString& name, ObjectFactory factory);
    static bool registerViewClass(const QString& name, ViewFactory factory);

    // T must be default-constructible.
    template <class T> static bool registerObjectClass(const QString& name) {
        return registerObjectClass(name, [] { return static_cast<QObject*>(new T()); });
    }
    // T must be constructible from the widget it wraps.
    template <class T, class W = QWidget> static bool registerViewClass(const QString& name) {
        return registerViewClass(name, [](QWidget* widget) -> View* {
            auto* typed = qobject_cast<W*>(widget);
            return typed == nullptr ? nullptr : new T(typed);
        });
    }

    // True when the name was registered (either kind).
    static bool unregisterClass(const QString& name);

    static bool hasObjectClass(const QString& name);
    static bool hasViewClass(const QString& name);
    static QStringList objectClassNames();
    static QStringList viewClassNames();

    // A new object of the class, or null when the class is unknown or its factory gave none.
    static QObject* createObject(const QString& name);
    // The widget's new wrapper of the class, or null when the class is unknown, the widget is
    // null or the class cannot wrap it. A widget that already has a wrapper keeps it: null.
    static View* createView(const QString& name, QWidget* widget);
};

} // namespace kit
