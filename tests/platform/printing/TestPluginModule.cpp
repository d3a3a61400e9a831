// The plug-in module of the loader's tests. Besides the factory named in its Info.plist it
// exports entry points that fail in each way a broken plug-in can.
#include "kit/Bundle.h"
#include "printing/PanelProtocol.h"
#include "printing/PluginCallback.h"
#include "printing/PluginFactory.h"
#include "printing/PrintSettings.h"

#include <stdexcept>
#include <utility>

namespace {

class TestPanel : public printing::PanelProtocol {
public:
    TestPanel(QString name, printing::PluginCallback* callback)
        : name_(std::move(name)), callback_(callback) {}

    kit::View* panelView() override { return nullptr; }
    QString panelName() override { return name_; }
    QString panelKind() override { return QStringLiteral("com.tarvik.test.TestPlugin"); }
    std::optional<QStringList> supportedPPDOptionKeys() override { return std::nullopt; }
    void willShow() override {}
    bool shouldHide() override { return true; }
    bool shouldPrint() override { return true; }
    bool shouldShowHelp() override { return true; }
    void PPDOptionKeyValueDidChange(const QString&, const QString&) override {}
    bool restoreValuesAndReturnError(QString*) override { return true; }
    // Writes one entry, so a test can see the panel reach the host's settings.
    bool saveValuesAndReturnError(QString*) override {
        printing::PrintSettings* settings = callback_ ? callback_->printSettings() : nullptr;
        return settings != nullptr &&
               settings->setValue(QStringLiteral("test.saved"), name_, false) == 0;
    }
    std::optional<QVariantMap> summaryInfo() override { return std::nullopt; }

private:
    QString name_;
    printing::PluginCallback* callback_;
};

class TestFactory : public printing::PluginFactory {
public:
    explicit TestFactory(bool acceptsBundle) : acceptsBundle_(acceptsBundle) {}

    bool initWithBundle(std::shared_ptr<kit::Bundle> bundle) override {
        if (!bundle_)
            bundle_ = std::move(bundle);
        return acceptsBundle_;
    }

    std::optional<std::vector<std::unique_ptr<printing::PanelProtocol>>>
    PDEPanelsForType(const QString& type, printing::PluginCallback* hostInfo) override {
        std::vector<std::unique_ptr<printing::PanelProtocol>> panels;
        if (type == QLatin1String(printing::kPrintDialogPanelType)) {
            const QString name = QStringLiteral("Test Panel of ") +
                                 (bundle_ ? bundle_->bundleIdentifier() : QStringLiteral("none"));
            panels.push_back(std::make_unique<TestPanel>(name, hostInfo));
        }
        return panels;
    }

private:
    bool acceptsBundle_;
    std::shared_ptr<kit::Bundle> bundle_;
};

} // namespace

VEXTEL_PDE_FACTORY_ENTRY printing::PluginFactory* VextelTestPluginCreate() {
    return new TestFactory(true);
}

VEXTEL_PDE_FACTORY_ENTRY printing::PluginFactory* VextelTestPluginCreateNull() {
    return nullptr;
}

VEXTEL_PDE_FACTORY_ENTRY printing::PluginFactory* VextelTestPluginCreateRefusing() {
    return new TestFactory(false);
}

VEXTEL_PDE_FACTORY_ENTRY printing::PluginFactory* VextelTestPluginCreateThrowing() {
    throw std::runtime_error("factory failed");
}
