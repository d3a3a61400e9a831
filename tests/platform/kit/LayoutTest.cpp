#include "kit/Layout.h"

#include "kit/ArrayController.h"
#include "kit/Box.h"
#include "kit/Bundle.h"
#include "kit/Button.h"
#include "kit/ClassRegistry.h"
#include "kit/ClipView.h"
#include "kit/ComboBox.h"
#include "kit/DatePicker.h"
#include "kit/Panel.h"
#include "kit/PopUpButton.h"
#include "kit/ScrollView.h"
#include "kit/SearchField.h"
#include "kit/SecureTextField.h"
#include "kit/SystemLog.h"
#include "kit/TabView.h"
#include "kit/TabViewDelegate.h"
#include "kit/TableView.h"
#include "kit/TextField.h"
#include "kit/View.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <typeinfo>

namespace {

class LayoutOwner : public QObject {
    Q_OBJECT
    Q_PROPERTY(kit::View* mainView MEMBER mainView)
    Q_PROPERTY(kit::TextField* nameField MEMBER nameField)
    Q_PROPERTY(QObject* controller MEMBER controller)
    Q_PROPERTY(kit::Panel* panel MEMBER panel)
    Q_PROPERTY(QString title MEMBER title)

public:
    Q_INVOKABLE void awakeFromNib() { ++wakes; }

    kit::View* mainView = nullptr;
    kit::TextField* nameField = nullptr;
    QObject* controller = nullptr;
    kit::Panel* panel = nullptr;
    QString title;
    int wakes = 0;
    int actions = 0;
    QObject* lastSender = nullptr;

public slots:
    void uiValueDidChange(QObject* sender) {
        ++actions;
        lastSender = sender;
    }
};

class WakingController : public QObject, public kit::TabViewDelegate {
    Q_OBJECT
    Q_PROPERTY(kit::ArrayController* list MEMBER list)
    Q_PROPERTY(kit::TextField* field MEMBER field)
    Q_PROPERTY(QString name MEMBER name NOTIFY nameChanged)

public:
    WakingController() { ++alive; }
    ~WakingController() override { --alive; }

    Q_INVOKABLE void awakeFromNib() {
        ++wakes;
        outletsSetAtWake = list != nullptr && field != nullptr;
    }
    Q_INVOKABLE void rowDoubleClicked(QObject*) { ++doubleClicks; }

    kit::ArrayController* list = nullptr;
    kit::TextField* field = nullptr;
    QString name;
    int wakes = 0;
    int doubleClicks = 0;
    bool outletsSetAtWake = false;
    static inline int alive = 0;

signals:
    void nameChanged();
};

class ProbeView : public kit::View {
    Q_OBJECT
    Q_PROPERTY(kit::PopUpButton* popup MEMBER popup)

public:
    explicit ProbeView(QWidget* widget) : View(widget) {}
    Q_INVOKABLE void awakeFromNib() { ++wakes; }

    kit::PopUpButton* popup = nullptr;
    int wakes = 0;
};

const char* const TreeUi = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>Tree</class>
 <widget class="QWidget" name="mainView">
  <property name="geometry"><rect><x>0</x><y>0</y><width>400</width><height>400</height></rect></property>
  <widget class="QLineEdit" name="nameField"><property name="tag" stdset="0"><number>3</number></property></widget>
  <widget class="QLineEdit" name="passwordField"><property name="echoMode"><enum>QLineEdit::Password</enum></property></widget>
  <widget class="QLineEdit" name="searchField"><property name="kitClass" stdset="0"><string>SearchField</string></property></widget>
  <widget class="QLabel" name="titleLabel"><property name="text"><string>Title</string></property></widget>
  <widget class="QPushButton" name="pushButton"/>
  <widget class="QCheckBox" name="checkBox"/>
  <widget class="QRadioButton" name="radioButton"/>
  <widget class="QComboBox" name="popup">
   <property name="tag" stdset="0"><number>7</number></property>
   <item><property name="text"><string>One</string></property></item>
   <item><property name="text"><string>Two</string></property></item>
  </widget>
  <widget class="QComboBox" name="combo"><property name="editable"><bool>true</bool></property></widget>
  <widget class="QTimeEdit" name="timeEdit"/>
  <widget class="QTableView" name="table">
   <property name="selectionMode"><enum>QAbstractItemView::ExtendedSelection</enum></property>
  </widget>
  <widget class="QTabWidget" name="tabs">
   <widget class="QWidget" name="page1">
    <attribute name="title"><string>First</string></attribute>
    <widget class="QLabel" name="pageLabel"><property name="tag" stdset="0"><number>9</number></property></widget>
   </widget>
   <widget class="QWidget" name="page2"><attribute name="title"><string>Second</string></attribute></widget>
  </widget>
  <widget class="QGroupBox" name="group">
   <property name="title"><string>Group</string></property>
   <widget class="QLineEdit" name="groupField"/>
  </widget>
  <widget class="QScrollArea" name="scroll">
   <property name="widgetResizable"><bool>true</bool></property>
   <widget class="QWidget" name="document">
    <widget class="QLabel" name="docLabel"/>
   </widget>
  </widget>
 </widget>
</ui>
)";

