#include "ScriptRunner.h"

#include "HostFixture.h"
#include "kit/Application.h"
#include "kit/Workspace.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QItemSelectionModel>
#include <QRegularExpression>
#include <QTextStream>
#include <QTimer>
#include <optional>

namespace {

using vextel_print::PrintDialog;
using vextel_print::ScriptRunner;
using vextel_test::FakePanel;
using vextel_test::HostFixture;

class ScriptRunnerTest : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        panel = &addPanel("Fax Settings");
    }

    // Runs the script against a fresh dialog; the output is kept in `output`.
    bool run(const QStringList& script,
             const std::optional<ScriptRunner::Confinement>& confinement = std::nullopt) {
        PrintDialog& printDialog = makeDialog();
        QTextStream stream(&output);
        ScriptRunner runner(script, stream);
        if (confinement) {
            runner.confine(*confinement);
        }
        const bool ok = runner.run(printDialog);
        stream.flush();
        error = runner.error();
        return ok;
    }

    QStringList outputLines() const { return output.split('\n', Qt::SkipEmptyParts); }
    QStringList alertLines() const { return outputLines().filter(QRegularExpression("^alert: ")); }
    PrintDialog::Outcome outcome() const { return dialog->outcome(); }

    FakePanel* panel = nullptr;
    QString output;
    QString error;
};

TEST_F(ScriptRunnerTest, DrivesThePrintDialogAndTheModalWindowToASentJob) {
    panel->runsModalWindow = true;
    ASSERT_TRUE(run({"# a person prints a fax", "choose qualityPopup Fine",
                     "type senderField \"Ann Lee\"", "copies 2", "print", "  press Start",
                     "  answer OK", "  type numberField 0123", "  press startButton"}))
        << error.toStdString();
    EXPECT_EQ(outcome(), PrintDialog::Outcome::Sent);
    EXPECT_EQ(panel->popup()->currentText(), "Fine");
    EXPECT_EQ(panel->senderField()->text(), "Ann Lee");
    EXPECT_EQ(panel->numberField()->text(), "0123");
    EXPECT_TRUE(panel->sending);
    EXPECT_EQ(panel->modalRuns, 1);
    EXPECT_EQ(kit::Application::modalDepth(), 0);
    EXPECT_TRUE(jobOptionsText().contains("copies=2\n"));
    EXPECT_EQ(alertLines(), QStringList({"alert: \"No Number\" \"\" [OK] -> OK"}));
}

TEST_F(ScriptRunnerTest, TypingGoesThroughTheFormatter) {
    ASSERT_TRUE(run({"type senderField Ann1e", "cancel"})) << error.toStdString();
    EXPECT_EQ(panel->senderField()->text(), "Anne");
}

TEST_F(ScriptRunnerTest, SettingFromOutsideBypassesTheFormatter) {
    ASSERT_TRUE(run({"set senderField Ann1e", "cancel"})) << error.toStdString();
    EXPECT_EQ(panel->senderField()->text(), "Ann1e");
}

