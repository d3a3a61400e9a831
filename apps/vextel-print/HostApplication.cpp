#include "HostApplication.h"

#include "HostCallback.h"
#include "JobDispatcher.h"
#include "PpdDocument.h"
#include "PrintDialog.h"
#include "ScriptRunner.h"
#include "printing/CupsConnection.h"
#include "printing/PluginLoader.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cups/cups.h>

namespace vextel_print {

namespace {

// The queue's device URI as its server reports it; empty when unknown.
QString deviceUriOf(const QString& queue, const QString& server) {
    const printing::CupsConnection connection(server);
    if (!connection.isOpen()) {
        return {};
    }
    cups_dest_t* dest = cupsGetNamedDest(connection.http(), queue.toUtf8().constData(), nullptr);
    if (dest == nullptr) {
        return {};
    }
    const char* uri = cupsGetOption("device-uri", dest->num_options, dest->options);
    const QString result = uri != nullptr ? QString::fromUtf8(uri) : QString();
    cupsFreeDests(1, dest);
    return result;
}

// The fax printer's queues report this make and model (the NickName of its PPD).
const char kFaxModel[] = "Tarvik M40 Vextel Fax";

// The first queue of the fax printer that sends to it (not a capture queue); empty when the
// server has none.
QString faxQueueOf(const QString& server) {
    const printing::CupsConnection connection(server);
    if (!connection.isOpen()) {
        return {};
    }
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(connection.http(), &dests);
    QString found;
    for (int i = 0; i < count && found.isEmpty(); ++i) {
        const char* model =
            cupsGetOption("printer-make-and-model", dests[i].num_options, dests[i].options);
        const char* uri = cupsGetOption("device-uri", dests[i].num_options, dests[i].options);
        const bool captures = uri != nullptr && QByteArray(uri).startsWith("vextel-fax:");
        if (model != nullptr && qstrcmp(model, kFaxModel) == 0 && !captures) {
            found = QString::fromUtf8(dests[i].name);
        }
    }
    cupsFreeDests(count, dests);
    return found;
}

std::vector<std::unique_ptr<printing::PanelProtocol>>
panelsOf(const std::vector<std::unique_ptr<printing::LoadedPlugin>>& plugins,
         printing::PluginCallback& host, QTextStream& errors) {
    std::vector<std::unique_ptr<printing::PanelProtocol>> panels;
    for (const auto& plugin : plugins) {
        auto made = plugin->factory()->PDEPanelsForType(
            QString::fromLatin1(printing::kPrintDialogPanelType), &host);
        if (!made) {
            errors << "vextel-print: the plug-in " << plugin->bundlePath()
                   << " could not make its panels" << Qt::endl;
            continue;
        }
        for (auto& panel : *made) {
            panels.push_back(std::move(panel));
        }
    }
    return panels;
}

// A job option's value as the job's report shows it. A password (an option whose name ends in
// "Password", as the fax extension's does) is shown as set or not, never by its value: the
// report lands in terminals and, from the agent, in the user's journal.
QString shownOptionValue(const QString& key, const QString& value) {
    if (!key.endsWith(QLatin1String("Password"), Qt::CaseInsensitive)) {
        return value;
    }
    return value.isEmpty() ? QStringLiteral("(not set)") : QStringLiteral("(set)");
}

int exitStatusOf(PrintDialog::Outcome outcome) {
    switch (outcome) {
    case PrintDialog::Outcome::Sent:
        return HostApplication::kSent;
    case PrintDialog::Outcome::Failed:
        return HostApplication::kFailed;
    default:
        return HostApplication::kCancelled;
    }
}

} // namespace

HostApplication::HostApplication(HostOptions options, QTextStream& output, QTextStream& errors)
    : options_(std::move(options)), output_(output), errors_(errors) {}

QString HostApplication::installedPluginFolder() {
    // The build tree is laid out as an installation (its lib/vextel links to lib).
    const QDir programs(QCoreApplication::applicationDirPath());
    return programs.absoluteFilePath(QStringLiteral("../lib/vextel/plugins"));
}

int HostApplication::run() {
    QStringList script;
    QString error;
    if (!options_.script.isEmpty() && !ScriptRunner::load(options_.script, &script, &error)) {
        return refuse(kUsageError, error);
    }
    for (const QString& document : options_.documents) {
        if (!QFileInfo(document).isReadable()) {
            return refuse(kUsageError, QStringLiteral("cannot read the document %1").arg(document));
        }
    }
    if (options_.documents.isEmpty() && options_.screenshot.isEmpty()) {
        return refuse(kUsageError, QStringLiteral("nothing to print: give at least one document"));
    }

    if (options_.fax) {
        options_.queue = faxQueueOf(options_.server);
        if (options_.queue.isEmpty()) {
            return refuse(kUsageError,
                          QStringLiteral("no queue of the %1 was found on the scheduler; add one "
                                         "as \"SET UP THE FAX PRINTER\" in vextel-fax(8) shows")
                              .arg(QLatin1String(kFaxModel)));
        }
    }
    auto ppd = options_.queue.isEmpty()
                   ? PpdDocument::openFile(options_.ppdPath, &error)
                   : PpdDocument::openQueue(options_.queue, options_.server, &error);
    if (!ppd) {
        return refuse(kUsageError, error);
    }
    markPresets(*ppd);
    const QString printerName = options_.queue.isEmpty() ? ppd->modelName() : options_.queue;
    const QString deviceUri = options_.queue.isEmpty()
                                  ? options_.deviceUri
                                  : deviceUriOf(options_.queue, options_.server);
    HostCallback host(*ppd, printing::Printer(printerName, deviceUri, ppd->path()));
    for (const auto& [name, value] : options_.jobAttributes) {
        host.printSettings()->setValue(name, value, false);
    }

    QStringList loadErrors;
    // Only the dialog extensions the printer's PPD names: a plain printer gets the plain dialog.
    const auto plugins = printing::PluginLoader::loadForPpd(
        ppd->record(), printing::PluginLoader::searchFolders(installedPluginFolder()), &loadErrors);
    for (const QString& loadError : loadErrors) {
        errors_ << "vextel-print: " << loadError << Qt::endl;
    }
    const auto panels = panelsOf(plugins, host, errors_);
    std::vector<printing::PanelProtocol*> borrowed;
    for (const auto& panel : panels) {
        borrowed.push_back(panel.get());
    }

    const QString outputFolder =
        options_.outputFolder.isEmpty() ? QStringLiteral("vextel-jobs") : options_.outputFolder;
    JobDispatcher dispatcher({options_.queue, options_.server, outputFolder, options_.title},
                             options_.documents);
    PrintDialog dialog(host, borrowed, dispatcher);
    dialog.setCopies(options_.copies);

    if (!options_.screenshot.isEmpty()) {
        dialog.resize(dialog.sizeHint());
        dialog.show();
        QCoreApplication::processEvents();
        if (!dialog.grab().save(options_.screenshot, "PNG")) {
            return refuse(kFailed, QStringLiteral("cannot write %1").arg(options_.screenshot));
        }
        output_ << "screenshot of the panel \"" << dialog.panelPopup()->currentText()
                << "\" written to " << options_.screenshot << Qt::endl;
        return kSent;
    }
    QString scriptError;
    if (!script.isEmpty()) {
        ScriptRunner runner(script, output_);
        if (scriptConfinement_) {
            runner.confine(*scriptConfinement_);
        }
        dialog.show();
        if (!runner.run(dialog)) {
            scriptError = runner.error();
        }
    } else {
        dialog.exec();
    }
    reportOutcome(dialog);
    if (!scriptError.isEmpty()) {
        return refuse(kUsageError,
                      QStringLiteral("script %1: %2").arg(options_.script, scriptError));
    }
    return exitStatusOf(dialog.outcome());
}

void HostApplication::markPresets(PpdDocument& ppd) {
    for (const auto& [keyword, choice] : options_.presets) {
        if (!ppd.markOption(keyword, choice) && !options_.quietPresets) {
            errors_ << "vextel-print: -o " << keyword << '=' << choice
                    << ": the printer has no such choice; ignored" << Qt::endl;
        }
    }
}

int HostApplication::refuse(int status, const QString& reason) {
    errors_ << "vextel-print: " << reason << Qt::endl;
    failure_ = reason;
    return status;
}

void HostApplication::reportOutcome(const PrintDialog& dialog) {
    if (dialog.outcome() == PrintDialog::Outcome::Failed) {
        failure_ = dialog.outcomeText();
    }
    if (dialog.outcome() == PrintDialog::Outcome::Sent) {
        output_ << "job options:" << Qt::endl;
        const auto& options = dialog.jobOptions();
        for (auto it = options.begin(); it != options.end(); ++it) {
            output_ << "  " << it.key() << '=' << shownOptionValue(it.key(), it.value())
                    << Qt::endl;
        }
    }
    (dialog.outcome() == PrintDialog::Outcome::Failed ? errors_ : output_)
        << dialog.outcomeText() << Qt::endl;
}

} // namespace vextel_print
