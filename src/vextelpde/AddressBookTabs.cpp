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

// The keys of an entry, in the order of their rows' values; as shared strings, so that every
// value row and every dictionary made of one refers to the same few.
enum EntryKey { IdKey, CompanyKey, NameKey, NoteKey, PhoneNumberKey, UserIDListKey, KeyCount };

const QStringList& entryKeys() {
    static const QStringList keys{kIdKey,   kCompanyKey,     kNameKey,
                                  kNoteKey, kPhoneNumberKey, kUserIDListKey};
    return keys;
}

const QString& groupPhoneNumber() {
    static const QString number{kGroupPhoneNumber};
    return number;
}

// Adds an individual's row; false when the record is unreadable. An individual whose number reads
// as a group's is taken for a group, and never as a member.
bool addIndividual(const RecordBuffer& record, const RecordLayout& layout, kit::ValueRows& rows,
                   std::vector<int>& memberIdentifiers) {
    const int identifier = records::readUInt16(record.data(), layout.identifierOffset);
    std::optional<QString> name = records::readText(record.data(), layout.name);
    if (!name) {
        kit::SystemLog::log(QString::fromLatin1(layout.invalidName));
        return false;
    }
    std::optional<QString> phoneNumber = records::readText(record.data(), layout.phoneNumber);
    if (!phoneNumber) {
        kit::SystemLog::log(QString::fromLatin1(layout.invalidPhoneNumber));
        return false;
    }
    const auto optionalText = [&](records::TextField field) {
        return field.size == 0
                   ? QVariant()
                   : QVariant(records::readText(record.data(), field).value_or(QStringLiteral("")));
    };
    const bool takenForGroup = *phoneNumber == groupPhoneNumber();
    std::vector<QVariant> values(KeyCount);
    values[IdKey] = identifier;
    values[CompanyKey] = optionalText(layout.company);
    values[NameKey] = std::move(*name);
    values[NoteKey] = optionalText(layout.note);
    values[PhoneNumberKey] = std::move(*phoneNumber);
    rows.append(std::move(values));
    memberIdentifiers.push_back(takenForGroup ? -1 : identifier);
    return true;
}

