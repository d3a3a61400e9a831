#include "printing/PanelProtocol.h"

namespace printing {

// Defined here so the class's type information lives in one place, shared by host and plug-ins.
PanelProtocol::~PanelProtocol() = default;

} // namespace printing
