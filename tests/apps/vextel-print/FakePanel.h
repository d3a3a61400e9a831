#pragma once

// A print-dialog panel for the host's tests. Its view holds a sender field whose formatter takes
// letters and blanks only (at most 12), a popup, a table of three rows, a button that raises an
// alert and a disabled button. Like the fax panel, it can run a modal window from shouldPrint:
// "Fake Transmission" with a number field and Start, Stop, Ask and a disabled Locked button;
// Start without a number raises "No Number" and leaves the window open.

#include "kit/Alert.h"
#include "kit/Application.h"
#include "kit/Formatter.h"
#include "kit/Panel.h"
#include "kit/TextField.h"
#include "kit/View.h"
#include "printing/PanelProtocol.h"
#include "printing/PluginCallback.h"
#include "printing/PrintSession.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace vextel_test {

class LettersFormatter : public kit::Formatter {
public:
    bool isPartialStringValid(const QString& text, QString*, QString*) const override {
        if (text.size() > 12) {
            return false;
        }
        return std::all_of(text.begin(), text.end(),
                           [](QChar c) { return c.isLetter() || c == QLatin1Char(' '); });
    }
};

class FakePanel : public printing::PanelProtocol {
public:
    explicit FakePanel(QString name = QStringLiteral("Fake Panel"),
                       printing::PluginCallback* host = nullptr)
        : name_(std::move(name)), host_(host) {}

    ~FakePanel() override {
        delete viewWidget_;
        if (window_ != nullptr) {
            delete window_->widget();
        }
    }

    // What the tests set.
    bool saveSucceeds = true;
    bool printAnswer = true;      // shouldPrint's answer when no modal window runs
    bool runsModalWindow = false; // shouldPrint runs "Fake Transmission"
    std::optional<QVariantMap> summary;
    QString alertMessage = QStringLiteral("Something happened");
    QString alertInformative = QStringLiteral("Look at it");
    QStringList alertButtons = {QStringLiteral("OK"), QStringLiteral("Cancel")};

    // What the tests read.
    int restoreCalls = 0;
    int saveCalls = 0;
    int willShowCalls = 0;
    int shouldPrintCalls = 0;
    int modalRuns = 0;
    bool sending = false;
    QString lastAlertAnswer;
    std::uint16_t destinationAtPrint = 0;

    QLineEdit* senderField() {
        panelView();
        return sender_;
    }
    QComboBox* popup() {
        panelView();
        return popup_;
    }
    QTableView* table() {
        panelView();
        return table_;
    }
    QLineEdit* numberField() const { return number_; }

    kit::View* panelView() override {
        if (view_ == nullptr) {
            buildView();
        }
        return view_;
    }
    QString panelName() override { return name_; }
    QString panelKind() override { return QStringLiteral("test.fake-panel"); }
    std::optional<QStringList> supportedPPDOptionKeys() override { return std::nullopt; }
    void willShow() override { ++willShowCalls; }
    bool shouldHide() override { return true; }
    bool shouldPrint() override {
        ++shouldPrintCalls;
        if (host_ != nullptr && host_->printSession() != nullptr) {
            destinationAtPrint = host_->printSession()->destinationType();
        }
        if (!runsModalWindow) {
            return printAnswer;
        }
        if (window_ == nullptr) {
            buildWindow();
        }
        sending = false;
        ++modalRuns;
        kit::Application::runModal(window_);
        return sending;
    }
    bool shouldShowHelp() override { return true; }
    void PPDOptionKeyValueDidChange(const QString&, const QString&) override {}
    bool restoreValuesAndReturnError(QString*) override {
        ++restoreCalls;
        return true;
    }
    bool saveValuesAndReturnError(QString* error) override {
        ++saveCalls;
        if (!saveSucceeds && error != nullptr) {
            *error = QStringLiteral("the sender is not acceptable");
        }
        return saveSucceeds;
    }
    std::optional<QVariantMap> summaryInfo() override { return summary; }

private:
    QString runAlert(const QString& message, const QString& informative,
                     const QStringList& buttons) {
        kit::Alert alert;
        alert.setMessageText(message);
        alert.setInformativeText(informative);
        for (const QString& button : buttons) {
            alert.addButtonWithTitle(button);
        }
        const int index = alert.runModal() - kit::AlertFirstButtonReturn;
        lastAlertAnswer = buttons.value(index, QStringLiteral("(aborted)"));
        return lastAlertAnswer;
    }

