// A printer's PPD as the host takes it: opened through libcups with its defaults marked, its
// marked choices walked, every choice marked in turn, the dialog extensions it names resolved
// (never loaded) and the attributes the panel reads decoded. Properties besides the sanitizers:
// nothing hangs; a choice that marking reports as marked is the one the walk then finds.
#include "FuzzSupport.h"
#include "PpdDocument.h"
#include "common/UtilityFunctions.h"
#include "printing/PluginLoader.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

namespace {

QTemporaryDir* scratch = nullptr;

void markEveryChoice(vextel_print::PpdDocument& document) {
    ppd_file_t* ppd = document.record();
    // Keywords first: marking looks options up, which must not run inside a walk of libcups'
    // own option list.
    QList<QPair<QString, QString>> choices;
    for (int g = 0; g < ppd->num_groups && choices.size() < 512; ++g) {
        const ppd_group_t& group = ppd->groups[g];
        for (int o = 0; o < group.num_options; ++o) {
            for (int c = 0; c < group.options[o].num_choices; ++c) {
                choices.append({QString::fromUtf8(group.options[o].keyword),
                                QString::fromUtf8(group.options[o].choices[c].choice)});
            }
        }
    }
    for (const auto& [keyword, choice] : choices) {
        if (document.markOption(keyword, choice)) {
            FUZZ_CHECK(document.markedChoices().value(keyword) == choice);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    scratch = new QTemporaryDir();
    fuzz::muteLibraryDiagnostics();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 17) {
        return 0;
    }
    const QString path = scratch->filePath(QStringLiteral("printer.ppd"));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    QString error;
    const auto document = vextel_print::PpdDocument::openFile(path, &error);
    if (!document) {
        return 0;
    }
    (void)document->modelName();
    (void)document->markedChoices();
    markEveryChoice(*document);
    (void)printing::PluginLoader::bundlesNamedByPpd(document->record(), {scratch->path()});
    (void)tarvik_pde_m40vextel::GetEncodingInfoFromPPD(document->record());
    (void)tarvik_pde_m40vextel::CopyPPDAttribute(document->record(), "TKPrinterLanguageEncoding");
    return 0;
}
