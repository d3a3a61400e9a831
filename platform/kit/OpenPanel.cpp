#include "kit/OpenPanel.h"

#include "kit/Application.h"
#include "kit/Panel.h"

#include <QDir>
#include <QFileDialog>
#include <memory>

namespace kit {

int OpenPanel::runModal() {
    paths_.clear();
    if (OpenPanelDriver* driver = OpenPanelDriver::current()) {
        const std::optional<QStringList> chosen = driver->respond(request_);
        if (!chosen.has_value()) {
            return ModalResponseCancel;
        }
        for (const QString& path : *chosen) {
            paths_.append(QDir(path).absolutePath());
        }
        return ModalResponseOK;
    }
    return runDialog();
}

int OpenPanel::runDialog() {
    auto dialog = std::make_unique<QFileDialog>();
    dialog->setOption(QFileDialog::DontUseNativeDialog, !request_.usesDesktopChooser);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    if (request_.canChooseDirectories && !request_.canChooseFiles) {
        dialog->setFileMode(QFileDialog::Directory);
        dialog->setOption(QFileDialog::ShowDirsOnly, true);
    } else {
        dialog->setFileMode(request_.allowsMultipleSelection ? QFileDialog::ExistingFiles
                                                             : QFileDialog::ExistingFile);
    }
    if (!request_.directory.isEmpty()) {
        dialog->setDirectory(request_.directory);
    }
    auto* panel = new Panel(dialog.get());
    QObject::connect(dialog.get(), &QDialog::accepted, panel,
                     [] { Application::stopModalWithCode(ModalResponseOK); });
    QObject::connect(dialog.get(), &QDialog::rejected, panel,
                     [] { Application::stopModalWithCode(ModalResponseCancel); });

    const int code = Application::runModal(panel);
    dialog->hide();
    if (code != ModalResponseOK) {
        return ModalResponseCancel;
    }
    for (const QString& path : dialog->selectedFiles()) {
        paths_.append(QDir(path).absolutePath());
    }
    return ModalResponseOK;
}

} // namespace kit
