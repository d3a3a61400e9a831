#include "FaxSettingDialogFixture.h"
#include "common/UtilityService.h"
#include "kit/OpenPanelDriver.h"
#include "kit/PopUpButton.h"

#include <QDateTime>
#include <cstring>

namespace tarvik_pde_m40vextel::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class FaxSettingAddressFilesTest : public FaxSettingDialogTest {
protected:
    kit::ArrayController* files() const { return controller()->addressFileList(); }
    AddressBookController* picker() const {
        return qobject_cast<AddressBookController*>(controller()->addressBookController());
    }
    QStringList fileTexts() const {
        QStringList lines;
        for (const kit::ObjectRef& file : files()->arrangedObjects()) {
            lines << kit::valueForKey(file.get(), "name").toString() + "=" +
                         kit::valueForKey(file.get(), "path").toString();
        }
        return lines;
    }
    // Opens the dialog (which fills the file list) and runs the step inside it.
    void runDialogThenStop(const std::function<void()>& step) {
        runDialog([&, step](kit::Window*) {
            step();
            controller()->stopSending(nullptr);
        });
    }
    void sandbox() {
        kit::Environment::resetCachesForTesting();
        sandboxHome.emplace(QStringLiteral("/home/tester/Library/Containers/app/Data"));
        ASSERT_TRUE(UtilityService::isSandboxed());
    }

    kit::OpenPanelDriver openPanels;
    kit::OpenPanelDriverScope openPanelScope{openPanels};
    std::optional<kit::Environment::HomeDirectoryOverride> sandboxHome;
};

// ---- Filling the list at every opening

