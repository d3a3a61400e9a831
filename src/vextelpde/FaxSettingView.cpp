#include "vextelpde/FaxSettingView.h"

#include "kit/Bundle.h"
#include "kit/Window.h"

#include <QMetaProperty>
#include <QWidget>

namespace tarvik_pde_m40vextel {

FaxSettingView::FaxSettingView(QWidget* widget) : BasicPdeView(widget) {}

FaxSettingView::~FaxSettingView() = default;

void FaxSettingView::awakeFromNib() {
    const QMetaObject* metaObject = &FaxSettingView::staticMetaObject;
    for (int index = metaObject->propertyOffset(); index < metaObject->propertyCount(); ++index) {
        const QMetaProperty property = metaObject->property(index);
        if (!property.isWritable() || property.read(this).value<QObject*>() != nullptr) {
            continue;
        }
        auto* child = widget()->findChild<QWidget*>(QString::fromLatin1(property.name()));
        kit::View* view = child == nullptr ? nullptr : kit::View::of(child);
        if (view == nullptr || !view->metaObject()->inherits(property.metaType().metaObject())) {
            continue;
        }
        property.write(this, QVariant(property.metaType(), &view));
    }
}

void FaxSettingView::initializeControls() {
    if (kit::Window* window = this->window(); window != nullptr && bundle() != nullptr) {
        window->setTitle(bundle()->localizedStringForKey(window->title(), {}, {}));
    }
    const QList<kit::View*> views = subviews();
    for (kit::View* view : views) {
        localizeControl(view);
    }
}

} // namespace tarvik_pde_m40vextel
