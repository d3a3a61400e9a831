#pragma once

#include "kit/DriverScope.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace kit {

// What an open panel was asked to offer.
struct OpenPanelRequest {
    bool canChooseFiles = true;
    bool canChooseDirectories = false;
    bool allowsMultipleSelection = false;
    // The desktop's own chooser (through the desktop portal inside a sandbox) instead of Qt's.
    bool usesDesktopChooser = false;
    QString directory;
};

// Answers open panels for tests and automation: queued answers one per panel, in order (chosen
// paths, or cancel); with none left, the responder if set; else the panel is cancelled. Records
// every request.
class OpenPanelDriver {
public:
    // Chosen paths, or nothing for cancel.
    using Responder = std::function<std::optional<QStringList>(const OpenPanelRequest& request)>;

    void choose(const QStringList& paths);
    void cancel();
    void setResponder(Responder responder) { responder_ = std::move(responder); }
    int pendingAnswers() const { return static_cast<int>(answers_.size()); }

    const QList<OpenPanelRequest>& requests() const { return requests_; }

    // Called by OpenPanel: the chosen paths, or nothing for cancel.
    std::optional<QStringList> respond(const OpenPanelRequest& request);

    // The installed driver, or null.
    static OpenPanelDriver* current() { return installed(); }

private:
    friend class DriverScope<OpenPanelDriver>;
    static OpenPanelDriver*& installed();
    QList<std::optional<QStringList>> answers_;
    Responder responder_;
    QList<OpenPanelRequest> requests_;
};

// Installs a driver for its lifetime and restores the previous one afterwards.
using OpenPanelDriverScope = DriverScope<OpenPanelDriver>;

} // namespace kit
