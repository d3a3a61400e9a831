#include "vextelpde/VextelPdeInterface.h"

#include "common/InputStringChecker.h"
#include "help/HelpCenter.h"
#include "kit/Bundle.h"
#include "kit/Environment.h"
#include "kit/ModalDriver.h"
#include "kit/PopUpButton.h"
#include "kit/Window.h"
#include "vextelpde/JobParameterKeys.h"
#include "vextelpde/PanelTestSupport.h"
#include "vextelpde/VextelPdePlugin.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

using tarvik_pde_m40vextel::jobParameterKey;
using tarvik_pde_m40vextel::kVTelCoverSenderName;
using tarvik_pde_m40vextel::kVTelDestinationNumber;
using tarvik_pde_m40vextel::kVTelDestinationPhoneNumber;
using tarvik_pde_m40vextel::VextelPdeInterface;
using tarvik_pde_m40vextel::VextelPdePlugin;

namespace {

const QString kSenderKey = jobParameterKey(kVTelCoverSenderName);

class VextelPdeInterfaceTest : public ::testing::Test {
protected:
    void SetUp() override { open(panel_test::kMainPpd); }
    void TearDown() override {
        panel.reset();
        kit::Bundle::setPreferredLanguagesForTesting({});
    }

    void open(const char* ppdPath) {
        VextelPdePlugin::registerClasses();
        kit::Bundle::setPreferredLanguagesForTesting({QStringLiteral("en")});
        bundle = panel_test::pluginBundle();
        ASSERT_TRUE(bundle);
        panel.reset();
        ppd = panel_test::openPpd(ppdPath);
        ASSERT_TRUE(ppd);
        host = std::make_unique<panel_test::FakeHost>(ppd.get());
        panel = std::make_unique<VextelPdeInterface>(host.get(), bundle);
    }

    // The panel as the host shows it: view loaded, values restored, shown.
    tarvik_pde_m40vextel::VextelPdeView* show() {
        auto* view = panel->panelView();
        EXPECT_NE(view, nullptr);
        panel->restoreValuesAndReturnError(nullptr);
        panel->willShow();
        return panel->vextelView();
    }

    // Picks the item as a user would: the popup sends its action to the panel.
    static void pick(kit::PopUpButton* popup, const QString& title) {
        const int index = popup->indexOfItemWithTitle(title);
        ASSERT_GE(index, 0) << title.toStdString();
        popup->selectItemAtIndex(index);
        popup->sendAction();
    }

    const tarvik_pde_m40vextel::PpdFeature& feature(const QString& keyword) {
        for (const auto& candidate : panel->ppdFeatures()) {
            if (candidate.keyword() == keyword) {
                return candidate;
            }
        }
        ADD_FAILURE() << "no feature " << keyword.toStdString();
        return panel->ppdFeatures().front();
    }

