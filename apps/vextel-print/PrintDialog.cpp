#include "PrintDialog.h"

#include "HostCallback.h"
#include "JobDispatcher.h"
#include "PpdDocument.h"
#include "kit/Alert.h"
#include "kit/Layout.h"
#include "kit/SystemLog.h"
#include "kit/View.h"
#include "printing/PanelProtocol.h"
#include "printing/PrintSession.h"

#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QFileDialog>
#include <QFutureWatcher>
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

const char* const kSummaryTitle = QT_TRANSLATE_NOOP("vextel_print::PrintDialog", "Summary");
// The window: built into the program as a resource.
const char* const kWindowLayout = ":/vextel-print/PrintDialog.layout";

struct DestinationItem {
    const char* title;
    std::uint16_t type;
};
const DestinationItem kDestinations[] = {
    {QT_TRANSLATE_NOOP("vextel_print::PrintDialog", "Printer"), printing::kDestinationPrinter},
    {QT_TRANSLATE_NOOP("vextel_print::PrintDialog", "PDF File"), printing::kDestinationFile},
    {QT_TRANSLATE_NOOP("vextel_print::PrintDialog", "Preview"), printing::kDestinationPreview},
};

} // namespace

PrintDialog::PrintDialog(HostCallback& host, std::vector<printing::PanelProtocol*> panels,
                         const JobDispatcher& dispatcher, QWidget* parent)
    : QDialog(parent), host_(host), panels_(std::move(panels)), dispatcher_(dispatcher) {
    setWindowTitle(tr("Print"));
    loadWindow();
    fillDestinations();
    addPanels();
    orderTabs();
    restoreAllPanels();
    switchToPanel(panels_.empty() ? summaryIndex() : 0);
}

PrintDialog::~PrintDialog() {
    // The panels own their views: hand them back before this dialog deletes its children.
    for (QWidget* widget : panelWidgets_) {
        if (widget != nullptr) {
            stack()->removeWidget(widget);
            widget->hide();
            widget->setParent(nullptr);
        }
    }
}

