#pragma once

#include "JobDispatcher.h"
#include "kit/Button.h"
#include "kit/KeyValue.h"
#include "kit/PopUpButton.h"
#include "kit/TextField.h"
#include "kit/View.h"

#include <QDialog>
#include <QList>
#include <memory>
#include <vector>

class QComboBox;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QTreeWidget;

namespace printing {
class PanelProtocol;
}

namespace vextel_print {

class HostCallback;

// The print dialog: printer, copies, destination, a popup of the plug-ins' panels and a
// summary, Help, Cancel and Print. It drives each panel through the panel protocol and, at
// Print, asks every panel before the job goes to the dispatcher. Its window is the layout
// "PrintDialog" (resources/vextel-print), built into the program.
class PrintDialog : public QDialog {
    Q_OBJECT
    // Outlets, set by the "PrintDialog" layout.
    Q_PROPERTY(kit::View* windowView READ windowView WRITE setWindowView)
    Q_PROPERTY(kit::TextField* printerLabel READ printerLabel WRITE setPrinterLabel)
    Q_PROPERTY(kit::View* copiesField READ copiesField WRITE setCopiesField)
    Q_PROPERTY(kit::PopUpButton* destinationPopup READ destinationPopup WRITE setDestinationPopup)
    Q_PROPERTY(kit::PopUpButton* panelPopupButton READ panelPopupButton WRITE setPanelPopupButton)
    Q_PROPERTY(kit::View* panelStack READ panelStack WRITE setPanelStack)
    Q_PROPERTY(kit::TextField* statusLabel READ statusLabel WRITE setStatusLabel)
    Q_PROPERTY(kit::Button* helpButtonView READ helpButtonView WRITE setHelpButtonView)
    Q_PROPERTY(kit::Button* cancelButtonView READ cancelButtonView WRITE setCancelButtonView)
    Q_PROPERTY(kit::Button* printButtonView READ printButtonView WRITE setPrintButtonView)
    // False while a job is being sent; the layout greys the window out by it.
    Q_PROPERTY(bool isIdle READ isIdle NOTIFY isIdleChanged)

public:
    enum class Outcome { Open, Sent, Cancelled, Failed };

    PrintDialog(HostCallback& host, std::vector<printing::PanelProtocol*> panels,
                const JobDispatcher& dispatcher, QWidget* parent = nullptr);
    ~PrintDialog() override;

    Outcome outcome() const { return outcome_; }
    // One line on what happened to the job.
    QString outcomeText() const { return outcomeText_; }
    // The options of the job, made once when the panels let it go; empty before that.
    const QMap<QString, QString>& jobOptions() const { return jobOptions_; }

    // Items of the panel popup: every panel's name, then "Summary".
    QStringList panelTitles() const;
    // Shows the panel with this title; false when there is none or the current panel refused
    // to let go of its values.
    bool showPanelWithTitle(const QString& title);
    // The destination popup: "Printer", "PDF File" (with its path) or "Preview".
    bool chooseDestination(const QString& title, const QString& filePath = QString());
    void setCopies(int copies);
    int copies() const;

    QPushButton* printButton() const;
    QPushButton* cancelButton() const;
    QPushButton* helpButton() const;
    QComboBox* panelPopup() const;

    bool isIdle() const { return !sending_; }

    // Outlets.
    kit::View* windowView() const { return windowView_; }
    void setWindowView(kit::View* view) { windowView_ = view; }
    kit::TextField* printerLabel() const { return printerLabel_; }
    void setPrinterLabel(kit::TextField* label) { printerLabel_ = label; }
    kit::View* copiesField() const { return copiesField_; }
    void setCopiesField(kit::View* field) { copiesField_ = field; }
    kit::PopUpButton* destinationPopup() const { return destinationPopup_; }
    void setDestinationPopup(kit::PopUpButton* popup) { destinationPopup_ = popup; }
    kit::PopUpButton* panelPopupButton() const { return panelPopupButton_; }
    void setPanelPopupButton(kit::PopUpButton* popup) { panelPopupButton_ = popup; }
    kit::View* panelStack() const { return panelStack_; }
    void setPanelStack(kit::View* stack) { panelStack_ = stack; }
    kit::TextField* statusLabel() const { return statusLabel_; }
    void setStatusLabel(kit::TextField* label) { statusLabel_ = label; }
    kit::Button* helpButtonView() const { return helpButtonView_; }
    void setHelpButtonView(kit::Button* button) { helpButtonView_ = button; }
    kit::Button* cancelButtonView() const { return cancelButtonView_; }
    void setCancelButtonView(kit::Button* button) { cancelButtonView_ = button; }
    kit::Button* printButtonView() const { return printButtonView_; }
    void setPrintButtonView(kit::Button* button) { printButtonView_ = button; }

    // Closing the dialog (its close button, Escape) is a Cancel.
    void reject() override;

signals:
    void isIdleChanged();

public slots:
    // Actions of the layout's buttons.
    void print();
    void cancel();
    void showHelp();
    // Action of the panel popup: shows the chosen panel.
    void choosePanel();

private:
    void loadWindow();
    void fillDestinations();
    void addPanels();
    // Tab goes through the dialog as it reads: the settings, the panel shown, the buttons.
    void orderTabs();
    void restoreAllPanels();
    void switchToPanel(int index);
    // Each false after telling the person, in an alert, why a panel refused its values.
    bool saveCurrentPanel();
    bool saveAllPanels();
    void reportRefusedValues(printing::PanelProtocol* panel, const QString& reason);
    bool everyPanelLetsPrint();
    void applyDestination();
    void refreshSummary();
    void finish(Outcome outcome, const QString& text);
    // Tells the person why the job did not go out: the dialog closes right after.
    void reportFailure(const QString& reason);
    // Sends the job; a printer job goes out on a worker thread while the window keeps drawing.
    JobDispatcher::Result dispatchWhileTheWindowStaysAlive();
    // Greys the dialog out and says that the job is being sent (or undoes that).
    void setSending(bool sending);
    int summaryIndex() const;
    printing::PanelProtocol* currentPanel() const;
    QSpinBox* copiesBox() const;
    QComboBox* destinationBox() const;
    QStackedWidget* stack() const;

    HostCallback& host_;
    std::vector<printing::PanelProtocol*> panels_;
    std::vector<QWidget*> panelWidgets_;
    const JobDispatcher& dispatcher_;
    Outcome outcome_ = Outcome::Open;
    QString outcomeText_;
    QMap<QString, QString> jobOptions_;
    QString pdfPath_;
    int currentIndex_ = -1;
    bool sending_ = false;

    kit::View* windowView_ = nullptr;
    kit::TextField* printerLabel_ = nullptr;
    kit::View* copiesField_ = nullptr;
    kit::PopUpButton* destinationPopup_ = nullptr;
    kit::PopUpButton* panelPopupButton_ = nullptr;
    kit::View* panelStack_ = nullptr;
    kit::TextField* statusLabel_ = nullptr;
    kit::Button* helpButtonView_ = nullptr;
    kit::Button* cancelButtonView_ = nullptr;
    kit::Button* printButtonView_ = nullptr;
    QTreeWidget* summary_ = nullptr;
    // The layout's objects; the root view's widget is this dialog's only child.
    QList<kit::ObjectRef> windowObjects_;
};

} // namespace vextel_print
