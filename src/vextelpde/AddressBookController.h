#pragma once

#include "kit/ArrayController.h"
#include "kit/Dictionary.h"
#include "kit/Panel.h"
#include "kit/TabViewDelegate.h"
#include "kit/TableView.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <cups/ppd.h>
#include <memory>
#include <optional>
#include <vector>

namespace kit {
class Bundle;
class Observation;
} // namespace kit

namespace tarvik_pde_m40vextel {

class AddressBookView;

// The address-book picker of the fax-sending dialog (layout "FaxSetting"): a modal panel with a
// PC address-book tab (0) and a device tab (1), each listing individuals and groups read through
// the address-book library, and the dialog's own recipient list, to which picked entries are
// added. The dialog calls, for every opening: setBundle, setPPD, setIPAddress, setPassword,
// createDialogWithTabSelection, which returns when the picker has been closed.
//
// Entries of the tabs are value rows of their lists (kit::ValueRows), given as kit::Dictionary
// objects where an object is asked for: "Id", "name", "phoneNumber" and, for PC individuals,
// "company" and "note"; a group has "phoneNumber" "Group" and "userIDList" (the member
// identifiers). The recipient list and the address-file list belong to the dialog; the
// picker works on them through its outlets. Keep closes the picker with its changes, discard
// (also the window's close button) puts back exactly the recipient objects held at opening.
//
// The button flags are read-only and computed on every read; the selection observers write them
// back under their own keys so that bound buttons read them again.
class AddressBookController : public QObject, public kit::TabViewDelegate {
    Q_OBJECT

    // Outlets, set by the layout loader. Spelled as the layout names them.
    Q_PROPERTY(kit::Panel* addressBookSettingPanel READ addressBookSettingPanel WRITE
                   setAddressBookSettingPanel)
    Q_PROPERTY(kit::ArrayController* addressArrayController READ addressArrayController WRITE
                   setAddressArrayController)
    Q_PROPERTY(kit::ArrayController* addressFileList READ addressFileList WRITE setAddressFileList)
    Q_PROPERTY(kit::ArrayController* pcAddressList READ pcAddressList WRITE setPcAddressList)
    Q_PROPERTY(
        kit::TableView* pcAddressTableView READ pcAddressTableView WRITE setPcAddressTableView)
    Q_PROPERTY(
        kit::ArrayController* deviceAddressList READ deviceAddressList WRITE setDeviceAddressList)
    Q_PROPERTY(kit::TableView* deviceAddressTableView READ deviceAddressTableView WRITE
                   setDeviceAddressTableView)
    Q_PROPERTY(kit::Panel* userPropertyPanel READ userPropertyPanel WRITE setUserPropertyPanel)
    Q_PROPERTY(kit::Panel* groupPropertyPanel READ groupPropertyPanel WRITE setGroupPropertyPanel)
    Q_PROPERTY(kit::Dictionary* userPropertyDictionary READ userPropertyDictionary WRITE
                   setUserPropertyDictionary)
    Q_PROPERTY(kit::Dictionary* groupPropertyDictionary READ groupPropertyDictionary WRITE
                   setGroupPropertyDictionary)
    Q_PROPERTY(kit::ArrayController* groupMemberList READ groupMemberList WRITE setGroupMemberList)

    // Search texts bound to the tabs' search fields.
    Q_PROPERTY(QString pcAddressSearchField READ pcAddressSearchField WRITE setPcAddressSearchField
                   NOTIFY pcAddressSearchFieldChanged)
    Q_PROPERTY(QString deviceAddressSearchField READ deviceAddressSearchField WRITE
                   setDeviceAddressSearchField NOTIFY deviceAddressSearchFieldChanged)

    // Derived flags for the buttons' enabled bindings.
    Q_PROPERTY(bool canAddPCAddressData READ canAddPCAddressData NOTIFY canAddPCAddressDataChanged)
    Q_PROPERTY(bool canShowPCAddressProperty READ canShowPCAddressProperty NOTIFY
                   canShowPCAddressPropertyChanged)
    Q_PROPERTY(bool canAddDeviceAddressData READ canAddDeviceAddressData NOTIFY
                   canAddDeviceAddressDataChanged)
    Q_PROPERTY(bool canShowDeviceAddressProperty READ canShowDeviceAddressProperty NOTIFY
                   canShowDeviceAddressPropertyChanged)
    Q_PROPERTY(bool canRemoveDestinationAddress READ canRemoveDestinationAddress NOTIFY
                   canRemoveDestinationAddressChanged)

public:
    static constexpr int kPCTab = 0;
    static constexpr int kDeviceTab = 1;
    static constexpr int kMaximumRecipientCount = 30;