void PrintDialog::loadWindow() {
    // The layout is built into the program: one that does not load is a broken build.
    kit::SystemLog::Capture why;
    if (!kit::Layout::loadFile(QLatin1String(kWindowLayout), this, &windowObjects_) ||
        windowView_ == nullptr) {
        qFatal("PrintDialog: the window layout does not load: %s",
               qPrintable(why.lines().join(QLatin1String("; "))));
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(windowView_->widget());
    printerLabel_->setStringValue(host_.PMPrinter()->name().isEmpty() ? host_.ppd().modelName()
                                                                      : host_.PMPrinter()->name());
    // Print is the dialog's default button: marked again (off, then on: a mark that is already
    // set is not made again) now that it is inside the dialog, as the mark made while loading
    // named no dialog. Without it the first button Tab passed
    // became the default, and Return in a field pressed that one.
    printButton()->setDefault(false);
    printButton()->setDefault(true);
    printButton()->setFocus();
}

void PrintDialog::fillDestinations() {
    for (const auto& item : kDestinations) {
        destinationBox()->addItem(tr(item.title));
    }
}

QPushButton* PrintDialog::printButton() const {
    return qobject_cast<QPushButton*>(printButtonView_->button());
}

QPushButton* PrintDialog::cancelButton() const {
    return qobject_cast<QPushButton*>(cancelButtonView_->button());
}

QPushButton* PrintDialog::helpButton() const {
    return qobject_cast<QPushButton*>(helpButtonView_->button());
}

QComboBox* PrintDialog::panelPopup() const {
    return qobject_cast<QComboBox*>(panelPopupButton_->widget());
}

QSpinBox* PrintDialog::copiesBox() const {
    return qobject_cast<QSpinBox*>(copiesField_->widget());
}

QComboBox* PrintDialog::destinationBox() const {
    return qobject_cast<QComboBox*>(destinationPopup_->widget());
}

QStackedWidget* PrintDialog::stack() const {
    return qobject_cast<QStackedWidget*>(panelStack_->widget());
}

void PrintDialog::addPanels() {
    for (printing::PanelProtocol* panel : panels_) {
        kit::View* view = panel->panelView();
        QWidget* widget = view != nullptr ? view->widget() : nullptr;
        panelWidgets_.push_back(widget);
        stack()->addWidget(
            widget != nullptr ? widget : new QLabel(tr("This panel is not available."), stack()));
        panelPopup()->addItem(panel->panelName());
    }
    summary_ = new QTreeWidget(stack());
    summary_->setColumnCount(2);
    summary_->setHeaderLabels({tr("Setting"), tr("Value")});
    summary_->setAccessibleName(tr(kSummaryTitle));
    summary_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    stack()->addWidget(summary_);
    panelPopup()->addItem(tr(kSummaryTitle));
}

void PrintDialog::orderTabs() {
    // A panel's controls come into the dialog after its buttons were made; Tab reaches them
    // where they are shown: after the panel popup, before Help, Cancel and Print.
    QWidget* previous = panelPopup();
    for (int i = 0; i < stack()->count(); ++i) {
        QWidget* page = stack()->widget(i);
        QList<QWidget*> controls;
        // Only what Tab stops at: Qt leaves the order as it is for a widget that takes no focus.
        for (QWidget* next = nextInFocusChain(); next != this; next = next->nextInFocusChain()) {
            if (page->isAncestorOf(next) && (next->focusPolicy() & Qt::TabFocus) != 0) {
                controls.append(next);
            }
        }
        if ((page->focusPolicy() & Qt::TabFocus) != 0) {
            controls.prepend(page);
        }
        for (QWidget* control : controls) {
            setTabOrder(previous, control);
            previous = control;
        }
    }
    for (QWidget* button :
         {static_cast<QWidget*>(helpButton()), static_cast<QWidget*>(cancelButton()),
          static_cast<QWidget*>(printButton())}) {
        setTabOrder(previous, button);
        previous = button;
    }
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
    for (int i = 0; i < panelPopup()->count(); ++i) {
        titles.append(panelPopup()->itemText(i));
    }
    return titles;
}

bool PrintDialog::showPanelWithTitle(const QString& title) {
    // The summary answers to its English title too, so a script reads the same in any language.
    const int index =
        title == QLatin1String(kSummaryTitle) ? summaryIndex() : panelPopup()->findText(title);
    if (index < 0) {
        return false;
    }
    panelPopup()->setCurrentIndex(index);
    switchToPanel(index);
    return currentIndex_ == index;
}

void PrintDialog::switchToPanel(int index) {
    if (index == currentIndex_) {
        return;
    }
    if (!saveCurrentPanel()) {
        panelPopup()->setCurrentIndex(currentIndex_);
        return; // the person was told why and corrects the values on the page they stay on
    }
    currentIndex_ = index;
    panelPopup()->setCurrentIndex(index);
    stack()->setCurrentIndex(index);
    if (printing::PanelProtocol* panel = currentPanel()) {
        panel->willShow();
    } else {
        refreshSummary();
    }
}

bool PrintDialog::saveCurrentPanel() {
    printing::PanelProtocol* panel = currentPanel();
    QString reason;
    if (panel == nullptr || panel->saveValuesAndReturnError(&reason)) {
        return true;
    }
    reportRefusedValues(panel, reason);
    return false;
}

bool PrintDialog::saveAllPanels() {
    printing::PanelProtocol* refusing = nullptr;
    QString refusal;
    for (printing::PanelProtocol* panel : panels_) {
        QString reason;
        if (!panel->saveValuesAndReturnError(&reason) && refusing == nullptr) {
            refusing = panel;
            refusal = reason;
        }
    }
    if (refusing != nullptr) {
        reportRefusedValues(refusing, refusal);
    }
    return refusing == nullptr;
}

void PrintDialog::reportRefusedValues(printing::PanelProtocol* panel, const QString& reason) {
    kit::Alert alert;
    alert.setMessageText(
        tr("The settings in \u201c%1\u201d cannot be used.").arg(panel->panelName()));
    alert.setInformativeText(reason);
    alert.addButtonWithTitle(tr("OK"));
    alert.runModal();
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
    // By the English title as a script names it, or as shown.
    int index = destinationBox()->findText(title);
    for (int i = 0; i < static_cast<int>(std::size(kDestinations)); ++i) {
        if (title == QLatin1String(kDestinations[i].title)) {
            index = i;
        }
    }
    if (index < 0) {
        return false;
    }
    destinationBox()->setCurrentIndex(index);
    pdfPath_ = filePath;
    return true;
}

void PrintDialog::setCopies(int copies) {
    copiesBox()->setValue(copies);
}

int PrintDialog::copies() const {
    return copiesBox()->value();
}

void PrintDialog::applyDestination() {
    const auto& item = kDestinations[destinationBox()->currentIndex()];
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
        return; // a panel refused its values: the person corrects them in the open dialog
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
    jobOptions_ = JobDispatcher::jobOptions(host_, copiesBox()->value());
    const auto result = dispatchWhileTheWindowStaysAlive();
    if (!result.ok) {
        reportFailure(result.description);
    }
    finish(result.ok ? Outcome::Sent : Outcome::Failed, result.description);
}

JobDispatcher::Result PrintDialog::dispatchWhileTheWindowStaysAlive() {
    if (host_.printSession()->destinationType() != printing::kDestinationPrinter) {
        return dispatcher_.dispatch(host_, copiesBox()->value());
    }
    // Talking to the print server can take seconds (a server that does not answer takes the
    // submitter's whole time limit): the window keeps drawing and says what it is doing.
    const auto options = jobOptions_;
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
    sending_ = sending;
    emit isIdleChanged();
    statusLabel_->setStringValue(sending ? tr("Sending the job…") : QString());
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

void PrintDialog::choosePanel() {
    switchToPanel(panelPopup()->currentIndex());
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
