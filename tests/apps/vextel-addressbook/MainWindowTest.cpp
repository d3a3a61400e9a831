#include "MainWindow.h"

#include "BookDocument.h"
#include "BookTestSupport.h"
#include "ContactDialog.h"
#include "CsvImportDialog.h"
#include "FakeServices.h"
#include "GroupDialog.h"
#include "support/EnvironmentScope.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace vextel_addressbook;
using test::FakePrinter;
using test::FolderStore;

bool waitFor(const std::function<bool()>& condition, int milliseconds = 5000) {
    QDeadlineTimer deadline(milliseconds);
    while (!condition() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return condition();
}

QStringList column(const QTableView* view, int column) {
    QStringList values;
    for (int row = 0; row < view->model()->rowCount(); ++row) {
        values.append(view->model()->index(row, column).data().toString());
    }
    return values;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        store.write(folder.filePath("Office.vcf"),
                    test::book({"Ann 0301", "bob 0502", "Cy 0403"}, {"Team:Ann,Cy"}), &error);
        printer.book = test::book({"Pia 111", "Quinn 222", "Rae 333"}, {"Sales:Pia,Rae"});
        window = std::make_unique<MainWindow>(store, printer);
        window->setNotice([this](const QString& text) { notices.append(text); });
        window->setPasswordPrompt([this] { return password; });
        window->setQuestion([this](const QString& text, QMessageBox::StandardButtons) {
            questions.append(text);
            return answer;
        });
        window->show();
    }

    void readPrinter() {
        window->setPrinter({PrinterConnection::Kind::Network, "127.0.0.1"});
        window->selectBook(MainWindow::printerKey());
        window->readPrinterBook();
        ASSERT_TRUE(waitFor([this] { return !window->isPrinterBusy(); }));
        QCoreApplication::processEvents();
    }

    QString path(const char* name) const { return folder.filePath(QLatin1String(name)); }
    QAction* action(const char* name) const {
        return window->findChild<QAction*>(QLatin1String(name));
    }

    QTemporaryDir folder;
    // The desktop's folders (the trash among them) are the test's own; the data folder is not
    // made yet, as on a fresh account.
    QTemporaryDir home;
    vextel_test::EnvironmentScope homeScope{"HOME", QFile::encodeName(home.path())};
    vextel_test::EnvironmentScope dataScope{"XDG_DATA_HOME",
                                            QFile::encodeName(home.filePath("data"))};
    FolderStore store{folder.path()};
    FakePrinter printer;
    std::unique_ptr<MainWindow> window;
    QStringList notices;
    QStringList questions;
    std::optional<QString> password = QStringLiteral("1234");
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
    QString error;
};

// ---- PC books

TEST_F(MainWindowTest, BooksAreMadeRenamedAndDeletedAsFiles) {
    EXPECT_EQ(window->currentKey(), path("Office.vcf"));
    ASSERT_TRUE(window->newBook("Customers"));
    EXPECT_TRUE(QFileInfo::exists(path("Customers.vcf")));
    EXPECT_EQ(window->currentKey(), path("Customers.vcf"));
    EXPECT_FALSE(window->newBook("Office"));
    EXPECT_FALSE(window->newBook("../escape"));
    EXPECT_FALSE(window->newBook(".hidden"));
    EXPECT_EQ(notices.size(), 3);

    ASSERT_TRUE(window->renameCurrentBook("Clients"));
    EXPECT_FALSE(QFileInfo::exists(path("Customers.vcf")));
    EXPECT_EQ(window->currentKey(), path("Clients.vcf"));

    answer = QMessageBox::Cancel;
    EXPECT_FALSE(window->deleteCurrentBook());
    EXPECT_TRUE(QFileInfo::exists(path("Clients.vcf")));
    answer = QMessageBox::Yes;
    ASSERT_TRUE(window->deleteCurrentBook());
    EXPECT_FALSE(QFileInfo::exists(path("Clients.vcf")));
    // In the user's trash, not in the folder the program runs in.
    EXPECT_TRUE(QFileInfo::exists(home.filePath("data/Trash/files/Clients.vcf")));
    EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath("files/Clients.vcf")));
    EXPECT_EQ(questions.size(), 2);
    EXPECT_TRUE(questions.last().contains("“Clients”")) << questions.last().toStdString();
    EXPECT_EQ(store.bookPaths(), QStringList({path("Office.vcf")}));
}

