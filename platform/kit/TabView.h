#pragma once

#include "kit/TabViewDelegate.h"
#include "kit/View.h"

class QTabWidget;

namespace kit {

// Tabs (QTabWidget). Items are reached with itemView(i), not through subviews(). Selecting the
// item that is already selected does nothing and asks nobody.
class TabView : public View {
    Q_OBJECT

public:
    explicit TabView(QTabWidget* tabWidget);
    static TabView* create(View* superview);

    // Adds an item showing content (its widget moves into the tab view).
    void addItem(const QString& label, View* content);
    int numberOfItems() const;
    // A null QString when out of range.
    QString itemLabel(int index) const;
    void setItemLabel(int index, const QString& label);
    // The item's view (a plain View is made for an unwrapped page); null when out of range.
    View* itemView(int index) const;

    // Asks the delegate; out-of-range indexes change nothing. False when the selection did not
    // change.
    bool selectItemAtIndex(int index);
    int indexOfSelectedItem() const;

    // Borrowed; null removes it.
    void setDelegate(TabViewDelegate* delegate) { delegate_ = delegate; }
    TabViewDelegate* delegate() const { return delegate_; }

    QList<View*> subviews() const override { return {}; }
    QTabWidget* tabWidget() const { return tabWidget_; }

private:
    void currentChangedByWidget(int index);
    bool delegateAllows(int index);
    void setCurrentQuietly(int index);

    QTabWidget* tabWidget_;
    TabViewDelegate* delegate_ = nullptr;
    int lastIndex_ = -1;
    bool quiet_ = false;
};

} // namespace kit
