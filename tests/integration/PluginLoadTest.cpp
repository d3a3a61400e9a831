// A test host loads the built plug-in bundle from disk, as the print dialog does, and drives the
// fax panel through its view the way a user would.
#include "help/HelpCenter.h"
#include "kit/Bundle.h"
#include "kit/PopUpButton.h"
#include "kit/TextField.h"
#include "printing/PluginLoader.h"
#include "vextelpde/JobParameterKeys.h"
#include "vextelpde/PanelTestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

namespace {
using tarvik_pde_m40vextel::jobParameterKey;
using tarvik_pde_m40vextel::kVTelCoverSenderName;

const QString kSenderKey = jobParameterKey(kVTelCoverSenderName);

class PluginLoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        kit::Bundle::setPreferredLanguagesForTesting({QStringLiteral("en")});
        QString error;
        plugin = printing::PluginLoader::load(
            QStringLiteral(VEXTEL_PLUGIN_DIR) + QStringLiteral("/VextelPDE.plugin"), &error);
        ASSERT_TRUE(plugin) << error.toStdString();
        ppd = panel_test::openPpd(panel_test::kMainPpd);
        ASSERT_TRUE(ppd);
        host = std::make_unique<panel_test::FakeHost>(ppd.get());
    }
    void TearDown() override {
        dialog.reset();
        panels.clear();
        plugin.reset();
        kit::Bundle::setPreferredLanguagesForTesting({});
    }

    printing::PanelProtocol* onlyPanel() {
        auto made =
            plugin->factory()->PDEPanelsForType(printing::kPrintDialogPanelType, host.get());
        EXPECT_TRUE(made.has_value());
        if (!made || made->size() != 1) {
            ADD_FAILURE() << "expected exactly one panel";
            return nullptr;
        }
        panels = std::move(*made);
        return panels.front().get();
    }

    // Puts the panel's view into a dialog of the host's own and shows it.
    kit::View* showPanel(printing::PanelProtocol* panel) {
        kit::View* view = panel->panelView();
        if (view == nullptr) {
            return nullptr;
        }
        dialog = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(dialog.get());
        layout->addWidget(view->widget());
        panel->restoreValuesAndReturnError(nullptr);
        panel->willShow();
        dialog->show();
        QApplication::processEvents();
        return view;
    }

    std::unique_ptr<printing::LoadedPlugin> plugin;
    panel_test::PpdPtr ppd;
    std::unique_ptr<panel_test::FakeHost> host;
    std::vector<std::unique_ptr<printing::PanelProtocol>> panels;
    // Destroyed before the panels, as a host closing its dialog does.
    std::unique_ptr<QWidget> dialog;
};

TEST_F(PluginLoadTest, OtherDialogTypesGetNoPanel) {
    auto made = plugin->factory()->PDEPanelsForType("page-setup", host.get());
    ASSERT_TRUE(made.has_value());
    EXPECT_TRUE(made->empty());
}

TEST_F(PluginLoadTest, UserChangesCoverPageAndTypesSenderName) {
    printing::PanelProtocol* panel = onlyPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->panelName(), "Fax Settings");
    EXPECT_EQ(panel->panelKind(), "com.tarvik.print.VextelPDE");
    kit::View* view = showPanel(panel);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->widget()->isVisible());

    auto* coverPopup = qobject_cast<kit::PopUpButton*>(view->viewWithTag(8));
    auto* senderModePopup = qobject_cast<kit::PopUpButton*>(view->viewWithTag(10));
    ASSERT_NE(coverPopup, nullptr);
    ASSERT_NE(senderModePopup, nullptr);
    EXPECT_EQ(coverPopup->titleOfSelectedItem(), "Standard");

    // Up from "Standard" is the first item, "No Cover Page".
    QTest::keyClick(coverPopup->comboBox(), Qt::Key_Up);
    EXPECT_EQ(coverPopup->titleOfSelectedItem(), "No Cover Page");
    EXPECT_EQ(panel_test::markedChoiceOf(ppd.get(), "TKFaxCoverPageMode"), "None");
    EXPECT_FALSE(senderModePopup->isEnabled());

    QTest::keyClick(coverPopup->comboBox(), Qt::Key_Down);
    QTest::keyClick(coverPopup->comboBox(), Qt::Key_Down);
    EXPECT_EQ(panel_test::markedChoiceOf(ppd.get(), "TKFaxCoverPageMode"), "Detailed");
    EXPECT_TRUE(senderModePopup->isEnabled());

    QLineEdit* nameEdit = view->widget()->findChild<QLineEdit*>("senderNameTextEdit");
    ASSERT_NE(nameEdit, nullptr);
    ASSERT_TRUE(nameEdit->isEnabled());
    QTest::keyClicks(nameEdit, "Jane Doe");
    // A character the printer cannot print is refused as it is typed.
    QKeyEvent accented(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier,
                       QString::fromUtf8("\u00e9"));
    QApplication::sendEvent(nameEdit, &accented);
    EXPECT_EQ(nameEdit->text(), "Jane Doe");

    ASSERT_TRUE(panel->saveValuesAndReturnError(nullptr));
    EXPECT_EQ(host->settings.value(kSenderKey).toString(), "Jane Doe");
    EXPECT_EQ(panel_test::markedChoiceOf(ppd.get(), "TKFaxSenderMode"), "EnterName");

    const QVariantMap summary = panel->summaryInfo().value();
    EXPECT_EQ(summary.value(printing::kSummaryDisplayOrderKey).toStringList(),
              QStringList(
                  {"Image Quality", "Transmission Report", "Cover Page", "Sender", "Sender Name"}));
    EXPECT_EQ(summary.value("Cover Page").toString(), "Detailed");
    EXPECT_EQ(summary.value("Sender Name").toString(), "Jane Doe");

    host->session.setDestination(printing::kDestinationFile, "/tmp/fax.pdf");
    EXPECT_TRUE(panel->shouldPrint());
}

TEST_F(PluginLoadTest, SenderNameFieldStopsAtThirtyCharacters) {
    printing::PanelProtocol* panel = onlyPanel();
    ASSERT_NE(panel, nullptr);
    kit::View* view = showPanel(panel);
    ASSERT_NE(view, nullptr);
    QLineEdit* nameEdit = view->widget()->findChild<QLineEdit*>("senderNameTextEdit");
    ASSERT_NE(nameEdit, nullptr);
    QTest::keyClicks(nameEdit, QString(35, QLatin1Char('n')));
    EXPECT_EQ(nameEdit->text(), QString(30, QLatin1Char('n')));
}

TEST_F(PluginLoadTest, HelpIsShownByThePanel) {
    printing::PanelProtocol* panel = onlyPanel();
    ASSERT_NE(panel, nullptr);
    help::ViewerRecorder recorder;
    EXPECT_FALSE(panel->shouldShowHelp());
    ASSERT_EQ(recorder.openedUrls().size(), 1);
    EXPECT_TRUE(recorder.openedUrls().front().path().endsWith("/FaxSettings.htm"));
}

} // namespace
