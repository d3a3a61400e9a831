#include "kit/Alert.h"

#include "kit/AlertDriver.h"
#include "kit/Application.h"
#include "kit/Panel.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <memory>

namespace kit {

namespace {

QLabel* plainLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setText(text);
    return label;
}

QStyle::StandardPixmap iconFor(Alert::Style style) {
    switch (style) {
    case Alert::Style::Informational:
        return QStyle::SP_MessageBoxInformation;
    case Alert::Style::Critical:
        return QStyle::SP_MessageBoxCritical;
    case Alert::Style::Warning:
        break;
    }
    return QStyle::SP_MessageBoxWarning;
}

} // namespace

int Alert::runModal() {
    const QStringList buttons = buttons_.isEmpty() ? QStringList{QStringLiteral("OK")} : buttons_;
    if (AlertDriver* driver = AlertDriver::current()) {
        return driver->respond(messageText_, informativeText_, buttons);
    }
    return runDialog(buttons);
}

// The first button is the default and stands rightmost; Escape presses a "Cancel" button when
// there is one.
int Alert::runDialog(const QStringList& buttons) {
    auto dialog = std::make_unique<QDialog>();
    dialog->setWindowTitle(QApplication::applicationDisplayName());
    auto* panel = new Panel(dialog.get());

    auto* icon = new QLabel(dialog.get());
    const int iconSize = dialog->style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    icon->setPixmap(dialog->style()->standardIcon(iconFor(style_)).pixmap(iconSize, iconSize));
    icon->setAlignment(Qt::AlignTop);

    auto* message = plainLabel(messageText_, dialog.get());
    QFont bold = message->font();
    bold.setBold(true);
    message->setFont(bold);
    message->setObjectName(QStringLiteral("messageText"));
    auto* informative = plainLabel(informativeText_, dialog.get());
    informative->setObjectName(QStringLiteral("informativeText"));
    informative->setVisible(!informativeText_.isEmpty());

    auto* texts = new QVBoxLayout;
    texts->addWidget(message);
    texts->addWidget(informative);
    auto* body = new QHBoxLayout;
    body->addWidget(icon);
    body->addLayout(texts, 1);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    int cancelCode = ModalResponseAbort;
    for (int i = static_cast<int>(buttons.size()) - 1; i >= 0; --i) {
        auto* button = new QPushButton(buttons.at(i), dialog.get());
        button->setAutoDefault(false);
        button->setDefault(i == 0);
        const int code = AlertFirstButtonReturn + i;
        QObject::connect(button, &QPushButton::clicked, panel,
                         [code] { Application::stopModalWithCode(code); });
        if (buttons.at(i) == QLatin1String("Cancel")) {
            cancelCode = code;
        }
        row->addWidget(button);
    }
    QObject::connect(dialog.get(), &QDialog::rejected, panel,
                     [cancelCode] { Application::stopModalWithCode(cancelCode); });

    auto* layout = new QVBoxLayout(dialog.get());
    layout->addLayout(body);
    layout->addLayout(row);

    const int code = Application::runModal(panel);
    dialog->hide();
    return code;
}

} // namespace kit
