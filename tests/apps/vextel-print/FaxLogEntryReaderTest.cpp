#include "FaxLogEntryReader.h"

#include <gtest/gtest.h>

using vextel_print::FaxJobResults;
using vextel_print::FaxLogEntryReader;

namespace {

std::string recipients(int count) {
    std::string list;
    for (int n = 1; n <= count; ++n)
        list += (n > 1 ? "," : "") + std::string(R"({"number": )") + std::to_string(n) +
                R"(, "state": "sent"})";
    return list;
}

// Each row: the answer, whether it is an entry, and then its state, recipient count and the
// first recipient as "number name faxNumber state tries time".
TEST(FaxLogEntryReaderTest, ReadsTheStateAndRecipientsOfAnEntryAndNothingElse) {
    const struct {
        const char* what;
        std::string json;
        bool read;
        const char* state;
        qsizetype count;
        const char* first;
    } rows[] = {
        {"an entry",
         R"({"jobUuid": "urn:uuid:1", "state": "failed", "pages": 2, "recipients": [
              {"number": 1, "name": "Ana", "faxNumber": "0312", "state": "busy", "tries": 3,
               "time": "2026-12-07T21:31:04", "extra": [1, {"state": "sent"}]}]})",
         true, "failed", 1, "1 Ana 0312 busy 3 2026-12-07T21:31:04"},
        {"members of the wrong type count as absent",
         R"({"state": "sent", "recipients": [{"number": "1", "name": 5, "tries": -2,
              "state": ["sent"]}]})",
         true, "sent", 1, "0    0 "},
        {"a member named twice is the later one",
         R"({"state": "sent", "recipients": 1, "state": "queued", "recipients": []})", true,
         "queued", 0, ""},
        {"no more recipients than a job has",
         R"({"state": "sent", "recipients": [)" + recipients(40) + "]}", true, "sent", 30,
         "1   sent 0 "},
        {"a recipient that is not an object", R"({"state": "sent", "recipients": [1]})", false, "",
         0, ""},
        {"state missing", R"({"recipients": []})", false, "", 0, ""},
        {"state not text", R"({"state": 1, "recipients": []})", false, "", 0, ""},
        {"recipients not a list", R"({"state": "sent", "recipients": {}})", false, "", 0, ""},
        {"not an object", R"(["sent"])", false, "", 0, ""},
        {"cut short", R"({"state": "sent", "recipients": [)", false, "", 0, ""},
    };
    for (const auto& row : rows) {
        FaxJobResults::Job job;
        job.printerState = QStringLiteral("untouched");
        ASSERT_EQ(FaxLogEntryReader::read(row.json, job), row.read) << row.what;
        EXPECT_EQ(job.printerState.toStdString(), row.read ? row.state : "untouched") << row.what;
        ASSERT_EQ(job.recipients.size(), row.count) << row.what;
        if (job.recipients.isEmpty())
            continue;
        const FaxJobResults::Recipient& first = job.recipients.first();
        EXPECT_EQ(QStringLiteral("%1 %2 %3 %4 %5 %6")
                      .arg(first.number)
                      .arg(first.name, first.faxNumber, first.state)
                      .arg(first.tries)
                      .arg(first.time)
                      .toStdString(),
                  row.first)
            << row.what;
    }
}

} // namespace
