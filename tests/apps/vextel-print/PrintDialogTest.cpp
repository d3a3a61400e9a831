#include "HostFixture.h"
#include "kit/AlertDriver.h"
#include "printing/PrintSettings.h"
#include "support/SilentServer.h"
#include "vextelpde/JobParameterKeys.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeWidget>

namespace {

using tarvik_pde_m40vextel::jobParameterKey;
using tarvik_pde_m40vextel::kVTelCoverSenderName;
using vextel_print::PrintDialog;
using vextel_test::FakePanel;
using vextel_test::HostFixture;

class PrintDialogTest : public HostFixture {
protected:
    QTreeWidget* summaryTree() { return dialog->findChild<QTreeWidget*>(); }
    QWidget* shownPage() { return dialog->findChild<QStackedWidget*>()->currentWidget(); }
};

TEST_F(PrintDialogTest, ListsThePanelsThenSummaryAndShowsTheFirstPanel) {
    FakePanel& first = addPanel("Fax Settings");
    FakePanel& second = addPanel("Other");
    PrintDialog& dialog = makeDialog();
    EXPECT_EQ(dialog.panelTitles(), QStringList({"Fax Settings", "Other", "Summary"}));
    EXPECT_EQ(first.restoreCalls, 1);
    EXPECT_EQ(second.restoreCalls, 1);
    EXPECT_EQ(first.willShowCalls, 1);
    EXPECT_EQ(second.willShowCalls, 0);
    EXPECT_EQ(shownPage(), first.panelView()->widget());
    EXPECT_EQ(dialog.outcome(), PrintDialog::Outcome::Open);
}

TEST_F(PrintDialogTest, SwitchingPanelsSavesTheOneLeft) {
    FakePanel& first = addPanel("Fax Settings");
    FakePanel& second = addPanel("Other");
    PrintDialog& dialog = makeDialog();
    ASSERT_TRUE(dialog.showPanelWithTitle("Other"));
    EXPECT_EQ(first.saveCalls, 1);
    EXPECT_EQ(second.willShowCalls, 1);
    EXPECT_EQ(shownPage(), second.panelView()->widget());
    EXPECT_FALSE(dialog.showPanelWithTitle("Nonexistent"));
}

// A panel's refusal is shown with the panel's reason; nothing happens silently.
void expectOneRefusalAlert(const kit::AlertDriver& alerts, const QString& panelName) {
    ASSERT_EQ(alerts.alerts().size(), 1);
    EXPECT_EQ(alerts.alerts()[0].messageText,
              QStringLiteral(u"The settings in \u201c%1\u201d cannot be used.").arg(panelName));
    EXPECT_EQ(alerts.alerts()[0].informativeText, "the sender is not acceptable");
}

TEST_F(PrintDialogTest, PanelThatRefusesToSaveKeepsItsPage) {
    FakePanel& first = addPanel("Fax Settings");
    addPanel("Other");
    PrintDialog& dialog = makeDialog();
    first.saveSucceeds = false;
    kit::AlertDriver alerts;
    alerts.answer("OK");
    kit::AlertDriverScope scope(alerts);
    EXPECT_FALSE(dialog.showPanelWithTitle("Other"));
    EXPECT_EQ(shownPage(), first.panelView()->widget());
    EXPECT_EQ(dialog.panelPopup()->currentText(), "Fax Settings");
    expectOneRefusalAlert(alerts, "Fax Settings");
}

TEST_F(PrintDialogTest, SaveFailureAtPrintKeepsTheDialogOpenWithoutAskingAnyPanel) {
    FakePanel& first = addPanel("Fax Settings");
    FakePanel& second = addPanel("Other");
    PrintDialog& dialog = makeDialog();
    second.saveSucceeds = false;
    kit::AlertDriver alerts;
    alerts.answer("OK");
    kit::AlertDriverScope scope(alerts);
    dialog.print();
    expectOneRefusalAlert(alerts, "Other");
    EXPECT_EQ(dialog.outcome(), PrintDialog::Outcome::Open);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(first.shouldPrintCalls, 0);
    EXPECT_EQ(second.shouldPrintCalls, 0);
    EXPECT_FALSE(jobWritten());

    // Once the value is corrected, Print goes through.
    second.saveSucceeds = true;
    dialog.print();
    EXPECT_EQ(dialog.outcome(), PrintDialog::Outcome::Sent);
    EXPECT_TRUE(jobWritten());
}

TEST_F(PrintDialogTest, AnyPanelAnsweringNoCancelsTheJob) {
    FakePanel& first = addPanel("Fax Settings");
    FakePanel& second = addPanel("Other");
    PrintDialog& dialog = makeDialog();
    second.printAnswer = false;
    dialog.print();
    EXPECT_EQ(dialog.outcome(), PrintDialog::Outcome::Cancelled);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(first.shouldPrintCalls, 1);
    EXPECT_EQ(second.shouldPrintCalls, 1);
    EXPECT_FALSE(jobWritten());
}

TEST_F(PrintDialogTest, FirstPanelAnsweringNoCancelsTheJob) {
    FakePanel& first = addPanel("Fax Settings");
    addPanel("Other");
    PrintDialog& dialog = makeDialog();
    first.printAnswer = false;
    dialog.print();
    EXPECT_EQ(dialog.outcome(), PrintDialog::Outcome::Cancelled);
    EXPECT_FALSE(jobWritten());
}

TEST_F(PrintDialogTest, EveryPanelAnsweringYesSendsTheJobWithItsCopies) {
    FakePanel& panel = addPanel();
    PrintDialog& dialog = makeDialog();
    ASSERT_EQ(
        host->printSettings()->setValue(jobParameterKey(kVTelCoverSenderName), "Ann Lee", false),
        0);
    dialog.setCopies(2);
    dialog.print();
    EXPECT_EQ(dialog.outcome(), PrintDialog::Outcome::Sent);
    EXPECT_EQ(panel.saveCalls, 1);
    EXPECT_EQ(panel.destinationAtPrint, printing::kDestinationPrinter);
    EXPECT_TRUE(dialog.outcomeText().contains(jobsFolder())) << dialog.outcomeText().toStdString();
    const QString options = jobOptionsText();
    EXPECT_TRUE(options.contains(jobParameterKey(kVTelCoverSenderName) + "=Ann Lee\n"));
    EXPECT_TRUE(options.contains("copies=2\n"));
}

TEST_F(PrintDialogTest, PdfFileDestinationIsSetBeforeThePanelsAreAsked) {
    FakePanel& panel = addPanel();
    PrintDialog& dialog = makeDialog();
    const QString target = temp.filePath("out.pdf");
    ASSERT_TRUE(dialog.chooseDestination("PDF File", target));
    dialog.print();
    EXPECT_EQ(panel.shouldPrintCalls, 1);
    EXPECT_EQ(panel.destinationAtPrint, printing::kDestinationFile);
    EXPECT_EQ(dialog.outcome(), PrintDialog::Outcome::Sent);
    EXPECT_TRUE(QFileInfo::exists(target));
    EXPECT_FALSE(jobWritten());
}

TEST_F(PrintDialogTest, UnknownDestinationIsRefused) {
    addPanel();
    EXPECT_FALSE(makeDialog().chooseDestination("Fax Modem"));
}

TEST_F(PrintDialogTest, TheWindowsLayoutNamesTheControlsScriptsUseAndWiresThem) {
    FakePanel& first = addPanel("Fax Settings");
    FakePanel& second = addPanel("Other");
    PrintDialog& dialog = makeDialog();
    const struct {
        const char* name;
        const char* widgetClass;
    } kControls[] = {
        {"copies", "QSpinBox"},         {"destination", "QComboBox"},
        {"panelPopup", "QComboBox"},    {"statusLabel", "QLabel"},
        {"helpButton", "QPushButton"},  {"cancelButton", "QPushButton"},
        {"printButton", "QPushButton"},
    };
    for (const auto& control : kControls) {
        auto* widget = dialog.findChild<QWidget*>(control.name);
        ASSERT_NE(widget, nullptr) << control.name;
        EXPECT_TRUE(widget->inherits(control.widgetClass)) << control.name;
    }
    EXPECT_EQ(dialog.copies(), 1);
    dialog.setCopies(1000);
    EXPECT_EQ(dialog.copies(), 999);
    EXPECT_TRUE(dialog.printButton()->isDefault());

    // A person's pick in the panel popup, then Cancel.
    dialog.panelPopup()->setCurrentIndex(1);
    emit dialog.panelPopup()->activated(1);
    EXPECT_EQ(first.saveCalls, 1);
    EXPECT_EQ(shownPage(), second.panelView()->widget());
    dialog.cancelButton()->click();
    EXPECT_EQ(dialog.outcome(), PrintDialog::Outcome::Cancelled);
}

TEST_F(PrintDialogTest, CancelEndsWithoutAskingThePanels) {
    FakePanel& panel = addPanel();
    PrintDialog& dialog = makeDialog();
    dialog.cancel();
    EXPECT_EQ(dialog.outcome(), PrintDialog::Outcome::Cancelled);
    EXPECT_EQ(panel.shouldPrintCalls, 0);
    EXPECT_FALSE(jobWritten());
}

TEST_F(PrintDialogTest, AJobThatCannotGoOutIsReportedToThePerson) {
    addPanel();
    // The jobs folder cannot be made under a plain file.
    QFile blocker(jobsFolder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    PrintDialog& dialog = makeDialog();
    kit::AlertDriver alerts;
    alerts.answer("OK");
    kit::AlertDriverScope scope(alerts);
    dialog.print();
    EXPECT_EQ(dialog.outcome(), PrintDialog::Outcome::Failed);
    ASSERT_EQ(alerts.alerts().size(), 1);
    EXPECT_EQ(alerts.alerts()[0].messageText, "The job could not be sent.");
    EXPECT_EQ(alerts.alerts()[0].informativeText, dialog.outcomeText());
    EXPECT_TRUE(dialog.outcomeText().startsWith("the job could not be written"))
        << dialog.outcomeText().toStdString();
}

// A print server that takes the connection and never answers: the window keeps drawing, greyed
// out with a word on what it does, until the submitter gives up; then the person is told.
TEST_F(PrintDialogTest, TheWindowStaysAliveWhileASilentServerIsTried) {
    vextel_test::SilentServer server;
    ASSERT_TRUE(server.isListening());
    dispatcher = std::make_unique<vextel_print::JobDispatcher>(
        vextel_print::JobDispatcher::Target{"fax", server.address(), jobsFolder()},
        QStringList{document});
    addPanel();
    PrintDialog& dialog = makeDialog();
    kit::AlertDriver alerts;
    alerts.answer("OK");
    kit::AlertDriverScope scope(alerts);

    QString statusWhileSending;
    bool printButtonEnabledWhileSending = true;
    QTimer::singleShot(300, &dialog, [&] {
        statusWhileSending = dialog.findChild<QLabel*>("statusLabel")->text();
        printButtonEnabledWhileSending = dialog.printButton()->isEnabled();
    });
    dialog.print();

    EXPECT_EQ(statusWhileSending, "Sending the job…");
    EXPECT_FALSE(printButtonEnabledWhileSending);
    EXPECT_EQ(dialog.outcome(), PrintDialog::Outcome::Failed);
    EXPECT_TRUE(dialog.outcomeText().contains("did not answer"))
        << dialog.outcomeText().toStdString();
    EXPECT_EQ(alerts.alerts().size(), 1);
    EXPECT_TRUE(dialog.printButton()->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(PrintDialogTest, ClosingTheWindowIsACancel) {
    FakePanel& panel = addPanel();
    PrintDialog& dialog = makeDialog();
    dialog.show();
    dialog.close();
    EXPECT_EQ(dialog.outcome(), PrintDialog::Outcome::Cancelled);
    EXPECT_EQ(dialog.outcomeText(), "the job was cancelled");
    EXPECT_EQ(panel.shouldPrintCalls, 0);
    EXPECT_FALSE(jobWritten());
}

TEST_F(PrintDialogTest, SummaryFollowsEachPanelsDisplayOrder) {
    FakePanel& fax = addPanel("Fax Settings");
    addPanel("Silent"); // no summary: no group
    FakePanel& other = addPanel("Other");
    fax.summary = QVariantMap{
        {printing::kSummaryDisplayOrderKey, QStringList({"Sender", "Cover Page", "Image Quality"})},
        {"Image Quality", "Fine"},
        {"Sender", "Ann Lee"},
        {"Cover Page", "Standard"},
        {"Not Listed", "hidden"}};
    other.summary = QVariantMap{{printing::kSummaryDisplayOrderKey, QStringList({"Zeta", "Alpha"})},
                                {"Alpha", "a"},
                                {"Zeta", "z"}};
    PrintDialog& dialog = makeDialog();
    ASSERT_TRUE(dialog.showPanelWithTitle("Summary"));

    QTreeWidget* tree = summaryTree();
    ASSERT_NE(tree, nullptr);
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    const QTreeWidgetItem* faxGroup = tree->topLevelItem(0);
    EXPECT_EQ(faxGroup->text(0), "Fax Settings");
    ASSERT_EQ(faxGroup->childCount(), 3);
    const QStringList expected[] = {
        {"Sender", "Ann Lee"}, {"Cover Page", "Standard"}, {"Image Quality", "Fine"}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(faxGroup->child(i)->text(0), expected[i][0]);
        EXPECT_EQ(faxGroup->child(i)->text(1), expected[i][1]);
    }
    const QTreeWidgetItem* otherGroup = tree->topLevelItem(1);
    EXPECT_EQ(otherGroup->text(0), "Other");
    ASSERT_EQ(otherGroup->childCount(), 2);
    EXPECT_EQ(otherGroup->child(0)->text(0), "Zeta");
    EXPECT_EQ(otherGroup->child(1)->text(1), "a");
}

TEST_F(PrintDialogTest, SummaryIsBuiltAfreshEachTimeItIsShown) {
    FakePanel& fax = addPanel("Fax Settings");
    fax.summary = QVariantMap{{printing::kSummaryDisplayOrderKey, QStringList({"Sender"})},
                              {"Sender", "Ann"}};
    PrintDialog& dialog = makeDialog();
    ASSERT_TRUE(dialog.showPanelWithTitle("Summary"));
    ASSERT_TRUE(dialog.showPanelWithTitle("Fax Settings"));
    fax.summary->insert("Sender", "Bob");
    ASSERT_TRUE(dialog.showPanelWithTitle("Summary"));
    QTreeWidget* tree = summaryTree();
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    ASSERT_EQ(tree->topLevelItem(0)->childCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->child(0)->text(1), "Bob");
}

TEST_F(PrintDialogTest, WithoutPanelsTheSummaryShowsAndPrintSends) {
    PrintDialog& dialog = makeDialog();
    EXPECT_EQ(dialog.panelTitles(), QStringList({"Summary"}));
    dialog.print();
    EXPECT_EQ(dialog.outcome(), PrintDialog::Outcome::Sent);
}

TEST_F(PrintDialogTest, PanelViewsSurviveTheDialog) {
    FakePanel& panel = addPanel();
    makeDialog();
    QPointer<QWidget> view = panel.panelView()->widget();
    dialog.reset();
    ASSERT_FALSE(view.isNull());
    EXPECT_EQ(view->parent(), nullptr);
}

} // namespace
