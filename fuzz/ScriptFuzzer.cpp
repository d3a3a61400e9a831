// The script language of `vextel-print --script`: each input is a script that the host runs, as
// the command line would, against the fax printer's PPD with the built fax extension loaded
// (HostHarness.h: what is contained and what every run checks).
#include "FuzzSupport.h"
#include "HostHarness.h"

namespace {

fuzz::HostHarness* harness = nullptr;
QString ppdPath;

constexpr size_t kLongestScript = 4096;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static fuzz::HostHarness instance(argc, argv); // its folder goes away at exit
    harness = &instance;
    ppdPath = harness->pathInside(QStringLiteral("printer.ppd"));
    fuzz::writeFile(ppdPath, fuzz::HostHarness::faxPrinterPpd());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > kLongestScript) {
        return 0;
    }
    harness->run(ppdPath,
                 QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    return 0;
}
