#include "FaxSettingDialogFixture.h"
#include "common/UtilityFunctions.h"
#include "help/HelpCenter.h"
#include "kit/Bundle.h"
#include "kit/SystemLog.h"
#include "kit/TabView.h"
#include "kit/TableView.h"

#include <QHeaderView>
#include <QTableView>
#include <QTest>

namespace tarvik_pde_m40vextel::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using RecordKind = AddressBookLibrary::RecordKind;

// An entry as one short line: name/number, then company/note or the members where present.
QString entryText(const kit::ObjectRef& entry) {
    QString text = kit::valueForKey(entry.get(), "name").toString() + "/" +
                   kit::valueForKey(entry.get(), "phoneNumber").toString();
    const QVariant id = kit::valueForKey(entry.get(), "Id");
    if (id.isValid()) {
        text = id.toString() + ":" + text;
    }
    for (const char* key : {"company", "note"}) {
        const QVariant value = kit::valueForKey(entry.get(), key);
        if (value.isValid()) {
            text += "|" + value.toString();
        }
    }
    const QVariant members = kit::valueForKey(entry.get(), "userIDList");
    if (members.isValid()) {
        QStringList ids;
        for (const QVariant& member : members.toList()) {
            ids << member.toString();
        }
        text += "[" + ids.join(",") + "]";
    }
    return text;
}

QStringList texts(const QList<kit::ObjectRef>& entries) {
    QStringList lines;
    for (const kit::ObjectRef& entry : entries) {
        lines << entryText(entry);
    }
    return lines;
}

class AddressBookControllerTest : public FaxSettingDialogTest {
protected:
    void SetUp() override {
        FaxSettingDialogTest::SetUp();
        ASSERT_NE(picker(), nullptr);
        library.directory = "/books";
        files()->addObject(kit::Dictionary::create({{"name", "a.vcf"}, {"path", "/books/a.vcf"}}));
        files()->setSelectionIndex(0);
        picker()->setIPAddress(QStringLiteral("192.0.2.7"));
        picker()->setPassword(QStringLiteral("1234"));
    }

    AddressBookController* picker() const {
        return qobject_cast<AddressBookController*>(controller()->addressBookController());
    }
    kit::ArrayController* files() const { return controller()->addressFileList(); }
    kit::ArrayController* pcList() const { return picker()->pcAddressList(); }
    kit::ArrayController* deviceList() const { return picker()->deviceAddressList(); }
    kit::Panel* pickerPanel() const { return picker()->addressBookSettingPanel(); }
    kit::TabView* tabView() const {
        return qobject_cast<AddressBookView*>(pickerPanel()->contentView())->addressSourceTabView();
    }
    template <class T = kit::View> T* pickerView(const char* name) const {
        auto* widget = pickerPanel()->widget()->findChild<QWidget*>(QString::fromLatin1(name));
        return widget == nullptr ? nullptr : qobject_cast<T*>(kit::View::of(widget));
    }
    bool pickerEnabled(const char* name) const { return pickerView(name)->widget()->isEnabled(); }

    void setPCBook(std::vector<Record> individuals, std::vector<Record> groups = {}) {
        library.book[RecordKind::MyFax] = std::move(individuals);
        library.book[RecordKind::MyFaxGroup] = std::move(groups);
    }
    // Anna 1, Jonathan 2, Peter 3 and the group "Team" of Anna and Peter.
    void setSmallPCBook() {
        setPCBook({pcIndividual(1, "Anna", "100"), pcIndividual(2, "Jonathan", "200"),
                   pcIndividual(3, "Peter", "300")},
                  {group(false, "Team", {1, 3})});
    }
    // Runs the picker on a tab; the step acts inside its run and must close it.
    void runPicker(int tab, kit::ModalDriver::Step step) {
        modalDriver.enqueue(std::move(step));
        picker()->createDialogWithTabSelection(tab);
    }
    void selectByName(kit::ArrayController* list, const QStringList& names) {
        QList<int> indexes;
        for (int i = 0; i < list->count(); ++i) {
            if (names.contains(
                    kit::valueForKey(list->arrangedObjectAt(i).get(), "name").toString())) {
                indexes << i;
            }
        }
        list->setSelectionIndexes(indexes);
    }
    void addRecipientsNumbered(int count) {
        for (int i = 0; i < count; ++i) {
            recipients()->addObject(makeRecipient(QString("r%1").arg(i), QString::number(i)));
        }
    }

    kit::SystemLog::Capture log;
};

// ---- Loading the PC tab

