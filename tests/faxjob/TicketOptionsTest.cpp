#include "TicketOptions.h"

#include <gtest/gtest.h>

namespace {

using faxjob::FaxRecipient;
using faxjob::JobIdentity;
using faxjob::TicketError;
using faxjob::TicketOptions;

const std::string kPrefix = "tarvik.print.printsettings.";
const JobIdentity kJob{17, "dana", "Quarterly report", "urn:uuid:0a1b"};

// The options of the walkthrough's job, as the scheduler hands them to the driver.
TicketOptions::Options walkthroughOptions() {
    return {{"TKFaxImageQuality", "Fine"},
            {"TKFaxTransmissionReport", "Always"},
            {"TKFaxCoverPageMode", "Detailed"},
            {"TKFaxSenderMode", "EnterName"},
            {kPrefix + "VTelCoverSenderName", "Dana Whitfield"},
            {kPrefix + "VTelPassword", "RV5IRQ=="},
            {kPrefix + "VTelDelayedPrint", "1"},
            {kPrefix + "VTelDelayedTime", "21:30"},
            {kPrefix + "VTelDestinationNumber", "2"},
            {kPrefix + "VTelDestinationName1", "Northwind Office"},
            {kPrefix + "VTelDestinationPhoneNumber1", "0312345678"},
            {kPrefix + "VTelDestinationName2", ""},
            {kPrefix + "VTelDestinationPhoneNumber2", "0207946001"},
            // Keys above the count are no recipients.
            {kPrefix + "VTelDestinationName3", "Stale"},
            {kPrefix + "VTelDestinationPhoneNumber3", "999"}};
}

TEST(TicketOptionsTest, EveryFaxEntryReachesTheTicketAsTheDialogWroteIt) {
    TicketError error;
    const auto ticket = TicketOptions::read(walkthroughOptions(), kJob, &error);
    ASSERT_TRUE(ticket) << error.reason;
    EXPECT_EQ(ticket->recipients, (std::vector<FaxRecipient>{{1, "Northwind Office", "0312345678"},
                                                             {2, "", "0207946001"}}));
    EXPECT_EQ(ticket->password, "RV5IRQ==");
    EXPECT_TRUE(ticket->delayedSend);
    EXPECT_EQ(ticket->delayedTime, "21:30");
    EXPECT_EQ(ticket->senderName, "Dana Whitfield");
    EXPECT_EQ(ticket->senderMode, "EnterName");
    EXPECT_EQ(ticket->coverPage, "Detailed");
    EXPECT_EQ(ticket->imageQuality, "Fine");
    EXPECT_EQ(ticket->transmissionReport, "Always");
    EXPECT_EQ(ticket->jobUuid, kJob.jobUuid);
    EXPECT_EQ(ticket->jobId, 17);
    EXPECT_EQ(ticket->user, "dana");
    EXPECT_EQ(ticket->title, "Quarterly report");
}

TEST(TicketOptionsTest, AJobThatCannotBeAFaxIsRefusedWithItsReason) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::optional<std::string>>> changes;
        const char* code;
    };
    const Case cases[] = {
        {"plain lp", {{"VTelDestinationNumber", std::nullopt}}, "no-recipients"},
        {"count 0", {{"VTelDestinationNumber", "0"}}, "bad-recipient"},
        {"count 31", {{"VTelDestinationNumber", "31"}}, "bad-recipient"},
        {"count not a number", {{"VTelDestinationNumber", "2x"}}, "bad-recipient"},
        {"count above the entries", {{"VTelDestinationNumber", "4"}}, "bad-recipient"},
        {"number missing", {{"VTelDestinationPhoneNumber1", std::nullopt}}, "bad-recipient"},
        {"number with a letter", {{"VTelDestinationPhoneNumber2", "02079A"}}, "bad-recipient"},
        {"time broken", {{"VTelDelayedTime", "9:30"}}, "bad-time"},
        {"password in clear", {{"VTelPassword", "12345"}}, "bad-password"},
    };
    for (const Case& row : cases) {
        TicketOptions::Options options = walkthroughOptions();
        for (const auto& [name, value] : row.changes) {
            if (value)
                options[kPrefix + name] = *value;
            else
                options.erase(kPrefix + name);
        }
        TicketError error;
        EXPECT_FALSE(TicketOptions::read(options, kJob, &error)) << row.what;
        EXPECT_EQ(error.code, row.code) << row.what << ": " << error.reason;
        EXPECT_FALSE(error.reason.empty()) << row.what;
    }
}

} // namespace
