#pragma once

#include "kit/Bundle.h"
#include "printing/PluginCallback.h"
#include "printing/PrintSession.h"
#include "printing/PrintSettings.h"
#include "printing/Printer.h"

#include <QString>
#include <QStringList>
#include <cups/ppd.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace panel_test {

struct PpdCloser {
    void operator()(ppd_file_t* ppd) const { ppdClose(ppd); }
};
using PpdPtr = std::unique_ptr<ppd_file_t, PpdCloser>;

// A PPD from the source tree (path relative to it), opened as a host opens one.
inline PpdPtr openPpd(const std::string& relativePath, bool markDefaults = true) {
    const std::string path = std::string(VEXTEL_SOURCE_DIR) + "/" + relativePath;
    PpdPtr ppd(ppdOpenFile(path.c_str()));
    if (ppd && markDefaults) {
        ppdMarkDefaults(ppd.get());
    }
    return ppd;
}

inline const char* kMainPpd = "resources/ppd/Tarvik-M40-Vextel-Fax.ppd";

inline QString markedChoiceOf(ppd_file_t* ppd, const char* keyword) {
    ppd_choice_t* choice = ppdFindMarkedChoice(ppd, keyword);
    return choice == nullptr ? QString() : QString::fromLatin1(choice->choice);
}

// The built plug-in bundle.
inline std::shared_ptr<kit::Bundle> pluginBundle() {
    return kit::Bundle::open(QStringLiteral(VEXTEL_PLUGIN_DIR) +
                             QStringLiteral("/VextelPDE.plugin"));
}

// A host's callback object: marks choices in its PPD the way a host does (unless told to
// refuse) and records every request.
class FakeHost : public printing::PluginCallback {
public:
    explicit FakeHost(ppd_file_t* ppd) : ppd_(ppd) {}

    printing::PrintSession* printSession() override { return hasSession ? &session : nullptr; }
    printing::PrintSettings* printSettings() override { return hasSettings ? &settings : nullptr; }
    printing::Printer* PMPrinter() override { return &printer; }
    ppd_file_t* ppdFile() override { return ppd_; }
    bool willChangePPDOptionKeyValue(const QString& key, const QString& choice) override {
        requests.emplace_back(key, choice);
        if (refuseChanges || ppd_ == nullptr) {
            return false;
        }
        const QByteArray keyword = key.toLatin1();
        ppdMarkOption(ppd_, keyword.constData(), choice.toLatin1().constData());
        return markedChoiceOf(ppd_, keyword.constData()) == choice;
    }

    printing::PrintSession session;
    printing::PrintSettings settings;
    // No device URI unless a test gives one.
    printing::Printer printer{QStringLiteral("Tarvik M40"), QString(), QString()};
    bool hasSession = true;
    bool hasSettings = true;
    bool refuseChanges = false;
    std::vector<std::pair<QString, QString>> requests;

private:
    ppd_file_t* ppd_;
};

} // namespace panel_test
