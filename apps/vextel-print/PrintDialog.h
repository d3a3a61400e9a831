#pragma once

#include "JobDispatcher.h"

#include <QDialog>
#include <memory>
#include <vector>

class QComboBox;
class QLabel;
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
// Print, asks every panel before the job goes to the dispatcher.
class PrintDialog : public QDialog {
    Q_OBJECT

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

    QPushButton* printButton() const { return printButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QPushButton* helpButton() const { return helpButton_; }
    QComboBox* panelPopup() const { return panelPopup_; }

    // Closing the dialog (its close button, Escape) is a Cancel.
    void reject() override;

public slots:
    void print();
    void cancel();
    void showHelp();

private:
    void buildWindow();
    QWidget* buildHeader();
    QWidget* buildButtons();
    void addPanels();
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

    HostCallback& host_;
    std::vector<printing::PanelProtocol*> panels_;
    std::vector<QWidget*> panelWidgets_;
    const JobDispatcher& dispatcher_;
    Outcome outcome_ = Outcome::Open;
    QString outcomeText_;
    QMap<QString, QString> jobOptions_;
    QString pdfPath_;
    int currentIndex_ = -1;

    QWidget* header_ = nullptr;
    QWidget* buttonRow_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    QLabel* printerLabel_ = nullptr;
    QSpinBox* copies_ = nullptr;
    QComboBox* destination_ = nullptr;
    QComboBox* panelPopup_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    QTreeWidget* summary_ = nullptr;
    QPushButton* helpButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
};

} // namespace vextel_print