    // A tab's unfiltered entries as read, and the identifier by which a group takes each row
    // (-1 for none: a group, or an individual whose number reads as a group's).
    struct LoadedEntries {
        std::shared_ptr<const kit::ValueRows> rows;
        std::vector<int> memberIdentifiers;
        // The rows in the list's order, as the list arranged them unfiltered.
        std::vector<int> arrangedRows;
    };

    explicit AddressBookController(QObject* parent = nullptr);
    ~AddressBookController() override;

    // Called once by the layout loader after every connection is made.
    Q_INVOKABLE void awakeFromNib();

    // The dialog's calls.
    void setBundle(std::shared_ptr<kit::Bundle> bundle);
    void setPPD(ppd_file_t* ppd);
    // Absent: the printer's connection is unknown; empty: the printer is on USB.
    void setIPAddress(const std::optional<QString>& address);
    // Absent: no password was handed over. Never logged.
    void setPassword(const std::optional<QString>& password);
    // Opens on tab 0 (PC) or any other index (device); returns when the picker has been closed.
    void createDialogWithTabSelection(int tabIndex);

    std::shared_ptr<kit::Bundle> bundle() const { return bundle_; }
    ppd_file_t* ppd() const { return ppd_; }
    std::optional<QString> printerAddress() const { return printerAddress_; }
    std::optional<QString> password() const { return password_; }

    // Outlets.
    kit::Panel* addressBookSettingPanel() const { return addressBookSettingPanel_; }
    void setAddressBookSettingPanel(kit::Panel* panel) { addressBookSettingPanel_ = panel; }
    kit::ArrayController* addressArrayController() const { return addressArrayController_; }
    void setAddressArrayController(kit::ArrayController* list) { addressArrayController_ = list; }
    kit::ArrayController* addressFileList() const { return addressFileList_; }
    void setAddressFileList(kit::ArrayController* list) { addressFileList_ = list; }
    kit::ArrayController* pcAddressList() const { return pcAddressList_; }
    void setPcAddressList(kit::ArrayController* list) { pcAddressList_ = list; }
    kit::TableView* pcAddressTableView() const { return pcAddressTableView_; }
    void setPcAddressTableView(kit::TableView* table) { pcAddressTableView_ = table; }
    kit::ArrayController* deviceAddressList() const { return deviceAddressList_; }
    void setDeviceAddressList(kit::ArrayController* list) { deviceAddressList_ = list; }
    kit::TableView* deviceAddressTableView() const { return deviceAddressTableView_; }
    void setDeviceAddressTableView(kit::TableView* table) { deviceAddressTableView_ = table; }
    kit::Panel* userPropertyPanel() const { return userPropertyPanel_; }
    void setUserPropertyPanel(kit::Panel* panel) { userPropertyPanel_ = panel; }
    kit::Panel* groupPropertyPanel() const { return groupPropertyPanel_; }
    void setGroupPropertyPanel(kit::Panel* panel) { groupPropertyPanel_ = panel; }
    kit::Dictionary* userPropertyDictionary() const { return userPropertyDictionary_; }
    void setUserPropertyDictionary(kit::Dictionary* values) { userPropertyDictionary_ = values; }
    kit::Dictionary* groupPropertyDictionary() const { return groupPropertyDictionary_; }
    void setGroupPropertyDictionary(kit::Dictionary* values) { groupPropertyDictionary_ = values; }
    kit::ArrayController* groupMemberList() const { return groupMemberList_; }
    void setGroupMemberList(kit::ArrayController* list) { groupMemberList_ = list; }

    QString pcAddressSearchField() const { return pcAddressSearchField_; }
    void setPcAddressSearchField(const QString& text);
    QString deviceAddressSearchField() const { return deviceAddressSearchField_; }
    void setDeviceAddressSearchField(const QString& text);

    // Every entry of the loaded file or printer, whatever the search shows: the list's own
    // objects while the list holds them.
    QList<kit::ObjectRef> originalPCAddressList() const;
    QList<kit::ObjectRef> originalDeviceAddressList() const;

    // Derived flags.
    bool canAddPCAddressData() const;
    bool canShowPCAddressProperty() const;
    bool canAddDeviceAddressData() const;
    bool canShowDeviceAddressProperty() const;
    bool canRemoveDestinationAddress() const;

    // Loading the tabs (each also resets its search).
    void initPCAdressBookTab();
    void initDeviceAddressTab();

    // Adding picked entries.
    void addAddressesFromAddressBook(kit::ArrayController* sourceList);
    // The group's members among the list's shown individuals, in the list's arranged order.
    QList<kit::ObjectRef> getAddressListFrom(const kit::ObjectRef& group,
                                             kit::ArrayController* sourceList) const;
    bool existAddressInDestination(const QObject* entry) const;
    bool checkIfAllowDuplication() const;
    void addDestinationAddress(const QObject* entry);

