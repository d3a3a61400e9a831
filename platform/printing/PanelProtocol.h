#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <optional>

namespace kit {
class View;
}

namespace printing {

// The panel type of the print dialog: the only dialog type the fax extension adds a panel to.
inline constexpr char kPrintDialogPanelType[] = "BDB091F4-E57F-11D3-B5CC-0050E4603277";

// The key of a panel's summary that lists the other keys in the order the dialog shows them.
inline constexpr char kSummaryDisplayOrderKey[] = "Summary Display Order";

// The protocol through which the print-dialog host drives one panel of a plug-in. The host
// owns the panel. Implementations must not let exceptions escape: failures are answered with
// false or an empty optional.
class PanelProtocol {
public:
    virtual ~PanelProtocol();

    // The panel's view, or null when it cannot be made (the host asks again later).
    virtual kit::View* panelView() = 0;
    // The name the host shows in its panel list.
    virtual QString panelName() = 0;
    // An identifier of the kind of panel (the plug-in bundle's identifier).
    virtual QString panelKind() = 0;
    // The PPD option keywords that this panel shows, or nullopt for none.
    virtual std::optional<QStringList> supportedPPDOptionKeys() = 0;
    virtual void willShow() = 0;
    virtual bool shouldHide() = 0;
    // Asked when the user presses Print: false cancels the job.
    virtual bool shouldPrint() = 0;
    // Asked when the user presses Help: false when the panel has shown help itself.
    virtual bool shouldShowHelp() = 0;
    // The host tells the panel that a PPD option's choice changed.
    virtual void PPDOptionKeyValueDidChange(const QString& key, const QString& choice) = 0;
    // Reads the panel's values from the job; false (with an optional error text) on failure.
    virtual bool restoreValuesAndReturnError(QString* error) = 0;
    // Writes the panel's values into the job; false keeps the dialog from going on.
    virtual bool saveValuesAndReturnError(QString* error) = 0;
    // Title/value pairs for the dialog's summary, with the key kSummaryDisplayOrderKey giving
    // their order; nullopt when the panel has nothing to show.
    virtual std::optional<QVariantMap> summaryInfo() = 0;

protected:
    PanelProtocol() = default;
    PanelProtocol(const PanelProtocol&) = delete;
    PanelProtocol& operator=(const PanelProtocol&) = delete;
};

} // namespace printing