TEST_F(ScriptRunnerTest, QuotedWordsKeepBlanksAndEscapedQuotes) {
    ASSERT_TRUE(run(
        {R"(press "Show Alert")", "answer OK", R"(set senderField "Ann \"The\" Lee\\")", "cancel"}))
        << error.toStdString();
    EXPECT_EQ(panel->senderField()->text(), R"(Ann "The" Lee\)");
}

TEST_F(ScriptRunnerTest, QuoteLeftOpenIsAnError) {
    EXPECT_FALSE(run({"cancel \"", "print"}));
    EXPECT_TRUE(error.startsWith("line 1: a double quote is not closed")) << error.toStdString();
    EXPECT_FALSE(jobWritten());
}

TEST_F(ScriptRunnerTest, TypingAnEmptyTextClearsTheField) {
    panel->senderField()->setText("Old Name");
    ASSERT_TRUE(run({"type senderField \"\"", "cancel"})) << error.toStdString();
    EXPECT_EQ(panel->senderField()->text(), "");
}

TEST_F(ScriptRunnerTest, TypingPastTheFormattersLimitKeepsWhatFits) {
    ASSERT_TRUE(run({"type senderField \"Abcdefghijklmnop\"", "cancel"})) << error.toStdString();
    EXPECT_EQ(panel->senderField()->text(), "Abcdefghijkl");
}

TEST_F(ScriptRunnerTest, UnknownCommandNamesItsLineAndCancels) {
    EXPECT_FALSE(run({"# comment", "", "frobnicate the dialog", "print"}));
    EXPECT_TRUE(error.startsWith("line 3: unknown command")) << error.toStdString();
    EXPECT_TRUE(error.contains("frobnicate")) << error.toStdString();
    EXPECT_EQ(outcome(), PrintDialog::Outcome::Cancelled);
    EXPECT_EQ(panel->shouldPrintCalls, 0);
}

TEST_F(ScriptRunnerTest, PressingADisabledButtonIsAnError) {
    EXPECT_FALSE(run({"choose qualityPopup Fine", "press disabledButton", "print"}));
    EXPECT_TRUE(error.startsWith("line 2: ")) << error.toStdString();
    EXPECT_TRUE(error.contains("disabled")) << error.toStdString();
    EXPECT_EQ(outcome(), PrintDialog::Outcome::Cancelled);
    EXPECT_FALSE(jobWritten());
}

TEST_F(ScriptRunnerTest, PressingADisabledButtonInsideTheModalWindowIsAnError) {
    panel->runsModalWindow = true;
    EXPECT_FALSE(run({"print", "press Locked", "press Start"}));
    EXPECT_TRUE(error.startsWith("line 2: ")) << error.toStdString();
    EXPECT_TRUE(error.contains("disabled")) << error.toStdString();
    EXPECT_EQ(outcome(), PrintDialog::Outcome::Cancelled);
    EXPECT_EQ(kit::Application::modalDepth(), 0);
    EXPECT_FALSE(jobWritten());
}

TEST_F(ScriptRunnerTest, MissingButtonNamesTheWindow) {
    panel->runsModalWindow = true;
    EXPECT_FALSE(run({"print", "press printButton"}));
    EXPECT_TRUE(error.startsWith("line 2: ")) << error.toStdString();
    EXPECT_TRUE(error.contains("Fake Transmission")) << error.toStdString();
}

TEST_F(ScriptRunnerTest, ButtonsAreFoundByTitleWithoutTheirMnemonic) {
    ASSERT_TRUE(run({"press \"Show Alert\"", "answer Cancel", "cancel"})) << error.toStdString();
    EXPECT_EQ(panel->lastAlertAnswer, "Cancel");
}

TEST_F(ScriptRunnerTest, AlertWithoutAnAnswerLineIsAnErrorAtTheNextLine) {
    EXPECT_FALSE(run({"press alertButton", "print"}));
    EXPECT_TRUE(error.startsWith("line 2: ")) << error.toStdString();
    EXPECT_TRUE(error.contains("Something happened")) << error.toStdString();
    EXPECT_TRUE(error.contains("answer")) << error.toStdString();
    // The alert is still reported, unanswered, and the print never happened.
    EXPECT_EQ(alertLines().size(), 1);
    EXPECT_EQ(panel->shouldPrintCalls, 0);
    EXPECT_EQ(outcome(), PrintDialog::Outcome::Cancelled);
}

TEST_F(ScriptRunnerTest, ScriptEndingAtAnAlertIsAnError) {
    EXPECT_FALSE(run({"press alertButton"}));
    EXPECT_TRUE(error.contains("ended while the alert")) << error.toStdString();
    EXPECT_EQ(outcome(), PrintDialog::Outcome::Cancelled);
}

TEST_F(ScriptRunnerTest, AnswerWithAButtonTheAlertLacksIsAnError) {
    EXPECT_FALSE(run({"press alertButton", "answer Maybe", "cancel"}));
    EXPECT_TRUE(error.startsWith("line 2: ")) << error.toStdString();
    EXPECT_TRUE(error.contains("Maybe")) << error.toStdString();
}

TEST_F(ScriptRunnerTest, AnswerWithoutAnAlertIsAnError) {
    EXPECT_FALSE(run({"choose qualityPopup Fine", "answer OK", "print"}));
    EXPECT_TRUE(error.startsWith("line 2: no alert is open")) << error.toStdString();
}

TEST_F(ScriptRunnerTest, ScriptEndingInsideTheModalWindowIsAnErrorAndCancels) {
    panel->runsModalWindow = true;
    EXPECT_FALSE(run({"print", "type numberField 0123"}));
    EXPECT_TRUE(error.contains("ended while the window \"Fake Transmission\" is open"))
        << error.toStdString();
    EXPECT_EQ(outcome(), PrintDialog::Outcome::Cancelled);
    EXPECT_FALSE(panel->sending);
    EXPECT_EQ(kit::Application::modalDepth(), 0);
    EXPECT_FALSE(jobWritten());
}

TEST_F(ScriptRunnerTest, PrintDialogCommandsAreRefusedInsideTheModalWindow) {
    panel->runsModalWindow = true;
    EXPECT_FALSE(run({"print", "cancel"}));
    EXPECT_TRUE(error.startsWith("line 2: cancel belongs to the print dialog"))
        << error.toStdString();
    EXPECT_EQ(outcome(), PrintDialog::Outcome::Cancelled);
    EXPECT_EQ(kit::Application::modalDepth(), 0);
}

TEST_F(ScriptRunnerTest, ScriptEndingBeforePrintOrCancelIsAnError) {
    EXPECT_FALSE(run({"choose qualityPopup Fine"}));
    EXPECT_TRUE(error.contains("ended before print or cancel")) << error.toStdString();
    EXPECT_EQ(outcome(), PrintDialog::Outcome::Cancelled);
}

TEST_F(ScriptRunnerTest, ScreenshotPhotographsTheWindowTheScriptActsIn) {
    panel->runsModalWindow = true;
    const QString printDialogShot = temp.filePath("print.png");
    const QString modalShot = temp.filePath("modal.png");
    ASSERT_TRUE(
        run({"screenshot " + printDialogShot, "print", "screenshot " + modalShot, "press Stop"}))
        << error.toStdString();
    const QImage printDialogImage(printDialogShot);
    const QImage modalImage(modalShot);
    ASSERT_FALSE(printDialogImage.isNull());
    ASSERT_FALSE(modalImage.isNull());
    EXPECT_EQ(printDialogImage.size(), dialog->grab().size());
    EXPECT_NE(modalImage.size(), printDialogImage.size());

    EXPECT_FALSE(run({"screenshot /no/such/folder/x.png", "cancel"}));
    EXPECT_TRUE(error.startsWith("line 1: cannot write")) << error.toStdString();
}

TEST_F(ScriptRunnerTest, LinesLeftAfterTheDialogClosedAreAnError) {
    EXPECT_FALSE(run({"cancel", "# the dialog is gone now", "press Start"}));
    EXPECT_TRUE(error.startsWith("line 3:")) << error.toStdString();
    EXPECT_TRUE(error.contains("has closed")) << error.toStdString();
}

TEST_F(ScriptRunnerTest, StopInTheModalWindowCancelsTheJob) {
    panel->runsModalWindow = true;
    ASSERT_TRUE(run({"print", "press Stop"})) << error.toStdString();
    EXPECT_EQ(outcome(), PrintDialog::Outcome::Cancelled);
    EXPECT_FALSE(jobWritten());
}

TEST_F(ScriptRunnerTest, EveryAlertIsOneLineWithTextsButtonsAndAnswer) {
    panel->runsModalWindow = true;
    panel->alertInformative = "First line\nsecond line";
    ASSERT_TRUE(run({"press alertButton", "answer Cancel", "print", "press Ask", "answer No",
                     "press Start", "answer OK", "type numberField 1", "press Start"}))
        << error.toStdString();
    EXPECT_EQ(alertLines(), QStringList({
                                "alert: \"Something happened\" \"First line\\nsecond line\" "
                                "[OK, Cancel] -> Cancel",
                                "alert: \"Asked\" \"\" [Yes, No] -> No",
                                "alert: \"No Number\" \"\" [OK] -> OK",
                            }));
    EXPECT_EQ(outputLines().size(), 3) << output.toStdString();
}

TEST_F(ScriptRunnerTest, SelectsTableRowsCountedFromOne) {
    ASSERT_TRUE(run({"select recipientTable 1 3", "cancel"})) << error.toStdString();
    const QModelIndexList rows = panel->table()->selectionModel()->selectedRows();
    QList<int> numbers;
    for (const QModelIndex& index : rows) {
        numbers.append(index.row());
    }
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers, QList<int>({0, 2}));
}

TEST_F(ScriptRunnerTest, SelectNoneClearsTheSelection) {
    panel->table()->selectRow(1);
    ASSERT_TRUE(run({"select recipientTable none", "cancel"})) << error.toStdString();
    EXPECT_TRUE(panel->table()->selectionModel()->selectedRows().isEmpty());
}

TEST_F(ScriptRunnerTest, SelectingARowPastTheEndIsAnError) {
    EXPECT_FALSE(run({"select recipientTable 4", "cancel"}));
    EXPECT_TRUE(error.startsWith("line 1: the table has no row 4")) << error.toStdString();
}

TEST_F(ScriptRunnerTest, SelectingSeveralRowsOfASingleSelectionTableIsAnError) {
    panel->table()->setSelectionMode(QAbstractItemView::SingleSelection);
    EXPECT_FALSE(run({"select recipientTable 1 2", "cancel"}));
    EXPECT_TRUE(error.startsWith("line 1: ")) << error.toStdString();
    EXPECT_TRUE(panel->table()->selectionModel()->selectedRows().isEmpty());
}

TEST_F(ScriptRunnerTest, SelectingInADisabledTableIsAnError) {
    panel->table()->setEnabled(false);
    EXPECT_FALSE(run({"select recipientTable 1", "cancel"}));
    EXPECT_TRUE(error.startsWith("line 1: ")) << error.toStdString();
    EXPECT_TRUE(panel->table()->selectionModel()->selectedRows().isEmpty());
}

TEST_F(ScriptRunnerTest, ChoosingAMissingItemNamesIt) {
    EXPECT_FALSE(run({"choose qualityPopup Photo", "print"}));
    EXPECT_TRUE(error.startsWith("line 1: ")) << error.toStdString();
    EXPECT_TRUE(error.contains("Photo")) << error.toStdString();
    EXPECT_EQ(panel->popup()->currentText(), "Standard");
}

TEST_F(ScriptRunnerTest, UnknownPanelListsThePanels) {
    EXPECT_FALSE(run({"panel Layout", "print"}));
    EXPECT_TRUE(error.contains("Fax Settings, Summary")) << error.toStdString();
}

TEST_F(ScriptRunnerTest, PdfDestinationSendsTheDocumentToTheFile) {
    const QString target = temp.filePath("out.pdf");
    ASSERT_TRUE(run({"destination pdf \"" + target + "\"", "print"})) << error.toStdString();
    EXPECT_EQ(outcome(), PrintDialog::Outcome::Sent);
    EXPECT_EQ(panel->destinationAtPrint, printing::kDestinationFile);
    EXPECT_TRUE(QFileInfo::exists(target));
    EXPECT_FALSE(jobWritten());
}

TEST_F(ScriptRunnerTest, MalformedDialogCommandsAreErrors) {
    const QStringList bad[] = {{"destination pdf", "print"},
                               {"destination fax", "print"},
                               {"copies 0", "print"},
                               {"copies many", "print"},
                               {"print now"},
                               {"press"},
                               {"type senderField"},
                               {"set nowhere 1", "print"}};
    for (const QStringList& script : bad) {
        output.clear();
        EXPECT_FALSE(run(script)) << script.join(" | ").toStdString();
        EXPECT_TRUE(error.startsWith("line 1: ")) << error.toStdString();
        EXPECT_FALSE(jobWritten());
    }
}

TEST_F(ScriptRunnerTest, CopiesBeyondWhatTheDialogTakesAreAnErrorNotClamped) {
    for (const QString line : {"copies 1000", "set copies 5000", "set copies many"}) {
        EXPECT_FALSE(run({line, "print"})) << line.toStdString();
        EXPECT_TRUE(error.startsWith("line 1: ")) << error.toStdString();
        EXPECT_FALSE(jobWritten()) << "a job with other copies than the script asked for";
    }
}

TEST_F(ScriptRunnerTest, WaitLetsTheLoopRunAndEveryLaunchIsOneQuotedLine) {
    bool fired = false;
    QTimer::singleShot(50, [&fired] {
        fired = true;
        kit::Workspace::launchProcess("/bin/true",
                                      {"-VTELConnectionType NET", "say \"hi\"", "", "a\\b", "-x"});
    });
    ASSERT_TRUE(run({"wait 0.5", "cancel"})) << error.toStdString();
    EXPECT_TRUE(fired);
    EXPECT_EQ(
        outputLines().filter("launched: "),
        QStringList{R"(launched: /bin/true "-VTELConnectionType NET" "say \"hi\"" "" "a\\b" -x)"});
}

TEST_F(ScriptRunnerTest, ArgumentErrorsShowTheCommandsUsage) {
    const struct {
        const char* line;
        const char* error;
    } kRefused[] = {
        {"panel", "line 1: expected panel TITLE"},
        {"panel Fax Settings", "line 1: expected panel TITLE"},
        {"destination", "line 1: expected destination printer | pdf FILE | preview"},
        {"destination printer now", "line 1: expected destination printer | pdf FILE | preview"},
        {"copies", "line 1: expected copies N"},
        {"choose qualityPopup", "line 1: expected choose POPUP ITEM"},
        {"type", "line 1: expected type FIELD TEXT"},
        {"set senderField a b", "line 1: expected set FIELD VALUE"},
        {"press Print now", "line 1: expected press BUTTON"},
        {"select recipientTable", "line 1: expected select TABLE ROW... or select TABLE none"},
        {"answer", "line 1: expected answer BUTTON"},
        {"print now", "line 1: expected print"},
        {"cancel now", "line 1: expected cancel"},
        {"screenshot", "line 1: expected screenshot FILE"},
        {"wait", "line 1: expected wait SECONDS"},
        {"wait 1 2", "line 1: expected wait SECONDS"},
        {"wait -1", "line 1: wait takes seconds from 0 to 60"},
        {"wait 61", "line 1: wait takes seconds from 0 to 60"},
        {"wait soon", "line 1: wait takes seconds from 0 to 60"},
        {"wait nan", "line 1: wait takes seconds from 0 to 60"},
        {"Print", "line 1: unknown command \"Print\""},
    };
    for (const auto& row : kRefused) {
        EXPECT_FALSE(run({row.line, "print"})) << row.line;
        EXPECT_EQ(error, row.error) << row.line;
        EXPECT_FALSE(jobWritten()) << row.line;
    }
}

// The first word of every form in the README's table of script lines.
QStringList readmeCommands() {
    QFile readme(QStringLiteral(VEXTEL_SOURCE_DIR "/README.md"));
    if (!readme.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    const QRegularExpression form(QStringLiteral("`([^`]*)`"));
    QStringList names;
    bool inTable = false;
    for (const QString& line : QString::fromUtf8(readme.readAll()).split('\n')) {
        if (line.startsWith(QLatin1String("| line |"))) {
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

TEST(ScriptCommandTable, TheReadmeListsExactlyTheTablesCommands) {
    QStringList documented = readmeCommands();
    QStringList table = ScriptRunner::commandNames();
    ASSERT_FALSE(table.isEmpty());
    EXPECT_EQ(table.removeDuplicates(), 0) << "a command is in the table twice";
    documented.sort();
    table.sort();
    EXPECT_EQ(documented, table);
}

TEST_F(ScriptRunnerTest, LoadReportsAMissingFile) {
    QStringList lines;
    QString loadError;
    EXPECT_FALSE(ScriptRunner::load(temp.filePath("none.script"), &lines, &loadError));
    EXPECT_TRUE(loadError.contains("none.script"));
}

TEST_F(ScriptRunnerTest, AConfinedScriptWritesOnlyInsideItsFolderAndWaitsBriefly) {
    const QString folder = temp.filePath("confined");
    ASSERT_TRUE(QDir().mkpath(folder + "/sub"));
    const ScriptRunner::Confinement confinement{folder + "/sub/..", 0.01};
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(run({"screenshot sub/../shot.png", "wait 60", "destination pdf saved.txt", "print"},
                    confinement))
        << error.toStdString();
    EXPECT_LT(timer.elapsed(), 30000) << "the wait was not shortened";
    EXPECT_FALSE(QImage(folder + "/shot.png").isNull());
    EXPECT_TRUE(QFile::exists(folder + "/saved.txt"));

    for (const QString& line :
         QStringList{"screenshot ../escape.png", "screenshot sub/../../escape.png",
                     "screenshot " + temp.filePath("escape.png"), "screenshot \"\"",
                     "destination pdf ../escape.png"}) {
        output.clear();
        EXPECT_FALSE(run({line, "print"}, confinement)) << line.toStdString();
        EXPECT_TRUE(error.startsWith("line 1: the file ")) << error.toStdString();
        EXPECT_TRUE(error.contains("lies outside the folder")) << error.toStdString();
        EXPECT_EQ(outcome(), PrintDialog::Outcome::Cancelled);
    }
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files), QStringList{"letter.txt"});
}

} // namespace
