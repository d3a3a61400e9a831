#pragma once

#include "kit/KeyValue.h"

#include <QList>
#include <QObject>
#include <QString>

namespace kit {

class Bundle;

// Layouts loaded at run time: windows and view trees from Qt Designer .ui files, the classes of
// their controls, non-visual objects made by class name (ClassRegistry), and the outlets,
// actions and bindings between them. The file format is described in docs/layouts.md.
//
// Loading makes every object, connects everything by name, hands the top-level objects over and
// then sends every loaded object that has an invokable awakeFromNib() that call, exactly once.
//
// With a topLevelObjects list, the list receives one reference per entry of the layout's
// "objects" (in that order) and the caller keeps them alive; a top-level window or view is
// released by deleting its widget, through a guard, so a widget that somebody else destroyed
// first (a host that adopted the view) is not deleted twice. Without a list the loader keeps the
// objects alive itself, attached to the owner (or, with no owner, to the application), and they
// go when the owner goes.
//
// A missing or broken layout (missing file, bad JSON, missing or unreadable .ui, unknown class,
// unknown id, an outlet or action the object does not have, a binding the view cannot take)
// loads nothing: false, one line in the system log, every object made so far destroyed, the
// owner's outlets untouched.
class Layout {
public:
    // Loads "<name>.layout" from the bundle's resources (Bundle::pathForResource).
    static bool load(const Bundle& bundle, const QString& name, QObject* owner,
                     QList<ObjectRef>* topLevelObjects = nullptr);
    // Loads the layout file at the path; its .ui files are found beside it.
    static bool loadFile(const QString& path, QObject* owner,
                         QList<ObjectRef>* topLevelObjects = nullptr);
};

} // namespace kit
