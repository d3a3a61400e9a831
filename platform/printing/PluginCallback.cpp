#include "printing/PluginCallback.h"

namespace printing {

// Defined here so the class's type information lives in one place, shared by host and plug-ins.
PluginCallback::~PluginCallback() = default;

} // namespace printing
