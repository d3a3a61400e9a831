#include "EditorScript.h"

#include "BookTestSupport.h"
#include "FakeServices.h"
#include "MainWindow.h"

#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace vextel_addressbook;

class EditorScriptTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        store.write(folder.filePath("Office.vcf"), test::book({"Ann 0301"}), &error);
        printer.book = test::book({"Pia 111", "Rae 333"}, {"Sales:Pia,Rae"});
        // The editor's settings (the import's prefix) are the test's own.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           folder.filePath("config"));
    }

    bool run(const QString& script) {
        MainWindow window(store, printer);
        window.show();
        QTextStream stream(&output);
        EditorScript runner(window, stream);
        const bool ran = runner.run(script, &error);
        window.setQuestion(
            [](const QString&, QMessageBox::StandardButtons) { return QMessageBox::Discard; });
        return ran;
    }

    QTemporaryDir folder;
    test::FolderStore store{folder.path()};
    test::FakePrinter printer;
    QString output;
    QString error;
};

TEST_F(EditorScriptTest, CopiesAPrinterGroupIntoANewBookAsAPersonWould) {
    ASSERT_TRUE(run("printer NET 127.0.0.1\n"
                    "password 1234   # asked once\n"
                    "read-printer\n"
                    "new-book \"From the printer\"\n"
                    "select printer\n"
                    "select-groups Sales\n"
                    "copy-to \"From the printer\"\n"
                    "select \"From the printer\"\n"
                    "save\n"
                    "answer Cancel\n"
                    "quit\n"))
        << error.toStdString();
    EXPECT_EQ(output, "printer's book: 2 entries, 1 groups\n");
    EXPECT_EQ(test::render(*store.read(folder.filePath("From the printer.vcf"), &error)),
              "Pia 111 | Rae 333 || Sales[Pia,Rae]");
}

TEST_F(EditorScriptTest, AFailingLineStopsTheScriptAndIsNamed) {
    const struct {
        const char* title;
        const char* script;
        const char* error;
    } rows[] = {
        {"Unknown", "\nfrobnicate\nsave", "line 2: unknown command frobnicate"},
        {"Usage", "select", "line 1: usage: select BOOK"},
        {"OpenQuote", "new-book \"Office", "line 1: a quote is not closed"},
        {"NoPrinter", "read-printer", "line 1: no printer is chosen"},
        {"WrongPassword", "printer USB\npassword 9\nread-printer", "line 3: read-printer failed"},
        {"NoSuchBook", "select Home", "line 1: no book named Home"},
        {"NoSuchRow", "select Office\nselect-entries Bob", "line 2: no row named Bob"},
        {"UnsavedQuitCancelled",
         "new-book Spare\nselect Office\nselect-entries Ann\ncopy-to Spare\nquit",
         "line 5: the window stayed open"},
        {"AfterQuit", "quit\nsave", "line 2: the window is closed"},
        {"EmptyKey", "key Tab \"\"", "line 1: an empty word is no key"},
        {"EndsInADialog", "key Ctrl+Shift+N\nkey Lee",
         "line 2: the script ended while the window “New Entry” is open"},
        {"NothingToUndo", "select Office\nundo", "line 2: undo is not available now"},
        {"EditWithoutARow", "select Office\nedit", "line 2: edit is not available now"},
        {"ImportOfNoFile", "import none.vcf", "line 1: no file none.vcf"},
        {"ShowWhat", "show books", "line 1: usage: show entries | show groups"},
        {"EndsInTheDialogAddOpened", "select Office\nadd",
         "line 2: the script ended while the window “New Entry” is open"},
    };
    for (const auto& row : rows) {
        error.clear();
        EXPECT_FALSE(run(QLatin1String(row.script))) << row.title;
        EXPECT_EQ(error, QString::fromUtf8(row.error)) << row.title;
    }
    EXPECT_TRUE(output.contains("notice: The printer refused the password."))
        << output.toStdString();
    EXPECT_TRUE(output.contains("question: Save the changes to “Spare” before closing? -> Cancel"))
        << output.toStdString();
}

