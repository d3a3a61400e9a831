#include "common/BasicPdeInterface.h"

#include "common/TKDRVLocalization.h"
#include "kit/Bundle.h"
#include "printing/PluginCallback.h"

namespace tarvik_pde_m40vextel {

BasicPdeInterface::BasicPdeInterface(printing::PluginCallback* callback,
                                     std::shared_ptr<kit::Bundle> bundle)
    : pluginBundle_(std::move(bundle)), pdePluginCallbackObject_(callback) {
    if (pdePluginCallbackObject_ != nullptr) {
        ppd_ = pdePluginCallbackObject_->ppdFile();
    }
    localizedFileName_ = printerSpecificTableName(ppd_);
}

BasicPdeInterface::~BasicPdeInterface() = default;

kit::View* BasicPdeInterface::panelView() {
    return nullptr;
}

QString BasicPdeInterface::panelName() {
    if (!thePDEName_.isNull()) {
        return thePDEName_;
    }
    const QString key = QStringLiteral("Custom PDE Title");
    thePDEName_ = pluginBundle_ ? tkdrvLocalizedStringForKey(*pluginBundle_, key, QString(),
                                                             localizedFileName_)
                                : key;
    return thePDEName_;
}

QString BasicPdeInterface::panelKind() {
    return pluginBundle_ ? pluginBundle_->bundleIdentifier() : QString();
}

std::optional<QStringList> BasicPdeInterface::supportedPPDOptionKeys() {
    return std::nullopt;
}

void BasicPdeInterface::willShow() {}

bool BasicPdeInterface::shouldHide() {
    return true;
}

bool BasicPdeInterface::shouldPrint() {
    return true;
}

bool BasicPdeInterface::shouldShowHelp() {
    return true;
}

void BasicPdeInterface::PPDOptionKeyValueDidChange(const QString& key, const QString& choice) {
    Q_UNUSED(key);
    Q_UNUSED(choice);
}

bool BasicPdeInterface::restoreValuesAndReturnError(QString* error) {
    Q_UNUSED(error);
    return true;
}

bool BasicPdeInterface::saveValuesAndReturnError(QString* error) {
    Q_UNUSED(error);
    return true;
}

std::optional<QVariantMap> BasicPdeInterface::summaryInfo() {
    return std::nullopt;
}

} // namespace tarvik_pde_m40vextel
