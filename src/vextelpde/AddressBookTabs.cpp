// Loading the picker's two tabs through the address-book library, and their searches.

#include "common/TKDRVLocalization.h"
#include "kit/KeyValue.h"
#include "kit/SystemLog.h"
#include "vextelpde/AddressBookController.h"
#include "vextelpde/AddressBookLibrary.h"
#include "vextelpde/AddressBookRecords.h"
#include "vextelpde/BindingKeys.h"

#include <array>
#include <utility>
#include <vector>

namespace tarvik_pde_m40vextel {

namespace records = address_book_records;
using RecordKind = AddressBookLibrary::RecordKind;

namespace {

// Where one kind of record keeps what an entry is made of.
struct RecordLayout {
    RecordKind kind;
    std::size_t identifierOffset;
    records::TextField name;
    records::TextField phoneNumber;
    // Absent fields (size 0) are left out of the entry.
    records::TextField company;
    records::TextField note;
    const char* invalidName;
    const char* invalidPhoneNumber;
};

struct GroupLayout {
    RecordKind kind;
    std::size_t size;
    records::TextField name;
    std::size_t memberCountOffset;
    std::size_t membersOffset;
    const char* invalidName;
};

// The log lines name the method and keep its historical spelling.
constexpr RecordLayout kPCIndividual{RecordKind::MyFax,
                                     records::kMyFaxIdentifierOffset,
                                     records::kMyFaxName,
                                     records::kMyFaxNumber,
                                     records::kMyFaxCompany,
                                     records::kMyFaxNote,
                                     "initPCAdressBookTab: Individual - Invalid name",
                                     "initPCAdressBookTab: Individual - Invalid Phone Number"};
constexpr GroupLayout kPCGroup{RecordKind::MyFaxGroup,
                               records::kMyFaxGroupSize,
                               records::kMyFaxGroupName,
                               records::kMyFaxGroupMemberCountOffset,
                               records::kMyFaxGroupMembersOffset,
                               "initPCAdressBookTab: Group - Invalid name"};
constexpr RecordLayout kDeviceIndividual{RecordKind::Fax,
                                         records::kFaxIdentifierOffset,
                                         records::kFaxName,
                                         records::kFaxNumber,
                                         {0, 0},
                                         {0, 0},
                                         "initDeviceAddressTab: Individual - Invalid name",
                                         "initDeviceAddressTab: Individual - Invalid phone number"};
constexpr GroupLayout kDeviceGroup{RecordKind::FaxGroup,
                                   records::kFaxGroupSize,
                                   records::kFaxGroupName,
                                   records::kFaxGroupMemberCountOffset,
                                   records::kFaxGroupMembersOffset,
                                   "initDeviceAddressTab: Group - Invalid name"};

// One buffer fits every record kind; zeroed before each copy so that a library that fills less
// than the whole record never shows the previous record's bytes.
using RecordBuffer = std::array<unsigned char, records::kLargestRecordSize>;

// The keys as shared strings: every entry refers to the same five, none copies them.
struct EntryKeys {
    QString id{kIdKey};
    QString name{kNameKey};
    QString phoneNumber{kPhoneNumberKey};
    QString company{kCompanyKey};
    QString note{kNoteKey};
    QString userIDList{kUserIDListKey};
    QString groupPhoneNumber{kGroupPhoneNumber};
};

const EntryKeys& entryKeys() {
    static const EntryKeys keys;
    return keys;
}

// An individual entry, with what a group's expansion needs of it.
struct Individual {
    kit::ObjectRef entry;
    int identifier = 0;
    // An individual whose number reads as a group's is taken for a group, and never as a member.
    bool takenForGroup = false;
};

std::optional<Individual> makeIndividual(const RecordBuffer& record, const RecordLayout& layout) {
    const int identifier = records::readUInt16(record.data(), layout.identifierOffset);
    const std::optional<QString> name = records::readText(record.data(), layout.name);
    if (!name) {
        kit::SystemLog::log(QString::fromLatin1(layout.invalidName));
        return std::nullopt;
    }
    const std::optional<QString> phoneNumber = records::readText(record.data(), layout.phoneNumber);
    if (!phoneNumber) {
        kit::SystemLog::log(QString::fromLatin1(layout.invalidPhoneNumber));
        return std::nullopt;
    }
    // Given in the order of the keys, so that the dictionary takes them as they are.
    const EntryKeys& keys = entryKeys();
    std::vector<std::pair<QString, QVariant>> values;
    values.reserve(5);
    values.emplace_back(keys.id, identifier);
    if (layout.company.size != 0) {
        values.emplace_back(
            keys.company,
            records::readText(record.data(), layout.company).value_or(QStringLiteral("")));
    }
    values.emplace_back(keys.name, *name);
    if (layout.note.size != 0) {
        values.emplace_back(
            keys.note, records::readText(record.data(), layout.note).value_or(QStringLiteral("")));
    }
    values.emplace_back(keys.phoneNumber, *phoneNumber);
    return Individual{kit::Dictionary::createWithEntries(std::move(values)), identifier,
                      *phoneNumber == keys.groupPhoneNumber};
}

std::optional<kit::ObjectRef> makeGroup(const RecordBuffer& record, const GroupLayout& layout) {
    const std::optional<QString> name = records::readText(record.data(), layout.name);
    if (!name) {
        kit::SystemLog::log(QString::fromLatin1(layout.invalidName));
        return std::nullopt;
    }
    // A count beyond what the record holds is cut to the record, never read past it.
    const std::size_t capacity = (layout.size - layout.membersOffset) / 2;
    const std::size_t count = std::min<std::size_t>(
        records::readUInt16(record.data(), layout.memberCountOffset), capacity);
    QVariantList members;
    members.reserve(static_cast<qsizetype>(count));
    for (std::size_t i = 0; i < count; ++i) {
        members.append(records::readUInt16(record.data(), layout.membersOffset + 2 * i));
    }
    const EntryKeys& keys = entryKeys();
    return kit::Dictionary::createWithEntries({{keys.name, *name},
                                               {keys.phoneNumber, keys.groupPhoneNumber},
                                               {keys.userIDList, members}});
}

// Reads individuals, then groups, each in record order, asking the count again after every
// record; the first unreadable record ends the reading. The entries go to `list` in one change;
// each individual's identifier is noted in `identifiers` as its record gave it.
void readEntries(AddressBookLibrary& library, AddressBookLibrary::DataHandle data,
                 const RecordLayout& individual, const GroupLayout& group,
                 kit::ArrayController* list, QHash<const QObject*, int>& identifiers) {
    QList<kit::ObjectRef> entries;
    RecordBuffer record{};
    bool readable = true;
    for (std::int32_t i = 0; readable && i < library.count(data, individual.kind); ++i) {
        record.fill(0);
        library.getAt(data, individual.kind, i, record.data());
        std::optional<Individual> read = makeIndividual(record, individual);
        readable = read.has_value();
        if (readable) {
            entries.append(read->entry);
            if (!read->takenForGroup) {
                identifiers.insert(read->entry.get(), read->identifier);
            }
        }
    }
    for (std::int32_t i = 0; readable && i < library.count(data, group.kind); ++i) {
        record.fill(0);
        library.getAt(data, group.kind, i, record.data());
        std::optional<kit::ObjectRef> entry = makeGroup(record, group);
        readable = entry.has_value();
        if (readable) {
            entries.append(*entry);
        }
    }
    list->addObjects(entries);
}

} // namespace

// ---- The PC tab

void AddressBookController::initPCAdressBookTab() {
    if (pcAddressList_ == nullptr) {
        return;
    }
    emptyList(pcAddressList_);
    pcListHoldsOriginal_ = false;
    kit::setValueForKey(this, kPcAddressSearchFieldKey, QStringLiteral(""));
    if (addressFileList_ == nullptr || addressFileList_->count() == 0) {
        alert(TKDRV_TEXT("Address Book file is none"), {}, {TKDRV_TEXT("OK")});
        return;
    }
    const QList<kit::ObjectRef> selected = addressFileList_->selectedObjects();
    if (selected.isEmpty()) {
        return;
    }
    const QString path = kit::valueForKey(selected.first().get(), kPathKey).toString();
    AddressBookLibrary& library = AddressBookLibrary::current();
    AddressBookLibrary::DataHandle data = library.createData();
    if (data == nullptr) {
        return;
    }
    const std::int32_t status = library.readFile(path, data, records::kNoFlags);
    if (status == records::kStatusSuccess) {
        readEntries(library, data, kPCIndividual, kPCGroup, pcAddressList_, memberIdentifiers_);
    }
    library.deleteData(data);
    replaceEntries(originalPCAddressList_, pcAddressList_->arrangedObjects());
    pcListHoldsOriginal_ = true;
    if (status != records::kStatusSuccess) {
        // An empty tab would pass for an empty book: the user is told the file was not read.
        kit::SystemLog::log(QStringLiteral("initPCAdressBookTab: %1 - Read failed (0x%2)")
                                .arg(path)
                                .arg(static_cast<std::uint32_t>(status), 8, 16, QLatin1Char('0')));
        alert(TKDRV_TEXT("Failed to retrieve data"),
              kit::valueForKey(selected.first().get(), kNameKey).toString(), {TKDRV_TEXT("OK")});
    }
}

void AddressBookController::sortPCAddressData(QObject* sender) {
    filter(pcAddressList_, originalPCAddressList_, pcListHoldsOriginal_,
           kit::valueForKey(sender, QStringLiteral("stringValue")).toString());
}

// ---- The device tab

void AddressBookController::initDeviceAddressTab() {
    if (deviceAddressList_ == nullptr) {
        return;
    }
    emptyList(deviceAddressList_);
    deviceListHoldsOriginal_ = false;
    kit::setValueForKey(this, kDeviceAddressSearchFieldKey, QStringLiteral(""));
    reportDeviceOutcome(readDevice());
}

AddressBookController::DeviceOutcome AddressBookController::readDevice() {
    const auto outcomeOf = [](std::int32_t status) {
        return status == records::kStatusSuccess         ? DeviceOutcome::None
               : status == records::kStatusWrongPassword ? DeviceOutcome::WrongPassword
                                                         : DeviceOutcome::ReadFailure;
    };
    AddressBookLibrary& library = AddressBookLibrary::current();
    const std::int32_t initialized = library.initialize(records::kReserved);
    if (initialized != records::kStatusSuccess) {
        return outcomeOf(initialized);
    }
    if (!printerAddress_) {
        kit::SystemLog::log(
            QStringLiteral("initDeviceAddressTab - Device type cannot be resolved."));
        return DeviceOutcome::ReadFailure;
    }
    if (printerAddress_->isEmpty()) {
        library.setDestinationDevice(records::kReserved, records::kDeviceOnUsb, std::nullopt);
    } else {
        library.setDestinationDevice(records::kReserved, records::kDeviceOnNetwork,
                                     printerAddress_);
    }
    const std::int32_t status =
        library.deviceStatus(records::kReserved, records::kDeviceStatusQuery);
    if (status != records::kStatusDeviceReady) {
        return outcomeOf(status);
    }
    AddressBookLibrary::DataHandle data = library.createData();
    if (data == nullptr) {
        return DeviceOutcome::ReadFailure;
    }
    DeviceOutcome outcome = DeviceOutcome::WrongPassword;
    if (password_) {
        const std::int32_t read = library.readDeviceData(
            records::kReserved, data, records::kDeviceReadAddressBook, *password_);
        outcome = outcomeOf(read);
        if (read == records::kStatusSuccess) {
            readEntries(library, data, kDeviceIndividual, kDeviceGroup, deviceAddressList_,
                        memberIdentifiers_);
            replaceEntries(originalDeviceAddressList_, deviceAddressList_->arrangedObjects());
            deviceListHoldsOriginal_ = true;
        }
    }
    library.deleteData(data);
    return outcome;
}

void AddressBookController::reportDeviceOutcome(DeviceOutcome outcome) const {
    if (outcome == DeviceOutcome::None) {
        return;
    }
    alert(TKDRV_TEXT("Device Access Failure"),
          outcome == DeviceOutcome::WrongPassword ? TKDRV_TEXT("Invalid Password")
                                                  : TKDRV_TEXT("Failed to retrieve data"),
          {TKDRV_TEXT("OK")});
}

void AddressBookController::sortDeviceAddressData(QObject* sender) {
    filter(deviceAddressList_, originalDeviceAddressList_, deviceListHoldsOriginal_,
           kit::valueForKey(sender, QStringLiteral("stringValue")).toString());
}

// ---- Search

// The list shows the unfiltered list's entries whose name contains the text, without regard to
// case. The list controller holds the unfiltered list once and filters over the names it read
// when it sorted them, so a keystroke sorts nothing; after a failed load emptied the list the
// unfiltered list is put back first. A search starts with nothing selected.
void AddressBookController::filter(kit::ArrayController* list,
                                   const QList<kit::ObjectRef>& original, bool& listHoldsOriginal,
                                   const QString& text) {
    if (list == nullptr) {
        return;
    }
    if (!listHoldsOriginal) {
        list->setContent(original);
        listHoldsOriginal = true;
    }
    list->clearSelection();
    list->setFilterText(text);
}

void AddressBookController::emptyList(kit::ArrayController* list) {
    list->setContent({});
    list->setFilterText({});
}

void AddressBookController::replaceEntries(QList<kit::ObjectRef>& original,
                                           const QList<kit::ObjectRef>& entries) {
    for (const kit::ObjectRef& entry : std::as_const(original)) {
        memberIdentifiers_.remove(entry.get());
    }
    original = entries;
}

void AddressBookController::forgetLoadedEntries() {
    // Both tabs' entries go: the whole record of identifiers with them, not one by one.
    originalPCAddressList_.clear();
    originalDeviceAddressList_.clear();
    memberIdentifiers_.clear();
    pcListHoldsOriginal_ = false;
    deviceListHoldsOriginal_ = false;
}

} // namespace tarvik_pde_m40vextel