bool addGroup(const RecordBuffer& record, const GroupLayout& layout, kit::ValueRows& rows,
              std::vector<int>& memberIdentifiers) {
    std::optional<QString> name = records::readText(record.data(), layout.name);
    if (!name) {
        kit::SystemLog::log(QString::fromLatin1(layout.invalidName));
        return false;
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
    std::vector<QVariant> values(KeyCount);
    values[NameKey] = std::move(*name);
    values[PhoneNumberKey] = groupPhoneNumber();
    values[UserIDListKey] = std::move(members);
    rows.append(std::move(values));
    memberIdentifiers.push_back(-1);
    return true;
}

// Reads individuals, then groups, each in record order, asking the count again after every
// record; the first unreadable record ends the reading, keeping the entries read before it.
AddressBookController::LoadedEntries readEntries(AddressBookLibrary& library,
                                                 AddressBookLibrary::DataHandle data,
                                                 const RecordLayout& individual,
                                                 const GroupLayout& group) {
    auto rows = std::make_shared<kit::ValueRows>(entryKeys());
    std::vector<int> memberIdentifiers;
    const qsizetype expected = std::max<qsizetype>(library.count(data, individual.kind), 0) +
                               std::max<qsizetype>(library.count(data, group.kind), 0);
    rows->reserve(expected);
    memberIdentifiers.reserve(static_cast<std::size_t>(expected));
    RecordBuffer record{};
    bool readable = true;
    for (std::int32_t i = 0; readable && i < library.count(data, individual.kind); ++i) {
        record.fill(0);
        library.getAt(data, individual.kind, i, record.data());
        readable = addIndividual(record, individual, *rows, memberIdentifiers);
    }
    for (std::int32_t i = 0; readable && i < library.count(data, group.kind); ++i) {
        record.fill(0);
        library.getAt(data, group.kind, i, record.data());
        readable = addGroup(record, group, *rows, memberIdentifiers);
    }
    return {std::move(rows), std::move(memberIdentifiers), {}};
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
    pcEntries_ = status == records::kStatusSuccess
                     ? readEntries(library, data, kPCIndividual, kPCGroup)
                     : LoadedEntries{};
    // The library's copy goes before the list arranges the entries: the two are never held at
    // once with the list's working copies.
    library.deleteData(data);
    showLoadedEntries(pcAddressList_, pcEntries_);
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
    filter(pcAddressList_, pcEntries_, pcListHoldsOriginal_,
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
    bool read = false;
    if (password_) {
        const std::int32_t status = library.readDeviceData(
            records::kReserved, data, records::kDeviceReadAddressBook, *password_);
        outcome = outcomeOf(status);
        read = status == records::kStatusSuccess;
        if (read) {
            deviceEntries_ = readEntries(library, data, kDeviceIndividual, kDeviceGroup);
        }
    }
    library.deleteData(data);
    if (read) {
        showLoadedEntries(deviceAddressList_, deviceEntries_);
        deviceListHoldsOriginal_ = true;
    }
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
    filter(deviceAddressList_, deviceEntries_, deviceListHoldsOriginal_,
           kit::valueForKey(sender, QStringLiteral("stringValue")).toString());
}

// ---- Search

// The list shows the unfiltered list's entries whose name contains the text, without regard to
// case. The list controller holds the unfiltered rows once and filters over the names it folded
// when it sorted them, so a keystroke sorts nothing; after a failed load emptied the list the
// unfiltered rows are put back first. A search starts with nothing selected.
void AddressBookController::filter(kit::ArrayController* list, const LoadedEntries& original,
                                   bool& listHoldsOriginal, const QString& text) {
    if (list == nullptr) {
        return;
    }
    if (!listHoldsOriginal) {
        list->setContentRows(original.rows);
        listHoldsOriginal = true;
    }
    list->clearSelection();
    list->setFilterText(text);
}

void AddressBookController::emptyList(kit::ArrayController* list) {
    list->setContent({});
    list->setFilterText({});
}

// The list has no search text here: it arranges every row.
void AddressBookController::showLoadedEntries(kit::ArrayController* list, LoadedEntries& entries) {
    list->setContentRows(entries.rows);
    entries.arrangedRows.resize(static_cast<std::size_t>(list->count()));
    for (int index = 0; index < list->count(); ++index) {
        entries.arrangedRows[static_cast<std::size_t>(index)] = list->arrangedRow(index);
    }
}

QList<kit::ObjectRef> AddressBookController::originalPCAddressList() const {
    return objectsOf(pcEntries_, pcAddressList_);
}

QList<kit::ObjectRef> AddressBookController::originalDeviceAddressList() const {
    return objectsOf(deviceEntries_, deviceAddressList_);
}

QList<kit::ObjectRef> AddressBookController::objectsOf(const LoadedEntries& entries,
                                                       const kit::ArrayController* list) {
    if (!entries.rows) {
        return {};
    }
    const bool listHoldsThem = list != nullptr && list->contentRows() == entries.rows;
    const QList<kit::ObjectRef> listObjects =
        listHoldsThem ? list->content() : QList<kit::ObjectRef>();
    QList<kit::ObjectRef> objects;
    for (int row : entries.arrangedRows) {
        objects.append(listHoldsThem ? listObjects.at(row) : entries.rows->makeObject(row));
    }
    return objects;
}

const AddressBookController::LoadedEntries*
AddressBookController::loadedEntriesOf(const kit::ArrayController* list) const {
    const std::shared_ptr<const kit::ValueRows> rows =
        list != nullptr ? list->contentRows() : nullptr;
    if (rows == nullptr) {
        return nullptr;
    }
    for (const LoadedEntries* loaded : {&pcEntries_, &deviceEntries_}) {
        if (loaded->rows == rows) {
            return loaded;
        }
    }
    return nullptr;
}

void AddressBookController::forgetLoadedEntries() {
    pcEntries_ = {};
    deviceEntries_ = {};
    pcListHoldsOriginal_ = false;
    deviceListHoldsOriginal_ = false;
}

} // namespace tarvik_pde_m40vextel
