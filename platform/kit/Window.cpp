#include "kit/Window.h"

#include "kit/View.h"

#include <QLayout>
#include <QVBoxLayout>
#include <QWidget>

namespace kit {

Window::Window(QWidget* widget) : QObject(widget), widget_(widget) {}

Window::~Window() = default;

Window* Window::create(const QString& title) {
    auto* widget = new QWidget;
    auto* window = new Window(widget);
    window->setTitle(title);
    return window;
}

Window* Window::of(const QWidget* widget) {
    if (widget == nullptr) {
        return nullptr;
    }
    return widget->findChild<Window*>(QString(), Qt::FindDirectChildrenOnly);
}

QString Window::title() const {
    return widget_->windowTitle();
}

void Window::setTitle(const QString& title) {
    widget_->setWindowTitle(title);
}

View* Window::contentView() const {
    if (contentView_ != nullptr) {
        return contentView_;
    }
    contentView_ = View::of(widget_);
    if (contentView_ == nullptr) {
        contentView_ = new View(widget_);
    }
    return contentView_;
}

void Window::setContentView(View* view) {
    if (view == nullptr || view == contentView_) {
        return;
    }
    if (view->widget() != widget_) {
        QLayout* layout = widget_->layout();
        if (layout == nullptr) {
            layout = new QVBoxLayout(widget_);
            layout->setContentsMargins(0, 0, 0, 0);
        }
        if (contentView_ != nullptr && contentView_->widget() != widget_) {
            layout->removeWidget(contentView_->widget());
            contentView_->widget()->hide();
        }
        view->widget()->setParent(widget_);
        layout->addWidget(view->widget());
        view->widget()->show();
    }
    contentView_ = view;
}

void Window::makeKeyAndOrderFront() {
    widget_->show();
    widget_->raise();
    widget_->activateWindow();
}

void Window::orderOut() {
    widget_->hide();
}

bool Window::isVisible() const {
    return widget_->isVisible();
}

} // namespace kit
