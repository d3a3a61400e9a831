// Rows of the printer client against a hostile or very large answer: the memory the address-book
// library and the fax status take for the largest answer a printer may send, beside the former way
// of reading it (a tree of the whole document) or beside a plain answer, each run in a probe
// process of its own.
#include "DeviceClient.h"
#include "FaxLogEntryReader.h"
#include "ProcessProbe.h"
#include "Suites.h"

#include <QFile>
#include <QProcess>
#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

namespace vextel_bench {

namespace {

using xdirkit::DeviceBook;
using xdirkit::DeviceClient;

// What a client may take in; every figure of this suite should stay under it.
constexpr double kPeakGoalMebibytes = 64;
constexpr const char* kCode = "4821";

std::string individualText(int id, const std::string& name, const std::string& faxNumber) {
    return R"({"id":)" + std::to_string(id) + R"(,"name":")" + name + R"(","faxNumber":")" +
           faxNumber + "\"}";
}

constexpr const char* kBookHead = R"({"groups":[],"individuals":[)";
constexpr const char* kFaxLogHead = R"({"state":"sent","recipients":[)";
constexpr const char* kSmallItemsTail = "{}]}";

// Empty objects after the head, as many as 8 MiB holds: each costs a tree node and an empty map.
std::size_t smallItemCount(const char* head) {
    const std::size_t room =
        DeviceClient::kMaximumBody - std::strlen(head) - std::strlen(kSmallItemsTail);
    return room / 3 + 1;
}

std::string smallItemsAnswer(const char* head) {
    std::string text = head;
    text.reserve(DeviceClient::kMaximumBody);
    for (std::size_t i = 1; i < smallItemCount(head); ++i)
        text += "{},";
    return text + kSmallItemsTail;
}

std::string smallItemsBook() {
    return smallItemsAnswer(kBookHead);
}

std::string smallItemsFaxLog() {
    return smallItemsAnswer(kFaxLogHead);
}

// A book that keeps every rule: every entry of the longest texts, then full groups while the
// answer stays within 8 MiB.
std::string largestBookAnswer() {
    const std::string name(DeviceBook::kMaximumNameUnits, 'n');
    const std::string faxNumber(DeviceBook::kMaximumFaxNumberUnits, '9');
    std::string text = R"({"individuals":[)";
    text.reserve(DeviceClient::kMaximumBody);
    // Appended piece by piece: GCC 12 at -O3 takes `"," + std::string` for an overlapping copy.
    for (int id = 1; id <= static_cast<int>(DeviceBook::kMaximumEntries); ++id) {
        if (id > 1)
            text += ',';
        text += individualText(id, name, faxNumber);
    }
    text += R"(],"groups":[)";
    for (int group = 0;; ++group) {
        std::string entry = group > 0 ? "," : "";
        entry += R"({"name":")";
        entry += name;
        entry += R"(","members":[)";
        for (int member = 1; member <= static_cast<int>(DeviceBook::kMaximumGroupMembers);
             ++member) {
            if (member > 1)
                entry += ',';
            entry += std::to_string((group * 200 + member - 1) % DeviceBook::kMaximumEntries + 1);
        }
        entry += "]}";
        if (text.size() + entry.size() + 2 > DeviceClient::kMaximumBody)
            break;
        text += entry;
    }
    return text + "]}";
}

QString writtenOnce(const BenchContext& context, const QString& name, std::string (*generate)()) {
    const QString path = context.work(name);
    if (QFile::exists(path))
        return path;
    std::ofstream out(path.toStdString(), std::ios::binary);
    out << generate();
    return out ? path : QString();
}

std::string smallBookAnswer() {
    return R"({"individuals":[)" + individualText(1, "Ana", "0312") + R"(],"groups":[]})";
}

// Into a string of the file's size, as the client holds an answer it was told the length of.
bool readFile(const QString& path, std::string* text) {
    std::ifstream in(path.toStdString(), std::ios::binary | std::ios::ate);
    if (!in)
        return false;
    text->resize(static_cast<std::size_t>(in.tellg()));
    in.seekg(0);
    return static_cast<bool>(in.read(text->data(), static_cast<std::streamsize>(text->size())));
}

std::vector<FigureSpec> memoryFigures() {
    return {{QString::fromLatin1(kPeakMebibytes), QStringLiteral("peak memory MiB"),
             Goal::measuredAtMost(kPeakGoalMebibytes)},
            {QString::fromLatin1(kCpuMilliseconds), QStringLiteral("CPU ms"), Goal::none()}};
}

// The probe reads the answer as the client does; the baseline makes a tree of it.
BenchRow answerRow(const BenchContext& context, const QString& title, const QString& probe,
                   const QStringList& arguments) {
    return {title, ProcessProbe::side(probeCommand(context, probe, arguments)),
            ProcessProbe::side(
                probeCommand(context, QStringLiteral("device-answer-tree"), {arguments[0]})),
            memoryFigures()};
}

} // namespace