const char* const DialogUi = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>Dialog</class>
 <widget class="QDialog" name="dialogPanel">
  <property name="windowTitle"><string>A Panel</string></property>
  <widget class="QPushButton" name="okButton"/>
 </widget>
</ui>
)";

const char* const TreeLayout = R"({
  "objects": [
    {"id": "mainView", "ui": "Tree.ui", "widget": "mainView", "class": "ProbeView"},
    {"id": "controller", "class": "WakingController"},
    {"id": "list", "class": "ArrayController", "properties": {"allowsMultipleSelection": false}}
  ],
  "outlets": [
    {"source": "owner", "name": "mainView", "destination": "mainView"},
    {"source": "owner", "name": "nameField", "destination": "nameField"},
    {"source": "owner", "name": "controller", "destination": "controller"},
    {"source": "controller", "name": "list", "destination": "list"},
    {"source": "controller", "name": "field", "destination": "nameField"},
    {"source": "mainView", "name": "popup", "destination": "popup"},
    {"source": "tabs", "name": "delegate", "destination": "controller"}
  ],
  "actions": [
    {"source": "popup", "target": "owner", "action": "uiValueDidChange:"},
    {"source": "table", "target": "controller", "doubleAction": "rowDoubleClicked:"}
  ],
  "bindings": [
    {"view": "nameField", "binding": "value", "object": "controller", "keyPath": "name"},
    {"view": "table", "binding": "content", "object": "list", "columns": [{"key": "name"}]}
  ]
})";

class LayoutTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        kit::ClassRegistry::registerObjectClass<WakingController>("WakingController");
        kit::ClassRegistry::registerViewClass<ProbeView>("ProbeView");
    }

    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        write("Tree.ui", TreeUi);
        write("Dialog.ui", DialogUi);
        write("Tree.layout", TreeLayout);
        topLevelWidgetsBefore = QApplication::topLevelWidgets().size();
    }

    void TearDown() override {
        topLevelObjects.clear();
        EXPECT_EQ(WakingController::alive, 0);
        EXPECT_EQ(QApplication::topLevelWidgets().size(), topLevelWidgetsBefore);
    }

    void write(const QString& name, const QByteArray& content) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    bool loadTree() {
        return kit::Layout::loadFile(folder.filePath("Tree.layout"), &owner, &topLevelObjects);
    }

    template <class T> T* viewNamed(const char* name) {
        return qobject_cast<T*>(kit::View::of(owner.mainView->widget()->findChild<QWidget*>(name)));
    }

    QTemporaryDir folder;
    LayoutOwner owner;
    QList<kit::ObjectRef> topLevelObjects;
    qsizetype topLevelWidgetsBefore = 0;
};

