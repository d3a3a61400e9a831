#include "kit/TabView.h"

#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Refuses the tabs listed in `refused` and records every question and notice.
class RecordingDelegate : public kit::TabViewDelegate {
public:
    QList<int> refused;
    QStringList log;

    bool shouldSelectTabViewItem(kit::TabView*, int index) override {
        log.append(QString("should %1").arg(index));
        return !refused.contains(index);
    }
    void willSelectTabViewItem(kit::TabView* tabView, int index) override {
        log.append(QString("will %1 (shown %2)").arg(index).arg(tabView->indexOfSelectedItem()));
    }
    void didSelectTabViewItem(kit::TabView*, int index) override {
        log.append(QString("did %1").arg(index));
    }
};

struct Tabs {
    std::unique_ptr<QWidget> owner;
    kit::TabView* tabs = kit::TabView::create(nullptr);
    RecordingDelegate delegate;

    Tabs() {
        owner.reset(tabs->widget());
        tabs->addItem("PC", kit::View::create());
        tabs->addItem("Device", kit::View::create());
        tabs->setDelegate(&delegate);
    }
};

TEST(TabViewTest, DelegateRefusesASwitchByCode) {
    Tabs t;
    t.delegate.refused = {1};
    EXPECT_FALSE(t.tabs->selectItemAtIndex(1));
    EXPECT_EQ(t.tabs->indexOfSelectedItem(), 0);
    EXPECT_EQ(t.delegate.log, QStringList{"should 1"});
}

TEST(TabViewTest, DelegateRefusesASwitchByTheUser) {
    Tabs t;
    t.owner->show();
    t.delegate.refused = {1};
    QTabBar* bar = t.tabs->tabWidget()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    EXPECT_EQ(t.tabs->indexOfSelectedItem(), 0);
    EXPECT_EQ(t.delegate.log, QStringList{"should 1"});

    t.delegate.refused.clear();
    t.delegate.log.clear();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    EXPECT_EQ(t.tabs->indexOfSelectedItem(), 1);
    EXPECT_EQ(t.delegate.log, (QStringList{"should 1", "will 1 (shown 1)", "did 1"}));
}

TEST(TabViewTest, CodeSwitchAsksWillBeforeShowingAndSameIndexAsksNobody) {
    Tabs t;
    EXPECT_TRUE(t.tabs->selectItemAtIndex(1));
    EXPECT_EQ(t.delegate.log, (QStringList{"should 1", "will 1 (shown 0)", "did 1"}));
    t.delegate.log.clear();
    EXPECT_FALSE(t.tabs->selectItemAtIndex(1));
    EXPECT_FALSE(t.tabs->selectItemAtIndex(5));
    EXPECT_TRUE(t.delegate.log.isEmpty());
}

TEST(TabViewTest, LabelsAndItemViews) {
    Tabs t;
    EXPECT_EQ(t.tabs->numberOfItems(), 2);
    t.tabs->setItemLabel(1, "Printer");
    EXPECT_EQ(t.tabs->itemLabel(1), "Printer");
    EXPECT_EQ(t.tabs->itemLabel(2), QString());
    EXPECT_EQ(t.tabs->itemView(2), nullptr);

    // A page built elsewhere is wrapped on demand, once.
    auto* page = new QWidget;
    t.tabs->tabWidget()->addTab(page, "Loaded");
    kit::View* view = t.tabs->itemView(2);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->widget(), page);
    EXPECT_EQ(t.tabs->itemView(2), view);
    EXPECT_EQ(view->superview(), t.tabs);
}

} // namespace
