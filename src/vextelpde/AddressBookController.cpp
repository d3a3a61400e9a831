// The picker as a whole: waking, the dialog's calls, opening and closing, tab switches, the
// enabling flags, the property panels and help. Loading the tabs is in AddressBookTabs.cpp,
// adding picked entries in AddressBookAdding.cpp.

#include "vextelpde/AddressBookController.h"

#include "common/BasicPdeView.h"
#include "common/UtilityFunctions.h"
#include "kit/Alert.h"
#include "kit/Application.h"
#include "kit/Bundle.h"
#include "kit/KeyValue.h"
#include "vextelpde/AddressBookView.h"
#include "vextelpde/BindingKeys.h"

namespace tarvik_pde_m40vextel {

namespace {

QString stringForKey(const QObject* object, const QString& key) {
    return kit::valueForKey(object, key).toString();
}

} // namespace

AddressBookController::AddressBookController(QObject* parent) : QObject(parent) {}

AddressBookController::~AddressBookController() {
    // The observations refer to the lists; end them before anything else goes.
    selectionObservations_.clear();
}

void AddressBookController::awakeFromNib() {
    const QList<kit::SortDescriptor> descending{
        kit::SortDescriptor{kNameKey, false, true},
        kit::SortDescriptor{kPhoneNumberKey, false, true},
    };
    for (kit::ArrayController* list :
         {pcAddressList_.data(), deviceAddressList_.data(), groupMemberList_.data()}) {
        if (list != nullptr) {
            list->setSortDescriptors(descending);
        }
    }
    // The searches match names.
    for (kit::ArrayController* list : {pcAddressList_.data(), deviceAddressList_.data()}) {
        if (list != nullptr) {
            list->setFilterKey(kNameKey);
        }
    }
    password_.reset();
    observeSelections();
}

void AddressBookController::observeSelections() {
    selectionObservations_.clear();
    const QList<QPair<kit::ArrayController*, QStringList>> flagsByList{
        {pcAddressList_, {kCanAddPCAddressDataKey, kCanShowPCAddressPropertyKey}},
        {deviceAddressList_, {kCanAddDeviceAddressDataKey, kCanShowDeviceAddressPropertyKey}},
        {addressArrayController_, {kCanRemoveDestinationAddressKey}},
    };
    for (const auto& entry : flagsByList) {
        if (entry.first == nullptr) {
            continue;
        }
        // A copy, not a structured binding: clang before 16 cannot capture those.
        const QStringList flags = entry.second;
        selectionObservations_.push_back(
            kit::observe(entry.first, QStringLiteral("selectedObjects"),
                         [this, flags](const QVariant&) { announceFlags(flags); }));
    }
}

void AddressBookController::announceFlags(const QStringList& keys) {
    // Writing a read-only flag back announces it, so bound buttons read it afresh.
    for (const QString& key : keys) {
        kit::setValueForKey(this, key, kit::valueForKey(this, key));
    }
}

// ---- The dialog's calls

void AddressBookController::setBundle(std::shared_ptr<kit::Bundle> bundle) {
    bundle_ = std::move(bundle);
}

void AddressBookController::setPPD(ppd_file_t* ppd) {
    ppd_ = ppd;
}

void AddressBookController::setIPAddress(const std::optional<QString>& address) {
    printerAddress_ = address;
}

void AddressBookController::setPassword(const std::optional<QString>& password) {
    password_ = password;
}

void AddressBookController::createDialogWithTabSelection(int tabIndex) {
    if (addressBookSettingPanel_ == nullptr) {
        return;
    }
    oldAddresses_ = addressArrayController_ != nullptr ? addressArrayController_->arrangedObjects()
                                                       : QList<kit::ObjectRef>{};
    forgetLoadedEntries();
    AddressBookView* view = addressBookView();
    if (view != nullptr) {
        view->setBundle(bundle_);
        view->initializeControls();
    }
    // The requested tab is loaded exactly once: here when it is already selected, else by the
    // tab view's delegate call when the selection changes.
    if (view == nullptr || view->selectedTabIndex() == tabIndex) {
        loadTab(tabIndex);
    }
    if (view != nullptr) {
        view->selectTab(tabIndex);
    }
    if (pcAddressTableView_ != nullptr) {
        pcAddressTableView_->setTarget(this);
        pcAddressTableView_->setDoubleAction("addSelectedPCAddressData:");
    }
    if (deviceAddressTableView_ != nullptr) {
        deviceAddressTableView_->setTarget(this);
        deviceAddressTableView_->setDoubleAction("addSelectedDeviceAddressData:");
    }
    if (kit::Application::runModal(addressBookSettingPanel_) == kit::ModalResponseAbort) {
        // Closed by the window's close button or Escape: a person expects nothing kept.
        cancelAddressSetting(nullptr);
    }
}

AddressBookView* AddressBookController::addressBookView() const {
    return qobject_cast<AddressBookView*>(addressBookSettingPanel_->contentView());
}

void AddressBookController::loadTab(int index) {
    if (index == kPCTab) {
        initPCAdressBookTab();
    } else {
        initDeviceAddressTab();
    }
}

// ---- Tabs

bool AddressBookController::shouldSelectTabViewItem(kit::TabView* /*tabView*/, int /*index*/) {
    return true;
}

void AddressBookController::willSelectTabViewItem(kit::TabView* /*tabView*/, int index) {
    loadTab(index);
}

// ---- Flags

bool AddressBookController::canAddPCAddressData() const {
    return pcAddressList_ != nullptr && !pcAddressList_->selectedObjects().isEmpty();
}

bool AddressBookController::canShowPCAddressProperty() const {
    return pcAddressList_ != nullptr && pcAddressList_->selectedObjects().size() == 1;
}

bool AddressBookController::canAddDeviceAddressData() const {
    return deviceAddressList_ != nullptr && !deviceAddressList_->selectedObjects().isEmpty();
}

bool AddressBookController::canShowDeviceAddressProperty() const {
    return deviceAddressList_ != nullptr && deviceAddressList_->selectedObjects().size() == 1;
}

bool AddressBookController::canRemoveDestinationAddress() const {
    return addressArrayController_ != nullptr &&
           !addressArrayController_->selectedObjects().isEmpty();
}

void AddressBookController::setPcAddressSearchField(const QString& text) {
    if (pcAddressSearchField_ == text && pcAddressSearchField_.isNull() == text.isNull()) {
        return;
    }
    pcAddressSearchField_ = text;
    emit pcAddressSearchFieldChanged();
}

void AddressBookController::setDeviceAddressSearchField(const QString& text) {
    if (deviceAddressSearchField_ == text && deviceAddressSearchField_.isNull() == text.isNull()) {
        return;
    }
    deviceAddressSearchField_ = text;
    emit deviceAddressSearchFieldChanged();
}

// ---- Closing

void AddressBookController::saveAddressSetting(QObject* /*sender*/) {
    endOpening();
    closePicker();
}

void AddressBookController::cancelAddressSetting(QObject* /*sender*/) {
    if (addressArrayController_ != nullptr) {
        addressArrayController_->removeAllArrangedObjects();
        addressArrayController_->addObjects(oldAddresses_);
    }
    endOpening();
    closePicker();
}

void AddressBookController::endOpening() {
    oldAddresses_.clear();
    forgetLoadedEntries();
}

void AddressBookController::closePicker() {
    if (addressBookSettingPanel_ != nullptr && addressBookSettingPanel_->isVisible()) {
        addressBookSettingPanel_->orderOut();
        kit::Application::stopModal();
    }
}

// ---- Property panels

void AddressBookController::showPCAddressProperty(QObject* /*sender*/) {
    showProperty(pcAddressList_);
}

void AddressBookController::showDevicePCAddressProperty(QObject* /*sender*/) {
    showProperty(deviceAddressList_);
}

void AddressBookController::showProperty(kit::ArrayController* list) {
    if (list == nullptr || list->selectedObjects().isEmpty()) {
        return;
    }
    const kit::ObjectRef entry = list->selectedObjects().first();
    const bool isGroup = stringForKey(entry.get(), kPhoneNumberKey) == kGroupPhoneNumber;
    kit::Panel* panel = isGroup ? groupPropertyPanel_.data() : userPropertyPanel_.data();
    if (panel == nullptr) {
        return;
    }
    if (auto* view = qobject_cast<BasicPdeView*>(panel->contentView())) {
        view->setBundle(bundle_);
        view->localizeAllControls();
    }
    if (isGroup) {
        setGroupPropertyInfo(entry, list);
    } else {
        setUserPropertyInfo(entry.get());
    }
    kit::Application::runModal(panel);
}

void AddressBookController::closeUserProperty(QObject* /*sender*/) {
    if (userPropertyPanel_ != nullptr) {
        userPropertyPanel_->orderOut();
    }
    kit::Application::stopModal();
}

void AddressBookController::closeGroupProperty(QObject* /*sender*/) {
    if (groupPropertyPanel_ != nullptr) {
        groupPropertyPanel_->orderOut();
    }
    kit::Application::stopModal();
}

void AddressBookController::setUserPropertyInfo(const QObject* entry) {
    if (userPropertyDictionary_ == nullptr || entry == nullptr) {
        return;
    }
    for (const QLatin1String key : {kNameKey, kPhoneNumberKey}) {
        userPropertyDictionary_->setValue(key, kit::valueForKey(entry, key));
    }
    // Device entries have neither; the panel shows them empty rather than stale.
    for (const QLatin1String key : {kCompanyKey, kNoteKey}) {
        const QVariant value = kit::valueForKey(entry, key);
        userPropertyDictionary_->setValue(key, value.isValid() ? value : QStringLiteral(""));
    }
}

void AddressBookController::setGroupPropertyInfo(const kit::ObjectRef& group,
                                                 kit::ArrayController* sourceList) {
    if (groupPropertyDictionary_ != nullptr) {
        groupPropertyDictionary_->setValue(kNameKey, kit::valueForKey(group.get(), kNameKey));
    }
    const QList<kit::ObjectRef> members = getAddressListFrom(group, sourceList);
    if (groupMemberList_ == nullptr) {
        return;
    }
    auto rows = std::make_shared<kit::ValueRows>(QStringList{kNameKey, kPhoneNumberKey});
    rows->reserve(members.size());
    for (const kit::ObjectRef& member : members) {
        rows->append({kit::valueForKey(member.get(), kNameKey),
                      kit::valueForKey(member.get(), kPhoneNumberKey)});
    }
    groupMemberList_->setContentRows(std::move(rows));
}

// ---- Help and alerts

void AddressBookController::showHelpBook(QObject* /*sender*/) {
    if (bundle_ == nullptr) {
        return;
    }
    std::shared_ptr<kit::Bundle> helpBundle =
        kit::Bundle::bundleWithIdentifier(bundle_->bundleIdentifier());
    GotoHelpPage(helpBundle != nullptr ? helpBundle : bundle_, QStringLiteral("Recipients.htm"));
}

int AddressBookController::alert(const QString& message, const QString& informativeText,
                                 const QStringList& buttons) const {
    const auto localized = [this](const QString& text) {
        return bundle_ != nullptr ? bundle_->localizedStringForKey(text, {}, {}) : text;
    };
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

} // namespace tarvik_pde_m40vextel
