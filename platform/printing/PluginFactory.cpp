#include "printing/PluginFactory.h"

namespace printing {

// Defined here so the class's type information lives in one place, shared by host and plug-ins.
PluginFactory::~PluginFactory() = default;

} // namespace printing