TEST_F(LayoutTest, EveryDesignedWidgetGetsItsExactKitClass) {
    ASSERT_TRUE(loadTree());
    ASSERT_NE(owner.mainView, nullptr);
    const QWidget* root = owner.mainView->widget();
    const auto classOf = [root](const char* name) -> const std::type_info& {
        const kit::View* view = kit::View::of(root->findChild<QWidget*>(name));
        return view == nullptr ? typeid(void) : typeid(*view);
    };
    EXPECT_EQ(typeid(*owner.mainView), typeid(ProbeView));
    EXPECT_EQ(classOf("nameField"), typeid(kit::TextField));
    EXPECT_EQ(classOf("passwordField"), typeid(kit::SecureTextField));
    EXPECT_EQ(classOf("searchField"), typeid(kit::SearchField));
    EXPECT_EQ(classOf("titleLabel"), typeid(kit::TextField));
    EXPECT_EQ(classOf("pushButton"), typeid(kit::Button));
    EXPECT_EQ(classOf("checkBox"), typeid(kit::Button));
    EXPECT_EQ(classOf("radioButton"), typeid(kit::Button));
    EXPECT_EQ(classOf("popup"), typeid(kit::PopUpButton));
    EXPECT_EQ(classOf("combo"), typeid(kit::ComboBox));
    EXPECT_EQ(classOf("timeEdit"), typeid(kit::DatePicker));
    EXPECT_EQ(classOf("table"), typeid(kit::TableView));
    EXPECT_EQ(classOf("tabs"), typeid(kit::TabView));
    EXPECT_EQ(classOf("page1"), typeid(kit::View));
    EXPECT_EQ(classOf("pageLabel"), typeid(kit::TextField));
    EXPECT_EQ(classOf("group"), typeid(kit::Box));
    EXPECT_EQ(classOf("groupField"), typeid(kit::TextField));
    EXPECT_EQ(classOf("scroll"), typeid(kit::ScrollView));
    EXPECT_EQ(classOf("document"), typeid(kit::View));
    EXPECT_EQ(classOf("docLabel"), typeid(kit::TextField));

    EXPECT_FALSE(viewNamed<kit::TextField>("titleLabel")->isEditable());
    auto* scroll = viewNamed<kit::ScrollView>("scroll");
    ASSERT_NE(scroll->contentView(), nullptr);
    EXPECT_EQ(typeid(*scroll->contentView()), typeid(kit::ClipView));
    EXPECT_EQ(scroll->documentView(), kit::View::of(root->findChild<QWidget*>("document")));
    auto* tabs = viewNamed<kit::TabView>("tabs");
    ASSERT_EQ(tabs->numberOfItems(), 2);
    EXPECT_EQ(tabs->itemView(0), kit::View::of(root->findChild<QWidget*>("page1")));
    EXPECT_EQ(tabs->itemLabel(1), "Second");
    // Qt's own parts of composite widgets are no views.
    const auto* combo = root->findChild<QComboBox*>("combo");
    EXPECT_EQ(kit::View::of(combo->lineEdit()), nullptr);
}

TEST_F(LayoutTest, TagsComeFromTheDynamicPropertyAndDesignerSettingsStay) {
    ASSERT_TRUE(loadTree());
    EXPECT_EQ(owner.mainView->viewWithTag(3), owner.nameField);
    EXPECT_EQ(owner.mainView->viewWithTag(7), viewNamed<kit::PopUpButton>("popup"));
    // Tab items are not subviews: their views are searched on their own.
    EXPECT_EQ(viewNamed<kit::TabView>("tabs")->itemView(0)->viewWithTag(9),
              viewNamed<kit::TextField>("pageLabel"));
    EXPECT_EQ(owner.mainView->viewWithTag(42), nullptr);
    EXPECT_TRUE(viewNamed<kit::TableView>("table")->allowsMultipleSelection());
}

TEST_F(LayoutTest, OutletsConnectTheOwnerAndTheObjectsBeforeEachWakesOnce) {
    ASSERT_TRUE(loadTree());
    auto* controller = qobject_cast<WakingController*>(owner.controller);
    ASSERT_NE(controller, nullptr);
    EXPECT_EQ(controller->field, owner.nameField);
    EXPECT_NE(controller->list, nullptr);
    EXPECT_FALSE(controller->list->allowsMultipleSelection()) << "properties of the entry";
    EXPECT_EQ(static_cast<ProbeView*>(owner.mainView)->popup, viewNamed<kit::PopUpButton>("popup"));
    EXPECT_EQ(viewNamed<kit::TabView>("tabs")->delegate(),
              static_cast<kit::TabViewDelegate*>(controller));

    EXPECT_EQ(controller->wakes, 1);
    EXPECT_TRUE(controller->outletsSetAtWake);
    EXPECT_EQ(static_cast<ProbeView*>(owner.mainView)->wakes, 1);
    EXPECT_EQ(owner.wakes, 0) << "the owner was not loaded";
}

