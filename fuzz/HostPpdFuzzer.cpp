// A printer's PPD through the whole host: each input is the PPD of the queue the host prints to,
// with a script of what a person does (HostHarness.h: what is contained and what every run
// checks). A PPD that names the fax extension gets the fax walk: Print, one typed recipient, a
// password, Start: a job that goes out carries the fax entries. Any other gets a plain Print, and
// a job that goes out carries none.
// The shipped extension's install path in an input stands for the one this build made.
#include "FuzzSupport.h"
#include "HostApplication.h"
#include "HostHarness.h"
#include "PpdDocument.h"
#include "printing/PluginLoader.h"

#include <QFile>

namespace {

fuzz::HostHarness* harness = nullptr;
QString ppdPath;

constexpr size_t kLongestPpd = 1 << 17;

constexpr char kFaxWalk[] = "panel \"Fax Settings\"\n"
                            "print\n"
                            "type addressNameTextField \"Ada Lovelace\"\n"
                            "type addressPhoneNumberTextField 0207946001\n"
                            "press Add\n"
                            "type passwordTextField 4321\n"
                            "press Start\n";
constexpr char kPlainPrint[] = "print\n";

bool namesADialogExtension(const QString& path) {
    QString error;
    const auto document = vextel_print::PpdDocument::openFile(path, &error);
    return document &&
           !printing::PluginLoader::bundlesNamedByPpd(document->record(), {VEXTEL_PLUGIN_DIR})
                .isEmpty();
}

QByteArray jobOptions(const QString& jobsFolder) {
    QFile file(jobsFolder + QStringLiteral("/job-1/job-options"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static fuzz::HostHarness instance(argc, argv); // its folder goes away at exit
    harness = &instance;
    ppdPath = harness->pathInside(QStringLiteral("printer.ppd"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > kLongestPpd) {
        return 0;
    }
    QByteArray ppd(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    ppd.replace("/usr/lib/vextel/plugins/VextelPDE.plugin", VEXTEL_PLUGIN_DIR "/VextelPDE.plugin");
    fuzz::writeFile(ppdPath, ppd);

    const bool faxWalk = namesADialogExtension(ppdPath);
    const auto run = harness->run(ppdPath, faxWalk ? kFaxWalk : kPlainPrint);
    // A sent fax walk went through Start in the fax dialog: its job carries the fax entries.
    if (run.status == vextel_print::HostApplication::kSent) {
        FUZZ_CHECK(jobOptions(harness->jobsFolder()).contains("tarvik.print.printsettings") ==
                   faxWalk);
    }
    return 0;
}