    std::shared_ptr<kit::Bundle> bundle;
    panel_test::PpdPtr ppd;
    std::unique_ptr<panel_test::FakeHost> host;
    std::unique_ptr<VextelPdeInterface> panel;
};

TEST_F(VextelPdeInterfaceTest, OneFeaturePerListedKeywordReportedInListOrder) {
    EXPECT_EQ(panel->supportedPPDOptionKeys(),
              QStringList({"TKFaxImageQuality", "TKFaxTransmissionReport", "TKFaxCoverPageMode",
                           "TKFaxSenderMode"}));
    EXPECT_FALSE(panel->printerAddress().has_value());
}

TEST_F(VextelPdeInterfaceTest, PanelNameComesFromTheFaxGroupElseFaxSettings) {
    open("tests/fixtures/ppd-panel/no-localizable-index.ppd");
    EXPECT_EQ(panel->panelName(), "Fax Options");
    open("tests/fixtures/ppd-panel/no-fax-group.ppd");
    EXPECT_EQ(panel->panelName(), "Fax Settings");
}

TEST_F(VextelPdeInterfaceTest, ViewIsLoadedOnceWithPpdControlsAndFormatter) {
    kit::View* first = panel->panelView();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(panel->panelView(), first);
    auto* view = panel->vextelView();
    EXPECT_EQ(view->imageQualityTitle()->stringValue(), "Image Quality");
    EXPECT_EQ(view->coverPagePopup()->itemTitles(),
              QStringList({"No Cover Page", "Standard", "Detailed"}));
    EXPECT_EQ(view->ppdKeywordForObject(view->senderModePopup()), "TKFaxSenderMode");
    // English printer table: the box title differs for this model.
    EXPECT_EQ(view->coverSettingGroup()->title(), "Cover Sheet");
    ASSERT_NE(panel->senderNameTextField(), nullptr);
    EXPECT_EQ(panel->senderNameTextField()->formatter(), panel->senderNameFieldFormatter());
    EXPECT_EQ(panel->senderNameTextField(), view->senderNameTextEdit());
}

TEST_F(VextelPdeInterfaceTest, GermanViewTakesPrinterTableThenDefaultTable) {
    kit::Bundle::setPreferredLanguagesForTesting({QStringLiteral("de")});
    auto* view = panel->panelView() ? panel->vextelView() : nullptr;
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->coverSettingGroup()->title(), "Faxdeckblatt");
    EXPECT_EQ(view->defaultsButton()->title(), "Standardwerte");
    EXPECT_EQ(view->senderNameTitle()->stringValue(), "Absendername");
}

TEST_F(VextelPdeInterfaceTest, CoverPageAndSenderModeDecideWhatCanBeEdited) {
    auto* view = show();
    ASSERT_NE(view, nullptr);
    kit::TextField* name = panel->senderNameTextField();
    // The PPD's defaults: cover Standard, sender EnterName.
    EXPECT_TRUE(view->senderModePopup()->isEnabled());
    EXPECT_TRUE(name->isEnabled());

    pick(view->coverPagePopup(), "No Cover Page");
    EXPECT_EQ(panel_test::markedChoiceOf(ppd.get(), "TKFaxCoverPageMode"), "None");
    EXPECT_FALSE(view->senderModePopup()->isEnabled());
    EXPECT_FALSE(name->isEnabled());

    pick(view->senderModePopup(), "Login Name");
    EXPECT_FALSE(view->senderModePopup()->isEnabled());
    EXPECT_FALSE(name->isEnabled());

    pick(view->coverPagePopup(), "Detailed");
    EXPECT_TRUE(view->senderModePopup()->isEnabled());
    EXPECT_FALSE(name->isEnabled());

    pick(view->senderModePopup(), "Enter Name");
    EXPECT_TRUE(view->senderModePopup()->isEnabled());
    EXPECT_TRUE(name->isEnabled());
    EXPECT_EQ(feature("TKFaxSenderMode").curChoice(), "EnterName");
    EXPECT_EQ(feature("TKFaxCoverPageMode").curChoice(), "Detailed");
}

TEST_F(VextelPdeInterfaceTest, PpdMarkedWithoutCoverPageShowsDisabledSenderControls) {
    open("tests/fixtures/ppd-panel/marked-choice.ppd");
    auto* view = show();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->coverPagePopup()->titleOfSelectedItem(), "No Cover Page");
    EXPECT_EQ(view->imageQualityPopup()->titleOfSelectedItem(), "Fine");
    EXPECT_FALSE(view->senderModePopup()->isEnabled());
    EXPECT_FALSE(panel->senderNameTextField()->isEnabled());
}

TEST_F(VextelPdeInterfaceTest, RefusedChangeLeavesFeaturesAndNameAsTheyWere) {
    auto* view = show();
    ASSERT_NE(view, nullptr);
    panel->senderNameTextField()->setStringValue("Typed Only");
    host->refuseChanges = true;
    pick(view->coverPagePopup(), "No Cover Page");
    ASSERT_EQ(host->requests.size(), 1u);
    EXPECT_EQ(host->requests.back(),
              std::make_pair(QString("TKFaxCoverPageMode"), QString("None")));
    EXPECT_EQ(feature("TKFaxCoverPageMode").curChoice(), "Standard");
    EXPECT_EQ(panel->senderName(), "");
    EXPECT_TRUE(view->senderModePopup()->isEnabled());
    // The next refresh shows the feature's choice again.
    panel->updateUI();
    EXPECT_EQ(view->coverPagePopup()->titleOfSelectedItem(), "Standard");
}