TEST_F(LayoutTest, TopLevelObjectsComeInLayoutOrder) {
    ASSERT_TRUE(loadTree());
    ASSERT_EQ(topLevelObjects.size(), 3);
    EXPECT_EQ(topLevelObjects.at(0).get(), owner.mainView);
    EXPECT_EQ(topLevelObjects.at(1).get(), owner.controller);
    EXPECT_NE(qobject_cast<kit::ArrayController*>(topLevelObjects.at(2).get()), nullptr);
}

TEST_F(LayoutTest, ActionsAndBindingsAreConnected) {
    ASSERT_TRUE(loadTree());
    auto* popup = viewNamed<kit::PopUpButton>("popup");
    emit popup->comboBox()->activated(1);
    EXPECT_EQ(owner.actions, 1);
    EXPECT_EQ(owner.lastSender, popup);
    EXPECT_TRUE(viewNamed<kit::TableView>("table")->sendDoubleAction());
    EXPECT_EQ(qobject_cast<WakingController*>(owner.controller)->doubleClicks, 1);

    QTest::keyClicks(owner.nameField->lineEdit(), "Ann");
    EXPECT_EQ(qobject_cast<WakingController*>(owner.controller)->name, "Ann");
}

TEST_F(LayoutTest, DroppingTheTopLevelObjectsDestroysEverything) {
    ASSERT_TRUE(loadTree());
    QPointer<QWidget> root = owner.mainView->widget();
    QPointer<QObject> list = topLevelObjects.at(2).get();
    topLevelObjects.clear();
    EXPECT_TRUE(root.isNull());
    EXPECT_TRUE(list.isNull());
    EXPECT_EQ(WakingController::alive, 0);
}

TEST_F(LayoutTest, WithoutAListTheObjectsLiveAsLongAsTheOwner) {
    QPointer<QWidget> root;
    {
        LayoutOwner shortLived;
        ASSERT_TRUE(kit::Layout::loadFile(folder.filePath("Tree.layout"), &shortLived));
        root = shortLived.mainView->widget();
        EXPECT_EQ(WakingController::alive, 1);
        EXPECT_FALSE(root.isNull());
    }
    EXPECT_TRUE(root.isNull());
    EXPECT_EQ(WakingController::alive, 0);
}

TEST_F(LayoutTest, AViewAdoptedAndDestroyedByTheHostIsNotDeletedTwice) {
    ASSERT_TRUE(loadTree());
    auto* hostDialog = new QWidget;
    owner.mainView->widget()->setParent(hostDialog);
    delete hostDialog;
    topLevelObjects.clear(); // would crash (or trip the address sanitizer) on a double delete
    EXPECT_EQ(WakingController::alive, 0);
}

TEST_F(LayoutTest, APanelWrapsItsDialogWithTheContentClass) {
    write("Panel.layout", R"({"objects": [
        {"id": "panel", "ui": "Dialog.ui", "widget": "dialogPanel", "class": "Panel",
         "contentClass": "ProbeView"}],
      "outlets": [{"source": "owner", "name": "panel", "destination": "panel"},
                  {"source": "owner", "name": "mainView", "destination": "panel.contentView"}]})");
    ASSERT_TRUE(kit::Layout::loadFile(folder.filePath("Panel.layout"), &owner, &topLevelObjects));
    ASSERT_NE(owner.panel, nullptr);
    EXPECT_EQ(owner.mainView, owner.panel->contentView());
    EXPECT_EQ(owner.panel->title(), "A Panel");
    EXPECT_EQ(typeid(*owner.panel->contentView()), typeid(ProbeView));
    EXPECT_EQ(static_cast<ProbeView*>(owner.panel->contentView())->wakes, 1);
    EXPECT_FALSE(owner.panel->isVisible());
    EXPECT_EQ(topLevelObjects.at(0).get(), owner.panel);
}

