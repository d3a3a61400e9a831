#include "HostCallback.h"

#include "PpdDocument.h"

namespace vextel_print {

HostCallback::HostCallback(PpdDocument& ppd, printing::Printer printer)
    : ppd_(ppd), printer_(std::move(printer)) {}

ppd_file_t* HostCallback::ppdFile() {
    return ppd_.record();
}

bool HostCallback::willChangePPDOptionKeyValue(const QString& key, const QString& choice) {
    return ppd_.markOption(key, choice);
}

} // namespace vextel_print
