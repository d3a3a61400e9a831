// vextel-bench-bare: the benchmark's baseline. The print dialog with the fax panel's widgets,
// built in code with nothing but Qt Widgets, shown and photographed the way
// `vextel-print --screenshot` does it: what the host's start-up would cost with no plug-in
// machinery, layout loading or string lookup. Its PNG is the host's to the byte (a test checks
// it), so that both sides of the start-up row encode the same picture.
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

QComboBox* popup(const QStringList& items, int current, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->addItems(items);
    box->setCurrentIndex(current);
    return box;
}

// The panel's grids as its layout file sets them.
QGridLayout* panelGrid(QWidget* parent) {
    auto* grid = new QGridLayout(parent);
    grid->setColumnStretch(1, 1);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(8);
    return grid;
}

void addRow(QGridLayout* grid, int row, const QString& title, QWidget* field) {
    auto* label = new QLabel(title, field->parentWidget());
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (qobject_cast<QComboBox*>(field) != nullptr) {
        field->setMinimumWidth(220);
    }
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
}

QWidget* faxPanel(QWidget* parent) {
    auto* panel = new QWidget(parent);
    auto* grid = panelGrid(panel);
    // The layout loader gives a layout file's top grid a window's margins.
    grid->setContentsMargins(11, 11, 11, 11);
    addRow(grid, 0, QStringLiteral("Image Quality"),
           popup({"Standard", "Fine", "Super Fine", "Photo"}, 0, panel));
    addRow(grid, 1, QStringLiteral("Transmission Report"),
           popup({"Always", "On Error Only", "Never"}, 1, panel));
    auto* cover = new QGroupBox(QStringLiteral("Cover Sheet"), panel);
    auto* coverGrid = panelGrid(cover);
    addRow(coverGrid, 0, QStringLiteral("Cover Page"),
           popup({"No Cover Page", "Standard", "Detailed"}, 1, cover));
    addRow(coverGrid, 1, QStringLiteral("Sender"),
           popup({"Enter Name", "Login Name", "Printer's Name"}, 0, cover));
    addRow(coverGrid, 2, QStringLiteral("Sender Name"), new QLineEdit(cover));
    grid->addWidget(cover, 2, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(new QPushButton(QStringLiteral("Printer Address Book Editor..."), panel));
    buttons->addStretch(1);
    buttons->addWidget(new QPushButton(QStringLiteral("Defaults"), panel));
    grid->addLayout(buttons, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);
    return panel;
}

QWidget* header(QWidget* parent) {
    auto* header = new QWidget(parent);
    auto* form = new QFormLayout(header);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(QStringLiteral("Printer:"),
                 new QLabel(QStringLiteral("Tarvik M40 Vextel Fax"), header));
    auto* copies = new QSpinBox(header);
    copies->setRange(1, 999);
    copies->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    form->addRow(QStringLiteral("Copies:"), copies);
    form->addRow(QStringLiteral("Destination:"),
                 popup({"Printer", "PDF File", "Preview"}, 0, header));
    form->addRow(QString(), popup({"Fax Settings", "Summary"}, 0, header));
    return header;
}

QPushButton* buttonRow(QVBoxLayout* layout, QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* buttons = new QHBoxLayout(row);
    buttons->setContentsMargins(0, 0, 0, 0);
    auto* help = new QPushButton(QStringLiteral("?"), row);
    help->setFixedWidth(32);
    buttons->addWidget(help);
    buttons->addStretch(1);
    buttons->addWidget(new QPushButton(QStringLiteral("Cancel"), row));
    auto* print = new QPushButton(QStringLiteral("Print"), row);
    print->setDefault(true);
    buttons->addWidget(print);
    layout->addWidget(row);
    return print;
}

void buildPrintDialog(QDialog& dialog) {
    dialog.setWindowTitle(QStringLiteral("Print"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(header(&dialog));
    auto* stack = new QStackedWidget(&dialog);
    stack->setMinimumWidth(520);
    stack->addWidget(faxPanel(stack));
    auto* summary = new QTreeWidget(stack);
    summary->setColumnCount(2);
    summary->setHeaderLabels({QStringLiteral("Setting"), QStringLiteral("Value")});
    stack->addWidget(summary);
    layout->addWidget(stack, 1);
    layout->addWidget(new QLabel(&dialog));
    buttonRow(layout, &dialog)->setFocus();
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