TEST_F(FaxSettingAddressFilesTest, TheListComesFromTheLibraryAtEveryOpening) {
    struct Case {
        const char* name;
        std::optional<QString> directory;
        std::optional<QString> names;
        QStringList listed;
        bool available;
    };
    const Case cases[] = {
        {"TwoFiles",
         "/books",
         QString("a.vcf") + QChar(0) + "b c.vcf" + QChar(0),
         {"a.vcf=/books/a.vcf", "b c.vcf=/books/b c.vcf"},
         true},
        {"EmptyPiecesSkipped",
         "/books",
         QString(QChar(0)) + "x.vcf" + QChar(0) + QChar(0),
         {"x.vcf=/books/x.vcf"},
         true},
        {"EmptyList", "/books", QString(""), {}, false},
        {"NoList", "/books", std::nullopt, {}, false},
        {"NoFolder", std::nullopt, QString("a.vcf"), {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        library.directory = c.directory;
        library.names = c.names;
        recipients()->removeAllArrangedObjects();
        addRecipients({{"a", "1"}});
        runDialogThenStop([&] {
            EXPECT_EQ(fileTexts(), c.listed);
            EXPECT_EQ(controller()->isAddressFileAvailable(), c.available);
            if (!c.listed.isEmpty()) {
                EXPECT_EQ(files()->selectionIndex(), 0);
                EXPECT_EQ(view<kit::View>("addressBookFilePopUp")->property("indexOfSelectedItem"),
                          0);
            }
            recipients()->setSelectionIndexes({0});
            EXPECT_EQ(isEnabled("addToAddressBookButton"), c.available);
        });
    }
}

TEST_F(FaxSettingAddressFilesTest, ASandboxedHostListsNothingButCanAddAfterChoosing) {
    sandbox();
    library.directory = "/books";
    library.names = QString("a.vcf") + QChar(0);
    addRecipients({{"a", "1"}});
    alertDriver.setDefaultAnswer("OK");
    runDialogThenStop([&] {
        EXPECT_THAT(fileTexts(), IsEmpty());
        EXPECT_TRUE(controller()->isAddressFileAvailable());
        recipients()->setSelectionIndexes({0});
        controller()->addToAddressBook(nullptr);
    });
    EXPECT_THAT(alertDriver.messages(), ElementsAre("Cannot add to the file."));
    EXPECT_THAT(library.calls.filter("add"), IsEmpty());
}

TEST_F(FaxSettingAddressFilesTest, ThePopupChoosesTheFile) {
    library.directory = "/books";
    library.names = QString("a.vcf") + QChar(0) + "b.vcf" + QChar(0);
    runDialogThenStop([&] {
        auto* popup = view<kit::PopUpButton>("addressBookFilePopUp");
        popup->selectItemAtIndex(1);
        controller()->selectAddressBook(popup);
        EXPECT_EQ(files()->selectionIndex(), 1);
    });
}

// ---- Adding to a file

TEST_F(FaxSettingAddressFilesTest, AddingWritesAllRecordsOrNone) {
    const QString longName(33, QChar('n'));
    struct Case {
        const char* name;
        QList<QPair<QString, QString>> selected;
        std::int32_t addMyFaxStatus;
        std::int32_t addFileStatus;
        QStringList calls;
        QString message;
    };
    const QStringList allCalls{"createData", "addMyFax 3", "addFile /books/a.vcf 0", "deleteData"};
    const Case cases[] = {
        {"Added",
         {{"Zed", "1"}, {"Max", "2"}, {"Al", "3"}},
         0,
         0,
         allCalls,
         "Added to Address Book."},
        {"TheSameRecipientTwiceIsAddedOnce",
         {{"Zed", "1"}, {"Al", "3"}, {"Zed", "1"}},
         0,
         0,
         {"createData", "addMyFax 2", "addFile /books/a.vcf 0", "deleteData"},
         "Added to Address Book."},
        {"AlreadyInTheFile",
         {{"Zed", "1"}, {"Max", "2"}, {"Al", "3"}},
         0,
         0x20000010,
         allCalls,
         "Address already exists."},
        {"FileFails",
         {{"Zed", "1"}, {"Max", "2"}, {"Al", "3"}},
         0,
         0x20000105,
         allCalls,
         "Cannot add to the file."},
        {"HandleRefusesRecords",
         {{"Zed", "1"}, {"Max", "2"}, {"Al", "3"}},
         0x20000006,
         0,
         {"createData", "addMyFax 3", "deleteData"},
         "Cannot add to the file."},
        {"EmptyNameInTheMiddle",
         {{"Zed", "1"}, {"", "2"}, {"Al", "3"}},
         0,
         0,
         {"createData", "deleteData"},
         "No name specified."},
        {"NameTooLong",
         {{"Zed", "1"}, {longName, "2"}},
         0,
         0,
         {"createData", "deleteData"},
         "Cannot add to the file."},
        {"NumberTooLong",
         {{"Zed", QString(51, QChar('1'))}},
         0,
         0,
         {"createData", "deleteData"},
         "Cannot add to the file."},
        {"LoneSurrogate",
         {{QString(QChar(0xD800)), "1"}},
         0,
         0,
         {"createData", "deleteData"},
         "Cannot add to the file."},
    };
    library.directory = "/books";
    library.names = QString("a.vcf") + QChar(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        library.calls.clear();
        library.added.clear();
        library.addMyFaxStatus = c.addMyFaxStatus;
        library.addFileStatus = c.addFileStatus;
        alertDriver.clear();
        alertDriver.answer("OK");
        recipients()->removeAllArrangedObjects();
        addRecipients(c.selected);
        addRecipients({{"not selected", "9"}});
        runDialogThenStop([&] {
            library.calls.clear();
            QList<kit::ObjectRef> selected = recipients()->arrangedObjects();
            selected.removeIf([](const kit::ObjectRef& r) {
                return kit::valueForKey(r.get(), "name") == "not selected";
            });
            recipients()->setSelectedObjects(selected);
            controller()->addToAddressBook(nullptr);
        });
        EXPECT_EQ(library.calls, c.calls);
        EXPECT_EQ(library.liveHandles, 0);
        ASSERT_EQ(alertDriver.alerts().size(), 1);
        EXPECT_EQ(alertDriver.alerts()[0].messageText, c.message);
        EXPECT_THAT(alertDriver.alerts()[0].buttons, ElementsAre("OK"));
    }
}

TEST_F(FaxSettingAddressFilesTest, RecordsAre960BytesWithNameNumberAndTime) {
    kit::Environment::ClockOverride clock(QDateTime::fromSecsSinceEpoch(1'800'000'000));
    library.directory = "/books";
    library.names = QString("a.vcf") + QChar(0);
    addRecipients({{"Beta", "0123-45#*"}, {"alpha", "9"}});
    alertDriver.answer("OK");
    runDialogThenStop([&] {
        recipients()->setSelectionIndexes({0, 1});
        controller()->addToAddressBook(nullptr);
    });
    ASSERT_EQ(library.added.size(), 2u);
    const QList<QPair<QString, QString>> expected{{"Beta", "0123-45#*"}, {"alpha", "9"}};
    for (std::size_t i = 0; i < 2; ++i) {
        const Record& record = library.added[i];
        EXPECT_EQ(records::readText(record.data(), records::kMyFaxName), expected[int(i)].first);
        EXPECT_EQ(records::readText(record.data(), records::kMyFaxNumber), expected[int(i)].second);
        std::int64_t stamp = 0;
        std::memcpy(&stamp, record.data() + records::kMyFaxTimeStampOffset, sizeof stamp);
        EXPECT_EQ(stamp, 1'800'000'000);
        // Everything else stays zero: identifier, company, note and the rest.
        Record rest = record;
        std::memset(rest.data() + records::kMyFaxName.offset, 0, records::kMyFaxName.size);
        std::memset(rest.data() + records::kMyFaxNumber.offset, 0, records::kMyFaxNumber.size);
        std::memset(rest.data() + records::kMyFaxTimeStampOffset, 0, 8);
        EXPECT_EQ(rest, Record(records::kMyFaxSize, 0));
    }
}

// ---- Looking up

TEST_F(FaxSettingAddressFilesTest, OpenPanelStartsInTheFirstFourAndLastThreeComponents) {
    const struct {
        QString folder;
        std::optional<QString> start;
    } cases[] = {
        {"/a/b/c/d/e/f/g/h", "/a/b/c/f/g/h"},
        {"/a/b/c/d/e/f", "/a/b/c/d/e/f"},
        {"/a/b/c/d/e", std::nullopt},
        {"", std::nullopt},
        {"/Users/u/Library/Containers/app.id/Data/Library/Books",
         "/Users/u/Library/Data/Library/Books"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FaxSettingController::openPanelDirectory(c.folder), c.start)
            << c.folder.toStdString();
    }
}

TEST_F(FaxSettingAddressFilesTest, ASandboxedLookUpAsksForFilesBeforeThePickerOpens) {
    sandbox();
    struct Case {
        const char* name;
        QString folder;
        std::optional<QStringList> chosen; // none: cancelled
        bool panelShown;
        bool pickerOpened;
        QStringList listed;
    };
    const Case cases[] = {
        {"Chosen",
         "/a/b/c/d/e/f/g/h",
         QStringList{"/x/one.vcf", "/y/two.vcf"},
         true,
         true,
         {"one.vcf=/x/one.vcf", "two.vcf=/y/two.vcf"}},
        {"Cancelled", "/a/b/c/d/e/f/g/h", std::nullopt, true, false, {}},
        {"ShortFolder", "/a/b/c/d/e", std::nullopt, false, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        library.directory = c.folder;
        const qsizetype panelsBefore = openPanels.requests().size();
        if (c.chosen) {
            openPanels.choose(*c.chosen);
        } else if (c.panelShown) {
            openPanels.cancel();
        }
        bool opened = false;
        alertDriver.setDefaultAnswer("OK");
        runDialogThenStop([&] {
            if (c.pickerOpened) {
                modalDriver.enqueue([&](kit::Window* window) {
                    opened = window == picker()->addressBookSettingPanel();
                    picker()->saveAddressSetting(nullptr);
                });
            }
            controller()->lookupAddressBook(nullptr);
            EXPECT_EQ(fileTexts(), c.listed);
            if (!c.listed.isEmpty()) {
                EXPECT_EQ(files()->selectionIndex(), 0);
            }
        });
        EXPECT_EQ(opened, c.pickerOpened);
        ASSERT_EQ(openPanels.requests().size() - panelsBefore, c.panelShown ? 1 : 0);
        if (c.panelShown) {
            const kit::OpenPanelRequest& request = openPanels.requests().last();
            EXPECT_EQ(request.directory, "/a/b/c/f/g/h");
            EXPECT_TRUE(request.canChooseFiles);
            EXPECT_FALSE(request.canChooseDirectories);
            EXPECT_TRUE(request.allowsMultipleSelection);
            EXPECT_TRUE(request.usesDesktopChooser);
        }
    }
}

// The picker gets the dialog's values, the password exactly as typed.
TEST_F(FaxSettingAddressFilesTest, LookUpsHandThePickerTheDialogsValuesAndTheirTab) {
    controller()->setIPAddress(QStringLiteral("192.0.2.9"));
    library.directory = "/books";
    library.names = QString("a.vcf") + QChar(0);
    for (int tab : {0, 1}) {
        SCOPED_TRACE(tab);
        int shownTab = -1;
        runDialogThenStop([&] {
            type(controller()->passwordTextField(), "0042");
            modalDriver.enqueue([&](kit::Window*) {
                shownTab = qobject_cast<AddressBookView*>(
                               picker()->addressBookSettingPanel()->contentView())
                               ->selectedTabIndex();
                picker()->saveAddressSetting(nullptr);
            });
            if (tab == 0) {
                controller()->lookupAddressBook(nullptr);
            } else {
                controller()->lookupDeviceData(nullptr);
            }
        });
        EXPECT_EQ(shownTab, tab);
        EXPECT_EQ(picker()->printerAddress(), "192.0.2.9");
        EXPECT_EQ(picker()->password(), "0042");
        EXPECT_EQ(picker()->bundle(), controller()->bundle());
    }
    EXPECT_TRUE(library.calls.contains("readDeviceData 0 23 \"0042\""));
}

TEST_F(FaxSettingAddressFilesTest, SandboxRuleCountsContainersFlatpakAndSnap) {
    const struct {
        const char* home;
        bool flatpak;
        bool snap;
        bool sandboxed;
    } cases[] = {
        {"/home/u", false, false, false},
        {"/Users/u/Library/Containers/id/Data", false, false, true},
        {"/home/u", true, false, true},
        {"/home/u", false, true, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UtilityService::isSandboxedHost(c.home, c.flatpak, c.snap), c.sandboxed)
            << c.home << c.flatpak << c.snap;
    }
}

} // namespace
} // namespace tarvik_pde_m40vextel::testing

#include "moc_FaxSettingDialogFixture.cpp"
