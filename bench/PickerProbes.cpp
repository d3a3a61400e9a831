// In-process probes of the address-book picker: the picker as the fax-sending dialog's layout
// makes it (its lists bound to their tables, the search typed into its field) on a vCard book,
// and the same work done bare (the library's read and every record, plain loops over the names).
#include "Suites.h"
#include "Took.h"
#include "kit/AlertDriver.h"
#include "kit/ArrayController.h"
#include "kit/Dictionary.h"
#include "kit/Layout.h"
#include "kit/Panel.h"
#include "kit/TextField.h"
#include "vextelpde/AddressBookController.h"
#include "vextelpde/AddressBookLibrary.h"
#include "vextelpde/AddressBookRecords.h"
#include "vextelpde/FaxSettingController.h"
#include "vextelpde/VextelPdePlugin.h"
#include "xdirkit/XdirKit.h"

#include <QHash>
#include <QLineEdit>
#include <QPointer>
#include <QSet>
#include <QWidget>
#include <algorithm>
#include <cstring>
#include <vector>

namespace vextel_bench {

namespace {

namespace records = tarvik_pde_m40vextel::address_book_records;

constexpr int kGroupMembers = 201;
const QString kKeystroke = QStringLiteral("k");

// The printer's address book as the picker reads it, served from the same vCard book through the
// real library: the book's individuals as the printer's entries, and one group of the first 201
// of them, as a printer's group holds at most.
class BookAsPrinter : public tarvik_pde_m40vextel::AddressBookLibrary {
public:
    BookAsPrinter(AddressBookLibrary& library, QString book)
        : library_(library), book_(std::move(book)) {}

