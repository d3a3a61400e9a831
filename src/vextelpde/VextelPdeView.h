#pragma once

#include "common/BasicPdeView.h"
#include "kit/Box.h"
#include "kit/Button.h"
#include "kit/PopUpButton.h"
#include "kit/TextField.h"

#include <QPointer>

namespace tarvik_pde_m40vextel {

// One row of the control table: a control's tag and the PPD keyword it stands for (null for a
// control localized by its own text).
struct VextelControlRow {
    int tag;
    const char* keyword;
};

// Read in order up to the row with tag 0. Each fax option has a title label and a popup. The
// table keeps the name it has in the panel's design, spelled so on purpose.
inline constexpr VextelControlRow vextelPPDDict[] = {
    {1, "TKFaxImageQuality"},
    {2, "TKFaxImageQuality"},
    {3, "TKFaxTransmissionReport"},
    {4, "TKFaxTransmissionReport"},
    {5, nullptr},
    {6, nullptr},
    {7, "TKFaxCoverPageMode"},
    {8, "TKFaxCoverPageMode"},
    {9, "TKFaxSenderMode"},
    {10, "TKFaxSenderMode"},
    {11, nullptr},
    {12, nullptr},
    {0, nullptr},
};

// The fax options panel's view (layout "MainPanel"). Outlets are set by the layout loader.
class VextelPdeView : public BasicPdeView {
    Q_OBJECT
    Q_PROPERTY(kit::TextField* imageQualityTitle READ imageQualityTitle WRITE setImageQualityTitle)
    Q_PROPERTY(
        kit::PopUpButton* imageQualityPopup READ imageQualityPopup WRITE setImageQualityPopup)
    Q_PROPERTY(kit::TextField* reportOptionTitle READ reportOptionTitle WRITE setReportOptionTitle)
    Q_PROPERTY(
        kit::PopUpButton* reportOptionPopup READ reportOptionPopup WRITE setReportOptionPopup)
    Q_PROPERTY(kit::Box* coverSettingGroup READ coverSettingGroup WRITE setCoverSettingGroup)
    Q_PROPERTY(kit::TextField* coverPageTitle READ coverPageTitle WRITE setCoverPageTitle)
    Q_PROPERTY(kit::PopUpButton* coverPagePopup READ coverPagePopup WRITE setCoverPagePopup)
    Q_PROPERTY(kit::TextField* senderModeTitle READ senderModeTitle WRITE setSenderModeTitle)
    Q_PROPERTY(kit::PopUpButton* senderModePopup READ senderModePopup WRITE setSenderModePopup)
    Q_PROPERTY(kit::TextField* senderNameTitle READ senderNameTitle WRITE setSenderNameTitle)
    Q_PROPERTY(
        kit::TextField* senderNameTextEdit READ senderNameTextEdit WRITE setSenderNameTextEdit)
    Q_PROPERTY(kit::Button* addressBookButton READ addressBookButton WRITE setAddressBookButton)
    Q_PROPERTY(kit::Button* defaultsButton READ defaultsButton WRITE setDefaultsButton)

public:
    explicit VextelPdeView(QWidget* widget);
    ~VextelPdeView() override;

    // Fills the tagged controls from the PPD (option rows) or the string tables (other rows),
    // then the cover-settings box. Rows whose tag no control carries are skipped.
    void initializeControls();

    kit::TextField* imageQualityTitle() const { return imageQualityTitle_; }
    void setImageQualityTitle(kit::TextField* view) { imageQualityTitle_ = view; }
    kit::PopUpButton* imageQualityPopup() const { return imageQualityPopup_; }
    void setImageQualityPopup(kit::PopUpButton* view) { imageQualityPopup_ = view; }
    kit::TextField* reportOptionTitle() const { return reportOptionTitle_; }
    void setReportOptionTitle(kit::TextField* view) { reportOptionTitle_ = view; }
    kit::PopUpButton* reportOptionPopup() const { return reportOptionPopup_; }
    void setReportOptionPopup(kit::PopUpButton* view) { reportOptionPopup_ = view; }
    kit::Box* coverSettingGroup() const { return coverSettingGroup_; }
    void setCoverSettingGroup(kit::Box* view) { coverSettingGroup_ = view; }
    kit::TextField* coverPageTitle() const { return coverPageTitle_; }
    void setCoverPageTitle(kit::TextField* view) { coverPageTitle_ = view; }
    kit::PopUpButton* coverPagePopup() const { return coverPagePopup_; }
    void setCoverPagePopup(kit::PopUpButton* view) { coverPagePopup_ = view; }
    kit::TextField* senderModeTitle() const { return senderModeTitle_; }
    void setSenderModeTitle(kit::TextField* view) { senderModeTitle_ = view; }
    kit::PopUpButton* senderModePopup() const { return senderModePopup_; }
    void setSenderModePopup(kit::PopUpButton* view) { senderModePopup_ = view; }
    kit::TextField* senderNameTitle() const { return senderNameTitle_; }
    void setSenderNameTitle(kit::TextField* view) { senderNameTitle_ = view; }
    kit::TextField* senderNameTextEdit() const { return senderNameTextEdit_; }
    void setSenderNameTextEdit(kit::TextField* view) { senderNameTextEdit_ = view; }
    kit::Button* addressBookButton() const { return addressBookButton_; }
    void setAddressBookButton(kit::Button* view) { addressBookButton_ = view; }
    kit::Button* defaultsButton() const { return defaultsButton_; }
    void setDefaultsButton(kit::Button* view) { defaultsButton_ = view; }

private:
    QPointer<kit::TextField> imageQualityTitle_;
    QPointer<kit::PopUpButton> imageQualityPopup_;
    QPointer<kit::TextField> reportOptionTitle_;
    QPointer<kit::PopUpButton> reportOptionPopup_;
    QPointer<kit::Box> coverSettingGroup_;
    QPointer<kit::TextField> coverPageTitle_;
    QPointer<kit::PopUpButton> coverPagePopup_;
    QPointer<kit::TextField> senderModeTitle_;
    QPointer<kit::PopUpButton> senderModePopup_;
    QPointer<kit::TextField> senderNameTitle_;
    QPointer<kit::TextField> senderNameTextEdit_;
    QPointer<kit::Button> addressBookButton_;
    QPointer<kit::Button> defaultsButton_;
};

} // namespace tarvik_pde_m40vextel
