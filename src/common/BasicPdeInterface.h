#pragma once

#include "printing/PanelProtocol.h"

#include <QObject>
#include <QString>
#include <cups/ppd.h>
#include <memory>

namespace kit {
class Bundle;
}

namespace printing {
class PluginCallback;
}

namespace tarvik_pde_m40vextel {

// Base of the plug-in's panels: keeps what every panel needs (its bundle, the host's callback
// object, the PPD and the name of this printer's string table) and answers every panel-protocol
// call with a harmless default, so that a panel overrides only what it uses.
//
// A QObject so that derived panels can own layout outlets and receive actions.
class BasicPdeInterface : public QObject, public printing::PanelProtocol {
    Q_OBJECT

public:
    // The callback object is the host's and outlives the panel; the PPD it gives is borrowed.
    BasicPdeInterface(printing::PluginCallback* callback, std::shared_ptr<kit::Bundle> bundle);
    ~BasicPdeInterface() override;

    kit::View* panelView() override;
    // "Custom PDE Title" from this printer's table, looked up once and cached.
    QString panelName() override;
    // The plug-in bundle's identifier.
    QString panelKind() override;
    std::optional<QStringList> supportedPPDOptionKeys() override;
    void willShow() override;
    bool shouldHide() override;
    bool shouldPrint() override;
    bool shouldShowHelp() override;
    void PPDOptionKeyValueDidChange(const QString& key, const QString& choice) override;
    bool restoreValuesAndReturnError(QString* error) override;
    bool saveValuesAndReturnError(QString* error) override;
    std::optional<QVariantMap> summaryInfo() override;

    const std::shared_ptr<kit::Bundle>& pluginBundle() const { return pluginBundle_; }
    printing::PluginCallback* pdePluginCallbackObject() const { return pdePluginCallbackObject_; }
    ppd_file_t* ppd() const { return ppd_; }
    // Null when the PPD names no printer-specific table.
    const QString& localizedFileName() const { return localizedFileName_; }

protected:
    // Null until the name is first asked for.
    QString thePDEName_;

private:
    std::shared_ptr<kit::Bundle> pluginBundle_;
    printing::PluginCallback* pdePluginCallbackObject_;
    ppd_file_t* ppd_ = nullptr;
    QString localizedFileName_;
};

} // namespace tarvik_pde_m40vextel