TEST_F(VextelPdeInterfaceTest, PopupChangeTakesTheTypedNameOrRestoresAnUnacceptableOne) {
    auto* view = show();
    ASSERT_NE(view, nullptr);
    kit::TextField* name = panel->senderNameTextField();
    name->setStringValue("Jane Doe");
    pick(view->imageQualityPopup(), "Fine");
    EXPECT_EQ(panel->senderName(), "Jane Doe");

    // A text set from outside, bypassing the field's formatter.
    name->setStringValue(QString::fromUtf8("J\u00e4ne"));
    pick(view->imageQualityPopup(), "Photo");
    EXPECT_EQ(name->stringValue(), "Jane Doe");
    EXPECT_EQ(panel->senderName(), "Jane Doe");

    name->setStringValue(QString("\tTab"));
    panel->uiValueDidChange(name);
    EXPECT_EQ(name->stringValue(), "Jane Doe");
}

// Two choices titled "Fine": the popup keeps showing the one that is marked, not the first.
TEST_F(VextelPdeInterfaceTest, PopupShowsTheMarkedOneOfTwoChoicesWithTheSameText) {
    open("tests/fixtures/ppd-panel/same-choice-text.ppd");
    auto* view = show();
    ASSERT_NE(view, nullptr);
    kit::PopUpButton* popup = view->imageQualityPopup();
    ASSERT_EQ(popup->itemTitles(), QStringList({"Standard", "Fine", "Fine", "Photo"}));
    for (const int index : {2, 1, 2}) {
        popup->selectItemAtIndex(index);
        popup->sendAction();
        panel->updateUI();
        const QString choice = index == 2 ? "SuperFine" : "Fine";
        EXPECT_EQ(panel_test::markedChoiceOf(ppd.get(), "TKFaxImageQuality"), choice);
        EXPECT_EQ(feature("TKFaxImageQuality").curChoice(), choice);
        EXPECT_EQ(popup->indexOfSelectedItem(), index) << choice.toStdString();
    }
}

// The refusal comes with a reason, which the host shows the person, in the panel's language.
TEST_F(VextelPdeInterfaceTest, RefusedSaveSaysWhyInTheUsersLanguage) {
    const std::pair<const char*, const char*> cases[] = {
        {"en", "The sender name can have at most 30 characters: letters A to Z, digits, spaces "
               "and punctuation."},
        {"de", "Der Absendername darf h\u00f6chstens 30 Zeichen haben: Buchstaben A bis Z, "
               "Ziffern, Leerzeichen und Satzzeichen."},
    };
    for (const auto& [language, reason] : cases) {
        open(panel_test::kMainPpd); // in English
        kit::Bundle::setPreferredLanguagesForTesting({QString::fromLatin1(language)});
        show();
        panel->senderNameTextField()->setStringValue(QString::fromUtf8("J\u00e4ne"));
        QString error;
        EXPECT_FALSE(panel->saveValuesAndReturnError(&error));
        EXPECT_EQ(error, QString::fromUtf8(reason)) << language;
    }
}