TEST_F(EditorScriptTest, AnEditorSessionWithKeysAloneAddsUndoesEditsDeletesAndSaves) {
    ASSERT_TRUE(run("# The books list has the focus, Office chosen.\n"
                    "key Ctrl+Shift+N\n"
                    "key Lee Tab 0207946003 Return   # in the New Entry dialog\n"
                    "key Ctrl+Z Ctrl+Shift+Z\n"
                    "key Tab Tab Tab Down            # search, tabs, the entries: Lee\n"
                    "key F2\n"
                    "key Tab End Backspace 4 Return  # in the Edit Entry dialog\n"
                    "key Up Delete Ctrl+S\n"
                    "quit\n"))
        << error.toStdString() << "\n"
        << output.toStdString();
    EXPECT_EQ(test::render(*store.read(folder.filePath("Office.vcf"), &error)),
              "Lee 0207946004 || ");
}

TEST_F(EditorScriptTest, EveryFeatureOfTheReadmeRunsFromItsCommand) {
    QFile csv(folder.filePath("in.csv"));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("Name,Fax number\nFay,+44 (20) 7946.0005\n");
    csv.close();
    ASSERT_TRUE(run("select Office\n"
                    "add\n"
                    "key Lee Tab 0207946003 Return   # in the New Entry dialog\n"
                    "undo\n"
                    "redo\n"
                    "search Le\n"
                    "show entries\n"
                    "search \"\"\n"
                    "select-entries Lee\n"
                    "edit\n"
                    "key Tab End Backspace 4 Return  # in the Edit Entry dialog\n"
                    "group\n"
                    "key Crew Tab Space Return       # in the New Group dialog\n"
                    "import \"" +
                    folder.filePath("in.csv") +
                    "\"\n"
                    "key Return                      # OK in the preview\n"
                    "show groups\n"
                    "export \"" +
                    folder.filePath("out.csv") +
                    "\"\n"
                    "save\n"
                    "quit\n"))
        << error.toStdString() << "\n"
        << output.toStdString();
    EXPECT_EQ(output.toStdString(), "Name | Fax number | Company | Note\n"
                                    "1 Lee | 0207946003 |  | \n"
                                    "Name | Members | Member names\n"
                                    "1 Crew | 1 | Ann\n");
    EXPECT_EQ(test::render(*store.read(folder.filePath("Office.vcf"), &error)),
              "Ann 0301 | Lee 0207946004 | Fay 00442079460005 || Crew[Ann]");
    QFile exported(folder.filePath("out.csv"));
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    EXPECT_EQ(exported.readAll().toStdString(), "Name,Fax number,Company,Note,Groups\r\n"
                                                "Ann,0301,,,Crew\r\n"
                                                "Lee,0207946004,,,\r\n"
                                                "Fay,00442079460005,,,\r\n");
}

// The first word of every form in the README's table of the editor's script lines.
QStringList readmeCommands() {
    QFile readme(QStringLiteral(VEXTEL_SOURCE_DIR "/README.md"));
    if (!readme.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    const QRegularExpression form(QStringLiteral("`([^`]*)`"));
    QStringList names;
    bool inSection = false;
    bool inTable = false;
    for (const QString& line : QString::fromUtf8(readme.readAll()).split('\n')) {
        if (line.startsWith(QLatin1String("### The editor's scripted mode"))) {
            inSection = true;
        } else if (inSection && line.startsWith(QLatin1String("| line |"))) {
            inTable = true;
        } else if (inTable && !line.startsWith('|')) {
            break;
        } else if (inTable && !line.startsWith(QLatin1String("|---"))) {
            auto matches = form.globalMatch(line.section('|', 1, 1));
            while (matches.hasNext()) {
                const QString name = matches.next().captured(1).section(' ', 0, 0);
                if (!names.contains(name)) {
                    names.append(name);
                }
            }
        }
    }
    return names;
}

TEST(EditorScriptCommandTable, TheReadmeListsExactlyTheTablesCommands) {
    QStringList documented = readmeCommands();
    QStringList table = EditorScript::commandNames();
    ASSERT_FALSE(table.isEmpty());
    EXPECT_EQ(table.removeDuplicates(), 0) << "a command is in the table twice";
    // Every feature the README names for the editor has its command.
    for (const char* feature :
         {"add", "edit", "group", "import", "export", "undo", "redo", "search", "copy-to"}) {
        EXPECT_TRUE(table.contains(QLatin1String(feature))) << feature;
    }
    documented.sort();
    table.sort();
    EXPECT_EQ(documented, table);
}

} // namespace
