// Rows of the fax queue's driver: a 20-page PDF through vextel-faxdriver, as the scheduler runs
// it for a fax job (the ticket from the job's options and the PPD, then the document copied
// behind it), against the pass-through the fax PPD named before there was a driver: the document
// copied as it is (cat).
#include "Figures.h"
#include "ProcessProbe.h"
#include "Suites.h"

#include <QFile>
#include <QRandomGenerator>

namespace vextel_bench {

namespace {

constexpr int kPages = 20;

// A scanned-looking document: each page a grey image of noise (which no compression would
// shrink, as a scan barely shrinks), stored raw, about 0.8 MB a page. Written directly, so that
// the bench needs no font or painting set-up.
QString generatedDocument(const BenchContext& context) {
    const QString path = context.work(QStringLiteral("fax-20-pages.pdf"));
    if (QFile::exists(path))
        return path;
    constexpr int kWidth = 820;
    constexpr int kHeight = 1000;
    QByteArray pdf("%PDF-1.4\n");
    QList<qsizetype> offsets;
    const auto object = [&](const QByteArray& body) {
        offsets.append(pdf.size());
        pdf += QByteArray::number(offsets.size()) + " 0 obj\n" + body + "\nendobj\n";
    };
    QByteArray kids;
    for (int page = 0; page < kPages; ++page)
        kids += QByteArray::number(3 + page * 3) + " 0 R ";
    object("<< /Type /Catalog /Pages 2 0 R >>");
    object("<< /Type /Pages /Count " + QByteArray::number(kPages) + " /Kids [" + kids + "] >>");
    QRandomGenerator random(20);
    for (int page = 0; page < kPages; ++page) {
        const int first = 3 + page * 3;
        object("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents " +
               QByteArray::number(first + 1) + " 0 R /Resources << /XObject << /Scan " +
               QByteArray::number(first + 2) + " 0 R >> >> >>");
        const QByteArray draw("q 595 0 0 842 0 0 cm /Scan Do Q");
        object("<< /Length " + QByteArray::number(draw.size()) + " >>\nstream\n" + draw +
               "\nendstream");
        QByteArray scan(kWidth * kHeight, Qt::Uninitialized);
        for (char& byte : scan)
            byte = char(random.bounded(256));
        object("<< /Type /XObject /Subtype /Image /Width " + QByteArray::number(kWidth) +
               " /Height " + QByteArray::number(kHeight) +
               " /ColorSpace /DeviceGray /BitsPerComponent 8 /Length " +
               QByteArray::number(scan.size()) + " >>\nstream\n" + scan + "\nendstream");
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(offsets.size() + 1) + "\n0000000000 65535 f \n";
    for (const qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(offsets.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(pdf);
    return path;
}

// The options the scheduler gives the driver for the walkthrough's fax job.
const char kFaxOptions[] =
    "job-uuid=urn:uuid:6c2f1a3e-2b1d-4c7a-9f0e-0a1b2c3d4e5f TKFaxImageQuality=Fine "
    "TKFaxCoverPageMode=Detailed tarvik.print.printsettings.VTelCoverSenderName=Dana\\ Whitfield "
    "tarvik.print.printsettings.VTelPassword=RV5IRQ== "
    "tarvik.print.printsettings.VTelDelayedPrint=1 "
    "tarvik.print.printsettings.VTelDelayedTime=21:30 "
    "tarvik.print.printsettings.VTelDestinationNumber=2 "
    "tarvik.print.printsettings.VTelDestinationName1=Northwind\\ Office "
    "tarvik.print.printsettings.VTelDestinationPhoneNumber1=0312345678 "
    "tarvik.print.printsettings.VTelDestinationName2=Ada\\ Lovelace "
    "tarvik.print.printsettings.VTelDestinationPhoneNumber2=0207946001";

std::vector<FigureSpec> processFigures(Goal goal) {
    return {{QString::fromLatin1(kCpuMilliseconds), QStringLiteral("CPU ms"), goal},
            {QString::fromLatin1(kPeakMebibytes), QStringLiteral("peak memory MiB"), Goal::none()},
            {QString::fromLatin1(kWallMilliseconds), QStringLiteral("wall ms"), Goal::none()}};
}

} // namespace

std::vector<BenchRow> driverSuiteRows(const BenchContext& context) {
    const QString document = generatedDocument(context);
    // As the scheduler runs it: the PPD and the device in the environment, no back channel (the
    // driver then writes the job and ends without waiting for the printer).
    const Command driver{
        context.program(QStringLiteral("vextel-faxdriver")),
        {QStringLiteral("17"), QStringLiteral("dana"), QStringLiteral("Quarterly report"),
         QStringLiteral("1"), QString::fromLatin1(kFaxOptions), document},
        {{QStringLiteral("PPD"),
          context.source(QStringLiteral("resources/ppd/Tarvik-M40-Vextel-Fax.ppd"))},
         {QStringLiteral("DEVICE_URI"), QStringLiteral("socket://192.0.2.7")}}};
    const Command passThrough{QStringLiteral("/bin/cat"), {document}, {}};
    const Command emptyWithCups{context.program(QStringLiteral("vextel-bench-empty-cups")), {}, {}};
    const Command empty{context.program(QStringLiteral("vextel-bench-empty")), {}, {}};
    return {{QStringLiteral("a 20-page PDF (%1 MB) through the fax driver / passed through as "
                            "it is (cat)")
                 .arg(QFile(document).size() / 1e6, 0, 'f', 1),
             ProcessProbe::side(driver), ProcessProbe::side(passThrough),
             processFigures(Goal::ratioAtMost(1.05))},
            // What the driver pays to start before it reads the document: the floor of its
            // difference to the pass-through.
            {QStringLiteral("an empty program linked to libcups / the same program linked to "
                            "nothing"),
             ProcessProbe::side(emptyWithCups), ProcessProbe::side(empty),
             processFigures(Goal::none())}};
}

} // namespace vextel_bench