std::vector<BenchRow> deviceSuiteRows(const BenchContext& context) {
    const QString smallItems =
        writtenOnce(context, QStringLiteral("answer-small-items.json"), smallItemsBook);
    const QString faxLog =
        writtenOnce(context, QStringLiteral("answer-fax-log.json"), smallItemsFaxLog);
    const QString largest =
        writtenOnce(context, QStringLiteral("answer-largest-book.json"), largestBookAnswer);
    const QString small =
        writtenOnce(context, QStringLiteral("answer-small-book.json"), smallBookAnswer);
    const auto client = [&](const QString& fault) {
        return ProcessProbe::side(
            probeCommand(context, QStringLiteral("device-client-read"),
                         {context.program(QStringLiteral("vextel-printer-sim")), small, fault}));
    };
    const QString bookProbe = QStringLiteral("device-book-read");
    return {
        answerRow(context,
                  QStringLiteral("8 MiB book answer of %L1 empty objects (refused): read as "
                                 "parsed / a tree of the whole text")
                      .arg(smallItemCount(kBookHead)),
                  bookProbe, {smallItems, QStringLiteral("refused")}),
        answerRow(context,
                  QStringLiteral("largest book a printer may send (65,535 entries, 8 MiB): read "
                                 "as parsed / a tree of the whole text"),
                  bookProbe, {largest, QStringLiteral("accepted")}),
        answerRow(context,
                  QStringLiteral("8 MiB fax log entry of %L1 empty recipients: read as parsed / "
                                 "a tree of the whole text")
                      .arg(smallItemCount(kFaxLogHead)),
                  QStringLiteral("fax-log-read"), {faxLog}),
        {QStringLiteral("printer that sends headers without end (refused) / the same client "
                        "reading a one-entry book (both with the simulator they start)"),
         client(QStringLiteral("header-flood")), client(QStringLiteral("none")), memoryFigures()},
    };
}

// Reads an answer as the client does: the body whole in memory, then DeviceBook::fromJson.
int deviceBookReadProbe(const BenchContext&, const QStringList& arguments, QTextStream& out) {
    std::string text;
    if (arguments.size() != 2 || !readFile(arguments[0], &text))
        return 2;
    DeviceBook::Error error;
    const auto book = DeviceBook::fromJson(text, &error);
    out << "figure kept_entries " << (book ? book->individuals.size() + book->groups.size() : 0)
        << Qt::endl;
    const bool accepted = arguments[1] == QLatin1String("accepted");
    return book.has_value() == accepted ? 0 : 1;
}

// Reads a fax log entry as `vextel-print --status` does.
int faxLogReadProbe(const BenchContext&, const QStringList& arguments, QTextStream& out) {
    std::string text;
    if (arguments.size() != 1 || !readFile(arguments[0], &text))
        return 2;
    vextel_print::FaxJobResults::Job job;
    if (!vextel_print::FaxLogEntryReader::read(text, job))
        return 1;
    out << "figure kept_recipients " << job.recipients.size() << Qt::endl;
    return 0;
}

// The baseline: the whole document as a tree, the way the answers were read before.
int deviceAnswerTreeProbe(const BenchContext&, const QStringList& arguments, QTextStream&) {
    std::string text;
    if (arguments.size() != 1 || !readFile(arguments[0], &text))
        return 2;
    const nlohmann::json tree = nlohmann::json::parse(text, nullptr, false);
    return tree.is_discarded() ? 1 : 0;
}

// Starts the simulator on a free loopback port with the fault ("none" for a plain printer) and
// reads its book once; the run counts only when the client answers as it should.
int deviceClientReadProbe(const BenchContext&, const QStringList& arguments, QTextStream&) {
    if (arguments.size() != 3)
        return 2;
    QStringList simulatorArguments{QStringLiteral("--book"),     arguments[1],
                                   QStringLiteral("--listen"),   QStringLiteral("127.0.0.1:0"),
                                   QStringLiteral("--password"), QString::fromLatin1(kCode)};
    const bool flood = arguments[2] != QLatin1String("none");
    if (flood)
        simulatorArguments << QStringLiteral("--fault") << arguments[2];
    QProcess simulator;
    simulator.start(arguments[0], simulatorArguments);
    if (!simulator.waitForStarted() || !simulator.waitForReadyRead(10000))
        return 2;
    const auto endpoint =
        xdirkit::DeviceEndpoint::parse(simulator.readLine().trimmed().toStdString());
    int status = 2;
    if (endpoint) {
        DeviceClient client(*endpoint);
        const auto read = client.readBook(kCode);
        const auto expected = flood ? DeviceClient::Outcome::TooLarge : DeviceClient::Outcome::Ok;
        status = read.outcome == expected ? 0 : 1;
    }
    simulator.terminate();
    simulator.waitForFinished();
    return status;
}

} // namespace vextel_bench
