// Rows of the address-book library: a vCard book of the session's size (65,535 contacts unless
// `--book-size` says otherwise) read through the C interface (every record copied out, as the
// picker does) against a bare line scan of the same file.
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

constexpr int kGroups = kGeneratedBookGroups;
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

// The load's CPU time is also given per contact, the figure that stays flat while the cost
// grows linearly with the book.
void writeLoadFigures(QTextStream& out, double cpuStart, double wallStart, int contacts) {
    const double cpu = cpuMilliseconds() - cpuStart;
    out << "figure load_cpu_ms " << cpu << Qt::endl;
    out << "figure load_ms " << wallMilliseconds() - wallStart << Qt::endl;
    out << "figure load_cpu_us_per_contact " << cpu * 1e3 / contacts << Qt::endl;
}

} // namespace

// Cards as contacts programs write them: a name, a company, a voice and a fax number, a mail
// address, a UID and a revision; then a few groups of those contacts.
QString generatedVCardBook(const BenchContext& context) {
    const int contacts = context.bookSize;
    const QString path = context.work(QStringLiteral("address-book-%1.vcf").arg(contacts));
    if (QFile::exists(path))
        return path;
    std::ofstream out(path.toStdString(), std::ios::binary);
    char uid[64];
    for (int i = 0; i < contacts; ++i) {
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
            const int member = (g * 1000 + m) % contacts;
            std::snprintf(uid, sizeof uid, "urn:uuid:%08x-1111-4222-8333-%012d", member, member);
            out << "MEMBER:" << uid << "\r\n";
        }
        out << "END:VCARD\r\n";
    }
    return out ? path : QString();
}

std::vector<BenchRow> addressBookSuiteRows(const BenchContext& context) {
    const QString book = generatedVCardBook(context);
    const QStringList arguments{book, QString::number(context.bookSize)};
    return {
        {QStringLiteral("%L1-contact vCard book: XdirGADFile_Read and every GetAt / bare "
                        "line scan of the same file")
             .arg(context.bookSize),
         ProcessProbe::side(probeCommand(context, QStringLiteral("vcard-book-read"), arguments)),
         ProcessProbe::side(probeCommand(context, QStringLiteral("vcard-line-scan"), arguments)),
         {{QStringLiteral("load_cpu_ms"), QStringLiteral("load CPU ms"), Goal::ratioAtMost(2)},
          {QStringLiteral("load_cpu_us_per_contact"), QStringLiteral("load CPU us per contact"),
           Goal::none()},
          {QStringLiteral("load_ms"), QStringLiteral("load wall ms"), Goal::none()},
          {QString::fromLatin1(kPeakMebibytes), QStringLiteral("peak memory MiB"), Goal::none()}}}};
}

int vcardBookReadProbe(const BenchContext&, const QStringList& arguments, QTextStream& out) {
    QString book;
    int contacts = 0;
    if (!bookArguments(arguments, &book, &contacts))
        return 2;
    const double cpuStart = cpuMilliseconds();
    const double wallStart = wallMilliseconds();
    XDIRDataRef data = XDIRData_Create();
    if (data == nullptr || XdirGADFile_Read(book.toUtf8().constData(), data, 0) != XDIR_OK) {
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
    writeLoadFigures(out, cpuStart, wallStart, contacts);
    return copied == contacts + kGroups ? 0 : 1;
}

int vcardLineScanProbe(const BenchContext&, const QStringList& arguments, QTextStream& out) {
    QString book;
    int contacts = 0;
    if (!bookArguments(arguments, &book, &contacts))
        return 2;
    const double cpuStart = cpuMilliseconds();
    const double wallStart = wallMilliseconds();
    std::ifstream in(book.toStdString(), std::ios::binary);
    std::string line;
    long faxLines = 0;
    while (std::getline(in, line))
        faxLines += line.rfind("TEL;TYPE=fax", 0) == 0 ? 1 : 0;
    writeLoadFigures(out, cpuStart, wallStart, contacts);
    return faxLines == contacts ? 0 : 1;
}

} // namespace vextel_bench
