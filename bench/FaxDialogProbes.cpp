// In-process probes of the fax-sending dialog: its first and second opening through the
// plug-in's panel, and the same for a bare Qt dialog of the same widgets built in code.
#include "HostCallback.h"
#include "PpdDocument.h"
#include "Suites.h"
#include "kit/ModalDriver.h"
#include "kit/Window.h"
#include "printing/PanelProtocol.h"
#include "printing/PluginLoader.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>

namespace vextel_bench {

namespace {

double millisecondsOf(const std::function<void()>& action) {
    QElapsedTimer timer;
    timer.start();
    action();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void writeOpenings(QTextStream& out, double first, double second) {
    out << "figure first_ms " << first << Qt::endl;
    out << "figure second_ms " << second << Qt::endl;
}

void pressStop(kit::Window* window) {
    if (auto* stop = window->widget()->findChild<QPushButton*>(QStringLiteral("stopButton"))) {
        stop->click();
    }
}

// The fax-sending dialog's widgets, laid out as its Designer file does.
QDialog* bareFaxDialog() {
    auto* dialog = new QDialog;
    dialog->setWindowTitle(QStringLiteral("Fax Transmission"));
    auto* layout = new QVBoxLayout(dialog);
    auto* entry = new QGridLayout;
    entry->addWidget(new QLabel(QStringLiteral("Name:")), 0, 0);
    entry->addWidget(new QLineEdit, 0, 1);
    entry->addWidget(new QLabel(QStringLiteral("Fax Number:")), 1, 0);
    entry->addWidget(new QLineEdit, 1, 1);
    layout->addLayout(entry);
    auto* listButtons = new QHBoxLayout;
    for (const char* title : {"Add", "Edit", "Delete"}) {
        listButtons->addWidget(new QPushButton(QString::fromLatin1(title)));
    }
    layout->addLayout(listButtons);
    layout->addWidget(new QLabel(QStringLiteral("Recipients:")));
    layout->addWidget(new QTableView);
    auto* files = new QHBoxLayout;
    files->addWidget(new QLabel(QStringLiteral("Address Book:")));
    files->addWidget(new QComboBox);
    files->addWidget(new QPushButton(QStringLiteral("Add to Address Book")));
    layout->addLayout(files);
    auto* lookUps = new QHBoxLayout;
    lookUps->addWidget(new QPushButton(QStringLiteral("PC Address Book...")));
    lookUps->addWidget(new QPushButton(QStringLiteral("Device Address Book...")));
    layout->addLayout(lookUps);
    auto* authorization = new QGroupBox(QStringLiteral("Authorization"));
    auto* password = new QHBoxLayout(authorization);
    password->addWidget(new QLabel(QStringLiteral("Password:")));
    password->addWidget(new QLineEdit);
    layout->addWidget(authorization);
    auto* delayed = new QGroupBox(QStringLiteral("Delayed Send"));
    auto* time = new QHBoxLayout(delayed);
    time->addWidget(new QCheckBox(QStringLiteral("Send Later")));
    time->addWidget(new QLabel(QStringLiteral("Time:")));
    time->addWidget(new QTimeEdit);
    layout->addWidget(delayed);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(new QPushButton(QStringLiteral("Help")));
    buttons->addStretch(1);
    auto* stop = new QPushButton(QStringLiteral("Stop"));
    stop->setObjectName(QStringLiteral("stopButton"));
    QObject::connect(stop, &QPushButton::clicked, dialog, &QDialog::reject);
    buttons->addWidget(stop);
    buttons->addWidget(new QPushButton(QStringLiteral("Start")));
    layout->addLayout(buttons);
    return dialog;
}

} // namespace

int faxDialogOpeningsProbe(const BenchContext& context, const QStringList& arguments,
                           QTextStream& out) {
    const QString ppdPath = arguments.value(
        0, context.source(QStringLiteral("resources/ppd/Tarvik-M40-Vextel-Fax.ppd")));
    QString error;
    auto ppd = vextel_print::PpdDocument::openFile(ppdPath, &error);
    auto plugin = printing::PluginLoader::load(
        context.binaryDir + QStringLiteral("/lib/plugins/VextelPDE.plugin"), &error);
    if (!ppd || !plugin) {
        QTextStream(stderr) << "fax-dialog probe: " << error << Qt::endl;
        return 2;
    }
    vextel_print::HostCallback host(*ppd, printing::Printer(ppd->modelName(), {}, ppdPath));
    auto panels = plugin->factory()->PDEPanelsForType(
        QString::fromLatin1(printing::kPrintDialogPanelType), &host);
    if (!panels || panels->empty() || (*panels)[0]->panelView() == nullptr) {
        QTextStream(stderr) << "fax-dialog probe: the plug-in made no panel" << Qt::endl;
        return 2;
    }
    printing::PanelProtocol& panel = *(*panels)[0];
    panel.restoreValuesAndReturnError(nullptr);
    kit::ModalDriver driver(pressStop);
    kit::ModalDriverScope scope(driver);
    const double first = millisecondsOf([&panel] { panel.shouldPrint(); });
    const double second = millisecondsOf([&panel] { panel.shouldPrint(); });
    if (driver.runCount() != 2) {
        QTextStream(stderr) << "fax-dialog probe: the dialog ran " << driver.runCount() << " times"
                            << Qt::endl;
        return 2;
    }
    writeOpenings(out, first, second);
    panels->clear();
    return 0;
}

int bareDialogOpeningsProbe(const BenchContext&, const QStringList&, QTextStream& out) {
    QDialog* dialog = nullptr;
    const auto openAndStop = [&dialog] {
        if (dialog == nullptr) {
            dialog = bareFaxDialog();
        }
        QTimer::singleShot(0, dialog, [&dialog] {
            dialog->findChild<QPushButton*>(QStringLiteral("stopButton"))->click();
        });
        dialog->exec();
    };
    const double first = millisecondsOf(openAndStop);
    const double second = millisecondsOf(openAndStop);
    writeOpenings(out, first, second);
    delete dialog;
    return 0;
}

} // namespace vextel_bench