    static QPushButton* addButton(QWidget* parent, const QString& name, const QString& title) {
        auto* button = new QPushButton(title, parent);
        button->setObjectName(name);
        parent->layout()->addWidget(button);
        return button;
    }

    void buildView() {
        view_ = kit::View::create();
        viewWidget_ = view_->widget();
        auto* layout = new QVBoxLayout(viewWidget_);
        sender_ = new QLineEdit(viewWidget_);
        sender_->setObjectName(QStringLiteral("senderField"));
        layout->addWidget(sender_);
        senderView_ = new kit::TextField(sender_);
        senderView_->setFormatter(&formatter_);
        popup_ = new QComboBox(viewWidget_);
        popup_->setObjectName(QStringLiteral("qualityPopup"));
        popup_->addItems({QStringLiteral("Standard"), QStringLiteral("Fine")});
        layout->addWidget(popup_);
        auto* model = new QStandardItemModel(3, 1, viewWidget_);
        table_ = new QTableView(viewWidget_);
        table_->setObjectName(QStringLiteral("recipientTable"));
        table_->setModel(model);
        table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
        layout->addWidget(table_);
        QObject::connect(
            addButton(viewWidget_, QStringLiteral("alertButton"), QStringLiteral("Show &Alert")),
            &QPushButton::clicked,
            [this] { runAlert(alertMessage, alertInformative, alertButtons); });
        addButton(viewWidget_, QStringLiteral("disabledButton"), QStringLiteral("Disabled"))
            ->setEnabled(false);
    }

    void buildWindow() {
        window_ = kit::Panel::create(QStringLiteral("Fake Transmission"));
        QWidget* widget = window_->widget();
        new QVBoxLayout(widget);
        number_ = new QLineEdit(widget);
        number_->setObjectName(QStringLiteral("numberField"));
        widget->layout()->addWidget(number_);
        QObject::connect(addButton(widget, QStringLiteral("startButton"), QStringLiteral("Start")),
                         &QPushButton::clicked, [this] { start(); });
        QObject::connect(addButton(widget, QStringLiteral("stopButton"), QStringLiteral("Stop")),
                         &QPushButton::clicked, [this] { close(false); });
        QObject::connect(addButton(widget, QStringLiteral("askButton"), QStringLiteral("Ask")),
                         &QPushButton::clicked, [this] {
                             runAlert(QStringLiteral("Asked"), QString(), {"Yes", "No"});
                         });
        addButton(widget, QStringLiteral("lockedButton"), QStringLiteral("Locked"))
            ->setEnabled(false);
    }

    void start() {
        if (number_->text().isEmpty()) {
            runAlert(QStringLiteral("No Number"), QString(), {QStringLiteral("OK")});
            return;
        }
        close(true);
    }

    void close(bool send) {
        window_->orderOut();
        kit::Application::stopModal();
        sending = send;
    }

    QString name_;
    printing::PluginCallback* host_;
    LettersFormatter formatter_;
    kit::View* view_ = nullptr;
    QWidget* viewWidget_ = nullptr;
    kit::TextField* senderView_ = nullptr;
    QLineEdit* sender_ = nullptr;
    QComboBox* popup_ = nullptr;
    QTableView* table_ = nullptr;
    kit::Panel* window_ = nullptr;
    QLineEdit* number_ = nullptr;
};

} // namespace vextel_test
