#pragma once

#include "printing/PanelProtocol.h"

#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace kit {
class Bundle;
}

namespace printing {

class PluginCallback;

// The factory that a plug-in module exports. The host makes one per loaded bundle through the
// module's entry point, hands it the bundle once with initWithBundle() and then asks it for the
// panels of each dialog it opens. Nothing may throw out of these calls.
class PluginFactory {
public:
    virtual ~PluginFactory();

    virtual bool initWithBundle(std::shared_ptr<kit::Bundle> bundle) = 0;
    // The panels for a dialog of the given type (kPrintDialogPanelType for the print dialog);
    // an empty vector for types the plug-in does not serve, nullopt when a panel could not be
    // made. The host owns the panels; they must be destroyed before the factory.
    virtual std::optional<std::vector<std::unique_ptr<PanelProtocol>>>
    PDEPanelsForType(const QString& type, PluginCallback* hostInfo) = 0;

protected:
    PluginFactory() = default;
    PluginFactory(const PluginFactory&) = delete;
    PluginFactory& operator=(const PluginFactory&) = delete;
};

// The entry point a plug-in module exports with C linkage: a new factory, owned by the caller,
// or null. Its name is given in the bundle's Info.plist under kPluginFactoryInfoKey.
using PluginFactoryEntryPoint = PluginFactory* (*)();

// Info.plist key naming the module's factory entry point.
inline constexpr char kPluginFactoryInfoKey[] = "VextelPDEFactory";
// Info.plist key with the array of dialog types the plug-in adds panels to.
inline constexpr char kPanelTypesInfoKey[] = "PDEPanelTypes";

} // namespace printing

// Marks a plug-in module's factory entry point: C linkage and default visibility, while the
// rest of the module stays hidden.
#define VEXTEL_PDE_FACTORY_ENTRY extern "C" __attribute__((visibility("default")))
