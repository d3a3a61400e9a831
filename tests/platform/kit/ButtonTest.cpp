#include "kit/Button.h"

#include <QCheckBox>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

TEST(ButtonTest, CheckBoxStateFollowsClicksAndCode) {
    kit::Button* box = kit::Button::create(nullptr, "Delayed send", kit::Button::Type::CheckBox);
    std::unique_ptr<QWidget> owner(box->widget());
    box->widget()->resize(box->widget()->sizeHint());
    QList<int> statesAtAction;
    box->setActionHandler([&](kit::View*) { statesAtAction.append(box->state()); });
    QSignalSpy stateSpy(box, &kit::Button::stateChanged);

    EXPECT_EQ(box->type(), kit::Button::Type::CheckBox);
    EXPECT_EQ(box->state(), 0);
    QTest::mouseClick(box->widget(), Qt::LeftButton);
    EXPECT_EQ(box->state(), 1);
    box->setState(0);
    EXPECT_EQ(box->state(), 0);
    box->performClick();

    EXPECT_EQ(statesAtAction, (QList<int>{1, 1})) << "the action sees the new state";
    EXPECT_EQ(stateSpy.count(), 3);
}

TEST(ButtonTest, PushButtonHasNoStateAndATitle) {
    kit::Button* push = kit::Button::create(nullptr, "Start");
    std::unique_ptr<QWidget> owner(push->widget());
    push->setState(1);
    EXPECT_EQ(push->state(), 0);
    EXPECT_TRUE(push->respondsToSetTitle());
    push->setTitle("Stop");
    EXPECT_EQ(push->title(), "Stop");
}

TEST(ButtonTest, DisabledButtonSendsNothing) {
    QCheckBox widget("Check");
    widget.resize(widget.sizeHint());
    kit::Button button(&widget);
    int actions = 0;
    button.setActionHandler([&](kit::View*) { ++actions; });
    QTest::mouseClick(&widget, Qt::LeftButton);
    EXPECT_EQ(actions, 1);
    button.setEnabled(false);
    QTest::mouseClick(&widget, Qt::LeftButton);
    EXPECT_EQ(actions, 1);
    EXPECT_FALSE(button.isEnabled());
}

} // namespace
