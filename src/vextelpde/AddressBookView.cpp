#include "vextelpde/AddressBookView.h"

#include "common/TKDRVLocalization.h"
#include "kit/Bundle.h"
#include "kit/TableView.h"
#include "kit/Window.h"
#include "vextelpde/BindingKeys.h"

#include <QTableView>

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
    localizeGroupMarkers();
}

void AddressBookView::localizeGroupMarkers() {
    // A group's fax number is the marker word itself; the tables show it in the user's language.
    // The marker is the text "Group" (kGroupPhoneNumber), looked up as written here.
    const QString marker = kGroupPhoneNumber;
    const QString shown = localizedString(TKDRV_TEXT("Group"));
    for (QTableView* table : widget()->findChildren<QTableView*>()) {
        auto* view = qobject_cast<kit::TableView*>(kit::View::of(table));
        const int column = view != nullptr ? view->indexOfColumnWithKey(kPhoneNumberKey) : -1;
        if (column >= 0) {
            view->setShownText(column, marker, shown);
        }
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
