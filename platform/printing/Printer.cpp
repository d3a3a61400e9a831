#include "printing/Printer.h"

#include <utility>

namespace printing {

Printer::Printer(QString name, QString deviceURI, QString ppdPath)
    : name_(std::move(name)), deviceURI_(std::move(deviceURI)), ppdPath_(std::move(ppdPath)) {}

} // namespace printing