TEST_F(VextelPdeInterfaceTest, DefaultsResetEveryFeatureTellTheHostAndEmptyTheName) {
    auto* view = show();
    ASSERT_NE(view, nullptr);
    pick(view->imageQualityPopup(), "Photo");
    pick(view->reportOptionPopup(), "Never");
    panel->senderNameTextField()->setStringValue("Jane Doe");
    pick(view->coverPagePopup(), "Detailed");
    host->requests.clear();

    view->defaultsButton()->performClick();

    using Request = std::pair<QString, QString>;
    EXPECT_EQ(host->requests, (std::vector<Request>{{"TKFaxImageQuality", "Standard"},
                                                    {"TKFaxTransmissionReport", "OnError"},
                                                    {"TKFaxCoverPageMode", "Standard"},
                                                    {"TKFaxSenderMode", "EnterName"}}));
    EXPECT_EQ(view->imageQualityPopup()->titleOfSelectedItem(), "Standard");
    EXPECT_EQ(view->coverPagePopup()->titleOfSelectedItem(), "Standard");
    EXPECT_EQ(panel->senderName(), "");
    EXPECT_FALSE(panel->senderName().isNull());
    EXPECT_EQ(panel->senderNameTextField()->stringValue(), "");
}

TEST_F(VextelPdeInterfaceTest, SaveRefusesA31CharacterNameAndWritesNothing) {
    show();
    kit::TextField* name = panel->senderNameTextField();
    name->setStringValue(QString(30, QLatin1Char('A')));
    ASSERT_TRUE(panel->saveValuesAndReturnError(nullptr));
    host->settings.setValue(kSenderKey, QVariant(), false);

    name->setStringValue(QString(31, QLatin1Char('B')));
    EXPECT_FALSE(panel->saveValuesAndReturnError(nullptr));
    EXPECT_FALSE(host->settings.contains(kSenderKey));
    EXPECT_EQ(name->stringValue(), QString(30, QLatin1Char('A')));
    EXPECT_EQ(panel->senderName(), QString(30, QLatin1Char('A')));
}

TEST_F(VextelPdeInterfaceTest, SavedNameIsRestoredByANewPanelOnTheSamePrintSettings) {
    show();
    panel->senderNameTextField()->setStringValue("Jane Doe");
    ASSERT_TRUE(panel->saveValuesAndReturnError(nullptr));
    EXPECT_EQ(host->settings.value(kSenderKey).toString(), "Jane Doe");
    panel.reset();

    panel = std::make_unique<VextelPdeInterface>(host.get(), bundle);
    show();
    EXPECT_EQ(panel->senderNameTextField()->stringValue(), "Jane Doe");
    const QVariantMap summary = panel->summaryInfo().value();
    EXPECT_EQ(summary.value("Sender Name").toString(), "Jane Doe");
}

TEST_F(VextelPdeInterfaceTest, RestoreWithoutStoredNameGivesTheEmptyName) {
    EXPECT_TRUE(panel->senderName().isNull());
    EXPECT_EQ(panel->summaryInfo()->value("Sender Name").toString(), "");
    ASSERT_TRUE(panel->restoreValuesAndReturnError(nullptr));
    EXPECT_FALSE(panel->senderName().isNull());
    EXPECT_EQ(panel->senderName(), "");

    // A value that is not text, written by other software, restores as no name.
    host->settings.setValue(kSenderKey, 42, false);
    panel->setSenderName("Old");
    ASSERT_TRUE(panel->restoreValuesAndReturnError(nullptr));
    EXPECT_EQ(panel->senderName(), "");
}

// Print settings written by other software (or an old preset) may hold a name the panel would
// never accept; taken as it is, every later save and print would fail, and with no cover page the
// disabled field could not even be cleared.
TEST_F(VextelPdeInterfaceTest, StoredNameBreakingTheRuleRestoresAsNoName) {
    host->settings.setValue(kSenderKey, QString(31, QLatin1Char('x')), false);
    ppdMarkOption(ppd.get(), "TKFaxCoverPageMode", "None");
    show();
    EXPECT_EQ(panel->senderName(), "");
    EXPECT_EQ(panel->senderNameTextField()->stringValue(), "");
    EXPECT_TRUE(panel->saveValuesAndReturnError(nullptr));
    EXPECT_EQ(host->settings.value(kSenderKey).toString(), "");
    host->session.setDestination(printing::kDestinationPreview);
    EXPECT_TRUE(panel->shouldPrint());

    host->settings.setValue(kSenderKey, QString::fromUtf8("J\u00e4ne"), false);
    ASSERT_TRUE(panel->restoreValuesAndReturnError(nullptr));
    EXPECT_EQ(panel->senderName(), "");
    EXPECT_EQ(panel->summaryInfo()->value("Sender Name").toString(), "");

    host->settings.setValue(kSenderKey, QString(30, QLatin1Char('y')), false);
    ASSERT_TRUE(panel->restoreValuesAndReturnError(nullptr));
    EXPECT_EQ(panel->senderName(), QString(30, QLatin1Char('y')));
}

