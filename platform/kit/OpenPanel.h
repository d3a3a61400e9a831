#pragma once

#include "kit/OpenPanelDriver.h"

#include <QString>
#include <QStringList>

namespace kit {

// An application-modal panel in which the user chooses files or folders (a QFileDialog run with
// Application::runModal). With an OpenPanelDriver installed the driver answers and nothing is
// shown.
class OpenPanel {
public:
    void setCanChooseFiles(bool can) { request_.canChooseFiles = can; }
    bool canChooseFiles() const { return request_.canChooseFiles; }
    void setCanChooseDirectories(bool can) { request_.canChooseDirectories = can; }
    bool canChooseDirectories() const { return request_.canChooseDirectories; }
    void setAllowsMultipleSelection(bool allows) { request_.allowsMultipleSelection = allows; }
    bool allowsMultipleSelection() const { return request_.allowsMultipleSelection; }
    void setUsesDesktopChooser(bool uses) { request_.usesDesktopChooser = uses; }
    bool usesDesktopChooser() const { return request_.usesDesktopChooser; }
    // The folder shown first.
    void setDirectory(const QString& path) { request_.directory = path; }
    QString directory() const { return request_.directory; }

    // ModalResponseOK (1) with paths() chosen, or ModalResponseCancel (0).
    int runModal();
    // Absolute paths chosen in the last run.
    QStringList paths() const { return paths_; }

private:
    int runDialog();

    OpenPanelRequest request_;
    QStringList paths_;
};

} // namespace kit
