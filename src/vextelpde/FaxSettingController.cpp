#include "vextelpde/FaxSettingController.h"

#include "common/InputStringChecker.h"
#include "common/TKDRVLocalization.h"
#include "common/UtilityFunctions.h"
#include "kit/Alert.h"
#include "kit/Application.h"
#include "kit/Bundle.h"
#include "kit/Environment.h"
#include "kit/KeyValue.h"
#include "printing/PrintSettings.h"
#include "printing/PrintingFunctions.h"
#include "vextelpde/AddressInformation.h"
#include "vextelpde/BindingKeys.h"
#include "vextelpde/FaxSettingView.h"
#include "vextelpde/JobParameterKeys.h"

#include <QStringList>

namespace tarvik_pde_m40vextel {

namespace {

// Absent and empty differ: a null QString never equals anything here.
bool isSameText(const QString& a, const QString& b) {
    return !a.isNull() && !b.isNull() && a == b;
}

QString stringForKey(const QObject* object, const QString& key) {
    return kit::valueForKey(object, key).toString();
}

// A null string would remove the entry instead of storing an empty value.
QString storableText(const QString& text) {
    return text.isNull() ? QStringLiteral("") : text;
}

template <class Signal>
void assignText(FaxSettingController* controller, QString& field, const QString& value,
                Signal signal) {
    if (field == value && field.isNull() == value.isNull()) {
        return;
    }
    field = value;
    emit(controller->*signal)();
}

// A recipient made here carries a name and a fax number only.
kit::ObjectRef makeRecipient(const QString& name, const QString& phoneNumber) {
    auto recipient = std::make_shared<AddressInformation>();
    recipient->setName(name);
    recipient->setPhoneNumber(phoneNumber);
    return recipient;
}

} // namespace

FaxSettingController::FaxSettingController(QObject* parent) : QObject(parent) {}

FaxSettingController::~FaxSettingController() {
    // The observation refers to the recipient list; end it before anything else goes.
    selectionObservation_.reset();
}

void FaxSettingController::awakeFromNib() {
    bundle_.reset();
    sendingStatus_ = false;
    setAddressFileAvailable(false);
    createFormatters();
    if (addressArrayController_ != nullptr) {
        addressArrayController_->setSortDescriptors({
            kit::SortDescriptor{kNameKey, false, true},
            kit::SortDescriptor{kPhoneNumberKey, false, true},
        });
    }
    observeSelection();
}

void FaxSettingController::createFormatters() {
    addressNameFieldFormatter_ = InputStringChecker::forRule(kAddressNameRule);
    addressPhoneNumberFieldFormatter_ = InputStringChecker::forRule(kPhoneNumberRule);
    passwordFieldFormatter_ = InputStringChecker::forRule(kPasswordRule);
}

void FaxSettingController::observeSelection() {
    selectionObservation_.reset();
    if (addressArrayController_ == nullptr) {
        return;
    }
    selectionObservation_ = kit::observe(addressArrayController_, QStringLiteral("selectedObjects"),
                                         [this](const QVariant&) { selectionDidChange(); });
}

void FaxSettingController::selectionDidChange() {
    // Writing a read-only flag back announces it, so bound buttons read it afresh.
    for (const QLatin1String key :
         {kCanEditAddressKey, kCanDeleteAddressKey, kCanAddToAddressFileKey}) {
        kit::setValueForKey(this, key, kit::valueForKey(this, key));
    }
}

// MARK: print gate calls

void FaxSettingController::setBundle(std::shared_ptr<kit::Bundle> bundle) {
    bundle_ = std::move(bundle);
}

void FaxSettingController::setPPD(ppd_file_t* ppd) {
    ppd_ = ppd;
}

void FaxSettingController::setIPAddress(const std::optional<QString>& address) {
    printerAddress_ = address;
}

void FaxSettingController::createDialog() {
    if (faxSettingPanel_ == nullptr) {
        return;
    }
    prepareView();
    attachFormatters();
    resetValues();
    fillAddressFileList();
    // Only this run's Start sends: a run closed by the window's close button or Escape, or
    // ended by a stray stop, must not send on the strength of an earlier print's Start.
    sendingStatus_ = false;
    kit::Application::runModal(faxSettingPanel_);
}

void FaxSettingController::prepareView() {
    auto* view = qobject_cast<FaxSettingView*>(faxSettingPanel_->contentView());
    if (view == nullptr) {
        return;
    }
    view->setBundle(bundle_);
    view->setPPD(ppd_);
    if (!viewIsLocalized_ && bundle_) {
        view->initializeControls();
        viewIsLocalized_ = true;
    }
}

void FaxSettingController::attachFormatters() {
    if (addressNameTextField_ != nullptr) {
        addressNameTextField_->setFormatter(addressNameFieldFormatter_.get());
    }
    if (addressPhoneNumberTextField_ != nullptr) {
        addressPhoneNumberTextField_->setFormatter(addressPhoneNumberFieldFormatter_.get());
    }
    if (passwordTextField_ != nullptr) {
        passwordTextField_->setFormatter(passwordFieldFormatter_.get());
    }
}

void FaxSettingController::resetValues() {
    kit::setValueForKey(this, kAddressNameKey, QStringLiteral(""));
    kit::setValueForKey(this, kAddressPhoneNumberKey, QStringLiteral(""));
    kit::setValueForKey(this, kPasswordKey, QStringLiteral(""));
    kit::setValueForKey(this, kDelayedPrintKey, 0);
    kit::setValueForKey(this, kDelayedTimeKey, kit::Environment::now());
}

bool FaxSettingController::isSending() const {
    return sendingStatus_;
}

// MARK: values

void FaxSettingController::setAddressName(const QString& name) {
    assignText(this, addressName_, name, &FaxSettingController::addressNameChanged);
}

void FaxSettingController::setAddressPhoneNumber(const QString& number) {
    assignText(this, addressPhoneNumber_, number, &FaxSettingController::addressPhoneNumberChanged);
}

void FaxSettingController::setPassword(const QString& password) {
    assignText(this, password_, password, &FaxSettingController::passwordChanged);
}

void FaxSettingController::setDelayedPrint(int delayedPrint) {
    if (delayedPrint_ == delayedPrint) {
        return;
    }
    delayedPrint_ = delayedPrint;
    emit delayedPrintChanged();
}

void FaxSettingController::setDelayedTime(const QDateTime& time) {
    if (delayedTime_ == time && delayedTime_.isValid() == time.isValid()) {
        return;
    }
    delayedTime_ = time;
    emit delayedTimeChanged();
}

void FaxSettingController::setAddressFileAvailable(bool available) {
    if (addressFileAvailable_ == available) {
        return;
    }
    addressFileAvailable_ = available;
    emit isAddressFileAvailableChanged();
}

// MARK: derived flags

bool FaxSettingController::canAddAddress() const {
    return !addressPhoneNumber_.isEmpty();
}

bool FaxSettingController::canEditAddress() const {
    return addressArrayController_ != nullptr &&
           addressArrayController_->selectedObjects().size() == 1;
}

bool FaxSettingController::canDeleteAddress() const {
    return addressArrayController_ != nullptr &&
           !addressArrayController_->selectedObjects().isEmpty();
}

bool FaxSettingController::canAddToAddressFile() const {
    return addressFileAvailable_ && addressArrayController_ != nullptr &&
           !addressArrayController_->selectedObjects().isEmpty();
}

bool FaxSettingController::isDelayedTime() const {
    return delayedPrint_ != 0;
}

const InputStringChecker* FaxSettingController::addressNameFieldFormatter() const {
    return addressNameFieldFormatter_.get();
}

const InputStringChecker* FaxSettingController::addressPhoneNumberFieldFormatter() const {
    return addressPhoneNumberFieldFormatter_.get();
}

const InputStringChecker* FaxSettingController::passwordFieldFormatter() const {
    return passwordFieldFormatter_.get();
}

// MARK: recipient list

void FaxSettingController::addAddressInfo(QObject* /*sender*/) {
    if (addressArrayController_ == nullptr) {
        return;
    }
    if (addressArrayController_->count() >= kMaximumRecipientCount) {
        alert(TKDRV_TEXT("No More Destination"), {}, {TKDRV_TEXT("OK")});
        return;
    }
    if (hasDuplicateOfEntry() &&
        alert(TKDRV_TEXT("Duplicated Address Found"),
              TKDRV_TEXT("Add the same address to destinations?"),
              {TKDRV_TEXT("OK"), TKDRV_TEXT("Cancel")}) != kit::AlertFirstButtonReturn) {
        return;
    }
    addressArrayController_->addObject(makeRecipient(addressName_, addressPhoneNumber_));
    kit::setValueForKey(this, kAddressNameKey, QStringLiteral(""));
    kit::setValueForKey(this, kAddressPhoneNumberKey, QStringLiteral(""));
}

bool FaxSettingController::hasDuplicateOfEntry() const {
    const QList<kit::ObjectRef> recipients = addressArrayController_->arrangedObjects();
    for (const kit::ObjectRef& recipient : recipients) {
        if (isSameText(stringForKey(recipient.get(), kNameKey), addressName_) &&
            isSameText(stringForKey(recipient.get(), kPhoneNumberKey), addressPhoneNumber_)) {
            return true;
        }
    }
    return false;
}

void FaxSettingController::editAddressInfo(QObject* /*sender*/) {
    if (addressArrayController_ == nullptr) {
        return;
    }
    const QList<kit::ObjectRef> selected = addressArrayController_->selectedObjects();
    if (selected.isEmpty()) {
        return;
    }
    const kit::ObjectRef recipient = selected.first();
    kit::setValueForKey(this, kAddressNameKey, kit::valueForKey(recipient.get(), kNameKey));
    kit::setValueForKey(this, kAddressPhoneNumberKey,
                        kit::valueForKey(recipient.get(), kPhoneNumberKey));
    addressArrayController_->removeObject(recipient);
}

void FaxSettingController::deleteAddressInfo(QObject* /*sender*/) {
    if (addressArrayController_ == nullptr) {
        return;
    }
    const QList<kit::ObjectRef> selected = addressArrayController_->selectedObjects();
    if (!selected.isEmpty()) {
        addressArrayController_->removeObjects(selected);
    }
}

// MARK: Start and Stop

void FaxSettingController::startSending(QObject* /*sender*/) {
    if (addressArrayController_ == nullptr) {
        return;
    }
    if (addressArrayController_->count() == 0) {
        if (!addressPhoneNumber_.isEmpty() &&
            alert(TKDRV_TEXT("Characters added to Fax Number"),
                  TKDRV_TEXT("Current number is automatically added"),
                  {TKDRV_TEXT("OK"), TKDRV_TEXT("Cancel")}) == kit::AlertFirstButtonReturn) {
            addressArrayController_->addObject(
                makeRecipient(QStringLiteral(""), addressPhoneNumber_));
        }
        if (addressArrayController_->count() == 0) {
            alert(TKDRV_TEXT("No Sender Specified"), {}, {TKDRV_TEXT("OK")});
            return;
        }
    }
    closeDialog(true);
}

void FaxSettingController::stopSending(QObject* /*sender*/) {
    if (addressArrayController_ != nullptr) {
        addressArrayController_->removeAllArrangedObjects();
    }
    closeDialog(false);
}

void FaxSettingController::closeDialog(bool sending) {
    if (faxSettingPanel_ != nullptr) {
        faxSettingPanel_->orderOut();
    }
    kit::Application::stopModal();
    sendingStatus_ = sending;
}

void FaxSettingController::showHelpBook(QObject* /*sender*/) {
    if (bundle_ == nullptr) {
        return;
    }
    std::shared_ptr<kit::Bundle> helpBundle =
        kit::Bundle::bundleWithIdentifier(bundle_->bundleIdentifier());
    GotoHelpPage(helpBundle != nullptr ? helpBundle : bundle_,
                 QStringLiteral("FaxTransmission.htm"));
}

// MARK: alerts

int FaxSettingController::alert(const QString& message, const QString& informativeText,
                                const QStringList& buttons) const {
    kit::Alert alert;
    alert.setMessageText(localized(message));
    if (!informativeText.isEmpty()) {
        alert.setInformativeText(localized(informativeText));
    }
    for (const QString& title : buttons) {
        alert.addButtonWithTitle(localized(title));
    }
    return alert.runModal();
}

QString FaxSettingController::localized(const QString& text) const {
    if (bundle_ == nullptr) {
        return text;
    }
    return bundle_->localizedStringForKey(text, {}, {});
}

// MARK: job parameters

void FaxSettingController::setPrintSettings(printing::PrintSettings* printSettings) {
    if (!storeJobPassword(printSettings) || !storeDelayedSend(printSettings)) {
        return;
    }
    storeDestinations(printSettings);
}

bool FaxSettingController::storeJobPassword(printing::PrintSettings* printSettings) const {
    QString scrambled = QStringLiteral("");
    if (!password_.isNull()) {
        const kit::StringEncoding encoding = GetEncodingInfoFromPPD(ppd_);
        scrambled = CreateEncryptedString(password_, encoding).value_or(QStringLiteral(""));
    }
    return printing::PMPrintSettingsSetValue(printSettings, jobParameterKey(kVTelPassword),
                                             scrambled, false) == printing::noErr;
}

bool FaxSettingController::storeDelayedSend(printing::PrintSettings* printSettings) const {
    if (printing::PMPrintSettingsSetValue(printSettings, jobParameterKey(kVTelDelayedPrint),
                                          QString::number(delayedPrint_),
                                          false) != printing::noErr) {
        return false;
    }
    // A fixed 24-hour pattern in ASCII digits, whatever clock format or digits the user prefers:
    // the driver parses this text.
    const QString time = delayedTime_.toLocalTime().time().toString(QStringLiteral("HH:mm"));
    return printing::PMPrintSettingsSetValue(printSettings, jobParameterKey(kVTelDelayedTime), time,
                                             false) == printing::noErr;
}

void FaxSettingController::storeDestinations(printing::PrintSettings* printSettings) const {
    if (addressArrayController_ == nullptr) {
        return;
    }
    const QList<kit::ObjectRef> recipients = addressArrayController_->arrangedObjects();
    const auto count = static_cast<std::int32_t>(recipients.size());
    if (count <= 0) {
        return;
    }
    printing::PMPrintSettingsSetValue(printSettings, jobParameterKey(kVTelDestinationNumber),
                                      QString::number(count), false);
    for (int number = 1; number <= count; ++number) {
        const QObject* recipient = recipients.at(number - 1).get();
        printing::PMPrintSettingsSetValue(printSettings,
                                          jobParameterKey(kVTelDestinationName, number),
                                          storableText(stringForKey(recipient, kNameKey)), false);
        printing::PMPrintSettingsSetValue(
            printSettings, jobParameterKey(kVTelDestinationPhoneNumber, number),
            storableText(stringForKey(recipient, kPhoneNumberKey)), false);
    }
}

} // namespace tarvik_pde_m40vextel