TEST_F(LayoutTest, LoadsByNameFromABundle) {
    QDir(folder.path()).mkpath("Test.bundle/Contents/Resources");
    write("Test.bundle/Contents/Info.plist", R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
<key>CFBundleIdentifier</key><string>com.example.layout-test</string>
</dict></plist>)");
    write("Test.bundle/Contents/Resources/Tree.layout", TreeLayout);
    write("Test.bundle/Contents/Resources/Tree.ui", TreeUi);
    const auto bundle = kit::Bundle::open(folder.filePath("Test.bundle"));
    ASSERT_NE(bundle, nullptr);

    ASSERT_TRUE(kit::Layout::load(*bundle, "Tree", &owner, &topLevelObjects));
    EXPECT_NE(owner.mainView, nullptr);

    kit::SystemLog::Capture log;
    LayoutOwner other;
    EXPECT_FALSE(kit::Layout::load(*bundle, "Missing", &other, &topLevelObjects));
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines().at(0).contains("Missing"));
}

struct BrokenCase {
    const char* name;
    const char* layout; // null: no layout file at all
    const char* reason; // part of the log line
};

void PrintTo(const BrokenCase& broken, std::ostream* out) {
    *out << broken.name;
}

class BrokenLayoutTest : public LayoutTest, public ::testing::WithParamInterface<BrokenCase> {};

TEST_P(BrokenLayoutTest, FailsCleanlyWithOneLogLine) {
    const BrokenCase& broken = GetParam();
    write("Broken.ui", "<ui version=\"4.0\"><widget class=\"QWidget\" name=\"x\">");
    write("Label.ui", R"(<ui version="4.0"><widget class="QWidget" name="root">
        <widget class="QLabel" name="label"><property name="kitClass" stdset="0"><string>TableView</string></property></widget>
        </widget></ui>)");
    const QString path = folder.filePath("Case.layout");
    if (broken.layout != nullptr) {
        write("Case.layout", broken.layout);
    }

    kit::SystemLog::Capture log;
    EXPECT_FALSE(kit::Layout::loadFile(path, &owner, &topLevelObjects));
    ASSERT_EQ(log.lines().size(), 1) << log.lines().join("\n").toStdString();
    EXPECT_TRUE(log.lines().at(0).startsWith("Layout: " + path)) << log.lines().at(0).toStdString();
    EXPECT_TRUE(log.lines().at(0).contains(broken.reason)) << log.lines().at(0).toStdString();
    EXPECT_TRUE(topLevelObjects.isEmpty());
    EXPECT_EQ(owner.mainView, nullptr);
    EXPECT_EQ(owner.controller, nullptr);
    EXPECT_EQ(owner.nameField, nullptr);
    EXPECT_EQ(WakingController::alive, 0);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), topLevelWidgetsBefore);
}

// Every case but the file-level ones makes the tree and the controller first, so a failure
// must take them down again; the outlets into the owner come before the broken part.
// clang-format off
#define TREE_OBJECTS R"({"id": "mainView", "ui": "Tree.ui", "class": "ProbeView"}, {"id": "controller", "class": "WakingController"})"
#define OWNER_OUTLETS R"({"source": "owner", "name": "mainView", "destination": "mainView"}, {"source": "owner", "name": "controller", "destination": "controller"})"
// clang-format on

