#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace kit {

class View;

// A window: wraps a top-level QWidget, as a QObject child of it (it lives and dies with it).
// Window::of() finds the wrapper of a widget.
class Window : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString title READ title WRITE setTitle)

public:
    explicit Window(QWidget* widget);
    ~Window() override;

    // A window with its own top-level QWidget; the caller owns it (delete window->widget()).
    static Window* create(const QString& title = {});

    // The wrapper of this very widget, or null.
    static Window* of(const QWidget* widget);

    QWidget* widget() const { return widget_; }

    QString title() const;
    void setTitle(const QString& title);

    // The view set with setContentView(); otherwise the wrapper of the window's own widget
    // (made as a plain View when there is none).
    View* contentView() const;
    // A view on the window's own widget is used as it is; any other view's widget is put into
    // the window, filling it, in place of the previous content view (which is hidden, not
    // deleted).
    void setContentView(View* view);

    // Shows the window and brings it to the front.
    void makeKeyAndOrderFront();
    // Hides the window.
    void orderOut();
    bool isVisible() const;

private:
    QWidget* widget_;
    mutable QPointer<View> contentView_;
};

} // namespace kit
