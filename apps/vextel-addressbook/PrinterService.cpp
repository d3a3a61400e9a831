#include "PrinterService.h"

namespace vextel_addressbook {

PrinterService::~PrinterService() = default;

} // namespace vextel_addressbook
