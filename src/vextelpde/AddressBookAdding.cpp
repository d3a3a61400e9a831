// Adding the entries picked in a tab to the recipients: group expansion, the limit, the one
// duplicate question per adding, and removing recipients.

#include "common/TKDRVLocalization.h"
#include "kit/Application.h"
#include "kit/KeyValue.h"
#include "kit/SystemLog.h"
#include "vextelpde/AddressBookController.h"
#include "vextelpde/AddressInformation.h"
#include "vextelpde/BindingKeys.h"

#include <QHash>

namespace tarvik_pde_m40vextel {

namespace {

bool isGroup(const QObject* entry) {
    return kit::valueForKey(entry, kPhoneNumberKey).toString() == kGroupPhoneNumber;
}

// Absent values equal nothing.
bool isSameText(const QVariant& a, const QVariant& b) {
    return a.isValid() && b.isValid() && !a.toString().isNull() && !b.toString().isNull() &&
           a.toString() == b.toString();
}

enum class DuplicateAnswer { NotAsked, Add, Skip };

} // namespace

void AddressBookController::addSelectedPCAddressData(QObject* sender) {
    // A double click on the header or below the last row hits no row and adds nothing.
    if (auto* table = qobject_cast<kit::TableView*>(sender);
        table != nullptr && table->clickedRow() < 0) {
        return;
    }
    addAddressesFromAddressBook(pcAddressList_);
}

void AddressBookController::addSelectedDeviceAddressData(QObject* sender) {
    if (auto* table = qobject_cast<kit::TableView*>(sender);
        table != nullptr && table->clickedRow() < 0) {
        return;
    }
    addAddressesFromAddressBook(deviceAddressList_);
}

void AddressBookController::addAddressesFromAddressBook(kit::ArrayController* sourceList) {
    if (sourceList == nullptr || addressArrayController_ == nullptr) {
        return;
    }
    QList<kit::ObjectRef> picked;
    const QList<kit::ObjectRef> selected = sourceList->selectedObjects();
    for (const kit::ObjectRef& entry : selected) {
        if (isGroup(entry.get())) {
            picked.append(getAddressListFrom(entry, sourceList));
        } else {
            picked.append(entry);
        }
    }
    // The limit counts every picked entry, before any duplicate is skipped.
    if (addressArrayController_->count() + picked.size() > kMaximumRecipientCount) {
        alert(TKDRV_TEXT("No More Destination"), {}, {TKDRV_TEXT("OK")});
        return;
    }
    DuplicateAnswer answer = DuplicateAnswer::NotAsked;
    for (const kit::ObjectRef& entry : picked) {
        if (existAddressInDestination(entry.get())) {
            if (answer == DuplicateAnswer::NotAsked) {
                answer = checkIfAllowDuplication() ? DuplicateAnswer::Add : DuplicateAnswer::Skip;
            }
            if (answer == DuplicateAnswer::Skip) {
                continue;
            }
        }
        addDestinationAddress(entry.get());
    }
}

QList<kit::ObjectRef>
AddressBookController::getAddressListFrom(const kit::ObjectRef& group,
                                          kit::ArrayController* sourceList) const {
    const QVariantList identifiers = kit::valueForKey(group.get(), kUserIDListKey).toList();
    if (const LoadedEntries* loaded = loadedEntriesOf(sourceList)) {
        return loadedMembers(identifiers, *loaded, sourceList);
    }
    // How often each identifier is still to be found: one individual takes one occurrence.
    QHash<int, int> missing;
    qsizetype missingCount = 0;
    for (const QVariant& id : identifiers) {
        ++missing[id.toInt()];
        ++missingCount;
    }
    QList<kit::ObjectRef> members;
    const QList<kit::ObjectRef> shown =
        sourceList != nullptr ? sourceList->arrangedObjects() : QList<kit::ObjectRef>{};
    for (const kit::ObjectRef& entry : shown) {
        if (missingCount == 0) {
            break;
        }
        const std::optional<int> identifier = memberIdentifierOf(entry.get());
        const auto found = identifier ? missing.find(*identifier) : missing.end();
        if (found != missing.end() && found.value() > 0) {
            --found.value();
            --missingCount;
            members.append(entry);
        }
    }
    if (missingCount > 0) {
        kit::SystemLog::log(QStringLiteral("Error. Some addresses not found in the address book."));
    }
    return members;
}

// The same search over rows read here: the identifiers their records gave are looked up by
// row, so tens of thousands of shown rows are passed without reading a key or making an object.
QList<kit::ObjectRef> AddressBookController::loadedMembers(const QVariantList& identifiers,
                                                           const LoadedEntries& loaded,
                                                           kit::ArrayController* sourceList) const {
    // Records give identifiers of 16 bits; one outside them is never found. A bit per identifier
    // passes over most rows before the count of each wanted one is looked up.
    constexpr int kIdentifierCount = 1 << 16;
    std::vector<bool> wanted(kIdentifierCount);
    QHash<int, int> missing;
    qsizetype missingCount = 0;
    bool outside = false;
    for (const QVariant& id : identifiers) {
        const int identifier = id.toInt();
        if (identifier >= 0 && identifier < kIdentifierCount) {
            wanted[static_cast<std::size_t>(identifier)] = true;
            ++missing[identifier];
            ++missingCount;
        } else {
            outside = true;
        }
    }
    QList<kit::ObjectRef> members;
    for (int index = 0; missingCount > 0 && index < sourceList->count(); ++index) {
        const int identifier =
            loaded.memberIdentifiers[static_cast<std::size_t>(sourceList->arrangedRow(index))];
        if (identifier < 0 || !wanted[static_cast<std::size_t>(identifier)]) {
            continue;
        }
        const auto found = missing.find(identifier);
        if (found.value() > 0) {
            --found.value();
            --missingCount;
            members.append(sourceList->arrangedObjectAt(index));
        }
    }
    if (missingCount > 0 || outside) {
        kit::SystemLog::log(QStringLiteral("Error. Some addresses not found in the address book."));
    }
    return members;
}

std::optional<int> AddressBookController::memberIdentifierOf(const QObject* entry) {
    if (isGroup(entry)) {
        return std::nullopt;
    }
    bool isNumber = false;
    const int identifier = kit::valueForKey(entry, kIdKey).toInt(&isNumber);
    return isNumber ? std::optional<int>(identifier) : std::nullopt;
}

bool AddressBookController::existAddressInDestination(const QObject* entry) const {
    if (addressArrayController_ == nullptr) {
        return false;
    }
    const QVariant name = kit::valueForKey(entry, kNameKey);
    const QVariant phoneNumber = kit::valueForKey(entry, kPhoneNumberKey);
    const QList<kit::ObjectRef> recipients = addressArrayController_->arrangedObjects();
    return std::any_of(recipients.begin(), recipients.end(), [&](const kit::ObjectRef& recipient) {
        return isSameText(kit::valueForKey(recipient.get(), kNameKey), name) &&
               isSameText(kit::valueForKey(recipient.get(), kPhoneNumberKey), phoneNumber);
    });
}

bool AddressBookController::checkIfAllowDuplication() const {
    return alert(TKDRV_TEXT("Duplicated Address Found"),
                 TKDRV_TEXT("Add the same address to destinations?"),
                 {TKDRV_TEXT("OK"), TKDRV_TEXT("Cancel")}) == kit::AlertFirstButtonReturn;
}

void AddressBookController::addDestinationAddress(const QObject* entry) {
    auto recipient = std::make_shared<AddressInformation>();
    kit::setValueForKey(recipient.get(), kNameKey, kit::valueForKey(entry, kNameKey));
    kit::setValueForKey(recipient.get(), kPhoneNumberKey, kit::valueForKey(entry, kPhoneNumberKey));
    addressArrayController_->addObject(recipient);
}

void AddressBookController::deleteAddressInfo(QObject* /*sender*/) {
    if (addressArrayController_ == nullptr) {
        return;
    }
    const QList<kit::ObjectRef> selected = addressArrayController_->selectedObjects();
    if (!selected.isEmpty()) {
        addressArrayController_->removeObjects(selected);
    }
}

} // namespace tarvik_pde_m40vextel