TEST_F(AddressBookControllerTest, PCTabListsIndividualsAndGroupsInDescendingOrder) {
    setPCBook({pcIndividual(1, "alpha", "100", "Acme", "call after 9"),
               pcIndividual(2, "Beta", "200"), pcIndividual(3, "beta", "300")},
              {group(false, "Team", {2, 1}), group(false, "Empty", {})});
    picker()->initPCAdressBookTab();

    EXPECT_THAT(texts(pcList()->arrangedObjects()),
                ElementsAre("Team/Group[2,1]", "Empty/Group[]", "3:beta/300||", "2:Beta/200||",
                            "1:alpha/100|Acme|call after 9"));
    EXPECT_THAT(library.calls, ElementsAre("createData", "readFile /books/a.vcf 0", "deleteData"));
    EXPECT_EQ(library.liveHandles, 0);
    EXPECT_EQ(texts(picker()->originalPCAddressList()), texts(pcList()->arrangedObjects()));
    EXPECT_THAT(alertDriver.alerts(), IsEmpty());
}

// The first unreadable record ends the reading; what was read before it stays.
TEST_F(AddressBookControllerTest, AnUnreadableRecordEndsThePCReadingWithItsLogLine) {
    struct Case {
        const char* name;
        std::vector<Record> individuals;
        std::vector<Record> groups;
        QStringList listed;
        QString logLine;
    };
    const Case cases[] = {
        {"EmptyNumber",
         {pcIndividual(1, "a", "1"), pcIndividual(2, "b", ""), pcIndividual(3, "c", "3")},
         {group(false, "g", {1})},
         {"1:a/1||"},
         "initPCAdressBookTab: Individual - Invalid Phone Number"},
        {"UnterminatedName",
         {pcIndividual(1, "a", "1"), pcIndividual(2, kUnterminated, "2")},
         {},
         {"1:a/1||"},
         "initPCAdressBookTab: Individual - Invalid name"},
        {"EmptyGroupName",
         {pcIndividual(1, "a", "1")},
         {group(false, "", {1}), group(false, "g", {1})},
         {"1:a/1||"},
         "initPCAdressBookTab: Group - Invalid name"},
        {"UnterminatedNoteReadsEmpty",
         {pcIndividual(1, "a", "1", "Co", kUnterminated)},
         {},
         {"1:a/1|Co|"},
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        log.clear();
        setPCBook(c.individuals, c.groups);
        picker()->initPCAdressBookTab();
        EXPECT_EQ(texts(pcList()->arrangedObjects()), c.listed);
        EXPECT_EQ(texts(picker()->originalPCAddressList()), c.listed);
        EXPECT_EQ(log.lines(), c.logLine.isEmpty() ? QStringList{} : QStringList{c.logLine});
        EXPECT_EQ(library.liveHandles, 0);
    }
}

TEST_F(AddressBookControllerTest, PCTabFailuresLeaveItEmpty) {
    struct Case {
        const char* name;
        bool noFiles;
        bool noSelection;
        bool createFails;
        std::int32_t readStatus;
        QStringList calls;
        QStringList alerts;
    };
    const Case cases[] = {
        {"NoFile", true, false, false, 0, {}, {"Address Book file is none"}},
        {"NoSelection", false, true, false, 0, {}, {}},
        {"NoHandle", false, false, true, 0, {"createData"}, {}},
        {"ReadFails",
         false,
         false,
         false,
         0x20000101,
         {"createData", "readFile /books/a.vcf 0", "deleteData"},
         // An empty tab would pass for an empty book.
         {"Failed to retrieve data"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setSmallPCBook();
        picker()->initPCAdressBookTab();
        ASSERT_EQ(pcList()->count(), 4);
        kit::setValueForKey(picker(), "pcAddressSearchField", "zz");
        library.calls.clear();
        alertDriver.clear();
        if (c.noFiles) {
            files()->removeAllArrangedObjects();
        }
        if (c.noSelection) {
            files()->setAvoidsEmptySelection(false);
            files()->clearSelection();
        }
        library.createFails = c.createFails;
        library.readFileStatus = c.readStatus;

        picker()->initPCAdressBookTab();
        EXPECT_EQ(pcList()->count(), 0);
        EXPECT_EQ(picker()->pcAddressSearchField(), "");
        EXPECT_EQ(library.calls, c.calls);
        EXPECT_EQ(alertDriver.messages(), c.alerts);
        EXPECT_EQ(library.liveHandles, 0);
        // Only a read that got as far as the library replaces the unfiltered list.
        EXPECT_EQ(picker()->originalPCAddressList().size(), c.readStatus != 0 ? 0 : 4);

        library.createFails = false;
        library.readFileStatus = 0;
        files()->setAvoidsEmptySelection(true);
        files()->removeAllArrangedObjects();
        files()->addObject(kit::Dictionary::create({{"name", "a.vcf"}, {"path", "/books/a.vcf"}}));
        files()->setSelectionIndex(0);
    }
}

// ---- Search

TEST_F(AddressBookControllerTest, SearchShowsNamesContainingTheTextWithoutRegardToCase) {
    setSmallPCBook();
    picker()->initPCAdressBookTab();
    auto* field = pickerView<kit::TextField>("pcAddressSearchField");
    const struct {
        QString text;
        QStringList shown;
    } cases[] = {
        {"AN", {"Jonathan", "Anna"}},
        {"tea", {"Team"}},
        {"300", {}},
        {"", {"Team", "Peter", "Jonathan", "Anna"}},
        {"zzz", {}},
        {"e", {"Team", "Peter"}},
    };
    for (const auto& c : cases) {
        field->setStringValue(c.text);
        picker()->sortPCAddressData(field);
        QStringList shown;
        for (const kit::ObjectRef& entry : pcList()->arrangedObjects()) {
            shown << kit::valueForKey(entry.get(), "name").toString();
        }
        EXPECT_EQ(shown, c.shown) << c.text.toStdString();
        EXPECT_EQ(picker()->originalPCAddressList().size(), 4);
        // A search starts with nothing selected.
        pcList()->setSelectionIndexes({0, 1});
    }
    field->setStringValue("a");
    picker()->sortPCAddressData(field);
    EXPECT_THAT(pcList()->selectedObjects(), IsEmpty());
    EXPECT_FALSE(pickerEnabled("addPCAddressButton"));
}

// A load that fails before reading empties the tab but keeps the unfiltered list, which the next
// search shows again; a failed read empties both.
TEST_F(AddressBookControllerTest, SearchAfterAFailedLoadShowsTheUnfilteredList) {
    setSmallPCBook();
    picker()->initPCAdressBookTab();
    auto* field = pickerView<kit::TextField>("pcAddressSearchField");
    const auto shownAfterSearch = [&](const QString& text) {
        field->setStringValue(text);
        picker()->sortPCAddressData(field);
        QStringList shown;
        for (const kit::ObjectRef& entry : pcList()->arrangedObjects()) {
            shown << kit::valueForKey(entry.get(), "name").toString();
        }
        return shown;
    };
    EXPECT_THAT(shownAfterSearch("an"), ElementsAre("Jonathan", "Anna"));

    library.createFails = true;
    picker()->initPCAdressBookTab();
    EXPECT_EQ(pcList()->count(), 0);
    EXPECT_THAT(shownAfterSearch("e"), ElementsAre("Team", "Peter"));
    EXPECT_EQ(shownAfterSearch("").size(), 4);

    library.createFails = false;
    library.readFileStatus = 0x20000101;
    picker()->initPCAdressBookTab();
    EXPECT_THAT(shownAfterSearch(""), IsEmpty());
}

// ---- Loading the device tab

TEST_F(AddressBookControllerTest, DeviceTabOutcomesRowByRow) {
    const QString none = QStringLiteral("(none)");
    struct Case {
        const char* name;
        std::int32_t initialize;
        std::optional<QString> address;
        std::int32_t status;
        bool createFails;
        std::optional<QString> password;
        std::int32_t read;
        QStringList calls;
        QString informative; // empty: no alert
        QString logLine;
        int listed;
    };
    const QStringList readCalls{"initialize 0", "setDestinationDevice 0 1 192.0.2.7",
                                "deviceStatus 0 2048", "createData"};
    const Case cases[] = {
        {"Ready", 0, "192.0.2.7", 0x21000001, false, "1234", 0,
         readCalls + QStringList{"readDeviceData 0 23 \"1234\"", "deleteData"}, "", "", 3},
        {"Usb",
         0,
         "",
         0x21000001,
         false,
         "",
         0,
         {"initialize 0", "setDestinationDevice 0 0 (none)", "deviceStatus 0 2048", "createData",
          "readDeviceData 0 23 \"\"", "deleteData"},
         "",
         "",
         3},
        {"InitializeWrongPassword",
         0x20000003,
         "192.0.2.7",
         0,
         false,
         "1",
         0,
         {"initialize 0"},
         "Invalid Password",
         "",
         0},
        {"InitializeFails",
         0x2000FFFF,
         "192.0.2.7",
         0,
         false,
         "1",
         0,
         {"initialize 0"},
         "Failed to retrieve data",
         "",
         0},
        {"NoAddress",
         0,
         std::nullopt,
         0,
         false,
         "1",
         0,
         {"initialize 0"},
         "Failed to retrieve data",
         "initDeviceAddressTab - Device type cannot be resolved.",
         0},
        {"StatusZero", 0, "192.0.2.7", 0, false, "1", 0, readCalls.mid(0, 3), "", "", 0},
        {"StatusWrongPassword", 0, "192.0.2.7", 0x20000003, false, "1", 0, readCalls.mid(0, 3),
         "Invalid Password", "", 0},
        {"StatusBusy", 0, "192.0.2.7", 0x21000002, false, "1", 0, readCalls.mid(0, 3),
         "Failed to retrieve data", "", 0},
        {"NoHandle", 0, "192.0.2.7", 0x21000001, true, "1", 0, readCalls, "Failed to retrieve data",
         "", 0},
        {"NoPassword", 0, "192.0.2.7", 0x21000001, false, std::nullopt, 0,
         readCalls + QStringList{"deleteData"}, "Invalid Password", "", 0},
        {"ReadWrongPassword", 0, "192.0.2.7", 0x21000001, false, "9999", 0x20000003,
         readCalls + QStringList{"readDeviceData 0 23 \"9999\"", "deleteData"}, "Invalid Password",
         "", 0},
        {"ReadFails", 0, "192.0.2.7", 0x21000001, false, "1234", 0x21000005,
         readCalls + QStringList{"readDeviceData 0 23 \"1234\"", "deleteData"},
         "Failed to retrieve data", "", 0},
    };
    library.book[RecordKind::Fax] = {deviceIndividual(5, "Zoe", "555"),
                                     deviceIndividual(6, "adam", "666")};
    library.book[RecordKind::FaxGroup] = {group(true, "Both", {5, 6})};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        library.calls.clear();
        alertDriver.clear();
        log.clear();
        library.initializeStatus = c.initialize;
        library.statusAnswer = c.status;
        library.createFails = c.createFails;
        library.readDeviceStatus = c.read;
        picker()->setIPAddress(c.address);
        picker()->setPassword(c.password);

        picker()->initDeviceAddressTab();
        EXPECT_EQ(library.calls, c.calls);
        if (c.informative.isEmpty()) {
            EXPECT_THAT(alertDriver.alerts(), IsEmpty());
        } else {
            ASSERT_EQ(alertDriver.alerts().size(), 1);
            EXPECT_EQ(alertDriver.alerts()[0].messageText, "Device Access Failure");
            EXPECT_EQ(alertDriver.alerts()[0].informativeText, c.informative);
            EXPECT_THAT(alertDriver.alerts()[0].buttons, ElementsAre("OK"));
        }
        EXPECT_EQ(log.lines(), c.logLine.isEmpty() ? QStringList{} : QStringList{c.logLine});
        EXPECT_EQ(deviceList()->count(), c.listed);
        EXPECT_EQ(library.liveHandles, 0);
    }
}

TEST_F(AddressBookControllerTest, DeviceEntriesHaveNoCompanyAndABadNumberEndsTheReading) {
    library.book[RecordKind::Fax] = {deviceIndividual(5, "Zoe", "555"),
                                     deviceIndividual(6, "adam", "666")};
    library.book[RecordKind::FaxGroup] = {group(true, "Both", {5, 6})};
    picker()->initDeviceAddressTab();
    EXPECT_THAT(texts(deviceList()->arrangedObjects()),
                ElementsAre("5:Zoe/555", "Both/Group[5,6]", "6:adam/666"));

    library.book[RecordKind::Fax].push_back(deviceIndividual(7, "Carl", ""));
    picker()->initDeviceAddressTab();
    EXPECT_THAT(texts(deviceList()->arrangedObjects()), ElementsAre("5:Zoe/555", "6:adam/666"));
    EXPECT_THAT(log.lines(),
                ElementsAre("initDeviceAddressTab: Individual - Invalid phone number"));
    EXPECT_THAT(alertDriver.alerts(), IsEmpty());
}

// A count beyond what the record holds is cut to the record: 201 members on the device.
TEST_F(AddressBookControllerTest, AGroupCountBeyondItsRecordIsCutToTheRecord) {
    std::vector<std::uint16_t> members(201);
    for (std::size_t i = 0; i < members.size(); ++i) {
        members[i] = static_cast<std::uint16_t>(i + 1);
    }
    library.book[RecordKind::FaxGroup] = {group(true, "All", members, 60000)};
    picker()->initDeviceAddressTab();
    ASSERT_EQ(deviceList()->count(), 1);
    EXPECT_EQ(
        kit::valueForKey(deviceList()->arrangedObjectAt(0).get(), "userIDList").toList().size(),
        201);
}

// ---- Adding picked entries

TEST_F(AddressBookControllerTest, TheLimitCountsPickedEntriesBeforeDuplicatesAreSkipped) {
    setSmallPCBook();
    picker()->initPCAdressBookTab();
    struct Case {
        const char* name;
        int recipientsBefore;
        bool withDuplicate;
        QStringList picked;
        int recipientsAfter;
        QStringList alerts;
    };
    const Case cases[] = {
        {"GroupOfTwoAt28", 28, false, {"Team"}, 30, {}},
        {"GroupAndOneMoreAt28", 28, false, {"Team", "Jonathan"}, 28, {"No More Destination"}},
        {"TwoAt29WithADuplicate", 29, true, {"Anna", "Jonathan"}, 29, {"No More Destination"}},
        {"OneAt29", 29, false, {"Jonathan"}, 30, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        recipients()->removeAllArrangedObjects();
        addRecipientsNumbered(c.recipientsBefore - (c.withDuplicate ? 1 : 0));
        if (c.withDuplicate) {
            recipients()->addObject(makeRecipient("Anna", "100"));
        }
        alertDriver.clear();
        selectByName(pcList(), c.picked);
        picker()->addSelectedPCAddressData(nullptr);
        EXPECT_EQ(recipients()->count(), c.recipientsAfter);
        EXPECT_EQ(alertDriver.messages(), c.alerts);
    }
}

TEST_F(AddressBookControllerTest, OneDuplicateQuestionPerAddingAndBothAnswers) {
    setPCBook({pcIndividual(1, "Anna", "100", "Acme", "note"), pcIndividual(2, "Jonathan", "200"),
               pcIndividual(3, "Peter", "300")});
    picker()->initPCAdressBookTab();
    for (const QString answer : {"OK", "Cancel"}) {
        SCOPED_TRACE(answer.toStdString());
        recipients()->removeAllArrangedObjects();
        addRecipients({{"Anna", "100"}, {"Peter", "300"}, {"anna", "100"}, {"Jonathan", "201"}});
        alertDriver.clear();
        alertDriver.answer(answer);
        selectByName(pcList(), {"Anna", "Jonathan", "Peter"});
        picker()->addSelectedPCAddressData(nullptr);

        ASSERT_EQ(alertDriver.alerts().size(), 1);
        EXPECT_EQ(alertDriver.alerts()[0].messageText, "Duplicated Address Found");
        EXPECT_EQ(alertDriver.alerts()[0].informativeText, "Add the same address to destinations?");
        EXPECT_THAT(alertDriver.alerts()[0].buttons, ElementsAre("OK", "Cancel"));
        if (answer == "OK") {
            EXPECT_THAT(arrangedRecipients(),
                        ElementsAre("Peter/300", "Peter/300", "Jonathan/201", "Jonathan/200",
                                    "Anna/100", "anna/100", "Anna/100"));
        } else {
            EXPECT_THAT(arrangedRecipients(), ElementsAre("Peter/300", "Jonathan/201",
                                                          "Jonathan/200", "Anna/100", "anna/100"));
        }
    }
    // A recipient made from a PC entry carries the name and the number only.
    for (const kit::ObjectRef& recipient : recipients()->arrangedObjects()) {
        EXPECT_TRUE(kit::valueForKey(recipient.get(), "company").toString().isNull());
        EXPECT_TRUE(kit::valueForKey(recipient.get(), "note").toString().isNull());
    }
}

TEST_F(AddressBookControllerTest, GroupsExpandOverShownIndividualsInArrangedOrder) {
    const QString missingLine =
        QStringLiteral("Error. Some addresses not found in the address book.");
    struct Case {
        const char* name;
        std::vector<std::uint16_t> members;
        QString search;
        QStringList picked;
        QStringList added;
        int questions;
        bool logged;
    };
    const Case cases[] = {
        {"MembersInListOrder", {1, 3}, "", {"Team"}, {"Peter/300", "Anna/100"}, 0, false},
        {"UnknownIdentifier", {1, 99}, "", {"Team"}, {"Anna/100"}, 0, true},
        {"TwiceTheSameMember", {1, 1}, "", {"Team"}, {"Anna/100"}, 0, true},
        {"SearchHidesAMember", {1, 3}, "e", {"Team"}, {"Peter/300"}, 0, true},
        {"ANumberReadingGroupIsNoMember", {1, 4}, "", {"Team"}, {"Anna/100"}, 0, true},
        {"GroupAndItsMember",
         {1, 3},
         "",
         {"Team", "Anna"},
         {"Peter/300", "Anna/100", "Anna/100"},
         1,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setPCBook({pcIndividual(1, "Anna", "100"), pcIndividual(2, "Jonathan", "200"),
                   pcIndividual(3, "Peter", "300"), pcIndividual(4, "Gina", "Group")},
                  {group(false, "Team", c.members)});
        picker()->initPCAdressBookTab();
        auto* field = pickerView<kit::TextField>("pcAddressSearchField");
        field->setStringValue(c.search);
        picker()->sortPCAddressData(field);
        recipients()->removeAllArrangedObjects();
        alertDriver.clear();
        alertDriver.setDefaultAnswer("OK");
        log.clear();

        selectByName(pcList(), c.picked);
        picker()->addSelectedPCAddressData(nullptr);
        QStringList added = arrangedRecipients();
        QStringList expected = c.added;
        std::sort(added.begin(), added.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(added, expected);
        EXPECT_EQ(alertDriver.alerts().size(), c.questions);
        EXPECT_EQ(log.contains(missingLine), c.logged);
    }
}

// A double click adds the selection only when it hits a row.
// A list given objects rather than the rows a tab read finds the members by their "Id".
TEST_F(AddressBookControllerTest, GroupsExpandOverAListOfObjectsByTheirIdentifiers) {
    setPCBook({pcIndividual(1, "Anna", "100"), pcIndividual(2, "Jonathan", "200"),
               pcIndividual(3, "Peter", "300"), pcIndividual(4, "Gina", "Group")},
              {group(false, "Team", {1, 3, 4})});
    picker()->initPCAdressBookTab();
    deviceList()->setContent(pcList()->arrangedObjects());
    const kit::ObjectRef team = deviceList()->arrangedObjectAt(0);
    ASSERT_EQ(kit::valueForKey(team.get(), "name"), QVariant("Team"));
    EXPECT_THAT(texts(picker()->getAddressListFrom(team, deviceList())),
                ElementsAre("3:Peter/300||", "1:Anna/100||"));
    EXPECT_EQ(picker()->getAddressListFrom(team, deviceList()),
              picker()->getAddressListFrom(team, pcList()))
        << "the same objects as over the tab's own rows";
}

TEST_F(AddressBookControllerTest, DoubleClickOnTheHeaderOrBelowTheRowsAddsNothing) {
    setSmallPCBook();
    runPicker(0, [&](kit::Window*) {
        auto* table = pickerView<kit::TableView>("pcAddressTableView");
        QTableView* qtable = table->tableView();
        const QRect firstRow = qtable->visualRect(qtable->model()->index(0, 0));
        const QPoint belowRows(5, qtable->visualRect(qtable->model()->index(3, 0)).bottom() + 20);

        QTest::mouseDClick(qtable->horizontalHeader()->viewport(), Qt::LeftButton, {},
                           QPoint(5, 5));
        pcList()->setSelectionIndexes({1, 2});
        QTest::mouseDClick(qtable->viewport(), Qt::LeftButton, {}, belowRows);
        EXPECT_EQ(recipients()->count(), 0);

        QTest::mouseClick(qtable->viewport(), Qt::LeftButton, {}, firstRow.center());
        ASSERT_EQ(pcList()->selectionIndexes(), QList<int>{0});
        QTest::mouseDClick(qtable->viewport(), Qt::LeftButton, {}, firstRow.center());
        // The press selects the row hit (the group "Team"), and the group brings its members.
        EXPECT_THAT(arrangedRecipients(), ElementsAre("Peter/300", "Anna/100"));
        picker()->saveAddressSetting(nullptr);
    });
}

TEST_F(AddressBookControllerTest, ReturnAddsTheSelectedRowsDeleteRemovesTheSelectedRecipient) {
    setSmallPCBook();
    runPicker(0, [&](kit::Window*) {
        QTableView* entries = pickerView<kit::TableView>("pcAddressTableView")->tableView();
        QTableView* chosen = pickerView<kit::TableView>("destinationTableView")->tableView();
        selectByName(pcList(), {"Jonathan", "Peter"});
        QTest::keyClick(entries, Qt::Key_Return);
        EXPECT_THAT(arrangedRecipients(), ElementsAre("Peter/300", "Jonathan/200"));
        recipients()->setSelectionIndexes({0});
        QTest::keyClick(chosen, Qt::Key_Delete);
        EXPECT_THAT(arrangedRecipients(), ElementsAre("Jonathan/200"));
        picker()->saveAddressSetting(nullptr);
    });
}

// ---- Opening, tabs and closing

TEST_F(AddressBookControllerTest, OpeningLoadsTheRequestedTabExactlyOnce) {
    setSmallPCBook();
    const struct {
        int selectedBefore;
        int requested;
        int fileReads;
        int deviceReads;
    } cases[] = {{0, 0, 1, 0}, {0, 1, 0, 1}, {1, 1, 0, 1}, {1, 0, 1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(QString("%1 -> %2").arg(c.selectedBefore).arg(c.requested).toStdString());
        tabView()->setDelegate(nullptr);
        tabView()->selectItemAtIndex(c.selectedBefore);
        tabView()->setDelegate(picker());
        library.calls.clear();
        runPicker(c.requested, [&](kit::Window*) {
            EXPECT_EQ(tabView()->indexOfSelectedItem(), c.requested);
            picker()->saveAddressSetting(nullptr);
        });
        EXPECT_EQ(library.calls.filter("readFile").size(), c.fileReads);
        EXPECT_EQ(library.calls.filter("readDeviceData").size(), c.deviceReads);
    }
}

TEST_F(AddressBookControllerTest, SwitchingTabsReloadsAndClearsTheSearch) {
    setSmallPCBook();
    runPicker(0, [&](kit::Window*) {
        type(pickerView<kit::TextField>("pcAddressSearchField"), "an");
        EXPECT_EQ(picker()->pcAddressSearchField(), "an");
        EXPECT_EQ(pcList()->count(), 2);
        library.calls.clear();
        tabView()->selectItemAtIndex(1);
        tabView()->selectItemAtIndex(0);
        EXPECT_EQ(library.calls.filter("readDeviceData").size(), 1);
        EXPECT_EQ(library.calls.filter("readFile").size(), 1);
        EXPECT_EQ(picker()->pcAddressSearchField(), "");
        EXPECT_EQ(pickerView<kit::TextField>("pcAddressSearchField")->stringValue(), "");
        EXPECT_EQ(pcList()->count(), 4);
        picker()->saveAddressSetting(nullptr);
    });
}

// Cancel, and closing the window, put back exactly the recipient objects held at opening.
TEST_F(AddressBookControllerTest, DiscardRestoresTheSameObjectsAndKeepKeepsTheChanges) {
    setSmallPCBook();
    for (const char* close : {"keep", "discard", "close"}) {
        SCOPED_TRACE(close);
        recipients()->removeAllArrangedObjects();
        addRecipients({{"Old1", "1"}, {"Old2", "2"}});
        const QList<kit::ObjectRef> before = recipients()->arrangedObjects();
        runPicker(0, [&](kit::Window*) {
            selectByName(pcList(), {"Anna", "Jonathan", "Peter"});
            picker()->addSelectedPCAddressData(nullptr);
            recipients()->setSelectedObjects({before[0]});
            picker()->deleteAddressInfo(nullptr);
            EXPECT_EQ(recipients()->count(), 4);
            if (QString(close) == "keep") {
                picker()->saveAddressSetting(nullptr);
            } else if (QString(close) == "discard") {
                picker()->cancelAddressSetting(nullptr);
            } else {
                pickerPanel()->widget()->close();
            }
        });
        EXPECT_FALSE(pickerPanel()->isVisible());
        if (QString(close) == "keep") {
            EXPECT_THAT(arrangedRecipients(),
                        ElementsAre("Peter/300", "Old1/1", "Jonathan/200", "Anna/100"));
        } else {
            EXPECT_EQ(recipients()->arrangedObjects(), before);
        }
    }
}

TEST_F(AddressBookControllerTest, ButtonsFollowTheSelections) {
    setSmallPCBook();
    library.book[RecordKind::Fax] = {deviceIndividual(5, "Zoe", "555")};
    runPicker(0, [&](kit::Window*) {
        const struct {
            QList<int> selection;
            bool add;
            bool properties;
        } cases[] = {{{}, false, false}, {{0}, true, true}, {{0, 2}, true, false}};
        for (const auto& c : cases) {
            pcList()->setSelectionIndexes(c.selection);
            EXPECT_EQ(pickerEnabled("addPCAddressButton"), c.add);
            EXPECT_EQ(pickerEnabled("showPCAddressPropertyButton"), c.properties);
        }
        EXPECT_FALSE(pickerEnabled("removeDestinationButton"));
        addRecipients({{"a", "1"}});
        recipients()->setSelectionIndexes({0});
        EXPECT_TRUE(pickerEnabled("removeDestinationButton"));
        recipients()->setSelectionIndexes({});
        EXPECT_FALSE(pickerEnabled("removeDestinationButton"));

        tabView()->selectItemAtIndex(1);
        EXPECT_FALSE(pickerEnabled("addDeviceAddressButton"));
        deviceList()->setSelectionIndexes({0});
        EXPECT_TRUE(pickerEnabled("addDeviceAddressButton"));
        EXPECT_TRUE(pickerEnabled("showDeviceAddressPropertyButton"));
        picker()->saveAddressSetting(nullptr);
    });
}

// ---- Property panels

TEST_F(AddressBookControllerTest, PropertyPanelsShowTheEntryAndTheShownMembers) {
    setPCBook({pcIndividual(1, "anna", "100"), pcIndividual(2, "Bob", "200", "Acme", "n"),
               pcIndividual(3, "Carl", "300")},
              {group(false, "Team", {1, 2, 3})});
    library.book[RecordKind::Fax] = {deviceIndividual(5, "Zoe", "555")};
    auto fieldText = [&](kit::Panel* panel, const char* name) {
        return kit::View::of(panel->widget()->findChild<QWidget*>(name))
            ->property("stringValue")
            .toString();
    };
    QStringList members;
    QStringList device;
    modalDriver.enqueue([&](kit::Window*) {
        selectByName(pcList(), {"Team"});
        modalDriver.enqueue([&](kit::Window* window) {
            EXPECT_EQ(window, picker()->groupPropertyPanel());
            EXPECT_EQ(fieldText(picker()->groupPropertyPanel(), "groupPropertyNameField"), "Team");
            members = texts(picker()->groupMemberList()->arrangedObjects());
            picker()->closeGroupProperty(nullptr);
        });
        picker()->showPCAddressProperty(nullptr);

        auto* field = pickerView<kit::TextField>("pcAddressSearchField");
        field->setStringValue("a");
        picker()->sortPCAddressData(field);
        selectByName(pcList(), {"Team"});
        modalDriver.enqueue([&](kit::Window*) {
            members << texts(picker()->groupMemberList()->arrangedObjects());
            picker()->closeGroupProperty(nullptr);
        });
        picker()->showPCAddressProperty(nullptr);

        tabView()->selectItemAtIndex(1);
        deviceList()->setSelectionIndexes({0});
        picker()->userPropertyDictionary()->setValue("company", "stale");
        modalDriver.enqueue([&](kit::Window* window) {
            EXPECT_EQ(window, picker()->userPropertyPanel());
            kit::Panel* panel = picker()->userPropertyPanel();
            device << fieldText(panel, "userPropertyNameField")
                   << fieldText(panel, "userPropertyPhoneNumberField")
                   << fieldText(panel, "userPropertyCompanyField")
                   << fieldText(panel, "userPropertyNoteField");
            picker()->closeUserProperty(nullptr);
        });
        picker()->showDevicePCAddressProperty(nullptr);
        picker()->saveAddressSetting(nullptr);
    });
    picker()->createDialogWithTabSelection(0);

    EXPECT_THAT(members, ElementsAre("Carl/300", "Bob/200", "anna/100", "Carl/300", "anna/100"));
    EXPECT_THAT(device, ElementsAre("Zoe", "555", "", ""));
}

// ---- The bundle: German messages and the help page

TEST_F(AddressBookControllerTest, MessagesComeFromTheBundleAndHelpOpensRecipients) {
    std::shared_ptr<kit::Bundle> bundle =
        kit::Bundle::open(QStringLiteral(VEXTEL_PLUGIN_DIR "/VextelPDE.plugin"));
    ASSERT_NE(bundle, nullptr);
    picker()->setBundle(bundle);
    files()->removeAllArrangedObjects();
    kit::Bundle::setPreferredLanguagesForTesting({"de"});
    picker()->initPCAdressBookTab();
    kit::Bundle::setPreferredLanguagesForTesting({});
    EXPECT_THAT(alertDriver.messages(), ElementsAre("Keine Adressbuchdatei vorhanden"));

    help::ViewerRecorder viewer;
    RegisterHelpBook(bundle);
    picker()->showHelpBook(nullptr);
    ASSERT_FALSE(viewer.openedUrls().isEmpty());
    EXPECT_TRUE(viewer.openedUrls().last().path().endsWith("/Recipients.htm"))
        << viewer.openedUrls().last().toString().toStdString();
}

} // namespace
} // namespace tarvik_pde_m40vextel::testing

#include "moc_FaxSettingDialogFixture.cpp"
