#include "MainWindow.h"

#include "BookDocument.h"
#include "BookTestSupport.h"
#include "ContactDialog.h"
#include "CsvImportDialog.h"
#include "FakeServices.h"
#include "GroupDialog.h"
#include "PasswordDialog.h"
#include "PrinterDialog.h"
#include "VCardImportDialog.h"
#include "kit/AccessibilityAudit.h"
#include "kit/ProgramTranslations.h"
#include "support/EnvironmentScope.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSemaphore>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <gtest/gtest.h>
#include <sys/prctl.h>

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
        // The editor's settings (the import's prefix) are the test's own.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           folder.filePath("config"));
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

TEST_F(MainWindowTest, ASelectionFollowsItsRowsThroughASearchAndASort) {
    QTableView* entries = window->contactTable();
    const auto selected = [entries] {
        QStringList names;
        for (const QModelIndex& index : entries->selectionModel()->selectedRows()) {
            names.append(index.data().toString());
        }
        return names;
    };
    window->selectRows(false, {0, 2}); // Ann, Cy
    window->setSearchText("c");
    EXPECT_EQ(column(entries, 0), QStringList({"Cy"}));
    EXPECT_EQ(entries->verticalHeader()->count(), 1);
    EXPECT_EQ(selected(), QStringList({"Cy"})); // Ann is no longer shown
    window->setSearchText({});
    EXPECT_EQ(entries->verticalHeader()->count(), 3);
    window->sortBy(false, 0, Qt::DescendingOrder);
    EXPECT_EQ(column(entries, 0), QStringList({"Cy", "bob", "Ann"}));
    EXPECT_EQ(selected(), QStringList({"Cy"}));
    action("delete")->trigger();
    EXPECT_EQ(column(entries, 0), QStringList({"bob", "Ann"}));
    EXPECT_EQ(column(window->groupTable(), 2), QStringList({"Ann"}));
    // A Save that finds only the window's own edits in the file leaves the table as it is.
    window->selectRows(false, {1});
    ASSERT_TRUE(window->saveCurrentBook());
    EXPECT_EQ(selected(), QStringList({"Ann"}));
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

TEST_F(MainWindowTest, EveryFaxNumberIsShownAndEditedAndADuplicateWaitsBeforeItIsKept) {
    BookContents book = test::book({"Ann 0301", "Ada 0222"});
    book.contacts[1].otherFaxes = {"0111"};
    ASSERT_TRUE(store.write(path("Ada.vcf"), book, &error));
    window->refreshBookList();
    ASSERT_TRUE(window->selectBook(path("Ada.vcf")));
    const QStringList names = column(window->contactTable(), 0);
    EXPECT_EQ(column(window->contactTable(), 1).value(names.indexOf("Ada")), "0222, 0111");

    window->selectRows(false, {static_cast<int>(names.indexOf("Ada"))});
    QStringList seen;
    QTimer::singleShot(0, [&seen] {
        auto* dialog = qobject_cast<ContactDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        QPushButton* ok = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        QLineEdit* others = dialog->field(EntryRules::Field::OtherFaxes);
        seen.append(others->text());
        // Renamed onto Ann while taking Ann's number: the book would hold that pair twice.
        dialog->field(EntryRules::Field::Name)->selectAll();
        QTest::keyClicks(dialog->field(EntryRules::Field::Name), "Ann");
        QTest::keyClicks(others, ", 0301");
        seen.append(dialog->reason(EntryRules::Field::Fax));
        seen.append(ok->isEnabled() ? "OK" : "waits");
        QTest::keyClick(others, Qt::Key_Backspace);
        QTest::keyClicks(others, "2");
        seen.append(dialog->reason(EntryRules::Field::Fax) + (ok->isEnabled() ? "OK" : "waits"));
        ok->click();
    });
    action("edit")->trigger();
    EXPECT_EQ(seen, QStringList({"0111", "“Ann” with the fax number 0301 is already in the book.",
                                 "waits", "OK"}));
    EXPECT_EQ(test::render(window->document(path("Ada.vcf"))->contents()),
              "Ann 0301 | Ann 0222 || ");
    EXPECT_EQ(window->document(path("Ada.vcf"))->contents().contacts[1].otherFaxes,
              QStringList({"0111", "0302"}));
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
    csv.write("Fax;Name;Groups\n0801;Fay;Crew\n1x;Bad;\n0802;Gus;Crew\n");
    csv.close();
    CsvMapping mapping = CsvMapping::guess({{"Fax", "Name", "Groups"}});
    ASSERT_TRUE(window->importFile(path("in.csv"), mapping));
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices.first().contains("Bad 1x: Fax number")) << notices.first().toStdString();
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

TEST_F(MainWindowTest, AReadAnsweringAfterAHandOffIsSetAsideNotShownAsTheNewPrinters) {
    printer.otherBooks.insert("192.0.2.2", test::book({"Zoe 999"}));
    QSemaphore gate;
    printer.gate = &gate;
    window->setPrinter({PrinterConnection::Kind::Network, "192.0.2.1"});
    window->selectBook(MainWindow::printerKey());
    window->readPrinterBook();
    ASSERT_TRUE(window->isPrinterBusy());
    // A second start names another printer while the first one's book is on its way.
    window->takeHandOff("NET 192.0.2.2");
    gate.release();
    ASSERT_TRUE(waitFor([this] { return !window->isPrinterBusy(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(window->printer()->address, "192.0.2.2");
    EXPECT_EQ(test::render(window->printerBook()), " || ") << "the first printer's entries";
    EXPECT_TRUE(column(window->contactTable(), 0).isEmpty());
    EXPECT_EQ(window->statusBar()->findChild<QLabel*>("state")->text(),
              "What printer 192.0.2.1 answered was set aside: the window shows printer "
              "192.0.2.2 now.");
    // Nothing of the first printer can be copied to the second as its book.
    window->selectBook(path("Office.vcf"));
    window->selectRows(false, {0});
    EXPECT_FALSE(window->copySelectionTo(MainWindow::printerKey()));

    gate.release();
    window->selectBook(MainWindow::printerKey());
    window->readPrinterBook();
    ASSERT_TRUE(waitFor([this] { return !window->isPrinterBusy(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(test::render(window->printerBook()), "Zoe 999 || ");
    EXPECT_EQ(printer.readsFrom, QStringList({"192.0.2.1", "192.0.2.2"}));
    printer.gate = nullptr;
}

// ---- Dialogs

// Types text key by key, letters outside ASCII too (as an input method delivers them).
void typeText(QLineEdit* field, const QString& text) {
    field->setFocus();
    for (const QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
        QCoreApplication::sendEvent(field, &press);
    }
}

TEST(EditorDialogTest, TypedTextStaysAsTypedAndARefusalShowsItsReasonBesideTheField) {
    ContactDialog dialog(Contact{});
    dialog.show();
    QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    EXPECT_FALSE(ok->isEnabled());
    typeText(dialog.field(EntryRules::Field::Name), "Jürgen Müller");
    QTest::keyClicks(dialog.field(EntryRules::Field::Fax), "+44 20 7946 0001");
    // Nothing typed is dropped: the number stays as typed, refused with the reason beside it.
    EXPECT_EQ(dialog.field(EntryRules::Field::Fax)->text(), "+44 20 7946 0001");
    EXPECT_EQ(dialog.reason(EntryRules::Field::Fax),
              "Fax number holds a character it cannot take: “+”.");
    EXPECT_EQ(dialog.reason(EntryRules::Field::Name), "");
    EXPECT_FALSE(ok->isEnabled());
    dialog.field(EntryRules::Field::Fax)->selectAll();
    QTest::keyClicks(dialog.field(EntryRules::Field::Fax), "00442079460001");
    EXPECT_EQ(dialog.reason(EntryRules::Field::Fax), "");
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(dialog.contact().name, "Jürgen Müller");
    EXPECT_EQ(dialog.contact().fax, "00442079460001");
}

TEST(EditorDialogTest, AnEntryBreakingARuleTodayIsEditedFieldByFieldAndKeepsTheRest) {
    const Contact phone{"u1", QString(40, 'N'), "0312", "", "first line\nsecond line", -1};
    ContactDialog dialog(phone);
    dialog.show();
    QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    EXPECT_TRUE(ok->isEnabled()) << "what the user did not change is not held against the entry";
    QTest::keyClicks(dialog.field(EntryRules::Field::Company), "Northwind");
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(dialog.contact().note, "first line\nsecond line");
    EXPECT_EQ(dialog.contact().name, QString(40, 'N'));
    EXPECT_EQ(dialog.contact().company, "Northwind");
    QTest::keyClick(dialog.field(EntryRules::Field::Name), Qt::Key_Backspace);
    EXPECT_EQ(dialog.reason(EntryRules::Field::Name), "Name is longer than 32 characters.");
    EXPECT_FALSE(ok->isEnabled());
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
        {"Good One", "0123", "Team"}, {"Bad Two", "49x1", "Team"}, {"Good Three", "0456", "Team"}};
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
    EXPECT_TRUE(skipped.at(0).startsWith("Bad Two 49x1: ")) << skipped.at(0).toStdString();
}

TEST(EditorDialogTest, TheCsvPreviewFollowsTheColumnMapping) {
    CsvImportDialog dialog({{"Who", "Number"}, {"Ann", "0301"}, {"Bob", "1x"}});
    EXPECT_FALSE(dialog.headerBox()->isChecked()); // no known titles
    dialog.headerBox()->setChecked(true);
    EXPECT_EQ(dialog.preview()->rowCount(), 2);
    EXPECT_EQ(dialog.preview()->item(0, 0)->text(), "Ann");
    EXPECT_TRUE(dialog.preview()->item(1, 4)->text().startsWith("Fax number holds"));
    // A row the book already holds is left out as the import will leave it out.
    dialog.setTargetBook(test::book({"Ann 0301", "Cy 0403"}, {"Old:Cy"}));
    EXPECT_EQ(dialog.preview()->item(0, 4)->text(),
              "“Ann” with the fax number 0301 is already in the book.");
    EXPECT_EQ(dialog.summary()->text(),
              "0 entries will be imported, 2 left out for a problem, 0 groups.");
    dialog.columnChooser(CsvMapping::Name)->setCurrentIndex(2); // column 2 as the name
    dialog.columnChooser(CsvMapping::Fax)->setCurrentIndex(0);  // not imported
    EXPECT_EQ(dialog.preview()->item(0, 0)->text(), "0301");
    EXPECT_EQ(dialog.mapping().column[CsvMapping::Name], 1);
    EXPECT_EQ(dialog.mapping().column[CsvMapping::Fax], -1);
}

} // namespace

// ---- Every person: languages, screen readers, keys

// Installs the editor's tables for one language for the life of the object.
class Language {
public:
    explicit Language(const QString& language) {
        EXPECT_EQ(kit::ProgramTranslations::install("vextel-addressbook", {language}), language);
    }
    ~Language() {
        for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }
};

QString statusText(const MainWindow& window) {
    const QLabel* label = window.statusBar()->findChild<QLabel*>();
    return label != nullptr ? label->text() : QString();
}

TEST_F(MainWindowTest, CountsTakeThePluralFormsOfTheLanguage) {
    const struct {
        const char* language;
        const char* three;  // Office: 3 entries, 1 group
        const char* single; // a book of one entry and no group
    } rows[] = {
        {"en", "3 entries, 1 group.", "1 entry, 0 groups."},
        {"de", "3 Einträge, 1 Gruppe.", "1 Eintrag, 0 Gruppen."},
        {"ja", "3 件のエントリ、1 件のグループ。", "1 件のエントリ、0 件のグループ。"},
    };
    store.write(path("Single.vcf"), test::book({"Zoe 0101"}), &error);
    window->refreshBookList();
    for (const auto& row : rows) {
        Language language(QLatin1String(row.language));
        window->selectBook(path("Single.vcf"));
        EXPECT_EQ(statusText(*window), QString::fromUtf8(row.single)) << row.language;
        window->selectBook(path("Office.vcf"));
        EXPECT_EQ(statusText(*window), QString::fromUtf8(row.three)) << row.language;
    }
}

TEST_F(MainWindowTest, UndoNamesTheEditInTheLanguageOfTheUser) {
    const struct {
        const char* language;
        const char* added;
        const char* deleted;
    } rows[] = {
        {"en", "Add Entry", "Delete Entries"},
        {"de", "Eintrag hinzufügen", "Einträge löschen"},
        {"ja", "エントリの追加", "エントリの削除"},
    };
    for (const auto& row : rows) {
        Language language(QLatin1String(row.language));
        window->selectBook(path("Office.vcf"));
        BookDocument* doc = window->document(path("Office.vcf"));
        ASSERT_TRUE(doc->addContact(Contact{{}, "Dee", "0604", {}, {}, -1}, &error));
        EXPECT_TRUE(action("undo")->text().endsWith(QString::fromUtf8(row.added)))
            << row.language << ": " << action("undo")->text().toStdString();
        window->selectRows(false, {0, 1});
        action("delete")->trigger();
        EXPECT_TRUE(action("undo")->text().endsWith(QString::fromUtf8(row.deleted)))
            << row.language << ": " << action("undo")->text().toStdString();
        action("undo")->trigger();
        action("undo")->trigger();
    }
}

TEST_F(MainWindowTest, AProcessThatAskedForThePrintersPasswordNeverDumpsCore) {
    if (prctl(PR_GET_DUMPABLE) != 1)
        GTEST_SKIP() << "this process could not dump core to begin with";
    PasswordDialog passwordDialog("Office", window.get());
    EXPECT_EQ(prctl(PR_GET_DUMPABLE), 0);
}

TEST_F(MainWindowTest, AScreenReaderFindsEveryControlOfTheWindowAndItsDialogsNamedOnce) {
    readPrinter();
    window->selectBook(path("Office.vcf"));
    window->selectRows(false, {0});
    const BookContents book = window->document(path("Office.vcf"))->contents();
    ContactDialog contact(book.contacts.first(), window.get());
    GroupDialog group(book.groups.first(), book, window.get());
    PasswordDialog passwordDialog("Office", window.get());
    PrinterDialog printerDialog(std::nullopt, window.get());
    CsvImportDialog csv({{"Name", "Fax"}, {"Ann", "0301"}}, window.get());
    VCardImportDialog vcard(test::book({"Ann 0301"}), book, window.get());
    const std::pair<const char*, QWidget*> windows[] = {
        {"window", window.get()},    {"entry", &contact},
        {"group", &group},           {"password", &passwordDialog},
        {"printer", &printerDialog}, {"csv", &csv},
        {"vcard", &vcard},
    };
    for (const auto& [title, shown] : windows) {
        shown->show();
        QCoreApplication::processEvents();
        EXPECT_EQ(kit::AccessibilityAudit::problems(shown), QStringList())
            << title << ":\n"
            << kit::AccessibilityAudit::controls(shown).join('\n').toStdString();
        EXPECT_GE(kit::AccessibilityAudit::controls(shown).size(), 2) << title;
    }
    window->tabs()->setCurrentIndex(1);
    EXPECT_EQ(kit::AccessibilityAudit::problems(window.get()), QStringList()) << "groups tab";
}

TEST_F(MainWindowTest, TabGoesFromTheBooksToTheSearchToTheTabsToTheTable) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->findChild<QListWidget*>("books")->setFocus();
    QStringList order;
    for (int i = 0; i < 4; ++i) {
        order.append(QApplication::focusWidget()->objectName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    // The tab bar of the tabs takes the focus for them.
    EXPECT_EQ(order, QStringList({"books", "search", "qt_tabwidget_tabbar", "entries"}));
}

TEST_F(MainWindowTest, ReturnEditsTheRowAndTheMenusListTheShortcuts) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get())) << "shortcuts go to the active window";
    window->selectBook(path("Office.vcf"));
    EXPECT_EQ(action("edit")->shortcut(), QKeySequence(Qt::Key_F2));
    for (const char* name : {"newBook", "save", "undo", "find", "delete"}) {
        EXPECT_FALSE(action(name)->shortcut().isEmpty()) << name;
    }
    window->selectRows(false, {0});
    QTableView* entries = window->contactTable();
    entries->setFocus();
    QStringList opened;
    QTimer::singleShot(0, [&opened] {
        QWidget* dialog = QApplication::activeModalWidget();
        opened.append(dialog != nullptr ? dialog->windowTitle() : QString("none"));
        if (dialog != nullptr) {
            static_cast<QDialog*>(dialog)->reject();
        }
    });
    QTest::keyClick(entries, Qt::Key_Return);
    EXPECT_EQ(opened, QStringList({"Edit Entry"}));
    // Delete, F2 and the rest by keys alone: EditorScriptTest's session.
}

TEST_F(MainWindowTest, AVCardFileOpenedFromTheDesktopIsImportedIntoTheBookOfItsName) {
    QTemporaryDir downloads;
    // Written by the test's store, as the window reads files through it.
    ASSERT_TRUE(store.write(downloads.filePath("Phone.vcf"), test::book({"Ann 0301"}), &error));
    window->takeHandOff("\n" + downloads.filePath("Phone.vcf") + "\n" +
                        downloads.filePath("missing.vcf"));
    EXPECT_EQ(window->currentKey(), path("Phone.vcf"));
    EXPECT_EQ(column(window->contactTable(), 0), QStringList({"Ann"}));
    window->openFiles({path("Office.vcf")});
    EXPECT_EQ(window->currentKey(), path("Office.vcf")) << "a book of the folder is opened";
    EXPECT_EQ(notices, QStringList());
}

TEST(EditorFirstRunTest, AnEmptyFolderSaysHowToBeginUntilThereIsABook) {
    QTemporaryDir folder;
    FolderStore store{folder.path()};
    FakePrinter printer;
    MainWindow window(store, printer);
    window.setNotice([](const QString&) {});
    window.show();
    ASSERT_TRUE(window.guide()->isVisible());
    for (const char* hint : {"New Book", "Import", "Connect to Printer"}) {
        EXPECT_TRUE(window.guide()->text().contains(QLatin1String(hint))) << hint;
    }
    ASSERT_TRUE(window.newBook("Office"));
    EXPECT_FALSE(window.guide()->isVisible());
}
