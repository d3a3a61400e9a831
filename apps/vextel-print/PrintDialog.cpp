#include "PrintDialog.h"

#include "HostCallback.h"
#include "JobDispatcher.h"
#include "PpdDocument.h"
#include "kit/Alert.h"
#include "kit/View.h"
#include "printing/PanelProtocol.h"
#include "printing/PrintSession.h"

#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QFileDialog>
#include <QFormLayout>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

namespace vextel_print {

namespace {

const char* const kSummaryTitle = "Summary";

struct DestinationItem {
    const char* title;
    std::uint16_t type;
};
const DestinationItem kDestinations[] = {
    {"Printer", printing::kDestinationPrinter},
    {"PDF File", printing::kDestinationFile},
    {"Preview", printing::kDestinationPreview},
};

} // namespace

PrintDialog::PrintDialog(HostCallback& host, std::vector<printing::PanelProtocol*> panels,
                         const JobDispatcher& dispatcher, QWidget* parent)
    : QDialog(parent), host_(host), panels_(std::move(panels)), dispatcher_(dispatcher) {
    setWindowTitle(tr("Print"));
    buildWindow();
    addPanels();
    restoreAllPanels();
    switchToPanel(panels_.empty() ? summaryIndex() : 0);
}

PrintDialog::~PrintDialog() {
    // The panels own their views: hand them back before this dialog deletes its children.
    for (QWidget* widget : panelWidgets_) {
        if (widget != nullptr) {
            stack_->removeWidget(widget);
            widget->hide();
            widget->setParent(nullptr);
        }
    }
}

void PrintDialog::buildWindow() {
    auto* layout = new QVBoxLayout(this);
    header_ = buildHeader();
    layout->addWidget(header_);
    stack_ = new QStackedWidget(this);
    stack_->setMinimumWidth(520);
    layout->addWidget(stack_, 1);
    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName(QStringLiteral("statusLabel"));
    layout->addWidget(statusLabel_);
    buttonRow_ = buildButtons();
    layout->addWidget(buttonRow_);
}

QWidget* PrintDialog::buildHeader() {
    auto* header = new QWidget(this);
    auto* form = new QFormLayout(header);
    form->setContentsMargins(0, 0, 0, 0);
    printerLabel_ = new QLabel(host_.PMPrinter()->name().isEmpty() ? host_.ppd().modelName()
                                                                   : host_.PMPrinter()->name(),
                               header);
    form->addRow(tr("Printer:"), printerLabel_);
    copies_ = new QSpinBox(header);
    copies_->setRange(1, 999);
    copies_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    copies_->setObjectName(QStringLiteral("copies"));
    form->addRow(tr("Copies:"), copies_);
    destination_ = new QComboBox(header);
    for (const auto& item : kDestinations) {
        destination_->addItem(tr(item.title));
    }
    form->addRow(tr("Destination:"), destination_);
    destination_->setObjectName(QStringLiteral("destination"));
    panelPopup_ = new QComboBox(header);
    panelPopup_->setObjectName(QStringLiteral("panelPopup"));
    form->addRow(QString(), panelPopup_);
    connect(panelPopup_, &QComboBox::activated, this, &PrintDialog::switchToPanel);
    return header;
}

QWidget* PrintDialog::buildButtons() {
    auto* row = new QWidget(this);
    auto* buttons = new QHBoxLayout(row);
    buttons->setContentsMargins(0, 0, 0, 0);
    helpButton_ = new QPushButton(tr("?"), row);
    helpButton_->setToolTip(tr("Help"));
    helpButton_->setFixedWidth(32);
    cancelButton_ = new QPushButton(tr("Cancel"), row);
    printButton_ = new QPushButton(tr("Print"), row);
    printButton_->setDefault(true);
    printButton_->setFocus();
    helpButton_->setObjectName(QStringLiteral("helpButton"));
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));
    printButton_->setObjectName(QStringLiteral("printButton"));
    buttons->addWidget(helpButton_);
    buttons->addStretch(1);
    buttons->addWidget(cancelButton_);
    buttons->addWidget(printButton_);
    connect(helpButton_, &QPushButton::clicked, this, &PrintDialog::showHelp);
    connect(cancelButton_, &QPushButton::clicked, this, &PrintDialog::cancel);
    connect(printButton_, &QPushButton::clicked, this, &PrintDialog::print);
    return row;
}

