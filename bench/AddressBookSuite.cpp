// Rows of the address-book library: a 65,535-contact vCard book read through the C interface
// (every record copied out, as the picker does) against a bare line scan of the same file.
#include "ProcessProbe.h"
#include "Suites.h"
#include "xdirkit/XdirKit.h"

#include <QFile>
#include <QTextStream>
#include <ctime>
#include <fstream>
#include <string>

namespace vextel_bench {

namespace {

constexpr int kContacts = 65535;
constexpr int kGroups = 20;
constexpr int kMembersPerGroup = 25;

// CPU time of this process so far, and wall time, in milliseconds.
double cpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double wallMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

void writeLoadFigures(QTextStream& out, double cpuStart, double wallStart) {
    out << "figure load_cpu_ms " << cpuMilliseconds() - cpuStart << Qt::endl;
    out << "figure load_ms " << wallMilliseconds() - wallStart << Qt::endl;
}

// Cards as contacts programs write them: a name, a company, a voice and a fax number, a mail
// address, a UID and a revision; then a few groups of those contacts.
QString generatedBook(const BenchContext& context) {
    const QString path = context.work(QStringLiteral("address-book-65535.vcf"));
    if (QFile::exists(path))
        return path;
    std::ofstream out(path.toStdString(), std::ios::binary);
    char uid[64];
    for (int i = 0; i < kContacts; ++i) {
        std::snprintf(uid, sizeof uid, "urn:uuid:%08x-1111-4222-8333-%012d", i, i);
        out << "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:" << uid << "\r\nFN:Contact Person " << i
            << "\r\nN:Person " << i << ";Contact;;;\r\nORG:Example Trading Company " << i % 97
            << "\r\nTEL;TYPE=work,voice:+81 3 5555 " << i << "\r\nTEL;TYPE=fax,work:+81 3 6666 "
            << i << "\r\nEMAIL;TYPE=work:contact" << i
            << "@example.com\r\nREV:20260101T090000Z\r\nEND:VCARD\r\n";
    }
    for (int g = 0; g < kGroups; ++g) {
        out << "BEGIN:VCARD\r\nVERSION:4.0\r\nKIND:group\r\nFN:Group " << g << "\r\n";
        for (int m = 0; m < kMembersPerGroup; ++m) {
            std::snprintf(uid, sizeof uid, "urn:uuid:%08x-1111-4222-8333-%012d", g * 1000 + m,
                          g * 1000 + m);
            out << "MEMBER:" << uid << "\r\n";
        }
        out << "END:VCARD\r\n";
    }
    return out ? path : QString();
}

} // namespace

std::vector<BenchRow> addressBookSuiteRows(const BenchContext& context) {
    const QString book = generatedBook(context);
    return {
        {QStringLiteral("65,535-contact vCard book: XdirGADFile_Read and every GetAt / bare "
                        "line scan of the same file"),
         ProcessProbe::side(probeCommand(context, QStringLiteral("vcard-book-read"), {book})),
         ProcessProbe::side(probeCommand(context, QStringLiteral("vcard-line-scan"), {book})),
         {{QStringLiteral("load_cpu_ms"), QStringLiteral("load CPU ms"), Goal::ratioAtMost(5)},
          {QStringLiteral("load_ms"), QStringLiteral("load wall ms"), Goal::none()},
          {QString::fromLatin1(kPeakMebibytes), QStringLiteral("peak memory MiB"), Goal::none()}}}};
}

int vcardBookReadProbe(const BenchContext&, const QStringList& arguments, QTextStream& out) {
    if (arguments.isEmpty())
        return 2;
    const double cpuStart = cpuMilliseconds();
    const double wallStart = wallMilliseconds();
    XDIRDataRef data = XDIRData_Create();
    if (data == nullptr ||
        XdirGADFile_Read(arguments.first().toUtf8().constData(), data, 0) != XDIR_OK) {
        XDIRData_Delete(data);
        return 1;
    }
    XDIRMyFaxRecord entry;
    XDIRMyFaxGroupRecord group;
    int copied = 0;
    for (int32_t i = 0; i < XDIRData_GetCount_MyFax(data); ++i)
        copied += XDIRData_GetAt_MyFax(data, i, &entry) == XDIR_OK ? 1 : 0;
    for (int32_t i = 0; i < XDIRData_GetCount_MyFaxGroup(data); ++i)
        copied += XDIRData_GetAt_MyFaxGroup(data, i, &group) == XDIR_OK ? 1 : 0;
    XDIRData_Delete(data);
    writeLoadFigures(out, cpuStart, wallStart);
    return copied == kContacts + kGroups ? 0 : 1;
}

int vcardLineScanProbe(const BenchContext&, const QStringList& arguments, QTextStream& out) {
    if (arguments.isEmpty())
        return 2;
    const double cpuStart = cpuMilliseconds();
    const double wallStart = wallMilliseconds();
    std::ifstream in(arguments.first().toStdString(), std::ios::binary);
    std::string line;
    long faxLines = 0;
    while (std::getline(in, line))
        faxLines += line.rfind("TEL;TYPE=fax", 0) == 0 ? 1 : 0;
    writeLoadFigures(out, cpuStart, wallStart);
    return faxLines == kContacts ? 0 : 1;
}

} // namespace vextel_bench
