#include "FaxTicket.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

using faxjob::FaxRecipient;
using faxjob::FaxTicket;
using faxjob::TicketError;

FaxTicket soundTicket() {
    FaxTicket ticket;
    ticket.jobUuid = "urn:uuid:6c2f1a3e-2b1d-4c7a-9f0e-0a1b2c3d4e5f";
    ticket.jobId = 17;
    ticket.user = "dana";
    ticket.title = "Quarterly report";
    ticket.recipients = {{1, "Northwind Office", "0312345678"}, {2, "", "0-3*9#:="}};
    ticket.senderMode = "EnterName";
    ticket.senderName = "Dana Whitfield";
    ticket.coverPage = "Detailed";
    ticket.imageQuality = "SuperFine";
    ticket.transmissionReport = "OnError";
    ticket.delayedSend = true;
    ticket.delayedTime = "21:30";
    ticket.password = "RV5IRQ==";
    return ticket;
}

TEST(FaxTicketTest, ASoundTicketComesBackFromItsJsonUnchanged) {
    const FaxTicket ticket = soundTicket();
    EXPECT_FALSE(ticket.check());
    TicketError error;
    const auto read = FaxTicket::fromJson(ticket.toJson(), &error);
    ASSERT_TRUE(read) << error.reason;
    EXPECT_EQ(*read, ticket);
}

TEST(FaxTicketTest, EachBrokenRuleIsRefusedWithItsCode) {
    struct Case {
        const char* what;
        std::function<void(FaxTicket&)> breakIt;
        const char* code;
    };
    const std::string name33(33, 'a');
    const std::string number51(51, '1');
    const Case cases[] = {
        {"no recipients", [](FaxTicket& t) { t.recipients.clear(); }, "no-recipients"},
        {"31 recipients",
         [](FaxTicket& t) {
             t.recipients.clear();
             for (int n = 1; n <= 31; ++n)
                 t.recipients.push_back({n, "", "1"});
         },
         "too-many-recipients"},
        {"numbering gap", [](FaxTicket& t) { t.recipients[1].number = 3; }, "bad-recipient"},
        {"name of 33", [&](FaxTicket& t) { t.recipients[0].name = name33; }, "bad-recipient"},
        {"name with a tab", [](FaxTicket& t) { t.recipients[0].name = "A\tB"; }, "bad-recipient"},
        {"name not ASCII", [](FaxTicket& t) { t.recipients[0].name = "J\xc3\xbcrgen"; },
         "bad-recipient"},
        {"empty number", [](FaxTicket& t) { t.recipients[0].faxNumber = ""; }, "bad-recipient"},
        {"number of 51", [&](FaxTicket& t) { t.recipients[0].faxNumber = number51; },
         "bad-recipient"},
        {"number with +", [](FaxTicket& t) { t.recipients[0].faxNumber = "+4930"; },
         "bad-recipient"},
        {"number with space", [](FaxTicket& t) { t.recipients[0].faxNumber = "03 12"; },
         "bad-recipient"},
        {"version 2", [](FaxTicket& t) { t.version = 2; }, "unsupported-version"},
        {"no uuid", [](FaxTicket& t) { t.jobUuid = ""; }, "bad-ticket"},
        {"sender name of 31", [](FaxTicket& t) { t.senderName = std::string(31, 'x'); },
         "bad-option"},
        {"unknown cover page", [](FaxTicket& t) { t.coverPage = "Fancy"; }, "bad-option"},
        {"unknown quality", [](FaxTicket& t) { t.imageQuality = "standard"; }, "bad-option"},
        {"unknown report", [](FaxTicket& t) { t.transmissionReport = ""; }, "bad-option"},
        {"unknown sender mode", [](FaxTicket& t) { t.senderMode = "Nobody"; }, "bad-option"},
        {"time 24:00", [](FaxTicket& t) { t.delayedTime = "24:00"; }, "bad-time"},
        {"time with seconds", [](FaxTicket& t) { t.delayedTime = "21:30:00"; }, "bad-time"},
        {"delayed without time", [](FaxTicket& t) { t.delayedTime = ""; }, "bad-time"},
        {"password not Base64", [](FaxTicket& t) { t.password = "12345"; }, "bad-password"},
        {"password too long", [](FaxTicket& t) { t.password = "MTIzNDU2"; }, "bad-password"},
        {"not a PDF", [](FaxTicket& t) { t.documentFormat = "text/plain"; }, "bad-document"},
    };
    for (const Case& row : cases) {
        FaxTicket ticket = soundTicket();
        row.breakIt(ticket);
        const auto broken = ticket.check();
        ASSERT_TRUE(broken) << row.what;
        EXPECT_EQ(broken->code, row.code) << row.what << ": " << broken->reason;
        TicketError error;
        EXPECT_FALSE(FaxTicket::fromJson(ticket.toJson(), &error)) << row.what;
        EXPECT_EQ(error.code, row.code) << row.what;
    }
}

TEST(FaxTicketTest, LimitsAndEmptyValuesThatArePermitted) {
    FaxTicket ticket = soundTicket();
    ticket.recipients.clear();
    for (int n = 1; n <= 30; ++n)
        ticket.recipients.push_back({n, std::string(32, '~'), std::string(50, '9')});
    ticket.senderName = std::string(30, ' ');
    ticket.password = "";
    ticket.delayedSend = false;
    ticket.delayedTime = "";
    EXPECT_FALSE(ticket.check());
    ticket.delayedTime = "00:00";
    EXPECT_FALSE(ticket.check());
}

TEST(FaxTicketTest, JsonThatIsNoTicketIsRefused) {
    const std::pair<const char*, const char*> rows[] = {
        {"", "bad-ticket"},
        {"[1]", "bad-ticket"},
        {R"({"recipients": []})", "bad-ticket"},
        {R"({"version": 7})", "unsupported-version"},
        {R"({"version": "1"})", "bad-ticket"},
        {R"({"version": 1, "recipients": {}})", "bad-ticket"},
        {R"({"version": 1, "recipients": [{"number": 1, "name": "A"}]})", "bad-ticket"},
        {R"({"version": 1, "recipients": [{"number": 1, "name": "A", "faxNumber": 1}]})",
         "bad-ticket"},
        {R"({"version": 1, "recipients": []})", "bad-ticket"}, // the other members are missing
    };
    for (const auto& [text, code] : rows) {
        TicketError error;
        EXPECT_FALSE(FaxTicket::fromJson(text, &error)) << text;
        EXPECT_EQ(error.code, code) << text;
    }
}

} // namespace
