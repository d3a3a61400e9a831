// Rows of the address-book picker on a 65,535-contact vCard book: loading the PC tab, one search
// keystroke and clearing the search, and adding a 201-member group, each against the bare work
// the library or a plain loop does on the same data in the same session.
#include "ProcessProbe.h"
#include "Suites.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

namespace vextel_bench {

namespace {

constexpr int kContacts = 65535;

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
    const QString path = context.work(QStringLiteral("picker/book.vcf"));
    if (QFile::exists(path)) {
        return path;
    }
    QDir().mkpath(context.work(QStringLiteral("picker")));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return path;
    }
    QTextStream out(&file);
    for (int i = 1; i <= kContacts; ++i) {
        out << "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:urn:uuid:" << i << "\r\nFN:" << contactName(i)
            << "\r\nTEL;TYPE=fax:03" << QString::number(i).rightJustified(8, QLatin1Char('0'))
            << "\r\nEND:VCARD\r\n";
    }
    return path;
}

} // namespace

std::vector<BenchRow> pickerSuiteRows(const BenchContext& context) {
    const QString book = pickerBook(context);
    const Command measured = probeCommand(context, QStringLiteral("picker-book"), {book});
    const Command baseline = probeCommand(context, QStringLiteral("bare-book"), {book});
    return {
        {QStringLiteral("PC tab on a 65,535-contact book, picker / library's bare read and "
                        "plain loops"),
         ProcessProbe::side(measured),
         ProcessProbe::side(baseline),
         {{QStringLiteral("load_cpu_ms"), QStringLiteral("load CPU ms"), Goal::ratioAtMost(5.0)},
          {QStringLiteral("load_ms"), QStringLiteral("load wall ms"), Goal::none()},
          {QStringLiteral("keystroke_cpu_ms"), QStringLiteral("keystroke CPU ms"),
           Goal::measuredAtMost(16.0)},
          {QStringLiteral("keystroke_ms"), QStringLiteral("keystroke wall ms"), Goal::none()},
          {QStringLiteral("clear_cpu_ms"), QStringLiteral("clearing the search CPU ms"),
           Goal::none()},
          {QStringLiteral("clear_ms"), QStringLiteral("clearing the search wall ms"), Goal::none()},
          {QStringLiteral("group_cpu_ms"), QStringLiteral("201-member group CPU ms"), Goal::none()},
          {QStringLiteral("group_ms"), QStringLiteral("201-member group wall ms"), Goal::none()}}}};
}

} // namespace vextel_bench
