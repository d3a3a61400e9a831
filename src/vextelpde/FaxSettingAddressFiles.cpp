// The fax-sending dialog's address-book files: the file list filled at every opening, adding the
// selected recipients to the chosen file, and opening the picker on either tab.

#include "common/TKDRVLocalization.h"
#include "common/UtilityService.h"
#include "kit/Application.h"
#include "kit/Dictionary.h"
#include "kit/Environment.h"
#include "kit/KeyValue.h"
#include "kit/OpenPanel.h"
#include "vextelpde/AddressBookController.h"
#include "vextelpde/AddressBookLibrary.h"
#include "vextelpde/AddressBookRecords.h"
#include "vextelpde/BindingKeys.h"
#include "vextelpde/FaxSettingController.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <new>
#include <vector>

namespace tarvik_pde_m40vextel {

namespace records = address_book_records;

namespace {

constexpr int kOpenPanelMinimumComponents = 7;
constexpr int kOpenPanelLeadingComponents = 4;
constexpr int kOpenPanelTrailingComponents = 3;

// The message for each status of an adding; every other status is "Cannot add to the file.".
QString messageForStatus(std::int32_t status) {
    switch (status) {
    case records::kStatusSuccess:
        return TKDRV_TEXT("Added to Address Book.");
    case records::kStatusAlreadyExists:
        return TKDRV_TEXT("Address already exists.");
    case records::kStatusNoName:
        return TKDRV_TEXT("No name specified.");
    default:
        return TKDRV_TEXT("Cannot add to the file.");
    }
}

kit::ObjectRef makeFileEntry(const QString& name, const QString& path) {
    return kit::Dictionary::create({{kNameKey, name}, {kPathKey, path}});
}

// Fills one 960-byte record; the status says why it could not be filled.
std::int32_t fillRecord(unsigned char* record, const QObject* recipient, std::int64_t now) {
    const QString name = kit::valueForKey(recipient, kNameKey).toString();
    if (name.isEmpty()) {
        return records::kStatusNoName;
    }
    const QString number = kit::valueForKey(recipient, kPhoneNumberKey).toString();
    if (!records::writeText(record, records::kMyFaxName, name) ||
        !records::writeText(record, records::kMyFaxNumber, number)) {
        return records::kStatusCannotConvert;
    }
    records::writeInt64(record, records::kMyFaxTimeStampOffset, now);
    return records::kStatusSuccess;
}

// The recipients with each name and fax number once, as the book will read them (blanks around
// them do not count): the library refuses a repeat within one add as a duplicate, and the add
// would store nothing.
QList<kit::ObjectRef> withoutRepeats(const QList<kit::ObjectRef>& recipients) {
    QList<kit::ObjectRef> kept;
    QSet<QPair<QString, QString>> seen;
    for (const kit::ObjectRef& recipient : recipients) {
        const QPair<QString, QString> identity{
            kit::valueForKey(recipient.get(), kNameKey).toString().trimmed(),
            kit::valueForKey(recipient.get(), kPhoneNumberKey).toString().trimmed()};
        if (!seen.contains(identity)) {
            seen.insert(identity);
            kept.append(recipient);
        }
    }
    return kept;
}

} // namespace

// ---- The file list

void FaxSettingController::fillAddressFileList() {
    if (addressFileList_ == nullptr) {
        return;
    }
    addressFileList_->removeAllArrangedObjects();
    // Availability describes this run's files: a folder gone since the last run must not leave
    // the add button enabled for a list that is empty now.
    kit::setValueForKey(this, kIsAddressFileAvailableKey, false);
    AddressBookLibrary& library = AddressBookLibrary::current();
    const std::optional<QString> folder = library.fileDirectory();
    if (!folder) {
        return;
    }
    const std::optional<QString> names = library.fileList();
    if (UtilityService::isSandboxed()) {
        // The folder cannot be listed from inside the sandbox; the user picks files instead.
        kit::setValueForKey(this, kIsAddressFileAvailableKey, true);
        return;
    }
    if (!names) {
        return;
    }
    QList<kit::ObjectRef> entries;
    for (const QString& name : names->split(QChar(0), Qt::SkipEmptyParts)) {
        entries.append(makeFileEntry(name, QStringLiteral("%1/%2").arg(*folder, name)));
    }
    addressFileList_->addObjects(entries);
    if (addressFileList_->count() > 0) {
        addressFileList_->setSelectionIndex(0);
    }
    kit::setValueForKey(this, kIsAddressFileAvailableKey, addressFileList_->count() > 0);
}

void FaxSettingController::selectAddressBook(QObject* sender) {
    if (addressFileList_ == nullptr) {
        return;
    }
    const QVariant index = kit::valueForKey(sender, QStringLiteral("indexOfSelectedItem"));
    if (index.isValid()) {
        addressFileList_->setSelectionIndex(index.toInt());
    }
}

// ---- Adding to a file

void FaxSettingController::addToAddressBook(QObject* /*sender*/) {
    const QList<kit::ObjectRef> files =
        addressFileList_ != nullptr ? addressFileList_->selectedObjects() : QList<kit::ObjectRef>{};
    const QString path =
        files.isEmpty() ? QString() : kit::valueForKey(files.first().get(), kPathKey).toString();
    const std::int32_t status =
        path.isEmpty() ? records::kStatusCannotConvert : addSelectedRecipientsToFile(path);
    alert(messageForStatus(status), {}, {TKDRV_TEXT("OK")});
}

// All or nothing: the library is called only when every selected recipient fits its record.
std::int32_t FaxSettingController::addSelectedRecipientsToFile(const QString& path) {
    AddressBookLibrary& library = AddressBookLibrary::current();
    AddressBookLibrary::DataHandle data = library.createData();
    if (data == nullptr) {
        return records::kStatusCannotConvert;
    }
    const QList<kit::ObjectRef> recipients = withoutRepeats(
        addressArrayController_ != nullptr ? addressArrayController_->selectedObjects()
                                           : QList<kit::ObjectRef>{});
    std::vector<unsigned char> buffer;
    try {
        buffer.assign(static_cast<std::size_t>(recipients.size()) * records::kMyFaxSize, 0);
    } catch (const std::bad_alloc&) {
        library.deleteData(data);
        return records::kStatusCannotConvert;
    }
    const std::int64_t now = kit::Environment::now().toSecsSinceEpoch();
    std::int32_t status = records::kStatusSuccess;
    for (qsizetype i = 0; i < recipients.size() && status == records::kStatusSuccess; ++i) {
        status = fillRecord(buffer.data() + static_cast<std::size_t>(i) * records::kMyFaxSize,
                            recipients.at(i).get(), now);
    }
    if (status == records::kStatusSuccess) {
        status =
            library.addMyFax(data, static_cast<std::int32_t>(recipients.size()), buffer.data());
        if (status == records::kStatusSuccess) {
            status = library.addFile(path, data, records::kNoFlags);
        }
    }
    library.deleteData(data);
    return status;
}

// ---- Opening the picker

std::optional<QString> FaxSettingController::openPanelDirectory(const QString& folder) {
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    // "/" is the first component of an absolute path.
    QStringList components = folder.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (folder.startsWith(QLatin1Char('/'))) {
        components.prepend(QStringLiteral("/"));
    }
    if (components.size() < kOpenPanelMinimumComponents) {
        return std::nullopt;
    }
    QStringList kept = components.mid(0, kOpenPanelLeadingComponents);
    kept += components.mid(components.size() - kOpenPanelTrailingComponents);
    QString path = kept.join(QLatin1Char('/'));
    if (path.startsWith(QLatin1String("//"))) {
        path.remove(0, 1);
    }
    return path;
}

bool FaxSettingController::chooseAddressFiles() {
    const std::optional<QString> folder = AddressBookLibrary::current().fileDirectory();
    const std::optional<QString> start = openPanelDirectory(folder.value_or(QString()));
    if (!start) {
        return true;
    }
    kit::OpenPanel panel;
    panel.setCanChooseFiles(true);
    panel.setCanChooseDirectories(false);
    panel.setAllowsMultipleSelection(true);
    panel.setUsesDesktopChooser(true);
    panel.setDirectory(*start);
    if (panel.runModal() != kit::ModalResponseOK || panel.paths().isEmpty()) {
        return false;
    }
    QList<kit::ObjectRef> entries;
    for (const QString& path : panel.paths()) {
        entries.append(makeFileEntry(QFileInfo(path).fileName(), path));
    }
    addressFileList_->addObjects(entries);
    addressFileList_->setSelectionIndex(0);
    return true;
}

void FaxSettingController::lookupAddressBook(QObject* /*sender*/) {
    if (qobject_cast<AddressBookController*>(addressBookController_) == nullptr) {
        return;
    }
    if (UtilityService::isSandboxed() && addressFileList_ != nullptr &&
        addressFileList_->count() == 0 && !chooseAddressFiles()) {
        return;
    }
    openPicker(AddressBookController::kPCTab);
}

void FaxSettingController::lookupDeviceData(QObject* /*sender*/) {
    if (qobject_cast<AddressBookController*>(addressBookController_) == nullptr) {
        return;
    }
    openPicker(AddressBookController::kDeviceTab);
}

void FaxSettingController::openPicker(int tabIndex) {
    auto* picker = qobject_cast<AddressBookController*>(addressBookController_);
    picker->setBundle(bundle_);
    picker->setPPD(ppd_);
    picker->setIPAddress(printerAddress_);
    picker->setPassword(password_.isNull() ? std::nullopt : std::optional<QString>(password_));
    picker->createDialogWithTabSelection(tabIndex);
}

} // namespace tarvik_pde_m40vextel