TEST_F(MainWindowTest, TablesSearchSortAndUndoThroughTheWindowsActions) {
    QTableView* entries = window->contactTable();
    EXPECT_EQ(column(entries, 0), QStringList({"Ann", "bob", "Cy"})); // case-insensitive
    window->sortBy(false, 1, Qt::DescendingOrder);
    EXPECT_EQ(column(entries, 1), QStringList({"0502", "0403", "0301"}));
    window->setSearchText("04");
    EXPECT_EQ(column(entries, 0), QStringList({"Cy"}));
    window->setSearchText("team");
    EXPECT_EQ(column(window->groupTable(), 0), QStringList({"Team"}));
    window->setSearchText({});

    window->selectRows(false, {0, 1}); // bob, Cy as sorted
    action("delete")->trigger();
    EXPECT_EQ(column(entries, 0), QStringList({"Ann"}));
    EXPECT_EQ(column(window->groupTable(), 2), QStringList({"Ann"}));
    EXPECT_TRUE(action("save")->isEnabled());
    EXPECT_TRUE(window->windowTitle().startsWith("Office *"))
        << window->windowTitle().toStdString();
    action("undo")->trigger();
    EXPECT_EQ(column(entries, 1), QStringList({"0502", "0403", "0301"}));
    EXPECT_EQ(column(window->groupTable(), 2), QStringList({"Ann, Cy"}));
    action("redo")->trigger();
    ASSERT_TRUE(window->saveCurrentBook());
    EXPECT_FALSE(action("save")->isEnabled());
    EXPECT_EQ(test::render(*store.read(path("Office.vcf"), &error)), "Ann 0301 || Team[Ann]");
}

TEST_F(MainWindowTest, AFileChangedByAnotherProgramIsMergedNotOverwritten) {
    BookDocument* doc = window->document(path("Office.vcf"));
    ASSERT_TRUE(doc->addContact(Contact{{}, "Dee", "0604", {}, {}, -1}, &error));
    BookContents theirs = *store.read(path("Office.vcf"), &error);
    theirs.contacts.append(Contact{"u-Eve", "Eve", "0705", {}, {}, -1});
    theirs.contacts.removeAt(1); // bob
    ASSERT_TRUE(store.write(path("Office.vcf"), theirs, &error));
    ASSERT_TRUE(waitFor([&] { return test::render(doc->contents()).contains("Eve"); }))
        << test::render(doc->contents()).toStdString();
    EXPECT_EQ(test::render(doc->contents()),
              "Ann 0301 | Cy 0403 | Eve 0705 | Dee 0604 || Team[Ann,Cy]");
    EXPECT_TRUE(doc->isModified());
    ASSERT_TRUE(window->saveCurrentBook());
    EXPECT_EQ(test::render(*store.read(path("Office.vcf"), &error)),
              "Ann 0301 | Cy 0403 | Eve 0705 | Dee 0604 || Team[Ann,Cy]");
    // The window's own save is not taken for a change by another program.
    QTest::qWait(300);
    EXPECT_FALSE(doc->isModified());
}

TEST_F(MainWindowTest, ASaveKeepsAnotherProgramsFieldsAndNamesTheEntryWhoseFieldBothChanged) {
    BookDocument* doc = window->document(path("Office.vcf"));
    Contact ann = doc->contents().contacts.at(0);
    ann.note = QStringLiteral("mine");
    ASSERT_TRUE(doc->editContact(0, ann, &error));
    BookContents theirs = *store.read(path("Office.vcf"), &error);
    theirs.contacts[0].company = QStringLiteral("Acme");
    theirs.contacts[0].note = QStringLiteral("theirs");
    theirs.contacts[2].note = QStringLiteral("call first"); // Cy
    ASSERT_TRUE(store.write(path("Office.vcf"), theirs, &error));
    // Saved before the window hears of the change: the save itself merges.
    ASSERT_TRUE(window->saveCurrentBook());
    EXPECT_EQ(test::render(*store.read(path("Office.vcf"), &error)),
              "Ann 0301 (Acme/mine) | bob 0502 | Cy 0403 (/call first) || Team[Ann,Cy]");
    EXPECT_EQ(test::render(doc->contents()), test::render(*store.read(path("Office.vcf"), &error)));
    const QString status = window->findChild<QLabel*>(QStringLiteral("state"))->text();
    EXPECT_TRUE(status.contains("Both changed the same field of Ann: yours is kept"))
        << status.toStdString();
    EXPECT_FALSE(doc->isModified());
}

