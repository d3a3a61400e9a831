#include "EditorScript.h"

#include "BookTestSupport.h"
#include "FakeServices.h"
#include "MainWindow.h"

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

} // namespace
