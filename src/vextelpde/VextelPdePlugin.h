#pragma once

#include "printing/PluginFactory.h"

#include <memory>

namespace tarvik_pde_m40vextel {

// The plug-in's factory: one fax options panel for the print dialog, nothing for other dialogs.
class VextelPdePlugin : public printing::PluginFactory {
public:
    VextelPdePlugin();
    ~VextelPdePlugin() override;

    // Keeps the first bundle it is given; always true.
    bool initWithBundle(std::shared_ptr<kit::Bundle> bundle) override;
    std::optional<std::vector<std::unique_ptr<printing::PanelProtocol>>>
    PDEPanelsForType(const QString& type, printing::PluginCallback* hostInfo) override;

    const std::shared_ptr<kit::Bundle>& bundle() const { return theBundle_; }

    // Registers the module's layout classes by name; done once when the module is loaded.
    static void registerClasses();

private:
    std::shared_ptr<kit::Bundle> theBundle_;
};

} // namespace tarvik_pde_m40vextel

// The module's entry point, named in Info.plist under VextelPDEFactory.
VEXTEL_PDE_FACTORY_ENTRY printing::PluginFactory* VextelPdeCreateFactory();