const BrokenCase brokenCases[] = {
    {"MissingFile", nullptr, "cannot read the file"},
    {"BadJson", "{\"objects\": [", "bad JSON"},
    {"NotAnObject", "[]", "not a JSON object"},
    {"UnknownSection", R"({"objets": []})", "unknown key \"objets\""},
    {"EntryWithoutId", R"({"objects": [{"class": "Dictionary"}]})", "\"id\""},
    {"DuplicateId",
     R"({"objects": [)" TREE_OBJECTS R"(, {"id": "controller", "class": "Dictionary"}]})",
     "used twice"},
    {"MissingUiFile", R"({"objects": [)" TREE_OBJECTS R"(, {"id": "v", "ui": "Nope.ui"}]})",
     "Nope.ui"},
    {"BrokenUiFile", R"({"objects": [)" TREE_OBJECTS R"(, {"id": "v", "ui": "Broken.ui"}]})",
     "Broken.ui"},
    {"UnknownClass",
     R"({"objects": [)" TREE_OBJECTS R"(, {"id": "c", "class": "NoSuchController"}]})",
     "unknown class \"NoSuchController\""},
    {"UnknownViewClass", R"({"objects": [{"id": "v", "ui": "Tree.ui", "class": "NoSuchView"}]})",
     "NoSuchView"},
    {"KitClassThatCannotWrapTheWidget",
     R"({"objects": [)" TREE_OBJECTS R"(, {"id": "v", "ui": "Label.ui"}]})",
     "cannot wrap \"label\""},
    {"RootNameMismatch", R"({"objects": [{"id": "v", "ui": "Tree.ui", "widget": "otherView"}]})",
     "otherView"},
    {"PanelOnAPlainWidget", R"({"objects": [{"id": "v", "ui": "Tree.ui", "class": "Panel"}]})",
     "no QDialog"},
    {"PropertyTheObjectLacks",
     R"({"objects": [)" TREE_OBJECTS
     R"(, {"id": "l", "class": "ArrayController", "properties": {"colour": 1}}]})",
     "colour"},
    {"UnknownIdAfterGoodOwnerOutlets",
     R"({"objects": [)" TREE_OBJECTS R"(], "outlets": [)" OWNER_OUTLETS
     R"(, {"source": "controller", "name": "list", "destination": "nowhere"}]})",
     "unknown id \"nowhere\""},
    {"OutletOfTheWrongClass",
     R"({"objects": [)" TREE_OBJECTS R"(], "outlets": [)" OWNER_OUTLETS
     R"(, {"source": "owner", "name": "nameField", "destination": "popup"}]})",
     "takes a kit::TextField"},
    {"OutletTheSourceLacks",
     R"({"objects": [)" TREE_OBJECTS R"(], "outlets": [)" OWNER_OUTLETS
     R"(, {"source": "owner", "name": "noSuchOutlet", "destination": "controller"}]})",
     "noSuchOutlet"},
    {"OutletThatIsNoObjectPointer",
     R"({"objects": [)" TREE_OBJECTS R"(], "outlets": [)" OWNER_OUTLETS
     R"(, {"source": "owner", "name": "title", "destination": "controller"}]})",
     "no object pointer"},
    {"ContentViewOfSomethingThatIsNoWindow",
     R"({"objects": [)" TREE_OBJECTS R"(], "outlets": [)" OWNER_OUTLETS
     R"(, {"source": "owner", "name": "mainView", "destination": "controller.contentView"}]})",
     "names no window's content view"},
    {"ActionTheTargetLacks",
     R"({"objects": [)" TREE_OBJECTS R"(], "outlets": [)" OWNER_OUTLETS
     R"(], "actions": [{"source": "popup", "target": "owner", "action": "noSuchAction:"}]})",
     "noSuchAction:"},
    {"ActionFromANonView",
     R"({"objects": [)" TREE_OBJECTS
     R"(], "actions": [{"source": "controller", "target": "owner", "action": "uiValueDidChange:"}]})",
     "not a view"},
    {"BindingToAMissingKey",
     R"({"objects": [)" TREE_OBJECTS R"(], "outlets": [)" OWNER_OUTLETS
     R"(], "bindings": [{"view": "nameField", "binding": "value", "object": "controller", "keyPath": "nmae"}]})",
     "nmae"},
    {"BindingOfAnUnknownKind",
     R"({"objects": [)" TREE_OBJECTS
     R"(], "bindings": [{"view": "nameField", "binding": "colour", "object": "controller", "keyPath": "name"}]})",
     "unknown binding"},
};

INSTANTIATE_TEST_SUITE_P(Cases, BrokenLayoutTest, ::testing::ValuesIn(brokenCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LayoutTest, NamingTheOwnerWithoutOneFails) {
    kit::SystemLog::Capture log;
    EXPECT_FALSE(kit::Layout::loadFile(folder.filePath("Tree.layout"), nullptr, &topLevelObjects));
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines().at(0).contains("no owner"));
}

} // namespace

#include "LayoutTest.moc"
