#include "kit/TabView.h"

#include <QTabWidget>

namespace kit {

TabView::TabView(QTabWidget* tabWidget)
    : View(tabWidget), tabWidget_(tabWidget), lastIndex_(tabWidget->currentIndex()) {
    connect(tabWidget, &QTabWidget::currentChanged, this, &TabView::currentChangedByWidget);
}

TabView* TabView::create(View* superview) {
    auto* tabView = new TabView(new QTabWidget);
    attach(tabView->widget(), superview);
    return tabView;
}

void TabView::addItem(const QString& label, View* content) {
    QWidget* page = content != nullptr ? content->widget() : new QWidget;
    quiet_ = true;
    tabWidget_->addTab(page, label);
    quiet_ = false;
    lastIndex_ = tabWidget_->currentIndex();
}

int TabView::numberOfItems() const {
    return tabWidget_->count();
}

QString TabView::itemLabel(int index) const {
    if (index < 0 || index >= tabWidget_->count()) {
        return {};
    }
    return tabWidget_->tabText(index);
}

void TabView::setItemLabel(int index, const QString& label) {
    if (index >= 0 && index < tabWidget_->count()) {
        tabWidget_->setTabText(index, label);
    }
}

View* TabView::itemView(int index) const {
    QWidget* page = tabWidget_->widget(index);
    if (page == nullptr) {
        return nullptr;
    }
    if (View* view = View::of(page)) {
        return view;
    }
    return new View(page);
}

int TabView::indexOfSelectedItem() const {
    return tabWidget_->currentIndex();
}

bool TabView::delegateAllows(int index) {
    return delegate_ == nullptr || delegate_->shouldSelectTabViewItem(this, index);
}

void TabView::setCurrentQuietly(int index) {
    quiet_ = true;
    tabWidget_->setCurrentIndex(index);
    quiet_ = false;
    lastIndex_ = tabWidget_->currentIndex();
}

bool TabView::selectItemAtIndex(int index) {
    if (index < 0 || index >= tabWidget_->count() || index == tabWidget_->currentIndex()) {
        return false;
    }
    if (!delegateAllows(index)) {
        return false;
    }
    if (delegate_ != nullptr) {
        delegate_->willSelectTabViewItem(this, index);
    }
    setCurrentQuietly(index);
    if (delegate_ != nullptr) {
        delegate_->didSelectTabViewItem(this, index);
    }
    return true;
}

// A switch made on the widget itself (a click on a tab, the keyboard). QTabWidget has already
// switched: a refused switch is put back before anything is painted, and the delegate's
// willSelect still comes before the new page is shown.
void TabView::currentChangedByWidget(int index) {
    if (quiet_) {
        return;
    }
    if (index < 0 || index == lastIndex_) {
        lastIndex_ = index;
        return;
    }
    if (!delegateAllows(index)) {
        setCurrentQuietly(lastIndex_);
        return;
    }
    lastIndex_ = index;
    if (delegate_ != nullptr) {
        delegate_->willSelectTabViewItem(this, index);
        delegate_->didSelectTabViewItem(this, index);
    }
}

} // namespace kit
