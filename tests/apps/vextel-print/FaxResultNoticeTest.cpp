#include "FaxResultNotice.h"

#include <gtest/gtest.h>

namespace {

using vextel_print::FaxJobResults;
using vextel_print::FaxResultNotice;

FaxJobResults::Job jobWith(const QStringList& recipientStates) {
    FaxJobResults::Job job;
    job.id = 7;
    job.queue = QStringLiteral("M40");
    job.title = QStringLiteral("Quarterly report");
    job.uuid = QStringLiteral("urn:uuid:1");
    job.schedulerState = QStringLiteral("completed");
    job.printerState = recipientStates.contains(QStringLiteral("busy")) ||
                               recipientStates.contains(QStringLiteral("no-answer"))
                           ? QStringLiteral("failed")
                           : QStringLiteral("sent");
    const QStringList names{"Northwind Office", "Ada Lovelace", ""};
    const QStringList numbers{"0312345678", "0207946001", "0811"};
    for (int i = 0; i < recipientStates.size(); ++i)
        job.recipients.append({i + 1, names[i], numbers[i], recipientStates[i], 1,
                               QStringLiteral("2026-12-07T21:30:02")});
    return job;
}

TEST(FaxResultNoticeTest, TellsEachOutcomeInEnglishGermanAndJapanese) {
    FaxJobResults::Job stopped = jobWith({});
    stopped.schedulerState = QStringLiteral("stopped");
    stopped.schedulerMessage = QStringLiteral("Fax not sent: the job has no fax recipients");
    FaxJobResults::Job unknown = jobWith({"sent"});
    unknown.printerState.clear();
    unknown.recipients.clear();
    unknown.unknownReason = QStringLiteral("the printer cannot be asked: unreachable");
    struct Case {
        const char* what;
        FaxJobResults::Job job;
        const char* language;
        QString summary;
        QString body;
    };
    const Case cases[] = {
        {"all sent", jobWith({"sent", "sent", "sent"}), "en", "Fax sent to 3 recipients",
         "Quarterly report"},
        {"one sent", jobWith({"sent"}), "en", "Fax sent to 1 recipient", "Quarterly report"},
        {"one busy", jobWith({"sent", "busy"}), "en", "Fax to 1 of 2 recipients failed",
         "Quarterly report\nAda Lovelace (0207946001): line busy"},
        {"nameless", jobWith({"no-answer", "busy", "failed"}), "en",
         "Fax to 3 of 3 recipients failed",
         "Quarterly report\nNorthwind Office (0312345678): no answer\n"
         "Ada Lovelace (0207946001): line busy\n0811 (0811): failed"},
        {"German", jobWith({"sent", "busy"}), "de", "Fax an 1 von 2 Empfängern fehlgeschlagen",
         "Quarterly report\nAda Lovelace (0207946001): besetzt"},
        {"German sent", jobWith({"sent", "sent"}), "de", "Fax an 2 Empfänger gesendet",
         "Quarterly report"},
        {"Japanese", jobWith({"sent", "busy"}), "ja", "2 件中 1 件の宛先へのファクスが失敗しました",
         "Quarterly report\nAda Lovelace (0207946001): 話し中"},
        {"stopped", stopped, "en", "Fax not sent",
         "Quarterly report\nFax not sent: the job has no fax recipients"},
        {"unknown is no success", unknown, "ja", "ファクスの結果は不明です",
         "Quarterly report\nthe printer cannot be asked: unreachable"},
    };
    for (const Case& row : cases) {
        const FaxResultNotice notice =
            FaxResultNotice::of(row.job, QString::fromLatin1(row.language));
        EXPECT_EQ(notice.summary, row.summary) << row.what;
        EXPECT_EQ(notice.body, row.body) << row.what;
    }
}

TEST(FaxResultNoticeTest, StatusLinesGiveTheJobThenEachRecipient) {
    EXPECT_EQ(FaxJobResults::statusLines(jobWith({"sent", "busy"})),
              QStringList({"job\t7\tM40\tQuarterly report\tfailed\t",
                           "recipient\t1\tNorthwind Office\t0312345678\tsent\t1\t"
                           "2026-12-07T21:30:02",
                           "recipient\t2\tAda Lovelace\t0207946001\tbusy\t1\t"
                           "2026-12-07T21:30:02"}));
    FaxJobResults::Job pending = jobWith({});
    pending.schedulerState = QStringLiteral("pending");
    EXPECT_EQ(FaxJobResults::statusLines(pending),
              QStringList({"job\t7\tM40\tQuarterly report\tpending\t"}));
}

} // namespace
