#pragma once

namespace kit {

class TabView;

// Asked by a TabView before and after its selected item changes, for switches by the user and
// by code alike.
class TabViewDelegate {
public:
    virtual ~TabViewDelegate() = default;
    // False refuses the switch: the selected item stays.
    virtual bool shouldSelectTabViewItem(TabView* tabView, int index) {
        (void)tabView;
        (void)index;
        return true;
    }
    // Called before the item's view is shown.
    virtual void willSelectTabViewItem(TabView* tabView, int index) {
        (void)tabView;
        (void)index;
    }
    virtual void didSelectTabViewItem(TabView* tabView, int index) {
        (void)tabView;
        (void)index;
    }
};

} // namespace kit
