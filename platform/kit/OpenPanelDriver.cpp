#include "kit/OpenPanelDriver.h"

namespace kit {

void OpenPanelDriver::choose(const QStringList& paths) {
    answers_.append(paths);
}

void OpenPanelDriver::cancel() {
    answers_.append(std::nullopt);
}

std::optional<QStringList> OpenPanelDriver::respond(const OpenPanelRequest& request) {
    requests_.append(request);
    if (answers_.isEmpty()) {
        return responder_ ? responder_(request) : std::nullopt;
    }
    return answers_.takeFirst();
}

OpenPanelDriver*& OpenPanelDriver::installed() {
    static OpenPanelDriver* driver = nullptr;
    return driver;
}

} // namespace kit
