#include "FaxJobWire.h"

#include <gtest/gtest.h>

namespace {

using faxjob::FaxJobWire;
using faxjob::FaxTicket;
using faxjob::TicketError;

TEST(FaxJobWireTest, TheFrameAnnouncesTheTicketItCarries) {
    FaxTicket ticket;
    ticket.jobUuid = "urn:uuid:1";
    ticket.recipients = {{1, "A", "1"}};
    const std::string framed = FaxJobWire::frame(ticket);
    const std::size_t newline = framed.find('\n');
    ASSERT_NE(newline, std::string::npos);
    EXPECT_EQ(framed.rfind("VEXTEL-FAX-JOB 1 ", 0), 0u);
    TicketError error;
    const auto length = FaxJobWire::parseHeader(framed.substr(0, newline + 1), &error);
    ASSERT_TRUE(length) << error.reason;
    EXPECT_EQ(framed.substr(newline + 1), ticket.toJson());
    EXPECT_EQ(*length, framed.size() - newline - 1);
}

TEST(FaxJobWireTest, HeadersThatAreNotVersionOneAreRefused) {
    const std::pair<const char*, const char*> rows[] = {
        {"%PDF-1.7", "bad-header"},
        {"VEXTEL-FAX-JOB", "bad-header"},
        {"VEXTEL-FAX-JOB 1", "bad-header"},
        {"VEXTEL-FAX-JOB 1 ", "bad-header"},
        {"VEXTEL-FAX-JOB 1 0", "bad-header"},
        {"VEXTEL-FAX-JOB 1 12x", "bad-header"},
        {"VEXTEL-FAX-JOB 1 -5", "bad-header"},
        {"VEXTEL-FAX-JOB 1 65537", "bad-header"},
        {"VEXTEL-FAX-JOB x 10", "bad-header"},
        {"VEXTEL-FAX-JOB 2 10", "unsupported-version"},
        {"VEXTEL-FAX-JOBS 1 10", "bad-header"},
    };
    for (const auto& [line, code] : rows) {
        TicketError error;
        EXPECT_FALSE(FaxJobWire::parseHeader(line, &error)) << line;
        EXPECT_EQ(error.code, code) << line;
    }
    TicketError error;
    EXPECT_EQ(FaxJobWire::parseHeader("VEXTEL-FAX-JOB 1 65536\r\n", &error), 65536u);
}

TEST(FaxJobWireTest, AnswersAreReadAsTheyWereWritten) {
    const auto accepted = FaxJobWire::parseAnswer(FaxJobWire::accepted("urn:uuid:9"));
    ASSERT_TRUE(accepted);
    EXPECT_TRUE(accepted->accepted);
    EXPECT_EQ(accepted->jobUuid, "urn:uuid:9");

    // A reason with a line break stays one line: it cannot end the answer early.
    const std::string line = FaxJobWire::refused({"wrong-password", "the password\nis wrong"});
    EXPECT_EQ(line, "REFUSED wrong-password the password is wrong\n");
    const auto refused = FaxJobWire::parseAnswer(line);
    ASSERT_TRUE(refused);
    EXPECT_FALSE(refused->accepted);
    EXPECT_EQ(refused->refusal.code, "wrong-password");
    EXPECT_EQ(refused->refusal.reason, "the password is wrong");

    for (const char* noAnswer : {"", "OK", "REFUSED ", "accepted urn:uuid:1"})
        EXPECT_FALSE(FaxJobWire::parseAnswer(noAnswer)) << noAnswer;
}

} // namespace