TEST_F(MainWindowTest, ClosingWithUnsavedChangesAsksAndCancelKeepsTheWindow) {
    BookDocument* doc = window->document(path("Office.vcf"));
    ASSERT_TRUE(doc->addContact(Contact{{}, "Dee", "0604", {}, {}, -1}, &error));
    answer = QMessageBox::Cancel;
    EXPECT_FALSE(window->close());
    ASSERT_EQ(questions.size(), 1);
    EXPECT_EQ(questions.first(), "Save the changes to “Office” before closing?");
    answer = QMessageBox::Save;
    EXPECT_TRUE(window->close());
    EXPECT_EQ(store.read(path("Office.vcf"), &error)->contacts.size(), 4);
}

TEST_F(MainWindowTest, CsvImportAndExportGoThroughTheCurrentBook) {
    QFile csv(path("in.csv"));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("Fax;Name;Groups\n0801;Fay;Crew\n+1;Bad;\n0802;Gus;Crew\n");
    csv.close();
    CsvMapping mapping = CsvMapping::guess({{"Fax", "Name", "Groups"}});
    ASSERT_TRUE(window->importFile(path("in.csv"), mapping));
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices.first().contains("Bad +1: Fax number")) << notices.first().toStdString();
    BookDocument* doc = window->document(path("Office.vcf"));
    EXPECT_EQ(
        test::render(doc->contents()),
        "Ann 0301 | bob 0502 | Cy 0403 | Fay 0801 | Gus 0802 || Team[Ann,Cy] | Crew[Fay,Gus]");
    ASSERT_TRUE(window->exportCurrentBook(path("out.csv")));
    QFile out(path("out.csv"));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll().split('\n').at(4), "Fay,0801,,,Crew\r");
}

// ---- The printer's book

TEST_F(MainWindowTest, ThePrintersBookIsReadOffTheMainThreadAndShownReadOnly) {
    password = QStringLiteral("9999");
    readPrinter();
    ASSERT_EQ(notices.size(), 1);
    EXPECT_EQ(notices.first(), "The printer refused the password.");
    EXPECT_EQ(column(window->contactTable(), 0), QStringList());

    password = std::nullopt; // the user cancels the password dialog: nothing is asked
    window->readPrinterBook();
    EXPECT_FALSE(window->isPrinterBusy());

    password = QStringLiteral("1234");
    readPrinter();
    EXPECT_EQ(column(window->contactTable(), 0), QStringList({"Pia", "Quinn", "Rae"}));
    EXPECT_EQ(column(window->groupTable(), 2), QStringList({"Pia, Rae"}));
    for (const char* name : {"newEntry", "newGroup", "delete", "edit", "import", "save"}) {
        EXPECT_FALSE(action(name)->isEnabled()) << name;
    }
    EXPECT_TRUE(window->windowTitle().startsWith("Printer 127.0.0.1"));
}

TEST_F(MainWindowTest, AGroupIsCopiedFromThePrinterIntoANewBookWithItsMembers) {
    readPrinter();
    window->selectRows(true, {0});
    ASSERT_TRUE(window->newBook("From printer"));
    ASSERT_TRUE(window->selectBook(MainWindow::printerKey()));
    window->selectRows(true, {0});
    ASSERT_TRUE(window->copySelectionTo(path("From printer.vcf")));
    ASSERT_TRUE(window->selectBook(path("From printer.vcf")));
    ASSERT_TRUE(window->saveCurrentBook());
    EXPECT_EQ(test::render(*store.read(path("From printer.vcf"), &error)),
              "Pia 111 | Rae 333 || Sales[Pia,Rae]");
}

TEST_F(MainWindowTest, EntriesGoToThePrinterUnlessItsBookChangedSinceTheRead) {
    readPrinter();
    ASSERT_TRUE(window->selectBook(path("Office.vcf")));
    window->selectRows(true, {0}); // Team: Ann, Cy
    ASSERT_TRUE(window->copySelectionTo(MainWindow::printerKey()));
    ASSERT_TRUE(waitFor([this] { return !window->isPrinterBusy(); }));
    EXPECT_EQ(
        test::render(printer.book),
        "Pia 111 | Quinn 222 | Rae 333 | Ann 0301 | Cy 0403 || Sales[Pia,Rae] | Team[Ann,Cy]");
    EXPECT_EQ(test::render(window->printerBook()), test::render(printer.book));
    EXPECT_TRUE(notices.isEmpty()) << notices.join('\n').toStdString();

    printer.changeBehindTheEditor(test::book({"Zoe 999"}));
    window->selectRows(false, {1}); // bob
    ASSERT_TRUE(window->copySelectionTo(MainWindow::printerKey()));
    ASSERT_TRUE(waitFor([this] { return !window->isPrinterBusy(); }));
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices.first().contains("changed by someone else"))
        << notices.first().toStdString();
    EXPECT_EQ(test::render(printer.book), "Zoe 999 || ");
    EXPECT_EQ(test::render(window->printerBook()), "Zoe 999 || ");
    for (const QString& used : printer.passwords) {
        EXPECT_EQ(used, "1234");
    }
}

