#pragma once

#include "common/BasicPdeView.h"
#include "kit/Box.h"
#include "kit/Button.h"
#include "kit/TextField.h"

#include <QPointer>

namespace tarvik_pde_m40vextel {

// The content view of the fax-sending dialog (layout "FaxSetting"). Its outlets name the
// dialog's fixed controls; the dialog's behaviour goes through the controller's bindings.
class FaxSettingView : public BasicPdeView {
    Q_OBJECT
    Q_PROPERTY(kit::TextField* destNameLabel READ destNameLabel WRITE setDestNameLabel)
    Q_PROPERTY(kit::TextField* destPhoneNumberLabel READ destPhoneNumberLabel WRITE
                   setDestPhoneNumberLabel)
    Q_PROPERTY(
        kit::TextField* recipientListLabel READ recipientListLabel WRITE setRecipientListLabel)
    Q_PROPERTY(kit::Button* addAddressButton READ addAddressButton WRITE setAddAddressButton)
    Q_PROPERTY(kit::Button* editAddressButton READ editAddressButton WRITE setEditAddressButton)
    Q_PROPERTY(
        kit::Button* deleteAddressButton READ deleteAddressButton WRITE setDeleteAddressButton)
    Q_PROPERTY(kit::Button* addToAddressBookButton READ addToAddressBookButton WRITE
                   setAddToAddressBookButton)
    Q_PROPERTY(kit::TextField* addressBookFileLabel READ addressBookFileLabel WRITE
                   setAddressBookFileLabel)
    Q_PROPERTY(kit::Button* lookUpAddressBookButton READ lookUpAddressBookButton WRITE
                   setLookUpAddressBookButton)
    Q_PROPERTY(kit::Button* lookUpDeviceDataButton READ lookUpDeviceDataButton WRITE
                   setLookUpDeviceDataButton)
    Q_PROPERTY(
        kit::Box* authorizationGroupBox READ authorizationGroupBox WRITE setAuthorizationGroupBox)
    Q_PROPERTY(kit::TextField* passwordLabel READ passwordLabel WRITE setPasswordLabel)
    Q_PROPERTY(kit::Box* delayedSendGroupBox READ delayedSendGroupBox WRITE setDelayedSendGroupBox)
    Q_PROPERTY(
        kit::Button* delayedSendCheckbox READ delayedSendCheckbox WRITE setDelayedSendCheckbox)
    Q_PROPERTY(kit::TextField* delayedTimeLabel READ delayedTimeLabel WRITE setDelayedTimeLabel)
    Q_PROPERTY(kit::Button* startButton READ startButton WRITE setStartButton)
    Q_PROPERTY(kit::Button* stopButton READ stopButton WRITE setStopButton)

public:
    explicit FaxSettingView(QWidget* widget);
    ~FaxSettingView() override;

    // Localizes the window title from the default string table only, then every direct subview.
    void initializeControls();

    kit::TextField* destNameLabel() const { return destNameLabel_; }
    void setDestNameLabel(kit::TextField* view) { destNameLabel_ = view; }
    kit::TextField* destPhoneNumberLabel() const { return destPhoneNumberLabel_; }
    void setDestPhoneNumberLabel(kit::TextField* view) { destPhoneNumberLabel_ = view; }
    kit::TextField* recipientListLabel() const { return recipientListLabel_; }
    void setRecipientListLabel(kit::TextField* view) { recipientListLabel_ = view; }
    kit::Button* addAddressButton() const { return addAddressButton_; }
    void setAddAddressButton(kit::Button* view) { addAddressButton_ = view; }
    kit::Button* editAddressButton() const { return editAddressButton_; }
    void setEditAddressButton(kit::Button* view) { editAddressButton_ = view; }
    kit::Button* deleteAddressButton() const { return deleteAddressButton_; }
    void setDeleteAddressButton(kit::Button* view) { deleteAddressButton_ = view; }
    kit::Button* addToAddressBookButton() const { return addToAddressBookButton_; }
    void setAddToAddressBookButton(kit::Button* view) { addToAddressBookButton_ = view; }
    kit::TextField* addressBookFileLabel() const { return addressBookFileLabel_; }
    void setAddressBookFileLabel(kit::TextField* view) { addressBookFileLabel_ = view; }
    kit::Button* lookUpAddressBookButton() const { return lookUpAddressBookButton_; }
    void setLookUpAddressBookButton(kit::Button* view) { lookUpAddressBookButton_ = view; }
    kit::Button* lookUpDeviceDataButton() const { return lookUpDeviceDataButton_; }
    void setLookUpDeviceDataButton(kit::Button* view) { lookUpDeviceDataButton_ = view; }
    kit::Box* authorizationGroupBox() const { return authorizationGroupBox_; }
    void setAuthorizationGroupBox(kit::Box* view) { authorizationGroupBox_ = view; }
    kit::TextField* passwordLabel() const { return passwordLabel_; }
    void setPasswordLabel(kit::TextField* view) { passwordLabel_ = view; }
    kit::Box* delayedSendGroupBox() const { return delayedSendGroupBox_; }
    void setDelayedSendGroupBox(kit::Box* view) { delayedSendGroupBox_ = view; }
    kit::Button* delayedSendCheckbox() const { return delayedSendCheckbox_; }
    void setDelayedSendCheckbox(kit::Button* view) { delayedSendCheckbox_ = view; }
    kit::TextField* delayedTimeLabel() const { return delayedTimeLabel_; }
    void setDelayedTimeLabel(kit::TextField* view) { delayedTimeLabel_ = view; }
    kit::Button* startButton() const { return startButton_; }
    void setStartButton(kit::Button* view) { startButton_ = view; }
    kit::Button* stopButton() const { return stopButton_; }
    void setStopButton(kit::Button* view) { stopButton_ = view; }

private:
    QPointer<kit::TextField> destNameLabel_;
    QPointer<kit::TextField> destPhoneNumberLabel_;
    QPointer<kit::TextField> recipientListLabel_;
    QPointer<kit::Button> addAddressButton_;
    QPointer<kit::Button> editAddressButton_;
    QPointer<kit::Button> deleteAddressButton_;
    QPointer<kit::Button> addToAddressBookButton_;
    QPointer<kit::TextField> addressBookFileLabel_;
    QPointer<kit::Button> lookUpAddressBookButton_;
    QPointer<kit::Button> lookUpDeviceDataButton_;
    QPointer<kit::Box> authorizationGroupBox_;
    QPointer<kit::TextField> passwordLabel_;
    QPointer<kit::Box> delayedSendGroupBox_;
    QPointer<kit::Button> delayedSendCheckbox_;
    QPointer<kit::TextField> delayedTimeLabel_;
    QPointer<kit::Button> startButton_;
    QPointer<kit::Button> stopButton_;
};

} // namespace tarvik_pde_m40vextel
