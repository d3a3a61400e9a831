#include "vextelpde/VextelPdePlugin.h"

#include "common/BasicPdeView.h"
#include "kit/Bundle.h"
#include "kit/ClassRegistry.h"
#include "kit/SystemLog.h"
#include "vextelpde/AddressBookController.h"
#include "vextelpde/AddressBookView.h"
#include "vextelpde/AddressInformation.h"
#include "vextelpde/FaxSettingController.h"
#include "vextelpde/FaxSettingView.h"
#include "vextelpde/VextelPdeInterface.h"
#include "vextelpde/VextelPdeView.h"

#include <new>

namespace tarvik_pde_m40vextel {

VextelPdePlugin::VextelPdePlugin() = default;

VextelPdePlugin::~VextelPdePlugin() = default;

bool VextelPdePlugin::initWithBundle(std::shared_ptr<kit::Bundle> bundle) {
    if (!theBundle_) {
        theBundle_ = std::move(bundle);
    }
    return true;
}

std::optional<std::vector<std::unique_ptr<printing::PanelProtocol>>>
VextelPdePlugin::PDEPanelsForType(const QString& type, printing::PluginCallback* hostInfo) {
    std::vector<std::unique_ptr<printing::PanelProtocol>> panels;
    if (type != QLatin1String(printing::kPrintDialogPanelType)) {
        return panels;
    }
    try {
        panels.push_back(std::make_unique<VextelPdeInterface>(hostInfo, theBundle_));
    } catch (const std::exception& failure) {
        kit::SystemLog::log(QStringLiteral("PDEPanelsForType: the panel could not be made: ") +
                            QString::fromLocal8Bit(failure.what()));
        return std::nullopt;
    }
    return panels;
}

void VextelPdePlugin::registerClasses() {
    kit::ClassRegistry::registerViewClass<VextelPdeView>(QStringLiteral("VextelPdeView"));
    kit::ClassRegistry::registerViewClass<FaxSettingView>(QStringLiteral("FaxSettingView"));
    kit::ClassRegistry::registerObjectClass<FaxSettingController>(
        QStringLiteral("FaxSettingController"));
    kit::ClassRegistry::registerObjectClass<AddressInformation>(
        QStringLiteral("AddressInformation"));
    kit::ClassRegistry::registerViewClass<BasicPdeView>(QStringLiteral("BasicPdeView"));
    kit::ClassRegistry::registerViewClass<AddressBookView>(QStringLiteral("AddressBookView"));
    kit::ClassRegistry::registerObjectClass<AddressBookController>(
        QStringLiteral("AddressBookController"));
}

} // namespace tarvik_pde_m40vextel

printing::PluginFactory* VextelPdeCreateFactory() {
    try {
        tarvik_pde_m40vextel::VextelPdePlugin::registerClasses();
        return new tarvik_pde_m40vextel::VextelPdePlugin();
    } catch (...) {
        return nullptr;
    }
}
