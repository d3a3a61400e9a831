#include "kit/View.h"

#include "kit/Window.h"

#include <QLayout>
#include <QMetaMethod>
#include <QVariant>
#include <QWidget>
#include <cstdio>

namespace kit {

View::View(QWidget* widget) : QObject(widget), widget_(widget) {
    const QVariant tag = widget->property("tag");
    if (tag.isValid() && tag.canConvert<int>()) {
        tag_ = tag.toInt();
    }
}

View::~View() = default;

View* View::create(View* superview) {
    auto* widget = new QWidget;
    auto* view = new View(widget);
    attach(widget, superview);
    return view;
}

View* View::of(const QWidget* widget) {
    if (widget == nullptr) {
        return nullptr;
    }
    return widget->findChild<View*>(QString(), Qt::FindDirectChildrenOnly);
}

// Only an explicit hide counts: a child of a window that was never shown is not hidden itself.
bool View::isHidden() const {
    return widget_->testAttribute(Qt::WA_WState_ExplicitShowHide) &&
           widget_->testAttribute(Qt::WA_WState_Hidden);
}

void View::setHidden(bool hidden) {
    if (hidden == isHidden()) {
        return;
    }
    widget_->setHidden(hidden);
    emit hiddenChanged(hidden);
}

// WA_ForceDisabled is the widget's own flag; WA_Disabled is also set by a disabled ancestor.
bool View::isEnabled() const {
    return !widget_->testAttribute(Qt::WA_ForceDisabled);
}

void View::setEnabled(bool enabled) {
    if (enabled == isEnabled()) {
        return;
    }
    widget_->setEnabled(enabled);
    emit enabledChanged(enabled);
}

void View::collectWrapped(const QWidget* parent, QList<View*>& out) {
    for (QObject* child : parent->children()) {
        auto* childWidget = qobject_cast<QWidget*>(child);
        if (childWidget == nullptr || childWidget->isWindow()) {
            continue;
        }
        if (View* view = View::of(childWidget)) {
            out.append(view);
        } else {
            collectWrapped(childWidget, out);
        }
    }
}

QList<View*> View::subviews() const {
    QList<View*> views;
    collectWrapped(widget_, views);
    return views;
}

View* View::superview() const {
    if (widget_->isWindow()) {
        return nullptr;
    }
    for (QWidget* ancestor = widget_->parentWidget(); ancestor != nullptr;
         ancestor = ancestor->parentWidget()) {
        if (View* view = View::of(ancestor)) {
            return view;
        }
        if (ancestor->isWindow()) {
            break;
        }
    }
    return nullptr;
}

Window* View::window() const {
    return Window::of(widget_->window());
}

View* View::viewWithTag(int tag) {
    if (tag_ == tag) {
        return this;
    }
    for (View* subview : subviews()) {
        if (View* found = subview->viewWithTag(tag)) {
            return found;
        }
    }
    return nullptr;
}

void View::addSubview(View* view) {
    if (view == nullptr || view == this) {
        return;
    }
    attach(view->widget(), this);
}

void View::attach(QWidget* widget, View* superview) {
    if (superview == nullptr) {
        return;
    }
    widget->setParent(superview->widget());
    if (QLayout* layout = superview->widget()->layout()) {
        layout->addWidget(widget);
    }
    widget->show();
}

void View::setAction(const QByteArray& name) {
    action_ = selectorName(name);
}

QByteArray View::selectorName(const QByteArray& action) {
    QByteArray name = action.trimmed();
    if (name.endsWith(':')) {
        name.chop(1);
    }
    return name;
}

bool View::sendAction() {
    bool sent = false;
    if (actionHandler_) {
        actionHandler_(this);
        sent = true;
    }
    if (target_ != nullptr && !action_.isEmpty()) {
        sent = invokeAction(target_, action_, this) || sent;
    }
    return sent;
}

namespace {

// True when `sender` is an instance of the class that the pointer type `typeName` names
// ("QObject*", "kit::View*", "View*").
bool senderFits(const QObject* sender, QByteArray typeName) {
    if (!typeName.endsWith('*')) {
        return false;
    }
    typeName.chop(1);
    typeName = typeName.trimmed();
    for (const QMetaObject* meta = sender->metaObject(); meta != nullptr;
         meta = meta->superClass()) {
        const QByteArray className(meta->className());
        if (className == typeName || className.endsWith("::" + typeName)) {
            return true;
        }
    }
    return false;
}

} // namespace

bool View::invokeAction(QObject* target, const QByteArray& name, QObject* sender) {
    if (target == nullptr) {
        return false;
    }
    const QByteArray selector = selectorName(name);
    if (selector.isEmpty()) {
        return false;
    }
    const QMetaObject* meta = target->metaObject();
    QMetaMethod withoutSender;
    for (int i = meta->methodCount() - 1; i >= 0; --i) {
        const QMetaMethod method = meta->method(i);
        if (method.name() != selector || method.methodType() == QMetaMethod::Signal) {
            continue;
        }
        if (method.parameterCount() == 1 && senderFits(sender, method.parameterTypeName(0))) {
            const QByteArray typeName = method.parameterTypeName(0);
            return method.invoke(target, Qt::DirectConnection,
                                 QGenericArgument(typeName.constData(), &sender));
        }
        if (method.parameterCount() == 0 && !withoutSender.isValid()) {
            withoutSender = method;
        }
    }
    if (withoutSender.isValid()) {
        return withoutSender.invoke(target, Qt::DirectConnection);
    }
    std::fprintf(stderr, "kit::View - %s has no action %s\n", meta->className(),
                 selector.constData());
    return false;
}

} // namespace kit