TEST_F(VextelPdeInterfaceTest, WithoutPrintSettingsRestoreKeepsTheNameAndSaveSucceeds) {
    show();
    host->hasSettings = false;
    panel->setSenderName("Kept");
    EXPECT_TRUE(panel->restoreValuesAndReturnError(nullptr));
    EXPECT_EQ(panel->senderNameTextField()->stringValue(), "Kept");
    panel->senderNameTextField()->setStringValue("Changed");
    EXPECT_TRUE(panel->saveValuesAndReturnError(nullptr));
    EXPECT_EQ(panel->senderName(), "Changed");
}

TEST_F(VextelPdeInterfaceTest, SaveReportsAStoreThatFailed) {
    show();
    host->settings.failStoresForKey(kSenderKey);
    panel->senderNameTextField()->setStringValue("Jane Doe");
    QString error;
    EXPECT_FALSE(panel->saveValuesAndReturnError(&error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(host->settings.contains(kSenderKey));
}

TEST_F(VextelPdeInterfaceTest, SaveWithoutViewWritesNothing) {
    EXPECT_TRUE(panel->saveValuesAndReturnError(nullptr));
    EXPECT_FALSE(host->settings.contains(kSenderKey));
}

TEST_F(VextelPdeInterfaceTest, SummaryListsFourOptionsThenTheSenderName) {
    show();
    panel->senderNameTextField()->setStringValue("Jane Doe");
    pick(panel->vextelView()->reportOptionPopup(), "Always");
    const QVariantMap summary = panel->summaryInfo().value();
    const QStringList order = summary.value(printing::kSummaryDisplayOrderKey).toStringList();
    EXPECT_EQ(order, QStringList({"Image Quality", "Transmission Report", "Cover Page", "Sender",
                                  "Sender Name"}));
    EXPECT_EQ(summary.size(), 6);
    EXPECT_EQ(summary.value("Image Quality").toString(), "Standard");
    EXPECT_EQ(summary.value("Transmission Report").toString(), "Always");
    EXPECT_EQ(summary.value("Sender").toString(), "Enter Name");
    EXPECT_EQ(summary.value("Sender Name").toString(), "Jane Doe");
}

TEST_F(VextelPdeInterfaceTest, SummaryLabelComesFromThePanelsTable) {
    kit::Bundle::setPreferredLanguagesForTesting({QStringLiteral("de")});
    const QVariantMap summary = panel->summaryInfo().value();
    EXPECT_TRUE(summary.contains("Absendername"));
    EXPECT_EQ(summary.value(printing::kSummaryDisplayOrderKey).toStringList().last(),
              "Absendername");
}

TEST_F(VextelPdeInterfaceTest, AddressBookButtonIsHiddenFromMinorVersionSeven) {
    {
        kit::Environment::resetCachesForTesting();
        kit::Environment::KernelReleaseOverride older(QStringLiteral("9.8.0"));
        show();
        EXPECT_FALSE(panel->addressBookButton()->isHidden());
    }
    kit::Environment::resetCachesForTesting();
    kit::Environment::KernelReleaseOverride newer(QStringLiteral("11.4.2"));
    panel->updateUI();
    EXPECT_TRUE(panel->addressBookButton()->isHidden());
    kit::Environment::resetCachesForTesting();
}

TEST_F(VextelPdeInterfaceTest, JobToAFileOrPreviewPassesWithoutTheFaxDialog) {
    show();
    host->session.setDestination(printing::kDestinationFile, "/tmp/out.pdf");
    EXPECT_TRUE(panel->shouldPrint());
    host->session.setDestination(printing::kDestinationPreview);
    EXPECT_TRUE(panel->shouldPrint());
    EXPECT_EQ(panel->detailedFaxSettingContoller(), nullptr);
    EXPECT_TRUE(host->settings.keys().isEmpty());
}

TEST_F(VextelPdeInterfaceTest, UnacceptableSenderNameCancelsBeforeAnyDialog) {
    show();
    panel->senderNameTextField()->setStringValue("Jane Doe");
    ASSERT_TRUE(panel->saveValuesAndReturnError(nullptr));
    host->session.setDestination(printing::kDestinationPrinter);
    panel->senderNameTextField()->setStringValue(QString(31, QLatin1Char('x')));
    EXPECT_FALSE(panel->shouldPrint());
    EXPECT_EQ(panel->detailedFaxSettingContoller(), nullptr);
    EXPECT_EQ(panel->senderNameTextField()->stringValue(), "Jane Doe");
}

bool copyFolder(const QString& from, const QString& to) {
    if (!QDir().mkpath(to)) {
        return false;
    }
    const QDir source(from);
    for (const QFileInfo& entry :
         source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (entry.isDir() ? !copyFolder(entry.filePath(), target)
                          : !QFile::copy(entry.filePath(), target)) {
            return false;
        }
    }
    return true;
}

void press(kit::Window* window, const char* buttonName) {
    auto* button = window->widget()->findChild<QPushButton*>(buttonName);
    ASSERT_NE(button, nullptr) << buttonName;
    button->click();
}

TEST_F(VextelPdeInterfaceTest, StoppedDialogCancelsAndASecondPrintReusesTheController) {
    show();
    kit::ModalDriver driver;
    driver.enqueue([](kit::Window* window) { press(window, "stopButton"); });
    driver.enqueue([](kit::Window* window) { press(window, "stopButton"); });
    kit::ModalDriverScope scope(driver);

    EXPECT_FALSE(panel->shouldPrint());
    tarvik_pde_m40vextel::FaxSettingController* controller = panel->detailedFaxSettingContoller();
    ASSERT_NE(controller, nullptr);
    EXPECT_EQ(controller->bundle(), bundle);
    EXPECT_EQ(controller->ppd(), ppd.get());
    EXPECT_FALSE(controller->printerAddress().has_value());
    EXPECT_FALSE(panel->shouldPrint());
    EXPECT_EQ(panel->detailedFaxSettingContoller(), controller);
    EXPECT_EQ(driver.runCount(), 2);
    EXPECT_TRUE(host->settings.keys().isEmpty());
}

TEST_F(VextelPdeInterfaceTest, StartedDialogWritesTheJobParametersAndPrints) {
    show();
    kit::ModalDriver driver;
    driver.enqueue([](kit::Window* window) {
        auto* name = window->widget()->findChild<QLineEdit*>("addressNameTextField");
        auto* number = window->widget()->findChild<QLineEdit*>("addressPhoneNumberTextField");
        ASSERT_NE(name, nullptr);
        ASSERT_NE(number, nullptr);
        QTest::keyClicks(name, "Jane Doe");
        QTest::keyClicks(number, "0123-456");
        press(window, "addAddressButton");
        press(window, "startButton");
    });
    kit::ModalDriverScope scope(driver);

    EXPECT_TRUE(panel->shouldPrint());
    EXPECT_EQ(host->settings.value(jobParameterKey(kVTelDestinationNumber)).toString(), "1");
    EXPECT_EQ(host->settings.value(jobParameterKey(kVTelDestinationPhoneNumber, 1)).toString(),
              "0123-456");
}

// The gate's failure paths: what the dialog does (Stop, or one recipient and Start), and what
// the gate answers.
TEST_F(VextelPdeInterfaceTest, PrintGateFailurePaths) {
    const auto startWithOneRecipient = [](kit::Window* window) {
        auto* number = window->widget()->findChild<QLineEdit*>("addressPhoneNumberTextField");
        ASSERT_NE(number, nullptr);
        QTest::keyClicks(number, "0123");
        press(window, "addAddressButton");
        press(window, "startButton");
    };
    const auto stop = [](kit::Window* window) {
        press(window, "stopButton");
    };
    struct Case {
        const char* name;
        std::function<void()> arrange;
        kit::ModalDriver::Step inDialog;
        bool answer;
        int dialogRuns;
    };
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const Case cases[] = {
        // An unreadable destination counts as the printer: the dialog is shown.
        {"DestinationUnreadable",
         [this] {
             host->session.setDestination(printing::kDestinationFile, "/tmp/out.pdf");
             host->session.setDestinationQueryFails(true);
         },
         stop, false, 1},
        // A "FaxSetting" layout that does not load: no dialog, and the job is cancelled.
        {"FaxSettingDoesNotLoad",
         [this, &temp] {
             const QString copy = temp.filePath("Broken.plugin");
             ASSERT_TRUE(copyFolder(bundle->bundlePath(), copy));
             QFile layout(copy + "/Contents/Resources/FaxSetting.layout");
             ASSERT_TRUE(layout.open(QIODevice::WriteOnly | QIODevice::Truncate));
             layout.write("{ not a layout");
             layout.close();
             bundle = kit::Bundle::open(copy);
             ASSERT_TRUE(bundle);
             panel = std::make_unique<VextelPdeInterface>(host.get(), bundle);
             show();
         },
         stop, false, 0},
        // Started, but the host has no print settings: the job goes on without fax parameters.
        {"NoPrintSettingsAfterStart", [this] { host->hasSettings = false; }, startWithOneRecipient,
         true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open(panel_test::kMainPpd);
        show();
        c.arrange();
        kit::ModalDriver driver;
        driver.enqueue(c.inDialog);
        kit::ModalDriverScope scope(driver);
        EXPECT_EQ(panel->shouldPrint(), c.answer);
        EXPECT_EQ(driver.runCount(), c.dialogRuns);
        EXPECT_TRUE(host->settings.keys().isEmpty());
    }
}

TEST_F(VextelPdeInterfaceTest, HelpOpensTheFaxSettingsPageAndAnswersFalse) {
    help::ViewerRecorder recorder;
    EXPECT_FALSE(panel->shouldShowHelp());
    ASSERT_EQ(recorder.openedUrls().size(), 1);
    const QUrl page = recorder.openedUrls().front();
    EXPECT_TRUE(page.isLocalFile());
    EXPECT_TRUE(page.path().endsWith("/en.lproj/VextelFaxHelp/FaxSettings.htm"))
        << page.toString().toStdString();
}

// The host may restore before it asks for the view and save without showing the panel: the
// restored name must not be lost to a fresh, empty field, and the popups show the features.
TEST_F(VextelPdeInterfaceTest, ViewLoadedAfterRestoreShowsTheRestoredValuesAndSavesThem) {
    host->settings.setValue(kSenderKey, QStringLiteral("Jane Doe"), false);
    ppdMarkOption(ppd.get(), "TKFaxCoverPageMode", "None");
    ppdMarkOption(ppd.get(), "TKFaxImageQuality", "Photo");
    ASSERT_TRUE(panel->restoreValuesAndReturnError(nullptr));
    ASSERT_NE(panel->panelView(), nullptr);
    EXPECT_EQ(panel->senderNameTextField()->stringValue(), "Jane Doe");
    EXPECT_EQ(panel->vextelView()->imageQualityPopup()->titleOfSelectedItem(), "Photo");
    EXPECT_FALSE(panel->vextelView()->senderModePopup()->isEnabled());

    EXPECT_TRUE(panel->saveValuesAndReturnError(nullptr));
    EXPECT_EQ(host->settings.value(kSenderKey).toString(), "Jane Doe");
    EXPECT_EQ(panel->summaryInfo()->value("Sender Name").toString(), "Jane Doe");
}

} // namespace
