#include "Suites.h"

namespace vextel_bench {

const std::vector<Suite>& suites() {
    static const std::vector<Suite> kSuites = {
        {"host", "print-dialog host with the fax panel against bare Qt", hostSuiteRows},
        {"picker", "address-book picker on a generated book against bare loops", pickerSuiteRows},
        {"address-book", "the address-book library against bare file reading",
         addressBookSuiteRows},
        {"editor", "the address-book editor's window against the library's read and write",
         editorSuiteRows},
        {"driver", "the fax queue's driver against passing the document through", driverSuiteRows},
        {"device",
         "the printer client on the largest and hostile answers against a tree of the text",
         deviceSuiteRows},
    };
    return kSuites;
}

const std::vector<Probe>& probes() {
    static const std::vector<Probe> kProbes = {
        {"fax-dialog-openings", faxDialogOpeningsProbe},
        {"bare-dialog-openings", bareDialogOpeningsProbe},
        {"picker-book", pickerBookProbe},
        {"bare-book", bareBookProbe},
        {"vcard-book-read", vcardBookReadProbe},
        {"vcard-line-scan", vcardLineScanProbe},
        {"editor-book", editorBookProbe},
        {"bare-editor-book", bareEditorBookProbe},
        {"device-book-read", deviceBookReadProbe},
        {"device-answer-tree", deviceAnswerTreeProbe},
        {"fax-log-read", faxLogReadProbe},
        {"device-client-read", deviceClientReadProbe},
    };
    return kProbes;
}

bool bookArguments(const QStringList& arguments, QString* book, int* contacts) {
    if (arguments.size() != 2) {
        return false;
    }
    bool ok = false;
    *book = arguments[0];
    *contacts = arguments[1].toInt(&ok);
    return ok && *contacts > 0;
}

Command probeCommand(const BenchContext& context, const QString& probe,
                     const QStringList& arguments) {
    return {context.benchProgram, QStringList{QStringLiteral("--probe"), probe} + arguments, {}};
}

} // namespace vextel_bench