void PrintDialog::addPanels() {
    for (printing::PanelProtocol* panel : panels_) {
        kit::View* view = panel->panelView();
        QWidget* widget = view != nullptr ? view->widget() : nullptr;
        panelWidgets_.push_back(widget);
        stack_->addWidget(
            widget != nullptr ? widget : new QLabel(tr("This panel is not available."), stack_));
        panelPopup_->addItem(panel->panelName());
    }
    summary_ = new QTreeWidget(stack_);
    summary_->setColumnCount(2);
    summary_->setHeaderLabels({tr("Setting"), tr("Value")});
    summary_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    stack_->addWidget(summary_);
    panelPopup_->addItem(tr(kSummaryTitle));
}

void PrintDialog::restoreAllPanels() {
    for (printing::PanelProtocol* panel : panels_) {
        QString ignored;
        panel->restoreValuesAndReturnError(&ignored);
    }
}

int PrintDialog::summaryIndex() const {
    return static_cast<int>(panels_.size());
}

printing::PanelProtocol* PrintDialog::currentPanel() const {
    if (currentIndex_ < 0 || currentIndex_ >= summaryIndex()) {
        return nullptr;
    }
    return panels_[static_cast<std::size_t>(currentIndex_)];
}

QStringList PrintDialog::panelTitles() const {
    QStringList titles;
    for (int i = 0; i < panelPopup_->count(); ++i) {
        titles.append(panelPopup_->itemText(i));
    }
    return titles;
}

bool PrintDialog::showPanelWithTitle(const QString& title) {
    const int index = panelPopup_->findText(title);
    if (index < 0) {
        return false;
    }
    panelPopup_->setCurrentIndex(index);
    switchToPanel(index);
    return currentIndex_ == index;
}

void PrintDialog::switchToPanel(int index) {
    if (index == currentIndex_) {
        return;
    }
    if (!saveCurrentPanel()) {
        panelPopup_->setCurrentIndex(currentIndex_);
        return;
    }
    currentIndex_ = index;
    panelPopup_->setCurrentIndex(index);
    stack_->setCurrentIndex(index);
    if (printing::PanelProtocol* panel = currentPanel()) {
        panel->willShow();
    } else {
        refreshSummary();
    }
}

bool PrintDialog::saveCurrentPanel() {
    printing::PanelProtocol* panel = currentPanel();
    QString ignored;
    return panel == nullptr || panel->saveValuesAndReturnError(&ignored);
}

bool PrintDialog::saveAllPanels() {
    bool saved = true;
    for (printing::PanelProtocol* panel : panels_) {
        QString ignored;
        saved = panel->saveValuesAndReturnError(&ignored) && saved;
    }
    return saved;
}

void PrintDialog::refreshSummary() {
    summary_->clear();
    for (printing::PanelProtocol* panel : panels_) {
        const auto info = panel->summaryInfo();
        if (!info) {
            continue;
        }
        auto* group = new QTreeWidgetItem(summary_, {panel->panelName()});
        QFont bold = group->font(0);
        bold.setBold(true);
        group->setFont(0, bold);
        const QStringList order =
            info->value(QString::fromLatin1(printing::kSummaryDisplayOrderKey)).toStringList();
        for (const QString& key : order) {
            new QTreeWidgetItem(group, {key, info->value(key).toString()});
        }
    }
    summary_->expandAll();
}

bool PrintDialog::chooseDestination(const QString& title, const QString& filePath) {
    const int index = destination_->findText(title);
    if (index < 0) {
        return false;
    }
    destination_->setCurrentIndex(index);
    pdfPath_ = filePath;
    return true;
}

