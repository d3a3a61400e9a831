#include "vextelpde/VextelPdeInterface.h"

#include "common/InputStringChecker.h"
#include "common/TKDRVLocalization.h"
#include "common/UtilityFunctions.h"
#include "common/UtilityService.h"
#include "kit/Alert.h"
#include "kit/Bundle.h"
#include "kit/Layout.h"
#include "kit/PopUpButton.h"
#include "kit/Resolver.h"
#include "kit/SystemLog.h"
#include "kit/Workspace.h"
#include "printing/PluginCallback.h"
#include "printing/PrintSession.h"
#include "printing/PrintingFunctions.h"
#include "vextelpde/JobParameterKeys.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <arpa/inet.h>
#include <cstring>
#include <net/if.h>
#include <netinet/in.h>

namespace tarvik_pde_m40vextel {

namespace {

const QString kDefaultPanelName = TKDRV_TEXT("Fax Settings");
const QString kFaxGroupName = QStringLiteral("TKFaxSettings");
const QString kCoverPageModeKeyword = QStringLiteral("TKFaxCoverPageMode");
const QString kSenderModeKeyword = QStringLiteral("TKFaxSenderMode");
const QString kNoCoverPageChoice = QStringLiteral("None");
const QString kEnterNameChoice = QStringLiteral("EnterName");
const QString kHelpPage = QStringLiteral("FaxSettings.htm");
// Why a save refuses the name in the field; the host shows it in an alert.
const QString kSenderNameRefused =
    TKDRV_TEXT("The sender name can have at most 30 characters: letters A to Z, digits, "
               "spaces and punctuation.");

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

// ---- The device URI

// The size of the buffers the host part and its numeric address are written into.
constexpr size_t kResolvedAddressBufferSize = 4096;
// Text forms of socket addresses, with their terminators.
constexpr size_t kIPv4TextSize = 16;
constexpr size_t kIPv6TextSize = 46;

enum class AddressKind { Bonjour, Host, Usb, Unknown };

struct DeviceUri {
    AddressKind kind = AddressKind::Unknown;
    // The host part with its percent escapes undone; none when the URI has no usable host.
    std::optional<QByteArray> host;
};

AddressKind kindOfScheme(const QString& scheme) {
    static const struct {
        const char* scheme;
        AddressKind kind;
    } kSchemes[] = {
        {"mdns", AddressKind::Bonjour}, {"dnssd", AddressKind::Bonjour}, {"lpd", AddressKind::Host},
        {"ipp", AddressKind::Host},     {"socket", AddressKind::Host},   {"usb", AddressKind::Usb},
    };
    for (const auto& row : kSchemes) {
        if (scheme.compare(QLatin1String(row.scheme), Qt::CaseInsensitive) == 0) {
            return row.kind;
        }
    }
    return AddressKind::Unknown;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Undoes percent escapes; none for a broken escape, an escaped NUL (which would cut the name
// short) or bytes that are not UTF-8.
std::optional<QByteArray> percentDecoded(const QByteArray& text) {
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != '%') {
            bytes.append(text.at(i));
            continue;
        }
        const int high = i + 2 < text.size() ? hexValue(text.at(i + 1)) : -1;
        const int low = i + 2 < text.size() ? hexValue(text.at(i + 2)) : -1;
        if (high < 0 || low < 0 || (high == 0 && low == 0)) {
            return std::nullopt;
        }
        bytes.append(char(high * 16 + low));
        i += 2;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(bytes);
    Q_UNUSED(decoded);
    if (utf8.hasError()) {
        return std::nullopt;
    }
    return bytes;
}

// scheme://[user@]host[:port][/path][?query]; an IPv6 literal host is written in brackets.
DeviceUri parseDeviceUri(const QString& text) {
    DeviceUri uri;
    const QByteArray bytes = text.toUtf8();
    const qsizetype colon = bytes.indexOf(':');
    if (colon <= 0) {
        return uri;
    }
    uri.kind = kindOfScheme(QString::fromUtf8(bytes.left(colon)));
    if (!bytes.mid(colon + 1).startsWith("//")) {
        return uri;
    }
    QByteArray authority = bytes.mid(colon + 3);
    for (const char terminator : {'/', '?', '#'}) {
        const qsizetype end = authority.indexOf(terminator);
        if (end >= 0) {
            authority.truncate(end);
        }
    }
    authority = authority.mid(authority.lastIndexOf('@') + 1);
    QByteArray host;
    if (authority.startsWith('[')) {
        const qsizetype close = authority.indexOf(']');
        host = close > 0 ? authority.mid(1, close - 1) : QByteArray();
    } else {
        const qsizetype port = authority.indexOf(':');
        host = port < 0 ? authority : authority.left(port);
    }
    const auto decoded = percentDecoded(host);
    if (decoded && !decoded->isEmpty()) {
        uri.host = decoded;
    }
    return uri;
}

// ---- Socket address records

bool isLinkLocal(const in6_addr& address) {
    return address.s6_addr[0] == 0xfe && (address.s6_addr[1] & 0xc0) == 0x80;
}

// The text of an IPv4 or IPv6 record; a link-local IPv6 address carries "%" and its interface
// when the whole fits the text buffer (a cut interface name would name another interface).
std::optional<QString> textOfSocketAddress(const QByteArray& record) {
    if (record.size() >= qsizetype(sizeof(sockaddr_in)) &&
        reinterpret_cast<const sockaddr*>(record.constData())->sa_family == AF_INET) {
        sockaddr_in address{};
        std::memcpy(&address, record.constData(), sizeof address);
        char text[kIPv4TextSize] = {};
        if (inet_ntop(AF_INET, &address.sin_addr, text, sizeof text) == nullptr) {
            return std::nullopt;
        }
        return QString::fromLatin1(text);
    }
    sockaddr_in6 address{};
    std::memcpy(&address, record.constData(), sizeof address);
    char text[kIPv6TextSize] = {};
    if (inet_ntop(AF_INET6, &address.sin6_addr, text, sizeof text) == nullptr) {
        return std::nullopt;
    }
    char interface[IF_NAMESIZE] = {};
    if (isLinkLocal(address.sin6_addr) && address.sin6_scope_id != 0 &&
        kit::Resolver::current().interfaceName(address.sin6_scope_id, interface) != nullptr &&
        std::strlen(text) + 1 + std::strlen(interface) < kIPv6TextSize) {
        return QString::fromLatin1(text) + QLatin1Char('%') + QString::fromLatin1(interface);
    }
    return QString::fromLatin1(text);
}

bool isInternetRecord(const QByteArray& record) {
    if (record.size() < qsizetype(sizeof(sockaddr))) {
        return false;
    }
    const sa_family_t family = reinterpret_cast<const sockaddr*>(record.constData())->sa_family;
    return (family == AF_INET && record.size() >= qsizetype(sizeof(sockaddr_in))) ||
           (family == AF_INET6 && record.size() >= qsizetype(sizeof(sockaddr_in6)));
}

} // namespace

VextelPdeInterface::VextelPdeInterface(printing::PluginCallback* callback,
                                       std::shared_ptr<kit::Bundle> bundle)
    : BasicPdeInterface(callback, std::move(bundle)) {
    createFeatures();
    if (!UtilityService::isSandboxed()) {
        resolveTargetDevice();
    }
    if (getOSMinorVersion() == kVersionWithStaleHelpCache && pluginBundle()) {
        UtilityService::removeHelpCacheForBundleID(pluginBundle()->bundleIdentifier());
    }
    if (pluginBundle()) {
        RegisterHelpBook(kit::Bundle::bundleWithIdentifier(pluginBundle()->bundleIdentifier()));
    }
}

VextelPdeInterface::~VextelPdeInterface() {
    // A pending resolution ends here: its answer must not reach a panel that has gone.
    netService_.reset();
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
    // In a sandbox the printer is asked for only once the panel is shown.
    if (UtilityService::isSandboxed()) {
        resolveTargetDevice();
    }
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
            vextelView_->selectChoiceForPPDKeyword(feature.curChoice(), feature.keyword());
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
    const QString identifier =
        pluginBundle() ? pluginBundle()
                             ->objectForInfoDictionaryKey(QLatin1String(kAddressBookIdentifierKey))
                             .toString()
                       : QString();
    if (identifier.isEmpty()) {
        showEditorNotFound();
        return;
    }
    if (kit::Workspace::isApplicationRunning(identifier)) {
        kit::Workspace::launchApplication(identifier);
        return;
    }
    if (addressBookEditorPath_.isEmpty() && !findAddressBookEditor(identifier)) {
        showEditorNotFound();
        return;
    }
    if (!printerAddress_) {
        kit::SystemLog::log(QStringLiteral("Failed to resolve the current printer URI!"));
        if (!kit::Workspace::launchApplication(identifier)) {
            showEditorNotFound();
        }
        return;
    }
    // Each option and its value travel as one argument, the blank inside.
    const QStringList connection =
        printerAddress_->isEmpty()
            ? QStringList{QStringLiteral("-VTELConnectionType USB")}
            : QStringList{QStringLiteral("-VTELConnectionType NET"),
                          QStringLiteral("-VTELAddress %1").arg(*printerAddress_)};
    if (!kit::Workspace::launchProcess(addressBookEditorPath_,
                                       addressBookEditorArguments_ + connection)) {
        showEditorNotFound();
    }
}

bool VextelPdeInterface::findAddressBookEditor(const QString& identifier) {
    // An entry naming a program that is not there is as good as no entry.
    const QString path = kit::Workspace::absolutePathForApplication(identifier);
    if (path.isEmpty() || !QFileInfo(path).isExecutable()) {
        return false;
    }
    addressBookEditorPath_ = path;
    addressBookEditorArguments_ = kit::Workspace::execArgumentsForApplication(identifier);
    return true;
}

void VextelPdeInterface::showEditorNotFound() const {
    const auto localized = [this](const QString& text) {
        return pluginBundle() ? pluginBundle()->localizedStringForKey(text, {}, {}) : text;
    };
    kit::Alert alert;
    alert.setMessageText(localized(TKDRV_TEXT("Address Book Editor not found.")));
    alert.addButtonWithTitle(localized(TKDRV_TEXT("OK")));
    alert.runModal();
}

// ---- The printer's address

void VextelPdeInterface::resolveTargetDevice() {
    printing::PluginCallback* host = pdePluginCallbackObject();
    QString uriText;
    if (host == nullptr ||
        printing::PMPrinterCopyDeviceURI(host->PMPrinter(), &uriText) != printing::noErr) {
        return;
    }
    const DeviceUri uri = parseDeviceUri(uriText);
    switch (uri.kind) {
    case AddressKind::Bonjour:
    case AddressKind::Host:
        if (!uri.host) {
            kit::SystemLog::log(
                QStringLiteral("resolveTargetDevice: the device URI %1 names no usable host.")
                    .arg(uriText));
        } else if (uri.kind == AddressKind::Bonjour) {
            resolveBonjourService(*uri.host);
        } else {
            resolveHost(*uri.host);
        }
        break;
    case AddressKind::Usb:
        printerAddress_ = QStringLiteral("");
        break;
    case AddressKind::Unknown:
        break;
    }
}

void VextelPdeInterface::resolveBonjourService(const QByteArray& host) {
    const QString serviceHost = QString::fromUtf8(host);
    const qsizetype protocol = serviceHost.indexOf(QLatin1String("._tcp"));
    const QString beforeProtocol = protocol < 0 ? serviceHost : serviceHost.left(protocol);
    const qsizetype dot = beforeProtocol.lastIndexOf(QLatin1Char('.'));
    if (dot < 0) {
        kit::SystemLog::log(
            QStringLiteral("resolveTargetDevice: %1 names no service type.").arg(serviceHost));
        return;
    }
    // A resolution still pending from an earlier call ends: one answer sets the address.
    netService_ = std::make_unique<kit::NetService>(
        QStringLiteral("local."), QStringLiteral("%1._tcp.").arg(beforeProtocol.mid(dot + 1)),
        beforeProtocol.left(dot));
    netService_->setDelegate(this);
    netService_->resolveWithTimeout(kBonjourTimeout);
}

void VextelPdeInterface::resolveHost(const QByteArray& host) {
    // A host that does not fit the buffer would be resolved cut short, as another name.
    if (size_t(host.size()) >= kResolvedAddressBufferSize) {
        kit::SystemLog::log(QStringLiteral("resolveTargetDevice: the host name is too long."));
        return;
    }
    char hostText[kResolvedAddressBufferSize] = {};
    std::memcpy(hostText, host.constData(), size_t(host.size()));
    char output[kResolvedAddressBufferSize] = {};
    if (CopyResolvedIPAddress(hostText, output, sizeof output) != 0) {
        return;
    }
    printerAddress_ = QString::fromLatin1(output);
}

void VextelPdeInterface::netServiceDidResolveAddress(kit::NetService* service) {
    for (const QByteArray& record : service->addresses()) {
        if (!isInternetRecord(record)) {
            continue;
        }
        if (const auto text = textOfSocketAddress(record)) {
            printerAddress_ = *text;
        }
        break;
    }
    if (service == netService_.get()) {
        netService_.reset();
    }
}

void VextelPdeInterface::netServiceDidNotResolve(kit::NetService* service, const QString& error) {
    Q_UNUSED(error); // the service has logged it
    kit::SystemLog::log(
        QStringLiteral("Failed to resolve the Bonjour service %1").arg(service->name()));
    if (service == netService_.get()) {
        netService_.reset();
    }
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
        if (error != nullptr) {
            *error = pluginBundle()
                         ? pluginBundle()->localizedStringForKey(kSenderNameRefused, {}, {})
                         : kSenderNameRefused;
        }
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
        pluginBundle() ? tkdrvLocalizedStringForKey(*pluginBundle(), TKDRV_TEXT("Sender Name"),
                                                    QString(), localizedFileName())
                       : TKDRV_TEXT("Sender Name");
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
    if (!faxDialog_) {
        loadFaxSetting();
    }
    FaxSettingController* controller = faxDialog_;
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
