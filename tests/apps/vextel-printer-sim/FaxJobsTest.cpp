// The simulated printer's fax side: the dial plan, the job port's checks, the transmission on the
// printer's clock, and the fax log over the device protocol.
#include "DialPlan.h"
#include "DigestAuth.h"
#include "FaxJobWire.h"
#include "FaxLog.h"
#include "FaxSender.h"
#include "JobPort.h"
#include "PrinterSimulator.h"
#include "SimulatorClock.h"
#include "xsplib/xspenclib.h"

#include <chrono>
#include <gtest/gtest.h>
#include <httplib.h>
#include <nlohmann/json.hpp>
#include <thread>

namespace {

using faxjob::FaxJobWire;
using faxjob::FaxTicket;
using vextel_sim::DialPlan;
using vextel_sim::FaxLog;
using vextel_sim::FaxSender;
using vextel_sim::JobPort;
using vextel_sim::PrinterSimulator;
using vextel_sim::SimulatorClock;
using vextel_sim::SimulatorOptions;
using xdirkit::DigestAuth;

const std::string kPdf = "%PDF-1.4\n1 0 obj <</Type /Pages /Count 2>>\n"
                         "2 0 obj <</Type /Page>>\n3 0 obj <</Type/Page>>\n%%EOF\n";

std::string scrambled(const std::string& password) {
    unsigned char bytes[8];
    int32_t length = 0;
    XspEncrypt(reinterpret_cast<const unsigned char*>(password.data()),
               static_cast<int32_t>(password.size()), bytes, &length, sizeof bytes);
    char text[16];
    int32_t textLength = 0;
    XspBinToB64(bytes, length, text, &textLength, sizeof text);
    return std::string(text, static_cast<std::size_t>(textLength));
}

FaxTicket ticketFor(const std::string& uuid) {
    FaxTicket ticket;
    ticket.jobUuid = "urn:uuid:" + uuid;
    ticket.jobId = 3;
    ticket.user = "dana";
    ticket.recipients = {{1, "Northwind Office", "0312345678"}, {2, "Ada", "0207946001"}};
    ticket.senderMode = "EnterName";
    ticket.coverPage = "Standard";
    ticket.imageQuality = "Fine";
    ticket.transmissionReport = "OnError";
    ticket.delayedTime = "09:05";
    ticket.password = scrambled("4826");
    return ticket;
}

std::string headerOf(const std::string& ticketJson) {
    return "VEXTEL-FAX-JOB 1 " + std::to_string(ticketJson.size()) + "\n";
}

// ---- The dial plan

TEST(DialPlanTest, TheFirstMatchingRuleDecidesAndAnUnmatchedNumberIsSent) {
    std::string error;
    const auto plan = DialPlan::parse("# office lines\n"
                                      "0207946001  busy 3\n"
                                      "0312+       sent 2   # second try gets through\n"
                                      "?9+         no-answer\n"
                                      "0#*-:=      failed 1\n"
                                      "seconds-per-page 2.5\n"
                                      "retry-interval 90\n",
                                      &error);
    ASSERT_TRUE(plan) << error;
    const std::tuple<const char*, DialPlan::Outcome, int> rows[] = {
        {"0207946001", DialPlan::Outcome::Busy, 3}, {"0312", DialPlan::Outcome::Sent, 2},
        {"0312345678", DialPlan::Outcome::Sent, 2}, {"0912", DialPlan::Outcome::NoAnswer, 3},
        {"0#*-:=", DialPlan::Outcome::Failed, 1},   {"0207946002", DialPlan::Outcome::Sent, 1},
        {"9", DialPlan::Outcome::Sent, 1},
    };
    for (const auto& [number, outcome, tries] : rows) {
        EXPECT_EQ(plan->fateOf(number).outcome, outcome) << number;
        EXPECT_EQ(plan->fateOf(number).tries, tries) << number;
    }
    EXPECT_EQ(plan->secondsPerPage(), 2.5);
    EXPECT_EQ(plan->retryInterval(), 90);
}

TEST(DialPlanTest, ALineItCannotReadIsNamed) {
    const std::pair<const char*, const char*> rows[] = {
        {"0123", "line 1: a rule is PATTERN OUTCOME [TRIES]"},
        {"\n0123 ringing", "line 2: unknown outcome: ringing"},
        {"01+2 sent", "line 1: not a number pattern: 01+2"},
        {"+49 sent", "line 1: not a number pattern: +49"},
        {"0123 busy 0", "line 1: tries are 1 to 10: 0"},
        {"0123 busy 11", "line 1: tries are 1 to 10: 11"},
        {"0123 busy 2 3", "line 1: a rule is PATTERN OUTCOME [TRIES]"},
        {"seconds-per-page fast", "line 1: seconds-per-page takes seconds from 0 to 3600"},
        {"retry-interval -1", "line 1: retry-interval takes seconds from 0 to 3600"},
    };
    for (const auto& [text, message] : rows) {
        std::string error;
        EXPECT_FALSE(DialPlan::parse(text, &error)) << text;
        EXPECT_EQ(error, message);
    }
}

// ---- The job port and the transmission

class FaxJobsTest : public testing::Test {
protected:
    FaxJobsTest() { options_.password = "4826"; }