void PrintDialog::setCopies(int copies) {
    copies_->setValue(copies);
}

int PrintDialog::copies() const {
    return copies_->value();
}

void PrintDialog::applyDestination() {
    const auto& item = kDestinations[destination_->currentIndex()];
    if (item.type == printing::kDestinationFile && pdfPath_.isEmpty()) {
        pdfPath_ = QFileDialog::getSaveFileName(this, tr("Save as PDF"), QString(),
                                                tr("PDF files (*.pdf)"));
    }
    host_.printSession()->setDestination(
        item.type, item.type == printing::kDestinationFile ? pdfPath_ : QString());
}

bool PrintDialog::everyPanelLetsPrint() {
    for (printing::PanelProtocol* panel : panels_) {
        if (!panel->shouldPrint()) {
            return false;
        }
    }
    return true;
}

void PrintDialog::print() {
    if (!saveAllPanels()) {
        return; // a panel refused its values: the user corrects them in the open dialog
    }
    applyDestination();
    if (host_.printSession()->destinationType() == printing::kDestinationFile &&
        host_.printSession()->destinationLocation().isEmpty()) {
        return; // the user gave no file name
    }
    if (!everyPanelLetsPrint()) {
        finish(Outcome::Cancelled, tr("the job was cancelled"));
        return;
    }
    const auto result = dispatchWhileTheWindowStaysAlive();
    if (!result.ok) {
        reportFailure(result.description);
    }
    finish(result.ok ? Outcome::Sent : Outcome::Failed, result.description);
}

JobDispatcher::Result PrintDialog::dispatchWhileTheWindowStaysAlive() {
    if (host_.printSession()->destinationType() != printing::kDestinationPrinter) {
        return dispatcher_.dispatch(host_, copies_->value());
    }
    // Talking to the print server can take seconds (a server that does not answer takes the
    // submitter's whole time limit): the window keeps drawing and says what it is doing.
    const auto options = JobDispatcher::jobOptions(host_, copies_->value());
    QFutureWatcher<JobDispatcher::Result> sending;
    QEventLoop waiting;
    connect(&sending, &QFutureWatcherBase::finished, &waiting, &QEventLoop::quit);
    setSending(true);
    sending.setFuture(
        QtConcurrent::run([this, options] { return dispatcher_.sendToPrinter(options); }));
    if (!sending.isFinished()) {
        waiting.exec(QEventLoop::ExcludeUserInputEvents);
    }
    setSending(false);
    return sending.result();
}

void PrintDialog::setSending(bool sending) {
    for (QWidget* part : {static_cast<QWidget*>(stack_), buttonRow_, header_}) {
        part->setEnabled(!sending);
    }
    statusLabel_->setText(sending ? tr("Sending the job…") : QString());
    if (sending) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void PrintDialog::reportFailure(const QString& reason) {
    kit::Alert alert;
    alert.setMessageText(tr("The job could not be sent."));
    alert.setInformativeText(reason);
    alert.addButtonWithTitle(tr("OK"));
    alert.runModal();
}

void PrintDialog::cancel() {
    finish(Outcome::Cancelled, tr("the job was cancelled"));
}

void PrintDialog::showHelp() {
    printing::PanelProtocol* panel = currentPanel();
    if (panel != nullptr && !panel->shouldShowHelp()) {
        return; // the panel showed its own help
    }
    QMessageBox::information(this, tr("Help"),
                             tr("Choose the printer's options in the panels, then press Print."));
}

void PrintDialog::reject() {
    if (outcome_ == Outcome::Open) {
        outcome_ = Outcome::Cancelled;
        outcomeText_ = tr("the job was cancelled");
    }
    QDialog::reject();
}

void PrintDialog::finish(Outcome outcome, const QString& text) {
    outcome_ = outcome;
    outcomeText_ = text;
    if (outcome == Outcome::Sent) {
        accept();
    } else {
        reject();
    }
}

} // namespace vextel_print
