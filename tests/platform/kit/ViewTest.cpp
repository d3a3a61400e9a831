#include "kit/View.h"

#include "kit/Box.h"
#include "kit/Button.h"
#include "kit/ClipView.h"
#include "kit/ComboBox.h"
#include "kit/PopUpButton.h"
#include "kit/ScrollView.h"
#include "kit/SecureTextField.h"
#include "kit/TabView.h"
#include "kit/TextField.h"
#include "kit/Window.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <typeinfo>

namespace {

// Receives actions the way a layout's owner does: a slot named after the action.
class ActionTarget : public QObject {
    Q_OBJECT
public:
    QList<QObject*> senders;
    int plainCalls = 0;

public slots:
    void uiValueDidChange(QObject* sender) { senders.append(sender); }
    void buttonPressed(kit::Button* sender) { senders.append(sender); }
    void noSender() { ++plainCalls; }
};

struct WindowTree {
    std::unique_ptr<QWidget> top{new QWidget};
    kit::Window* window = new kit::Window(top.get());
};

TEST(ViewTest, ExactClassesTellSubclassesFromTextField) {
    kit::TextField* label = kit::TextField::create(nullptr, false);
    kit::SecureTextField* secure = kit::SecureTextField::create(nullptr);
    kit::ComboBox* combo = kit::ComboBox::create(nullptr);
    std::unique_ptr<QWidget> owners[] = {std::unique_ptr<QWidget>(label->widget()),
                                         std::unique_ptr<QWidget>(secure->widget()),
                                         std::unique_ptr<QWidget>(combo->widget())};

    kit::View* views[] = {label, secure, combo};
    EXPECT_TRUE(typeid(*views[0]) == typeid(kit::TextField));
    EXPECT_FALSE(typeid(*views[1]) == typeid(kit::TextField));
    EXPECT_FALSE(typeid(*views[2]) == typeid(kit::TextField));
    // They are still text fields for code that asks by kind.
    EXPECT_NE(qobject_cast<kit::TextField*>(views[1]), nullptr);
    EXPECT_NE(qobject_cast<kit::TextField*>(views[2]), nullptr);
    EXPECT_EQ(secure->lineEdit()->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(label->isEditable());
}

TEST(ViewTest, OfFindsTheWrapperOfExactlyThatWidget) {
    QWidget parent;
    auto* edit = new QLineEdit(&parent);
    auto* field = new kit::TextField(edit);
    EXPECT_EQ(kit::View::of(edit), field);
    EXPECT_EQ(kit::View::of(&parent), nullptr);
    EXPECT_EQ(kit::View::of(nullptr), nullptr);
}

TEST(ViewTest, SubviewsInChildOrderLookingThroughUnwrappedWidgets) {
    WindowTree tree;
    kit::View* content = tree.window->contentView();
    auto* first = new kit::Button(new QPushButton("First", tree.top.get()));
    auto* unwrapped = new QWidget(tree.top.get());
    auto* inner = new kit::TextField(new QLabel("Inner", unwrapped));
    auto* last = new kit::TextField(new QLineEdit(tree.top.get()));
    // A child window is no subview.
    auto* childWindow = new QWidget(tree.top.get(), Qt::Dialog);
    new kit::View(childWindow);

    const QList<kit::View*> expected{first, inner, last};
    EXPECT_EQ(content->subviews(), expected);
    EXPECT_EQ(inner->superview(), content);
    EXPECT_EQ(content->superview(), nullptr);
}

TEST(ViewTest, ViewWithTagSearchesDepthFirstSelfFirst) {
    WindowTree tree;
    kit::View* content = tree.window->contentView();
    content->setTag(7);
    kit::Box* box = kit::Box::create(content, "Group");
    kit::TextField* deep = kit::TextField::create(box, false);
    deep->setTag(3);
    kit::Button* later = kit::Button::create(content, "Later");
    later->setTag(3);

    EXPECT_EQ(content->viewWithTag(7), content);
    EXPECT_EQ(content->viewWithTag(3), deep) << "the box's content comes before a later sibling";
    EXPECT_EQ(box->viewWithTag(3), deep);
    EXPECT_EQ(later->viewWithTag(3), later);
    EXPECT_EQ(content->viewWithTag(99), nullptr);
}

TEST(ViewTest, HiddenIsTheViewsOwnFlag) {
    WindowTree tree;
    kit::Button* button = kit::Button::create(tree.window->contentView(), "Address Book");
    auto* loaded = new kit::Button(new QPushButton("Defaults", tree.top.get()));
    EXPECT_FALSE(loaded->isHidden()) << "the window was never shown, the button was not hidden";
    EXPECT_FALSE(button->isHidden());
    button->setHidden(true);
    EXPECT_TRUE(button->isHidden());
    tree.window->makeKeyAndOrderFront();
    EXPECT_FALSE(button->widget()->isVisible());
    button->setHidden(false);
    EXPECT_TRUE(button->widget()->isVisible());

    tree.window->contentView()->setEnabled(false);
    EXPECT_TRUE(button->isEnabled()) << "enabled is not inherited from the superview";
    EXPECT_FALSE(button->widget()->isEnabled());
}

TEST(ViewTest, TagComesFromTheWidgetsDynamicProperty) {
    QLabel label;
    label.setProperty("tag", 12);
    kit::TextField field(&label);
    EXPECT_EQ(field.tag(), 12);
}

TEST(ViewTest, WindowOfANestedViewIsTheTopLevelsWindow) {
    WindowTree tree;
    kit::Box* box = kit::Box::create(tree.window->contentView(), "Outer");
    kit::Box* nested = kit::Box::create(box, "Inner");
    kit::Button* button = kit::Button::create(nested, "Deep");

    EXPECT_EQ(button->window(), tree.window);
    EXPECT_EQ(kit::Window::of(tree.top.get()), tree.window);

    kit::View* loose = kit::View::create();
    std::unique_ptr<QWidget> looseOwner(loose->widget());
    EXPECT_EQ(loose->window(), nullptr);
}

TEST(ViewTest, WalkReachesScrolledViewThroughClipView) {
    WindowTree tree;
    kit::ScrollView* scroll = kit::ScrollView::create(tree.window->contentView());
    kit::View* document = kit::View::create();
    kit::TextField* inside = kit::TextField::create(document, false);
    inside->setTag(5);
    scroll->setDocumentView(document);

    ASSERT_EQ(scroll->subviews().size(), 1);
    auto* clip = qobject_cast<kit::ClipView*>(scroll->subviews().first());
    ASSERT_NE(clip, nullptr);
    EXPECT_EQ(clip, scroll->contentView());
    EXPECT_EQ(clip->subviews(), QList<kit::View*>{document});
    EXPECT_EQ(tree.window->contentView()->viewWithTag(5), inside);
    EXPECT_EQ(document->superview(), clip);
    EXPECT_EQ(clip->superview(), scroll);
}

TEST(ViewTest, TabViewItemsAreNotSubviews) {
    WindowTree tree;
    kit::TabView* tabs = kit::TabView::create(tree.window->contentView());
    kit::View* page = kit::View::create();
    kit::TextField::create(page, false)->setTag(4);
    tabs->addItem("One", page);

    EXPECT_TRUE(tabs->subviews().isEmpty());
    EXPECT_EQ(tabs->itemView(0), page);
    EXPECT_EQ(tree.window->contentView()->viewWithTag(4), nullptr);
}

TEST(ViewTest, ActionReachesTheTargetsSlotByName) {
    ActionTarget target;
    auto* combo = new QComboBox;
    std::unique_ptr<QWidget> owner(combo);
    kit::PopUpButton popup(combo);
    popup.addItemsWithTitles({"A", "B"});
    popup.setTarget(&target);
    popup.setAction("uiValueDidChange:");

    emit combo->activated(1);
    ASSERT_EQ(target.senders.size(), 1);
    EXPECT_EQ(target.senders.first(), &popup);

    // A slot taking the sender's own class, and one taking nothing.
    kit::Button* button = kit::Button::create(nullptr, "Go");
    std::unique_ptr<QWidget> buttonOwner(button->widget());
    button->setTarget(&target);
    button->setAction("buttonPressed:");
    button->performClick();
    ASSERT_EQ(target.senders.size(), 2);
    EXPECT_EQ(target.senders.last(), button);
    button->setAction("noSender");
    button->performClick();
    EXPECT_EQ(target.plainCalls, 1);

    button->setAction("noSuchAction:");
    EXPECT_FALSE(button->sendAction());
}

TEST(ViewTest, ContentViewOfACodeBuiltWindowFillsIt) {
    WindowTree tree;
    kit::View* replacement = kit::View::create();
    tree.window->setContentView(replacement);
    EXPECT_EQ(tree.window->contentView(), replacement);
    EXPECT_EQ(replacement->window(), tree.window);
    EXPECT_EQ(replacement->widget()->parentWidget(), tree.top.get());
}

} // namespace

#include "ViewTest.moc"