    void startSender(const std::string& plan, std::optional<int> clockStart, int speed) {
        clock_ = std::make_unique<SimulatorClock>(clockStart, speed);
        sender_ = std::make_unique<FaxSender>(log_, *DialPlan::parse(plan, nullptr), *clock_);
        port_ = std::make_unique<JobPort>(options_, log_, *sender_, *clock_);
        sender_->start();
    }

    std::string send(const FaxTicket& ticket, const std::string& document = kPdf) {
        const std::string json = ticket.toJson();
        return port_->take(headerOf(json), json, document, false);
    }

    // The job once it reached the state; the last seen otherwise.
    FaxLog::Job waitFor(const std::string& uuid, const std::string& state) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        std::optional<FaxLog::Job> job = log_.find(uuid);
        while (job && job->state != state && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            job = log_.find(uuid);
        }
        return job.value_or(FaxLog::Job{});
    }

    SimulatorOptions options_;
    FaxLog log_;
    std::unique_ptr<SimulatorClock> clock_;
    std::unique_ptr<FaxSender> sender_;
    std::unique_ptr<JobPort> port_;
};

TEST_F(FaxJobsTest, TheJobPortRefusesWhatItCannotSendWithADocumentedCode) {
    startSender("", std::nullopt, 1);
    ASSERT_EQ(send(ticketFor("a1")), "ACCEPTED urn:uuid:a1\n");
    FaxTicket wrongPassword = ticketFor("a2");
    wrongPassword.password = scrambled("1111");
    FaxTicket noRecipients = ticketFor("a3");
    noRecipients.recipients.clear();
    const std::string good = ticketFor("a4").toJson();
    struct Case {
        const char* what;
        std::string header;
        std::string ticket;
        std::string document;
        bool tooLarge;
        std::string answer;
    };
    const Case cases[] = {
        {"a bare PDF", "", "", kPdf, false, "REFUSED bad-header not a fax job\n"},
        {"version 2", "VEXTEL-FAX-JOB 2 10\n", "", kPdf, false,
         "REFUSED unsupported-version fax job version 2 is not known\n"},
        {"cut inside the ticket", headerOf(good), good.substr(0, 20), "", false,
         "REFUSED bad-header the stream ends inside the ticket\n"},
        {"no recipients", headerOf(noRecipients.toJson()), noRecipients.toJson(), kPdf, false,
         "REFUSED no-recipients the job has no recipients\n"},
        {"no document", headerOf(good), good, "", false,
         "REFUSED bad-document no PDF document follows the ticket\n"},
        {"too large", headerOf(good), good, kPdf, true,
         "REFUSED bad-document the document is over 64 MiB\n"},
        {"wrong password", headerOf(wrongPassword.toJson()), wrongPassword.toJson(), kPdf, false,
         "REFUSED wrong-password the password is not the printer's code\n"},
        {"the same job again", headerOf(ticketFor("a1").toJson()), ticketFor("a1").toJson(), kPdf,
         false, "REFUSED duplicate-job the printer already holds this job\n"},
    };
    for (const Case& row : cases)
        EXPECT_EQ(port_->take(row.header, row.ticket, row.document, row.tooLarge), row.answer)
            << row.what;
    EXPECT_FALSE(log_.find("a2"));
    EXPECT_FALSE(log_.find("a4")) << "refused jobs stay out of the log";
}

