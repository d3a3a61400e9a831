#include "vextelpde/FaxSettingView.h"

#include "kit/Bundle.h"
#include "kit/Window.h"

#include <QWidget>

namespace tarvik_pde_m40vextel {

FaxSettingView::FaxSettingView(QWidget* widget) : BasicPdeView(widget) {}

FaxSettingView::~FaxSettingView() = default;

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
