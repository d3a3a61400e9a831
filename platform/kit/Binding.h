#pragma once

#include "kit/ArrayTableModel.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

namespace kit {

class View;

struct BindingOptions {
    // "content" of a table: the columns (key and header title); empty takes the table's own.
    QList<ArrayTableModel::Column> columns;
    // "content" of a popup: the key of each item's title (required there).
    QString contentValues;
    // "value" of a text field: the model follows every keystroke; off, only when editing ends.
    bool continuouslyUpdatesValue = true;
};

// Keeps a view in step with a key path of an object.
//
//   value    TextField (and subclasses) <-> string; Button (check box, radio) state <-> 0/1;
//            DatePicker <-> QDateTime; PopUpButton selected index <-> number (-1 for none)
//   enabled  any view <- truth value; several enabled bindings of one view are ANDed
//   hidden   any view <- truth value; several hidden bindings of one view are ORed
//   content  TableView <- ArrayController (rows: arranged objects, columns by key), table
//            selection <-> controller selection; PopUpButton <- ArrayController (items titled
//            by contentValues, each item's represented object the arranged object), popup
//            selection <-> controller selection
//
// The model reaches the view through kit::observe; the user's changes reach the model through
// kit::setValueForKeyPath (changes made from code to the view are not written back).
// A truth value is a bool, a non-zero number, a non-empty string or list, or an object.
//
// A binding is a QObject child of its view, so it ends with the view; when the bound object is
// destroyed first the binding goes quiet and leaves the view as it is.
class Binding : public QObject {
    Q_OBJECT

public:
    // Makes the binding, shows the model's current value and starts following both ways.
    // Null, with the reason in *error, when the view cannot take the binding.
    static Binding* bind(View* view, const QString& binding, QObject* object,
                         const QString& keyPath, const BindingOptions& options = {},
                         QString* error = nullptr);
    // Whether bind() would succeed, without making anything.
    static bool canBind(View* view, const QString& binding, QObject* object, const QString& keyPath,
                        const BindingOptions& options = {}, QString* error = nullptr);

    // The bindings of a view, in the order they were made.
    static QList<Binding*> bindingsOf(const View* view);
    // Ends the view's bindings of that name (all of them for an empty name); the view keeps
    // what it shows, a table or popup its rows and items.
    static void unbind(View* view, const QString& binding = {});

    ~Binding() override;

    View* view() const { return view_; }
    QString name() const { return name_; }
    QObject* object() const { return object_; }
    QString keyPath() const { return keyPath_; }
    // False once the bound object is gone.
    bool isBound() const { return !object_.isNull(); }

    // The truth value rule used by enabled and hidden.
    static bool truthValue(const QVariant& value);

protected:
    Binding(View* view, const QString& name, QObject* object, const QString& keyPath);

    // Shows the model and starts following it.
    virtual void start() = 0;
    // Stops following the model (the object is going away, or the binding is ended).
    virtual void stop() = 0;
    // Lets go of anything lent to the view (a table's model), while the view is alive.
    virtual void detachFromView() {}

private:
    View* view_;
    QString name_;
    QPointer<QObject> object_;
    QString keyPath_;
};

} // namespace kit