    std::int32_t initialize(std::int32_t) override { return XDIR_OK; }
    std::int32_t setDestinationDevice(std::int32_t, std::int32_t,
                                      const std::optional<QString>&) override {
        return XDIR_OK;
    }
    std::int32_t deviceStatus(std::int32_t, std::int32_t) override { return XDIR_DEVICE_READY; }
    std::int32_t readDeviceData(std::int32_t, DataHandle data, std::int32_t,
                                const QString&) override {
        return library_.readFile(book_, data, 0);
    }
    DataHandle createData() override { return library_.createData(); }
    void deleteData(DataHandle data) override { library_.deleteData(data); }
    std::int32_t count(DataHandle data, RecordKind kind) override {
        switch (kind) {
        case RecordKind::Fax:
            return library_.count(data, RecordKind::MyFax);
        case RecordKind::FaxGroup:
            return 1;
        default:
            return library_.count(data, kind);
        }
    }
    std::int32_t getAt(DataHandle data, RecordKind kind, std::int32_t index,
                       void* record) override {
        if (kind == RecordKind::Fax) {
            XDIRMyFaxRecord own{};
            const std::int32_t status = library_.getAt(data, RecordKind::MyFax, index, &own);
            XDIRFaxRecord fax{};
            fax.identifier = own.identifier;
            std::copy(std::begin(own.name), std::end(own.name), fax.name);
            std::copy(std::begin(own.faxNumber), std::end(own.faxNumber), fax.faxNumber);
            std::memcpy(record, &fax, sizeof fax);
            return status;
        }
        if (kind == RecordKind::FaxGroup) {
            XDIRFaxGroupRecord group{};
            const std::u16string name = u"Everyone";
            std::copy(name.begin(), name.end(), group.name);
            group.memberCount = XDIR_FAX_GROUP_MEMBERS;
            for (int i = 0; i < XDIR_FAX_GROUP_MEMBERS; ++i) {
                XDIRMyFaxRecord own{};
                library_.getAt(data, RecordKind::MyFax, i, &own);
                group.memberIdentifiers[i] = own.identifier;
            }
            std::memcpy(record, &group, sizeof group);
            return XDIR_OK;
        }
        return library_.getAt(data, kind, index, record);
    }
    std::int32_t addMyFax(DataHandle data, std::int32_t count, const void* records) override {
        return library_.addMyFax(data, count, records);
    }
    std::optional<QString> fileDirectory() override { return library_.fileDirectory(); }
    std::optional<QString> fileList() override { return library_.fileList(); }
    std::int32_t readFile(const QString& path, DataHandle data, std::int32_t flags) override {
        return library_.readFile(path, data, flags);
    }
    std::int32_t addFile(const QString& path, DataHandle data, std::int32_t flags) override {
        return library_.addFile(path, data, flags);
    }

private:
    AddressBookLibrary& library_;
    QString book_;
};

int indexOfName(const kit::ArrayController& list, const QString& name) {
    for (int i = 0; i < list.count(); ++i) {
        if (list.arrangedValue(i, QStringLiteral("name")).toString() == name) {
            return i;
        }
    }
    return -1;
}

} // namespace

// The fax-sending dialog's outlet, as the layout connects it.
class PickerLayoutOwner : public QObject {
    Q_OBJECT
    Q_PROPERTY(tarvik_pde_m40vextel::FaxSettingController* detailedFaxSettingContoller READ
                   detailedFaxSettingContoller WRITE setDetailedFaxSettingContoller)
public:
    tarvik_pde_m40vextel::FaxSettingController* detailedFaxSettingContoller() const {
        return controller_;
    }
    void setDetailedFaxSettingContoller(tarvik_pde_m40vextel::FaxSettingController* controller) {
        controller_ = controller;
    }

private:
    QPointer<tarvik_pde_m40vextel::FaxSettingController> controller_;
};

int pickerBookProbe(const BenchContext& context, const QStringList& arguments, QTextStream& out) {
    using tarvik_pde_m40vextel::AddressBookController;
    QString book;
    int contacts = 0;
    if (!bookArguments(arguments, &book, &contacts) || contacts < kGroupMembers) {
        return 2;
    }
    tarvik_pde_m40vextel::VextelPdePlugin::registerClasses();
    PickerLayoutOwner owner;
    QList<kit::ObjectRef> layoutObjects;
    if (!kit::Layout::loadFile(
            context.source(QStringLiteral("resources/VextelPDE/Resources/FaxSetting.layout")),
            &owner, &layoutObjects) ||
        owner.detailedFaxSettingContoller() == nullptr) {
        return 1;
    }
    tarvik_pde_m40vextel::FaxSettingController* dialog = owner.detailedFaxSettingContoller();
    auto* picker = qobject_cast<AddressBookController*>(dialog->addressBookController());
    kit::ArrayController* files = dialog->addressFileList();
    if (picker == nullptr || files == nullptr || picker->addressBookSettingPanel() == nullptr) {
        return 1;
    }
    auto* fieldWidget = picker->addressBookSettingPanel()->widget()->findChild<QWidget*>(
        QStringLiteral("pcAddressSearchField"));
    auto* searchField = qobject_cast<kit::TextField*>(kit::View::of(fieldWidget));
    if (searchField == nullptr) {
        return 1;
    }
    files->addObject(kit::Dictionary::create(
        {{QStringLiteral("name"), QStringLiteral("book.vcf")}, {QStringLiteral("path"), book}}));
    files->setSelectionIndex(0);
    kit::ArrayController& pcList = *picker->pcAddressList();
    kit::ArrayController& deviceList = *picker->deviceAddressList();

    const Took load = Took::measure([&] { picker->initPCAdressBookTab(); });
    if (pcList.count() != contacts) {
        return 1;
    }
    // Typed as a person types: the field's edit fires the search action.
    const Took keystroke = Took::measure([&] { searchField->lineEdit()->insert(kKeystroke); });
    const int shownAfterKeystroke = pcList.count();
    const Took clear = Took::measure([&] { searchField->lineEdit()->backspace(); });
    if (shownAfterKeystroke == 0 || shownAfterKeystroke == pcList.count()) {
        return 1;
    }

    // The same book as the printer's, with a group of 201 of its individuals: the group is
    // expanded over every shown individual, then refused by the 30-recipient limit. The picker is
    // closed and opened again on the device tab, so that one book is held at a time, as when the
    // PC tab was loaded.
    picker->saveAddressSetting(nullptr);
    pcList.setContent({});
    BookAsPrinter printer(tarvik_pde_m40vextel::AddressBookLibrary::current(), book);
    tarvik_pde_m40vextel::AddressBookLibrary::Override printerScope(printer);
    kit::AlertDriver alerts;
    kit::AlertDriverScope alertScope(alerts);
    picker->setIPAddress(QStringLiteral("192.0.2.1"));
    picker->setPassword(QStringLiteral("0000"));
    picker->initDeviceAddressTab();
    const int groupIndex = indexOfName(deviceList, QStringLiteral("Everyone"));
    if (deviceList.count() != contacts + 1 || groupIndex < 0 || !alerts.messages().isEmpty()) {
        return 1;
    }
    deviceList.setSelectionIndex(groupIndex);
    const Took adding = Took::measure([&] { picker->addSelectedDeviceAddressData(nullptr); });
    if (alerts.messages() != QStringList{QStringLiteral("No More Destination")} ||
        picker->getAddressListFrom(deviceList.arrangedObjectAt(groupIndex), &deviceList).size() !=
            kGroupMembers) {
        return 1;
    }

    // Closing with Keep lets go of the loaded book; the lists are emptied too, so that every
    // entry is freed within the figure whether the picker keeps its lists or not.
    const Took closing = Took::measure([&] {
        picker->saveAddressSetting(nullptr);
        pcList.setContent({});
        deviceList.setContent({});
    });
    load.write(out, "load", contacts);
    keystroke.write(out, "keystroke");
    clear.write(out, "clear");
    adding.write(out, "group");
    closing.write(out, "close");
    return 0;
}

int bareBookProbe(const BenchContext&, const QStringList& arguments, QTextStream& out) {
    QString book;
    int contacts = 0;
    if (!bookArguments(arguments, &book, &contacts) || contacts < kGroupMembers) {
        return 2;
    }
    QStringList names;
    std::vector<int> identifiers;
    const Took load = Took::measure([&] {
        XDIRDataRef data = XDIRData_Create();
        if (XdirGADFile_Read(book.toUtf8().constData(), data, 0) == XDIR_OK) {
            XDIRMyFaxRecord record{};
            for (int32_t i = 0; i < XDIRData_GetCount_MyFax(data); ++i) {
                XDIRData_GetAt_MyFax(data, i, &record);
                names.append(QString::fromUtf16(record.name));
                identifiers.push_back(record.identifier);
            }
        }
        XDIRData_Delete(data);
    });
    if (names.size() != contacts) {
        return 1;
    }
    QStringList shown;
    const Took keystroke = Took::measure([&] {
        for (const QString& name : names) {
            if (name.contains(kKeystroke, Qt::CaseInsensitive)) {
                shown.append(name);
            }
        }
    });
    const Took clear = Took::measure([&] { shown = names; });
    int found = 0;
    const Took adding = Took::measure([&] {
        QSet<int> wanted;
        for (int id = 1; id <= kGroupMembers; ++id) {
            wanted.insert(id);
        }
        for (int id : identifiers) {
            found += wanted.remove(id) ? 1 : 0;
        }
    });
    // The bare side did the same work: every name back, every member found.
    if (shown.size() != names.size() || found != kGroupMembers) {
        return 1;
    }
    const Took closing = Took::measure([&] {
        shown = QStringList();
        names = QStringList();
        identifiers = std::vector<int>();
    });
    load.write(out, "load", contacts);
    keystroke.write(out, "keystroke");
    clear.write(out, "clear");
    adding.write(out, "group");
    closing.write(out, "close");
    return 0;
}

} // namespace vextel_bench

#include "PickerProbes.moc"
