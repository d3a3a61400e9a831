#pragma once

#include "printing/PluginCallback.h"
#include "printing/PrintSession.h"
#include "printing/PrintSettings.h"
#include "printing/Printer.h"

namespace vextel_print {

class PpdDocument;

// The host's callback object: the job's session, settings and printer, and the PPD whose
// choices the panels ask the host to mark.
class HostCallback : public printing::PluginCallback {
public:
    HostCallback(PpdDocument& ppd, printing::Printer printer);

    printing::PrintSession* printSession() override { return &session_; }
    printing::PrintSettings* printSettings() override { return &settings_; }
    printing::Printer* PMPrinter() override { return &printer_; }
    ppd_file_t* ppdFile() override;
    bool willChangePPDOptionKeyValue(const QString& key, const QString& choice) override;

    PpdDocument& ppd() { return ppd_; }

private:
    PpdDocument& ppd_;
    printing::PrintSession session_;
    printing::PrintSettings settings_;
    printing::Printer printer_;
};

} // namespace vextel_print
