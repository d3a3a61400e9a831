// vextel-bench-bare: the benchmark's baseline. The print dialog with the fax panel's widgets,
// built in code with nothing but Qt Widgets, shown and photographed the way
// `vextel-print --screenshot` does it: what the host's start-up would cost with no plug-in
// machinery, layout loading or string lookup.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cstdio>
#include <cstdlib>

namespace {

QComboBox* popup(const QStringList& items, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->addItems(items);
    return box;
}

QWidget* faxPanel(QWidget* parent) {
    auto* panel = new QWidget(parent);
    auto* grid = new QGridLayout(panel);
    grid->setColumnStretch(1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Image Quality"), panel), 0, 0);
    grid->addWidget(popup({"Standard", "Fine", "Super Fine", "Photo"}, panel), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Transmission Report"), panel), 1, 0);
    grid->addWidget(popup({"Always", "On Error Only", "Never"}, panel), 1, 1);
    auto* cover = new QGroupBox(QStringLiteral("Cover Page Settings"), panel);
    auto* coverGrid = new QGridLayout(cover);
    coverGrid->setColumnStretch(1, 1);
    coverGrid->addWidget(new QLabel(QStringLiteral("Cover Page"), cover), 0, 0);
    coverGrid->addWidget(popup({"No Cover Page", "Standard", "Detailed"}, cover), 0, 1);
    coverGrid->addWidget(new QLabel(QStringLiteral("Sender"), cover), 1, 0);
    coverGrid->addWidget(popup({"Enter Name", "Login Name", "Printer's Name"}, cover), 1, 1);
    coverGrid->addWidget(new QLabel(QStringLiteral("Sender Name"), cover), 2, 0);
    coverGrid->addWidget(new QLineEdit(cover), 2, 1);
    grid->addWidget(cover, 2, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(new QPushButton(QStringLiteral("Address Book..."), panel));
    buttons->addWidget(new QPushButton(QStringLiteral("Defaults"), panel));
    grid->addLayout(buttons, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);
    return panel;
}

void buildPrintDialog(QDialog& dialog) {
    dialog.setWindowTitle(QStringLiteral("Print"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* header = new QWidget(&dialog);
    auto* form = new QFormLayout(header);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(QStringLiteral("Printer:"),
                 new QLabel(QStringLiteral("Tarvik M40 Vextel Fax"), header));
    auto* copies = new QSpinBox(header);
    copies->setRange(1, 999);
    form->addRow(QStringLiteral("Copies:"), copies);
    form->addRow(QStringLiteral("Destination:"), popup({"Printer", "PDF File", "Preview"}, header));
    form->addRow(QString(), popup({"Fax Settings", "Summary"}, header));
    layout->addWidget(header);
    auto* stack = new QStackedWidget(&dialog);
    stack->setMinimumWidth(520);
    stack->addWidget(faxPanel(stack));
    auto* summary = new QTreeWidget(stack);
    summary->setColumnCount(2);
    summary->setHeaderLabels({QStringLiteral("Setting"), QStringLiteral("Value")});
    stack->addWidget(summary);
    layout->addWidget(stack, 1);
    layout->addWidget(new QLabel(&dialog));
    auto* row = new QWidget(&dialog);
    auto* buttons = new QHBoxLayout(row);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(new QPushButton(QStringLiteral("?"), row));
    buttons->addStretch(1);
    buttons->addWidget(new QPushButton(QStringLiteral("Cancel"), row));
    auto* print = new QPushButton(QStringLiteral("Print"), row);
    print->setDefault(true);
    buttons->addWidget(print);
    layout->addWidget(row);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 || std::string_view(argv[1]) != "--screenshot") {
        std::fputs("usage: vextel-bench-bare --screenshot FILE\n", stderr);
        return 2;
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    QDialog dialog;
    buildPrintDialog(dialog);
    dialog.resize(dialog.sizeHint());
    dialog.show();
    QCoreApplication::processEvents();
    return dialog.grab().save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 3;
}
