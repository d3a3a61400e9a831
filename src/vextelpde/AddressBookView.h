#pragma once

#include "common/BasicPdeView.h"
#include "kit/TabView.h"

#include <QPointer>

namespace tarvik_pde_m40vextel {

// The content view of the address-book picker: its tab view holds the PC address-book tab
// (item 0) and the device tab (item 1).
class AddressBookView : public BasicPdeView {
    Q_OBJECT
    // Outlet name used by FaxSetting.layout.
    Q_PROPERTY(
        kit::TabView* addressSourceTabView READ addressSourceTabView WRITE setAddressSourceTabView)

public:
    explicit AddressBookView(QWidget* widget);
    ~AddressBookView() override;

    // Localizes the window title from the default string table only, then every direct subview.
    void initializeControls();
    // Selecting the tab already selected changes nothing and asks nobody.
    void selectTab(int index);
    // -1 without a tab view.
    int selectedTabIndex() const;

    kit::TabView* addressSourceTabView() const { return addressSourceTabView_; }
    void setAddressSourceTabView(kit::TabView* tabView) { addressSourceTabView_ = tabView; }

private:
    // Every table with a fax number column shows a group's marker translated.
    void localizeGroupMarkers();

    QPointer<kit::TabView> addressSourceTabView_;
};

} // namespace tarvik_pde_m40vextel
