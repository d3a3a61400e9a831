#pragma once

#include "kit/ArrayController.h"
#include "kit/Panel.h"
#include "kit/TextField.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <cups/ppd.h>
#include <memory>
#include <optional>

namespace kit {
class Bundle;
class Observation;
} // namespace kit

namespace printing {
class PrintSettings;
} // namespace printing

namespace tarvik_pde_m40vextel {

class InputStringChecker;

// The controller of the modal fax-sending dialog (layout "FaxSetting"): the recipient list, the
// entry fields, password and delayed send, and the job parameters written when the user starts
// sending. The print gate calls, for every print: setBundle, setPPD, setIPAddress, createDialog,
// isSending and, when that answered true, setPrintSettings.
//
// Bound controls reach the values through key-value coding on the Qt properties below. The
// button flags are read-only and computed afresh on every read; the selection observer writes
// the selection-dependent ones back under their own keys so that bound buttons read them again.
class FaxSettingController : public QObject {
    Q_OBJECT

    Q_CLASSINFO("kit.affects.delayedTime", "delayedPrint")
    Q_CLASSINFO("kit.affects.canAddAddress", "addressPhoneNumber")
    Q_CLASSINFO("kit.affects.canAddToAddressFile", "isAddressFileAvailable")
    // Without this a control bound to the flag would never learn that the check box changed.
    Q_CLASSINFO("kit.affects.isDelayedTime", "delayedPrint")

    // Outlets, set by the layout loader.
    Q_PROPERTY(kit::Panel* faxSettingPanel READ faxSettingPanel WRITE setFaxSettingPanel)
    Q_PROPERTY(kit::ArrayController* addressArrayController READ addressArrayController WRITE
                   setAddressArrayController)
    Q_PROPERTY(kit::ArrayController* addressFileList READ addressFileList WRITE setAddressFileList)
    Q_PROPERTY(
        QObject* addressBookController READ addressBookController WRITE setAddressBookController)
    Q_PROPERTY(kit::TextField* addressNameTextField READ addressNameTextField WRITE
                   setAddressNameTextField)
    Q_PROPERTY(kit::TextField* addressPhoneNumberTextField READ addressPhoneNumberTextField WRITE
                   setAddressPhoneNumberTextField)
    Q_PROPERTY(kit::TextField* passwordTextField READ passwordTextField WRITE setPasswordTextField)

    // Values edited by the dialog's controls.
    Q_PROPERTY(QString addressName READ addressName WRITE setAddressName NOTIFY addressNameChanged)
    Q_PROPERTY(QString addressPhoneNumber READ addressPhoneNumber WRITE setAddressPhoneNumber NOTIFY
                   addressPhoneNumberChanged)
    Q_PROPERTY(QString password READ password WRITE setPassword NOTIFY passwordChanged)
    Q_PROPERTY(int delayedPrint READ delayedPrint WRITE setDelayedPrint NOTIFY delayedPrintChanged)
    Q_PROPERTY(
        QDateTime delayedTime READ delayedTime WRITE setDelayedTime NOTIFY delayedTimeChanged)
    Q_PROPERTY(bool isAddressFileAvailable READ isAddressFileAvailable WRITE setAddressFileAvailable
                   NOTIFY isAddressFileAvailableChanged)

    // Derived flags for the buttons' enabled bindings.
    Q_PROPERTY(bool canAddAddress READ canAddAddress NOTIFY canAddAddressChanged)
    Q_PROPERTY(bool canEditAddress READ canEditAddress NOTIFY canEditAddressChanged)
    Q_PROPERTY(bool canDeleteAddress READ canDeleteAddress NOTIFY canDeleteAddressChanged)
    Q_PROPERTY(bool canAddToAddressFile READ canAddToAddressFile NOTIFY canAddToAddressFileChanged)
    Q_PROPERTY(bool isDelayedTime READ isDelayedTime NOTIFY isDelayedTimeChanged)

public:
    static constexpr int kMaximumRecipientCount = 30;

    explicit FaxSettingController(QObject* parent = nullptr);
    ~FaxSettingController() override;

    // Called once by the layout loader after every connection is made.
    Q_INVOKABLE void awakeFromNib();

    // The print gate's calls.
    void setBundle(std::shared_ptr<kit::Bundle> bundle);
    void setPPD(ppd_file_t* ppd);
    void setIPAddress(const std::optional<QString>& address);
    // Prepares and runs the dialog; returns once Start or Stop has closed it.
    void createDialog();
    bool isSending() const;
    // Writes the job parameters; only meaningful after a run that ended with Start.
    void setPrintSettings(printing::PrintSettings* printSettings);

    // The folder an open panel for address-book files starts in, made of the first four and the
    // last three components of the library's folder ("/" counting as the first); none when the
    // folder is empty or has fewer than seven components.
    static std::optional<QString> openPanelDirectory(const QString& folder);

    std::shared_ptr<kit::Bundle> bundle() const { return bundle_; }
    ppd_file_t* ppd() const { return ppd_; }
    std::optional<QString> printerAddress() const { return printerAddress_; }

