#include "vextelpde/AddressBookView.h"

#include "kit/Bundle.h"
#include "kit/Window.h"

namespace tarvik_pde_m40vextel {

AddressBookView::AddressBookView(QWidget* widget) : BasicPdeView(widget) {}

AddressBookView::~AddressBookView() = default;

void AddressBookView::initializeControls() {
    if (kit::Window* window = this->window(); window != nullptr && bundle() != nullptr) {
        window->setTitle(bundle()->localizedStringForKey(window->title(), {}, {}));
    }
    const QList<kit::View*> views = subviews();
    for (kit::View* view : views) {
        localizeControl(view);
    }
}

void AddressBookView::selectTab(int index) {
    if (addressSourceTabView_ != nullptr) {
        addressSourceTabView_->selectItemAtIndex(index);
    }
}

int AddressBookView::selectedTabIndex() const {
    return addressSourceTabView_ != nullptr ? addressSourceTabView_->indexOfSelectedItem() : -1;
}

} // namespace tarvik_pde_m40vextel
