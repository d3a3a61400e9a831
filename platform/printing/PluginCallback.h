#pragma once

#include <QString>
#include <cups/ppd.h>

namespace printing {

class PrintSession;
class PrintSettings;
class Printer;

// The host's callback object, handed to every panel. It outlives the panels it is given to;
// the handles it returns are the host's and stay valid for the panel's life.
class PluginCallback {
public:
    virtual ~PluginCallback();

    // The job's print session, print settings and printer; null when the host has none.
    virtual PrintSession* printSession() = 0;
    virtual PrintSettings* printSettings() = 0;
    virtual Printer* PMPrinter() = 0;
    // The printer's opened PPD, or null. Borrowed: panels never free or change it.
    virtual ppd_file_t* ppdFile() = 0;
    // Asks the host to mark the choice of the option in its PPD; true when it is now marked.
    virtual bool willChangePPDOptionKeyValue(const QString& key, const QString& choice) = 0;

protected:
    PluginCallback() = default;
    PluginCallback(const PluginCallback&) = delete;
    PluginCallback& operator=(const PluginCallback&) = delete;
};

} // namespace printing