    // Outlets.
    kit::Panel* faxSettingPanel() const { return faxSettingPanel_; }
    void setFaxSettingPanel(kit::Panel* panel) { faxSettingPanel_ = panel; }
    kit::ArrayController* addressArrayController() const { return addressArrayController_; }
    void setAddressArrayController(kit::ArrayController* list) { addressArrayController_ = list; }
    kit::ArrayController* addressFileList() const { return addressFileList_; }
    void setAddressFileList(kit::ArrayController* list) { addressFileList_ = list; }
    QObject* addressBookController() const { return addressBookController_; }
    void setAddressBookController(QObject* controller) { addressBookController_ = controller; }
    kit::TextField* addressNameTextField() const { return addressNameTextField_; }
    void setAddressNameTextField(kit::TextField* field) { addressNameTextField_ = field; }
    kit::TextField* addressPhoneNumberTextField() const { return addressPhoneNumberTextField_; }
    void setAddressPhoneNumberTextField(kit::TextField* field) {
        addressPhoneNumberTextField_ = field;
    }
    kit::TextField* passwordTextField() const { return passwordTextField_; }
    void setPasswordTextField(kit::TextField* field) { passwordTextField_ = field; }

    // Values.
    QString addressName() const { return addressName_; }
    void setAddressName(const QString& name);
    QString addressPhoneNumber() const { return addressPhoneNumber_; }
    void setAddressPhoneNumber(const QString& number);
    // A null string is an absent password.
    QString password() const { return password_; }
    void setPassword(const QString& password);
    int delayedPrint() const { return delayedPrint_; }
    void setDelayedPrint(int delayedPrint);
    QDateTime delayedTime() const { return delayedTime_; }
    void setDelayedTime(const QDateTime& time);
    bool isAddressFileAvailable() const { return addressFileAvailable_; }
    void setAddressFileAvailable(bool available);

    // Derived flags.
    bool canAddAddress() const;
    bool canEditAddress() const;
    bool canDeleteAddress() const;
    bool canAddToAddressFile() const;
    bool isDelayedTime() const;

    // The formatters attached to the entry fields (owned; null before awakeFromNib).
    const InputStringChecker* addressNameFieldFormatter() const;
    const InputStringChecker* addressPhoneNumberFieldFormatter() const;
    const InputStringChecker* passwordFieldFormatter() const;

    // Actions.
    Q_INVOKABLE void addAddressInfo(QObject* sender);
    Q_INVOKABLE void editAddressInfo(QObject* sender);
    Q_INVOKABLE void deleteAddressInfo(QObject* sender);
    Q_INVOKABLE void selectAddressBook(QObject* sender);
    Q_INVOKABLE void addToAddressBook(QObject* sender);
    Q_INVOKABLE void lookupAddressBook(QObject* sender);
    Q_INVOKABLE void lookupDeviceData(QObject* sender);
    Q_INVOKABLE void startSending(QObject* sender);
    Q_INVOKABLE void stopSending(QObject* sender);
    Q_INVOKABLE void showHelpBook(QObject* sender);

signals:
    void addressNameChanged();
    void addressPhoneNumberChanged();
    void passwordChanged();
    void delayedPrintChanged();
    void delayedTimeChanged();
    void isAddressFileAvailableChanged();
    void canAddAddressChanged();
    void canEditAddressChanged();
    void canDeleteAddressChanged();
    void canAddToAddressFileChanged();
    void isDelayedTimeChanged();

private:
    void createFormatters();
    void observeSelection();
    void selectionDidChange();
    void prepareView();
    void attachFormatters();
    void resetValues();
    void fillAddressFileList();
    bool chooseAddressFiles();
    void openPicker(int tabIndex);
    std::int32_t addSelectedRecipientsToFile(const QString& path);
    void closeDialog(bool sending);
    bool hasDuplicateOfEntry() const;
    int alert(const QString& message, const QString& informativeText,
              const QStringList& buttons) const;
    QString localized(const QString& text) const;
    bool storeJobPassword(printing::PrintSettings* printSettings) const;
    bool storeDelayedSend(printing::PrintSettings* printSettings) const;
    void storeDestinations(printing::PrintSettings* printSettings) const;

    QPointer<kit::Panel> faxSettingPanel_;
    QPointer<kit::ArrayController> addressArrayController_;
    QPointer<kit::ArrayController> addressFileList_;
    QPointer<QObject> addressBookController_;
    std::shared_ptr<kit::Bundle> bundle_;
    ppd_file_t* ppd_ = nullptr;
    std::optional<QString> printerAddress_;
    bool sendingStatus_ = false;
    // The dialog's texts are translated once per loaded dialog: they are the keys of the lookup,
    // so a second pass would only look the translations up again.
    bool viewIsLocalized_ = false;
    QString addressName_;
    QString addressPhoneNumber_;
    QString password_;
    int delayedPrint_ = 0;
    QDateTime delayedTime_;
    bool addressFileAvailable_ = false;
    QPointer<kit::TextField> addressNameTextField_;
    QPointer<kit::TextField> addressPhoneNumberTextField_;
    QPointer<kit::TextField> passwordTextField_;
    std::unique_ptr<InputStringChecker> addressNameFieldFormatter_;
    std::unique_ptr<InputStringChecker> addressPhoneNumberFieldFormatter_;
    std::unique_ptr<InputStringChecker> passwordFieldFormatter_;
    std::unique_ptr<kit::Observation> selectionObservation_;
};

} // namespace tarvik_pde_m40vextel