TEST_F(MainWindowTest, ASecondStartHandsItsPrinterToTheWindow) {
    window->takeHandOff("NET 192.0.2.7");
    ASSERT_TRUE(window->printer());
    EXPECT_EQ(window->printer()->address, "192.0.2.7");
    EXPECT_EQ(window->currentKey(), MainWindow::printerKey());
    window->takeHandOff("garbage");
    EXPECT_EQ(window->printer()->address, "192.0.2.7");
}

// ---- Dialogs

TEST(EditorDialogTest, FieldsRefuseWhatTheRulesRefuseAndOkWaitsForAValidEntry) {
    ContactDialog dialog(Contact{});
    QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    EXPECT_FALSE(ok->isEnabled());
    QTest::keyClicks(dialog.field(EntryRules::Field::Name), "Ann Lee");
    QTest::keyClicks(dialog.field(EntryRules::Field::Fax), "03 (12)+34-5");
    EXPECT_EQ(dialog.field(EntryRules::Field::Fax)->text(), "031234-5");
    EXPECT_TRUE(ok->isEnabled());
    QTest::keyClicks(dialog.field(EntryRules::Field::Name), QString(40, 'x'));
    EXPECT_EQ(dialog.field(EntryRules::Field::Name)->text().size(), 32);
    EXPECT_EQ(dialog.contact().fax, "031234-5");
}

TEST(EditorDialogTest, TheGroupDialogCountsMembersAgainstTheLimit) {
    QStringList entries;
    for (int i = 0; i < 32; ++i) {
        entries.append(QStringLiteral("P%1 %1").arg(i));
    }
    GroupDialog dialog(Group{}, test::book(entries));
    QTest::keyClicks(dialog.nameField(), "All");
    QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    for (int i = 0; i < 31; ++i) {
        dialog.memberList()->item(i)->setCheckState(Qt::Checked);
    }
    EXPECT_TRUE(ok->isEnabled());
    dialog.memberList()->item(31)->setCheckState(Qt::Checked);
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_TRUE(ok->toolTip().contains("at most 31")) << ok->toolTip().toStdString();
}

TEST(EditorDialogTest, TheCsvPreviewPromisesTheGroupTheImportMakesWithoutARefusedMember) {
    const QList<QStringList> rows{
        {"Good One", "0123", "Team"}, {"Bad Two", "+49 1", "Team"}, {"Good Three", "0456", "Team"}};
    CsvImportDialog dialog(rows);
    dialog.columnChooser(CsvMapping::Groups)->setCurrentIndex(3);
    EXPECT_EQ(dialog.summary()->text(),
              "2 entries will be imported, 1 left out for a problem, 1 groups.");
    BookDocument doc("/b/Office.vcf", BookContents());
    const BookContents imported = dialog.mapping().entries(rows);
    QStringList skipped;
    EXPECT_EQ(doc.addEntries(imported.contacts, imported.groups, &skipped, "Import"), 2);
    EXPECT_EQ(test::render(doc.contents()),
              "Good One 0123 | Good Three 0456 || Team[Good One,Good Three]");
    ASSERT_EQ(skipped.size(), 1);
    EXPECT_TRUE(skipped.at(0).startsWith("Bad Two +491: ")) << skipped.at(0).toStdString();
}

TEST(EditorDialogTest, TheCsvPreviewFollowsTheColumnMapping) {
    CsvImportDialog dialog({{"Who", "Number"}, {"Ann", "0301"}, {"Bob", "+1"}});
    EXPECT_FALSE(dialog.headerBox()->isChecked()); // no known titles
    dialog.headerBox()->setChecked(true);
    EXPECT_EQ(dialog.preview()->rowCount(), 2);
    EXPECT_EQ(dialog.preview()->item(0, 0)->text(), "Ann");
    EXPECT_TRUE(dialog.preview()->item(1, 4)->text().startsWith("Fax number holds"));
    dialog.columnChooser(CsvMapping::Name)->setCurrentIndex(2); // column 2 as the name
    dialog.columnChooser(CsvMapping::Fax)->setCurrentIndex(0);  // not imported
    EXPECT_EQ(dialog.preview()->item(0, 0)->text(), "0301");
    EXPECT_EQ(dialog.mapping().column[CsvMapping::Name], 1);
    EXPECT_EQ(dialog.mapping().column[CsvMapping::Fax], -1);
}

} // namespace