    // The property panels' contents.
    void setUserPropertyInfo(const QObject* entry);
    void setGroupPropertyInfo(const kit::ObjectRef& group, kit::ArrayController* sourceList);

    // kit::TabViewDelegate
    bool shouldSelectTabViewItem(kit::TabView* tabView, int index) override;
    void willSelectTabViewItem(kit::TabView* tabView, int index) override;

    // Actions.
    Q_INVOKABLE void sortPCAddressData(QObject* sender);
    Q_INVOKABLE void sortDeviceAddressData(QObject* sender);
    Q_INVOKABLE void addSelectedPCAddressData(QObject* sender);
    Q_INVOKABLE void addSelectedDeviceAddressData(QObject* sender);
    Q_INVOKABLE void deleteAddressInfo(QObject* sender);
    Q_INVOKABLE void showPCAddressProperty(QObject* sender);
    Q_INVOKABLE void showDevicePCAddressProperty(QObject* sender);
    Q_INVOKABLE void closeUserProperty(QObject* sender);
    Q_INVOKABLE void closeGroupProperty(QObject* sender);
    Q_INVOKABLE void saveAddressSetting(QObject* sender);
    Q_INVOKABLE void cancelAddressSetting(QObject* sender);
    Q_INVOKABLE void showHelpBook(QObject* sender);

signals:
    void pcAddressSearchFieldChanged();
    void deviceAddressSearchFieldChanged();
    void canAddPCAddressDataChanged();
    void canShowPCAddressPropertyChanged();
    void canAddDeviceAddressDataChanged();
    void canShowDeviceAddressPropertyChanged();
    void canRemoveDestinationAddressChanged();

private:
    enum class DeviceOutcome { None, WrongPassword, ReadFailure };

    void observeSelections();
    void announceFlags(const QStringList& keys);
    AddressBookView* addressBookView() const;
    void loadTab(int index);
    void endOpening();
    void closePicker();
    DeviceOutcome readDevice();
    void reportDeviceOutcome(DeviceOutcome outcome) const;
    static QList<kit::ObjectRef> objectsOf(const LoadedEntries& entries,
                                           const kit::ArrayController* list);
    void filter(kit::ArrayController* list, const LoadedEntries& original, bool& listHoldsOriginal,
                const QString& text);
    static void emptyList(kit::ArrayController* list);
    static void showLoadedEntries(kit::ArrayController* list, LoadedEntries& entries);
    void forgetLoadedEntries();
    // The loaded entries the list shows, or null.
    const LoadedEntries* loadedEntriesOf(const kit::ArrayController* list) const;
    // The members among rows read here, by the identifiers their records gave.
    QList<kit::ObjectRef> loadedMembers(const QVariantList& identifiers,
                                        const LoadedEntries& loaded,
                                        kit::ArrayController* sourceList) const;
    // The identifier by which a group takes the entry, or none (a group, or no identifier).
    static std::optional<int> memberIdentifierOf(const QObject* entry);
    void showProperty(kit::ArrayController* list);
    void runPropertyPanel(kit::Panel* panel);
    int alert(const QString& message, const QString& informativeText,
              const QStringList& buttons) const;

    QPointer<kit::Panel> addressBookSettingPanel_;
    QPointer<kit::ArrayController> addressArrayController_;
    QPointer<kit::ArrayController> addressFileList_;
    QPointer<kit::ArrayController> pcAddressList_;
    QPointer<kit::TableView> pcAddressTableView_;
    QPointer<kit::ArrayController> deviceAddressList_;
    QPointer<kit::TableView> deviceAddressTableView_;
    QPointer<kit::Panel> userPropertyPanel_;
    QPointer<kit::Panel> groupPropertyPanel_;
    QPointer<kit::Dictionary> userPropertyDictionary_;
    QPointer<kit::Dictionary> groupPropertyDictionary_;
    QPointer<kit::ArrayController> groupMemberList_;
    std::shared_ptr<kit::Bundle> bundle_;
    ppd_file_t* ppd_ = nullptr;
    std::optional<QString> printerAddress_;
    QList<kit::ObjectRef> oldAddresses_;
    LoadedEntries pcEntries_;
    LoadedEntries deviceEntries_;
    // Whether each tab's list controller holds exactly its unfiltered list (a failed load
    // empties the list and keeps the unfiltered list, which the next search shows again).
    bool pcListHoldsOriginal_ = false;
    bool deviceListHoldsOriginal_ = false;
    QString pcAddressSearchField_;
    QString deviceAddressSearchField_;
    std::optional<QString> password_;
    std::vector<std::unique_ptr<kit::Observation>> selectionObservations_;
};

} // namespace tarvik_pde_m40vextel
