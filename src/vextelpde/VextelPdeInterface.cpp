#include "vextelpde/VextelPdeInterface.h"

#include "common/InputStringChecker.h"
#include "common/TKDRVLocalization.h"
#include "common/UtilityFunctions.h"
#include "common/UtilityService.h"
#include "kit/Bundle.h"
#include "kit/Layout.h"
#include "kit/PopUpButton.h"
#include "kit/SystemLog.h"
#include "printing/PluginCallback.h"
#include "printing/PrintSession.h"
#include "printing/PrintingFunctions.h"
#include "vextelpde/JobParameterKeys.h"

namespace tarvik_pde_m40vextel {

namespace {

const QString kDefaultPanelName = QStringLiteral("Fax Settings");
const QString kFaxGroupName = QStringLiteral("TKFaxSettings");
const QString kCoverPageModeKeyword = QStringLiteral("TKFaxCoverPageMode");
const QString kSenderModeKeyword = QStringLiteral("TKFaxSenderMode");
const QString kNoCoverPageChoice = QStringLiteral("None");
const QString kEnterNameChoice = QStringLiteral("EnterName");
const QString kHelpPage = QStringLiteral("FaxSettings.htm");

// From this system version on the address-book editor is not offered from the panel.
constexpr int kFirstVersionWithoutEditorButton = 7;
// On this system version the help system may keep a stale record of a localized book.
constexpr int kVersionWithStaleHelpCache = 6;

ppd_choice_t* markedChoice(ppd_file_t* ppd, const QString& keyword) {
    if (ppd == nullptr) {
        return nullptr;
    }
    return ppdFindMarkedChoice(ppd, keyword.toLatin1().constData());
}

} // namespace

VextelPdeInterface::VextelPdeInterface(printing::PluginCallback* callback,
                                       std::shared_ptr<kit::Bundle> bundle)
    : BasicPdeInterface(callback, std::move(bundle)) {
    createFeatures();
    if (getOSMinorVersion() == kVersionWithStaleHelpCache && pluginBundle()) {
        UtilityService::removeHelpCacheForBundleID(pluginBundle()->bundleIdentifier());
    }
    if (pluginBundle()) {
        RegisterHelpBook(kit::Bundle::bundleWithIdentifier(pluginBundle()->bundleIdentifier()));
    }
}

VextelPdeInterface::~VextelPdeInterface() {
    // The field may outlive this panel inside a host's dialog; it must not keep a formatter that
    // is about to go.
    if (senderNameTextField_) {
        senderNameTextField_->setFormatter(nullptr);
    }
}

void VextelPdeInterface::createFeatures() {
    if (!pluginBundle()) {
        return;
    }
    const QVariant keys =
        pluginBundle()->objectForInfoDictionaryKey(QStringLiteral("TKPPDKeysSupported"));
    for (const QVariant& keyword : keys.toList()) {
        ppdFeatures_.emplace_back(ppd(), keyword.toString());
    }
}

QString VextelPdeInterface::panelName() {
    if (!thePDEName_.isNull()) {
        return thePDEName_;
    }
    thePDEName_ = kDefaultPanelName;
    if (ppd() == nullptr) {
        return thePDEName_;
    }
    for (int index = 0; index < ppd()->num_groups; ++index) {
        const ppd_group_t& group = ppd()->groups[index];
        if (QString::fromUtf8(group.name) == kFaxGroupName) {
            thePDEName_ = QString::fromUtf8(group.text);
            break;
        }
    }
    return thePDEName_;
}

kit::View* VextelPdeInterface::panelView() {
    if (vextelView_) {
        return vextelView_;
    }
    if (!loadMainPanel() || !vextelView_) {
        return nullptr;
    }
    vextelView_->setBundle(pluginBundle());
    vextelView_->setPPD(ppd());
    vextelView_->initializeControls();
    attachSenderNameFormatter();
    // A host may restore before it asks for the view and save without showing it: a fresh, empty
    // field would then overwrite the restored name.
    updateUI();
    return vextelView_;
}

bool VextelPdeInterface::loadMainPanel() {
    if (!pluginBundle()) {
        return false;
    }
    QList<kit::ObjectRef> topLevelObjects;
    if (!kit::Layout::load(*pluginBundle(), QStringLiteral("MainPanel"), this, &topLevelObjects)) {
        return false;
    }
    mainPanelTopLevelObjs_ = topLevelObjects;
    return true;
}

void VextelPdeInterface::attachSenderNameFormatter() {
    senderNameFieldFormatter_ = InputStringChecker::forRule(kSenderNameRule);
    if (senderNameTextField_) {
        senderNameTextField_->setFormatter(senderNameFieldFormatter_.get());
    }
}

std::optional<QStringList> VextelPdeInterface::supportedPPDOptionKeys() {
    QStringList keys = BasicPdeInterface::supportedPPDOptionKeys().value_or(QStringList());
    for (const PpdFeature& feature : ppdFeatures_) {
        keys.append(feature.keyword());
    }
    return keys;
}

void VextelPdeInterface::willShow() {
    updateUI();
}

void VextelPdeInterface::updateUI() {
    if (!ppdFeatures_.empty()) {
        showFeatureChoices();
    }
    if (senderNameTextField_) {
        senderNameTextField_->setStringValue(senderName_);
    }
    if (addressBookButton_ && getOSMinorVersion() >= kFirstVersionWithoutEditorButton) {
        addressBookButton_->setHidden(true);
    }
}

void VextelPdeInterface::showFeatureChoices() {
    QVariantMap choices;
    for (const PpdFeature& feature : ppdFeatures_) {
        if (vextelView_) {
            vextelView_->setValueForPPDKeyword(feature.curValue(), feature.keyword());
        }
        choices.insert(feature.keyword(), feature.curChoice());
    }
    applyCoverPageRules(choices);
}

void VextelPdeInterface::applyCoverPageRules(const QVariantMap& choices) {
    const bool noCoverPage = choices.contains(kCoverPageModeKeyword) &&
                             choices.value(kCoverPageModeKeyword).toString() == kNoCoverPageChoice;
    const bool nameIsTyped = choices.contains(kSenderModeKeyword) &&
                             choices.value(kSenderModeKeyword).toString() == kEnterNameChoice;
    if (vextelView_) {
        vextelView_->setEnabledForPPDKeyword(!noCoverPage, kSenderModeKeyword);
    }
    if (senderNameTextField_) {
        senderNameTextField_->setEnabled(!noCoverPage && nameIsTyped);
    }
}

void VextelPdeInterface::uiValueDidChange(QObject* sender) {
    if (auto* popup = qobject_cast<kit::PopUpButton*>(sender)) {
        popupDidChange(popup);
    } else if (qobject_cast<kit::TextField*>(sender) != nullptr) {
        senderNameFieldIsAcceptable();
    }
}

void VextelPdeInterface::popupDidChange(kit::PopUpButton* popup) {
    if (!vextelView_) {
        return;
    }
    const QString keyword = vextelView_->ppdKeywordForObject(popup);
    const QString choice = popup->selectedRepresentedObject().toString();
    printing::PluginCallback* host = pdePluginCallbackObject();
    if (keyword.isNull() || host == nullptr ||
        !host->willChangePPDOptionKeyValue(keyword, choice)) {
        return;
    }
    if (ppd_choice_t* marked = markedChoice(ppd(), keyword)) {
        if (PpdFeature* feature = featureForKeyword(keyword)) {
            feature->setCurChoice(marked);
        }
    }
    if (senderNameTextField_) {
        senderNameFieldIsAcceptable();
        senderName_ = senderNameTextField_->stringValue();
    }
    updateUI();
}

PpdFeature* VextelPdeInterface::featureForKeyword(const QString& keyword) {
    for (PpdFeature& feature : ppdFeatures_) {
        if (feature.keyword() == keyword) {
            return &feature;
        }
    }
    return nullptr;
}

bool VextelPdeInterface::senderNameFieldIsAcceptable() {
    if (!senderNameTextField_ || !senderNameFieldFormatter_) {
        return true;
    }
    if (senderNameFieldFormatter_->isPartialStringValid(senderNameTextField_->stringValue(),
                                                        nullptr, nullptr)) {
        return true;
    }
    senderNameTextField_->setStringValue(senderName_);
    return false;
}

void VextelPdeInterface::setDefaults(QObject* sender) {
    Q_UNUSED(sender);
    setDefaultValue();
    updateUI();
}

void VextelPdeInterface::setDefaultValue() {
    printing::PluginCallback* host = pdePluginCallbackObject();
    for (PpdFeature& feature : ppdFeatures_) {
        feature.setDefault();
        if (host != nullptr) {
            host->willChangePPDOptionKeyValue(feature.keyword(), feature.curChoice());
        }
    }
    senderName_ = QStringLiteral("");
}

void VextelPdeInterface::launchAddressBook(QObject* sender) {
    Q_UNUSED(sender);
    kit::SystemLog::log(
        QStringLiteral("launchAddressBook: the address-book editor cannot be started from this "
                       "panel yet."));
}

bool VextelPdeInterface::restoreValuesAndReturnError(QString* error) {
    Q_UNUSED(error);
    for (PpdFeature& feature : ppdFeatures_) {
        if (ppd_choice_t* marked = markedChoice(ppd(), feature.keyword())) {
            feature.setCurChoice(marked);
        }
    }
    printing::PrintSettings* settings =
        pdePluginCallbackObject() ? pdePluginCallbackObject()->printSettings() : nullptr;
    if (settings != nullptr) {
        QString stored;
        const printing::OSStatus status = printing::PMPrintSettingsGetValue(
            settings, jobParameterKey(kVTelCoverSenderName), &stored);
        // A value of another type, or a name the panel would never accept (both written by other
        // software), restores as no name: kept, it would make every later save and print fail.
        const bool found = status == printing::noErr && !stored.isEmpty();
        const bool acceptable = found && InputStringChecker::forRule(kSenderNameRule)
                                             ->isPartialStringValid(stored, nullptr, nullptr);
        if (found && !acceptable) {
            kit::SystemLog::log(QStringLiteral(
                "restoreValuesAndReturnError: the stored sender name is not acceptable."));
        }
        senderName_ = acceptable ? stored : QStringLiteral("");
    }
    updateUI();
    return true;
}

bool VextelPdeInterface::saveValuesAndReturnError(QString* error) {
    if (!senderNameTextField_) {
        return true;
    }
    if (!senderNameFieldIsAcceptable()) {
        return false;
    }
    senderName_ = senderNameTextField_->stringValue();
    printing::PrintSettings* settings =
        pdePluginCallbackObject() ? pdePluginCallbackObject()->printSettings() : nullptr;
    if (settings == nullptr) {
        return true;
    }
    const printing::OSStatus status = printing::PMPrintSettingsSetValue(
        settings, jobParameterKey(kVTelCoverSenderName), senderName_, false);
    if (status != printing::noErr) {
        // The name would silently be missing from the fax's cover page.
        const QString reason =
            QStringLiteral("saveValuesAndReturnError: the sender name could not be stored (%1).")
                .arg(status);
        kit::SystemLog::log(reason);
        if (error != nullptr) {
            *error = reason;
        }
        return false;
    }
    return true;
}

std::optional<QVariantMap> VextelPdeInterface::summaryInfo() {
    QVariantMap summary;
    QStringList order;
    for (const PpdFeature& feature : ppdFeatures_) {
        feature.setSummaryInfo(summary, order);
    }
    const QString label =
        pluginBundle() ? tkdrvLocalizedStringForKey(*pluginBundle(), QStringLiteral("Sender Name"),
                                                    QString(), localizedFileName())
                       : QStringLiteral("Sender Name");
    summary.insert(label, senderName_.isNull() ? QStringLiteral("") : senderName_);
    order.append(label);
    summary.insert(QLatin1String(printing::kSummaryDisplayOrderKey), order);
    return summary;
}

bool VextelPdeInterface::jobGoesElsewhere() const {
    printing::PluginCallback* host = pdePluginCallbackObject();
    if (host == nullptr) {
        return false;
    }
    printing::PrintSession* session = host->printSession();
    printing::PrintSettings* settings = host->printSettings();
    if (session == nullptr || settings == nullptr) {
        return false;
    }
    std::uint16_t destination = 0;
    if (printing::PMSessionGetDestinationType(session, settings, &destination) != printing::noErr) {
        return false;
    }
    return destination != printing::kDestinationPrinter;
}

bool VextelPdeInterface::loadFaxSetting() {
    if (!pluginBundle()) {
        return false;
    }
    QList<kit::ObjectRef> topLevelObjects;
    if (!kit::Layout::load(*pluginBundle(), QStringLiteral("FaxSetting"), this, &topLevelObjects)) {
        return false;
    }
    faxSettingTopLevelObjs_ = topLevelObjects;
    return true;
}

bool VextelPdeInterface::shouldPrint() {
    if (!senderNameFieldIsAcceptable()) {
        return false;
    }
    if (jobGoesElsewhere()) {
        return true;
    }
    if (!detailedFaxSettingContoller_) {
        loadFaxSetting();
    }
    FaxSettingController* controller = detailedFaxSettingContoller_;
    if (controller == nullptr) {
        kit::SystemLog::log(
            QStringLiteral("shouldPrint: the fax-sending dialog is not available."));
        return false;
    }
    controller->setBundle(pluginBundle());
    controller->setPPD(ppd());
    controller->setIPAddress(printerAddress_);
    controller->createDialog();
    if (!controller->isSending()) {
        return false;
    }
    printing::PrintSettings* settings =
        pdePluginCallbackObject() ? pdePluginCallbackObject()->printSettings() : nullptr;
    if (settings != nullptr) {
        controller->setPrintSettings(settings);
    }
    return true;
}

bool VextelPdeInterface::shouldShowHelp() {
    if (pluginBundle()) {
        GotoHelpPage(kit::Bundle::bundleWithIdentifier(pluginBundle()->bundleIdentifier()),
                     kHelpPage);
    }
    return false;
}

} // namespace tarvik_pde_m40vextel
