#pragma once

#include "common/BasicPdeInterface.h"
#include "kit/Button.h"
#include "kit/KeyValue.h"
#include "kit/NetService.h"
#include "kit/TextField.h"
#include "vextelpde/FaxSettingController.h"
#include "vextelpde/PpdFeature.h"
#include "vextelpde/VextelPdeView.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace tarvik_pde_m40vextel {

class InputStringChecker;

// The fax options panel: the PPD's fax options as popups, the sender name for the cover page,
// Defaults, and the fax-sending dialog run when the user prints to the printer. It also knows
// the printer's address (from its device URI, through DNS-SD for a printer found that way) and
// starts the address-book editor with it.
class VextelPdeInterface : public BasicPdeInterface, public kit::NetServiceDelegate {
    Q_OBJECT
    // Outlets, set by the "MainPanel" and "FaxSetting" layouts.
    Q_PROPERTY(tarvik_pde_m40vextel::VextelPdeView* vextelView READ vextelView WRITE setVextelView)
    // Outlet name used by the "FaxSetting" layout; spelled so on purpose.
    Q_PROPERTY(tarvik_pde_m40vextel::FaxSettingController* detailedFaxSettingContoller READ
                   detailedFaxSettingContoller WRITE setDetailedFaxSettingContoller)
    Q_PROPERTY(
        kit::TextField* senderNameTextField READ senderNameTextField WRITE setSenderNameTextField)
    Q_PROPERTY(kit::Button* addressBookButton READ addressBookButton WRITE setAddressBookButton)
    Q_PROPERTY(QString senderName READ senderName WRITE setSenderName)

public:
    // The editor's identifier in the bundle's Info.plist: the id of its desktop entry.
    static constexpr char kAddressBookIdentifierKey[] = "AddressBookBundleIdentifier";
    static constexpr double kBonjourTimeout = 5.0;

    // Makes one feature per keyword listed under TKPPDKeysSupported, starts resolving the
    // printer's address (outside a sandbox) and registers the help book.
    VextelPdeInterface(printing::PluginCallback* callback, std::shared_ptr<kit::Bundle> bundle);
    ~VextelPdeInterface() override;

    // The text of the PPD's TKFaxSettings group, else "Fax Settings"; cached.
    QString panelName() override;
    // Loads "MainPanel" on first use; null (and tried again next time) when it does not load.
    kit::View* panelView() override;
    std::optional<QStringList> supportedPPDOptionKeys() override;
    void willShow() override;
    bool restoreValuesAndReturnError(QString* error) override;
    bool saveValuesAndReturnError(QString* error) override;
    // Runs the fax-sending dialog for a job that goes to the printer.
    bool shouldPrint() override;
    // Opens the help page itself and answers false.
    bool shouldShowHelp() override;
    std::optional<QVariantMap> summaryInfo() override;

    // Derives printerAddress from the printer's device URI: at once for lpd, ipp and socket,
    // empty for usb, later (through the NetService delegate calls) for mdns and dnssd; any other
    // scheme, no URI or a URI without a usable host leaves it as it was.
    void resolveTargetDevice();
    void netServiceDidResolveAddress(kit::NetService* service) override;
    void netServiceDidNotResolve(kit::NetService* service, const QString& error) override;

    // Resets every feature to its PPD default (telling the host) and empties the sender name.
    void setDefaultValue();
    // Brings every control into line with the features and the sender name.
    void updateUI();

    // Actions.
    Q_INVOKABLE void uiValueDidChange(QObject* sender);
    Q_INVOKABLE void setDefaults(QObject* sender);
    Q_INVOKABLE void launchAddressBook(QObject* sender);

    // A null QString until a restore, a save, a popup change or Defaults set it.
    QString senderName() const { return senderName_; }
    void setSenderName(const QString& name) { senderName_ = name; }

    // Outlets.
    VextelPdeView* vextelView() const { return vextelView_; }
    void setVextelView(VextelPdeView* view) { vextelView_ = view; }
    FaxSettingController* detailedFaxSettingContoller() const { return faxDialog_; }
    void setDetailedFaxSettingContoller(FaxSettingController* dialog) { faxDialog_ = dialog; }
    kit::TextField* senderNameTextField() const { return senderNameTextField_; }
    void setSenderNameTextField(kit::TextField* field) { senderNameTextField_ = field; }
    kit::Button* addressBookButton() const { return addressBookButton_; }
    void setAddressBookButton(kit::Button* button) { addressBookButton_ = button; }

    const std::vector<PpdFeature>& ppdFeatures() const { return ppdFeatures_; }
    const InputStringChecker* senderNameFieldFormatter() const {
        return senderNameFieldFormatter_.get();
    }
    // The printer's resolved address; none until resolved, empty for a USB printer.
    const std::optional<QString>& printerAddress() const { return printerAddress_; }
    // The pending DNS-SD resolution; null when none is pending.
    const kit::NetService* pendingNetService() const { return netService_.get(); }

private:
    void createFeatures();
    bool loadMainPanel();
    bool loadFaxSetting();
    void attachSenderNameFormatter();
    // False when the field holds a text the formatter refuses; the field then shows the last
    // accepted name again.
    bool senderNameFieldIsAcceptable();
    void popupDidChange(kit::PopUpButton* popup);
    void showFeatureChoices();
    void applyCoverPageRules(const QVariantMap& choices);
    PpdFeature* featureForKeyword(const QString& keyword);
    bool jobGoesElsewhere() const;
    void resolveBonjourService(const QByteArray& host);
    void resolveHost(const QByteArray& host);
    // Finds and caches the editor's program; false when no desktop entry gives one.
    bool findAddressBookEditor(const QString& identifier);
    void showEditorNotFound() const;

    QPointer<VextelPdeView> vextelView_;
    // The fax-sending dialog's controller: the outlet detailedFaxSettingContoller.
    QPointer<FaxSettingController> faxDialog_;
    QPointer<kit::TextField> senderNameTextField_;
    QPointer<kit::Button> addressBookButton_;
    std::vector<PpdFeature> ppdFeatures_;
    std::unique_ptr<InputStringChecker> senderNameFieldFormatter_;
    QString addressBookEditorPath_;
    // The arguments the editor's desktop entry gives before the connection's.
    QStringList addressBookEditorArguments_;
    std::optional<QString> printerAddress_;
    // Owned by the resolution: released in either delegate call, or with the panel, which stops
    // it so that no answer reaches a panel that has gone.
    std::unique_ptr<kit::NetService> netService_;
    QString senderName_;
    // Kept alive for the panel's life; released after the formatter the field borrows.
    QList<kit::ObjectRef> mainPanelTopLevelObjs_;
    QList<kit::ObjectRef> faxSettingTopLevelObjs_;
};

} // namespace tarvik_pde_m40vextel