TEST_F(FaxJobsTest, EachRecipientIsDialedAsThePlanSaysAndTheLogKeepsEveryTry) {
    startSender("0207946001 busy 3\n0312+ sent 2\nseconds-per-page 60\nretry-interval 60\n",
                std::nullopt, 3600);
    ASSERT_EQ(send(ticketFor("b1")), "ACCEPTED urn:uuid:b1\n");
    const FaxLog::Job job = waitFor("urn:uuid:b1", "failed");
    EXPECT_EQ(job.state, "failed");
    EXPECT_EQ(job.pages, 2);
    EXPECT_TRUE(job.passwordChecked);
    ASSERT_EQ(job.recipients.size(), 2u);
    EXPECT_EQ(job.recipients[0].state, "sent");
    EXPECT_EQ(job.recipients[0].tries, 2);
    EXPECT_EQ(job.recipients[1].state, "busy");
    EXPECT_EQ(job.recipients[1].tries, 3);
    EXPECT_FALSE(job.recipients[1].time.empty());
    EXPECT_TRUE(job.ticket.password.empty()) << "the log keeps no password";
}

TEST_F(FaxJobsTest, ADelayedJobWaitsForItsTimeOnThePrintersClock) {
    // 08:59 now; the job is for 09:05, six printer minutes, 0.6 s at 600 times the speed.
    startSender("", 8 * 60 + 59, 600);
    FaxTicket ticket = ticketFor("c1");
    ticket.delayedSend = true;
    ASSERT_EQ(send(ticket), "ACCEPTED urn:uuid:c1\n");
    const auto waiting = log_.find("c1");
    ASSERT_TRUE(waiting);
    EXPECT_EQ(waiting->state, "delayed");
    EXPECT_EQ(SimulatorClock::format(waiting->sendAt).substr(11), "09:05:00");
    EXPECT_EQ(waiting->recipients[0].state, "waiting");
    const FaxLog::Job sent = waitFor("c1", "sent");
    ASSERT_EQ(sent.state, "sent");
    EXPECT_GE(sent.recipients[0].time.substr(11), "09:05:00");
}

TEST_F(FaxJobsTest, TheFaxLogIsServedWithDigestLikeTheBook) {
    startSender("", std::nullopt, 3600);
    ASSERT_EQ(send(ticketFor("d1")), "ACCEPTED urn:uuid:d1\n");
    waitFor("d1", "sent");
    options_.listen = {{"127.0.0.1", 0}};
    PrinterSimulator simulator(options_, {}, &log_);
    std::string error;
    ASSERT_TRUE(simulator.bind(&error)) << error;
    simulator.start();
    const std::string address = simulator.addresses().front();
    httplib::Client client("127.0.0.1", std::stoi(address.substr(address.find(':') + 1)));
    const auto get = [&](const std::string& path, const std::string& code) {
        const auto challenge =
            DigestAuth::parseChallenge(client.Get(path)->get_header_value("WWW-Authenticate"));
        return client.Get(path, {{"Authorization", DigestAuth::formatCredentials(
                                                       *challenge, "GET", path, code, 1, "cn")}});
    };
    EXPECT_EQ(client.Get("/vextel/v1/fax-jobs")->status, 401);
    EXPECT_EQ(get("/vextel/v1/fax-jobs", "0000")->status, 401);
    const auto list = get("/vextel/v1/fax-jobs", "4826");
    ASSERT_EQ(list->status, 200);
    const auto jobs = nlohmann::json::parse(list->body)["jobs"];
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0]["jobUuid"], "urn:uuid:d1");
    EXPECT_EQ(jobs[0]["recipients"][1]["state"], "sent");
    EXPECT_EQ(list->body.find("password\""), std::string::npos);
    EXPECT_EQ(get("/vextel/v1/fax-jobs/d1", "4826")->status, 200);
    EXPECT_EQ(get("/vextel/v1/fax-jobs/urn:uuid:d1", "4826")->status, 200);
    EXPECT_EQ(get("/vextel/v1/fax-jobs/e2", "4826")->status, 404);
}

} // namespace
