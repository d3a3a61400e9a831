#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QWidget;

namespace kit {

class Window;

// A view wraps one QWidget. The wrapper is a QObject child of its widget, so it lives and dies
// with it; View::of() finds it again. One wrapper per widget.
//
// Classes are exact: code dispatches on typeid(*view), so each control has its own class even
// where it derives from another (a SecureTextField is not a TextField by that test).
//
// Widgets built elsewhere (for instance by a layout loader from a Qt Designer file) are wrapped
// with the explicit constructors taking the widget. A wrapped widget's dynamic property "tag"
// (an int), when present, becomes the view's initial tag.
class View : public QObject {
    Q_OBJECT
    Q_PROPERTY(int tag READ tag WRITE setTag)
    Q_PROPERTY(bool enabled READ isEnabled WRITE setEnabled NOTIFY enabledChanged)
    Q_PROPERTY(bool hidden READ isHidden WRITE setHidden NOTIFY hiddenChanged)

public:
    // Wraps an existing widget.
    explicit View(QWidget* widget);
    ~View() override;

    // A plain container view with its own QWidget. With a superview the widget becomes its
    // child (and joins the superview's layout when it has one); without one the caller owns
    // the widget (delete view->widget()).
    static View* create(View* superview = nullptr);

    // The wrapper of this very widget, or null.
    static View* of(const QWidget* widget);

    QWidget* widget() const { return widget_; }

    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    // The view's own flags, not inherited from its ancestors.
    bool isHidden() const;
    void setHidden(bool hidden);
    bool isEnabled() const;
    void setEnabled(bool enabled);

    // Wrappers of the direct child widgets, in child order. An unwrapped child widget is looked
    // through: its wrapped descendants stand in its place. Child windows are not subviews.
    virtual QList<View*> subviews() const;
    // The nearest wrapped ancestor within the same window, or null.
    View* superview() const;
    // The kit::Window whose widget is this view's top-level widget, or null.
    Window* window() const;
    // Depth-first through subviews(), this view first; null when none has the tag.
    View* viewWithTag(int tag);
    // Makes view's widget a child of this view's widget (and of its layout when it has one).
    void addSubview(View* view);

    // Titles: only views that answer respondsToSetTitle() have one.
    virtual bool respondsToSetTitle() const { return false; }
    virtual QString title() const { return {}; }
    virtual void setTitle(const QString& title) { Q_UNUSED(title); }

    // Target/action. The action is a method name with or without its trailing colon
    // ("uiValueDidChange:" or "uiValueDidChange"); it is invoked on the target as a slot or
    // Q_INVOKABLE taking the sender: `void name(QObject* sender)` (a parameter of a more
    // derived pointer type that the sender is, or no parameter at all, also works).
    void setTarget(QObject* target) { target_ = target; }
    QObject* target() const { return target_; }
    void setAction(const QByteArray& name);
    QByteArray action() const { return action_; }
    // Called with the sender whenever the view sends its action (before the named action);
    // meant for tests and code-built windows.
    void setActionHandler(std::function<void(View*)> handler) {
        actionHandler_ = std::move(handler);
    }
    // Sends the action to the target; false when there is no target/action or the target has
    // no such method (logged to standard error). The handler alone counts as sent.
    bool sendAction();

    // Invokes a named action on a target with a sender; the rule of sendAction().
    static bool invokeAction(QObject* target, const QByteArray& name, QObject* sender);
    // "uiValueDidChange:" -> "uiValueDidChange".
    static QByteArray selectorName(const QByteArray& action);

signals:
    void enabledChanged(bool enabled);
    void hiddenChanged(bool hidden);

protected:
    // Wrappers of the wrapped widgets found under `parent`, looking through unwrapped ones.
    static void collectWrapped(const QWidget* parent, QList<View*>& out);
    // Adds a freshly created child widget to a superview (child and layout).
    static void attach(QWidget* widget, View* superview);

private:
    QWidget* widget_;
    int tag_ = 0;
    QPointer<QObject> target_;
    QByteArray action_;
    std::function<void(View*)> actionHandler_;
};

} // namespace kit
