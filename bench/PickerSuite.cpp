// Rows of the address-book picker on a vCard book of the session's size (65,535 contacts unless
// `--book-size` says otherwise): loading the PC tab, one search keystroke and clearing the
// search, adding a 201-member group and closing the picker, each against the bare work the
// library or a plain loop does on the same data in the same session.
#include "ProcessProbe.h"
#include "Suites.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

namespace vextel_bench {

namespace {

// First and last names from small pools, and the index, so that a keystroke matches a realistic
// share of the book.
QString contactName(int index) {
    static const char* const kFirst[] = {"Ada", "Bea", "Carl", "Dana", "Emil",
                                         "Fay", "Gus", "Hana", "Ivo",  "Jo"};
    static const char* const kLast[] = {"Okafor", "Marsh", "Lind", "Tanaka", "Brown",
                                        "Weiss",  "Silva", "Kerr", "Novak",  "Quinn"};
    return QStringLiteral("%1 %2 %3")
        .arg(QLatin1String(kFirst[index % 10]), QLatin1String(kLast[(index / 10) % 10]))
        .arg(index, 5, 10, QLatin1Char('0'));
}

// Written once per session.
QString pickerBook(const BenchContext& context) {
    const QString path = context.work(QStringLiteral("picker/book-%1.vcf").arg(context.bookSize));
    if (QFile::exists(path)) {
        return path;
    }
    QDir().mkpath(context.work(QStringLiteral("picker")));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return path;
    }
    QTextStream out(&file);
    for (int i = 1; i <= context.bookSize; ++i) {
        out << "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:urn:uuid:" << i << "\r\nFN:" << contactName(i)
            << "\r\nTEL;TYPE=fax:03" << QString::number(i).rightJustified(8, QLatin1Char('0'))
            << "\r\nEND:VCARD\r\n";
    }
    return path;
}

} // namespace

std::vector<BenchRow> pickerSuiteRows(const BenchContext& context) {
    const QString book = pickerBook(context);
    const QStringList arguments{book, QString::number(context.bookSize)};
    const Command measured = probeCommand(context, QStringLiteral("picker-book"), arguments);
    const Command baseline = probeCommand(context, QStringLiteral("bare-book"), arguments);
    return {
        {QStringLiteral("PC tab on a %L1-contact book, picker / library's bare read and "
                        "plain loops")
             .arg(context.bookSize),
         ProcessProbe::side(measured),
         ProcessProbe::side(baseline),
         {{QStringLiteral("load_cpu_ms"), QStringLiteral("load CPU ms"), Goal::ratioAtMost(2.0)},
          {QStringLiteral("load_cpu_us_per_contact"), QStringLiteral("load CPU us per contact"),
           Goal::none()},
          {QStringLiteral("load_ms"), QStringLiteral("load wall ms"), Goal::none()},
          {QString::fromLatin1(kPeakMebibytes), QStringLiteral("peak memory MiB"),
           Goal::ratioAtMost(2.0)},
          {QStringLiteral("keystroke_cpu_ms"), QStringLiteral("keystroke CPU ms"),
           Goal::measuredAtMost(4.0)},
          {QStringLiteral("keystroke_ms"), QStringLiteral("keystroke wall ms"), Goal::none()},
          {QStringLiteral("clear_cpu_ms"), QStringLiteral("clearing the search CPU ms"),
           Goal::measuredAtMost(2.0)},
          {QStringLiteral("clear_ms"), QStringLiteral("clearing the search wall ms"), Goal::none()},
          {QStringLiteral("group_cpu_ms"), QStringLiteral("201-member group CPU ms"),
           Goal::measuredAtMost(2.0)},
          {QStringLiteral("group_ms"), QStringLiteral("201-member group wall ms"), Goal::none()},
          {QStringLiteral("close_cpu_ms"), QStringLiteral("closing the picker CPU ms"),
           Goal::measuredAtMost(20.0)},
          {QStringLiteral("close_ms"), QStringLiteral("closing the picker wall ms"),
           Goal::none()}}}};
}

} // namespace vextel_bench
