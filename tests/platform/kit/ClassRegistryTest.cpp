#include "kit/ClassRegistry.h"

#include "kit/ArrayController.h"
#include "kit/ComboBox.h"
#include "kit/Dictionary.h"
#include "kit/PopUpButton.h"
#include "kit/TextField.h"
#include "kit/View.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <typeinfo>

namespace {

class Gadget : public QObject {
    Q_OBJECT
};

class FancyLabel : public kit::View {
    Q_OBJECT
public:
    explicit FancyLabel(QLabel* label) : View(label) {}
};

TEST(ClassRegistryTest, TheKitsOwnClassesAreThereFromTheStart) {
    for (const char* name :
         {"View", "TextField", "SecureTextField", "ComboBox", "SearchField", "Button",
          "PopUpButton", "DatePicker", "TableView", "TabView", "Box", "ScrollView", "ClipView"}) {
        EXPECT_TRUE(kit::ClassRegistry::hasViewClass(name)) << name;
    }
    EXPECT_TRUE(kit::ClassRegistry::hasObjectClass("ArrayController"));
    EXPECT_TRUE(kit::ClassRegistry::hasObjectClass("Dictionary"));
    EXPECT_FALSE(kit::ClassRegistry::hasObjectClass("TextField"));

    std::unique_ptr<QObject> controller(kit::ClassRegistry::createObject("ArrayController"));
    EXPECT_NE(qobject_cast<kit::ArrayController*>(controller.get()), nullptr);
    std::unique_ptr<QObject> dictionary(kit::ClassRegistry::createObject("Dictionary"));
    EXPECT_NE(qobject_cast<kit::Dictionary*>(dictionary.get()), nullptr);
    EXPECT_EQ(kit::ClassRegistry::createObject("NoSuchClass"), nullptr);
}

TEST(ClassRegistryTest, AViewClassWrapsOnlyTheWidgetsItCan) {
    QWidget parent;
    auto* label = new QLabel(&parent);
    auto* lineEdit = new QLineEdit(&parent);
    auto* comboBox = new QComboBox(&parent);

    kit::View* labelField = kit::ClassRegistry::createView("TextField", label);
    ASSERT_NE(labelField, nullptr);
    EXPECT_EQ(typeid(*labelField), typeid(kit::TextField));
    EXPECT_FALSE(static_cast<kit::TextField*>(labelField)->isEditable());

    EXPECT_EQ(kit::ClassRegistry::createView("PopUpButton", lineEdit), nullptr);
    EXPECT_EQ(kit::View::of(lineEdit), nullptr) << "a refused widget stays unwrapped";
    EXPECT_EQ(kit::ClassRegistry::createView("TextField", nullptr), nullptr);

    kit::View* combo = kit::ClassRegistry::createView("ComboBox", comboBox);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(typeid(*combo), typeid(kit::ComboBox));
    EXPECT_EQ(kit::ClassRegistry::createView("PopUpButton", comboBox), nullptr)
        << "a widget keeps its one wrapper";
    EXPECT_EQ(kit::View::of(comboBox), combo);
}

TEST(ClassRegistryTest, PlugInClassesRegisterReplaceAndUnregister) {
    EXPECT_TRUE(kit::ClassRegistry::registerObjectClass<Gadget>("Gadget"));
    EXPECT_TRUE((kit::ClassRegistry::registerViewClass<FancyLabel, QLabel>("FancyLabel")));
    EXPECT_TRUE(kit::ClassRegistry::objectClassNames().contains("Gadget"));
    EXPECT_TRUE(kit::ClassRegistry::viewClassNames().contains("FancyLabel"));

    std::unique_ptr<QObject> gadget(kit::ClassRegistry::createObject("Gadget"));
    EXPECT_NE(qobject_cast<Gadget*>(gadget.get()), nullptr);
    QWidget parent;
    auto* label = new QLabel(&parent);
    EXPECT_EQ(kit::ClassRegistry::createView("FancyLabel", new QLineEdit(&parent)), nullptr);
    kit::View* fancy = kit::ClassRegistry::createView("FancyLabel", label);
    ASSERT_NE(fancy, nullptr);
    EXPECT_EQ(typeid(*fancy), typeid(FancyLabel));

    int made = 0;
    EXPECT_FALSE(kit::ClassRegistry::registerObjectClass("Gadget", [&made] {
        ++made;
        return static_cast<QObject*>(new Gadget);
    })) << "the name was taken";
    std::unique_ptr<QObject> replaced(kit::ClassRegistry::createObject("Gadget"));
    EXPECT_EQ(made, 1);

    EXPECT_TRUE(kit::ClassRegistry::unregisterClass("Gadget"));
    EXPECT_TRUE(kit::ClassRegistry::unregisterClass("FancyLabel"));
    EXPECT_FALSE(kit::ClassRegistry::unregisterClass("Gadget"));
    EXPECT_EQ(kit::ClassRegistry::createObject("Gadget"), nullptr);
}

TEST(ClassRegistryTest, AFactoryThatMakesNothingGivesNull) {
    kit::ClassRegistry::registerObjectClass("Nothing", [] { return nullptr; });
    EXPECT_EQ(kit::ClassRegistry::createObject("Nothing"), nullptr);
    kit::ClassRegistry::unregisterClass("Nothing");
}

} // namespace

#include "ClassRegistryTest.moc"
