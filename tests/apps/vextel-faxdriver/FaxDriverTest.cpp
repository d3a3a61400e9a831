// The driver as the scheduler runs it: a process with the filter's arguments, the PPD and device
// in its environment, the document as a file, and the printer's answer on descriptor 3.
#include "FaxJobWire.h"

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using faxjob::FaxJobWire;
using faxjob::FaxTicket;

const std::string kDriver = VEXTEL_BINARY_DIR "/bin/vextel-faxdriver";
const std::string kPpd = VEXTEL_SOURCE_DIR "/resources/ppd/Tarvik-M40-Vextel-Fax.ppd";
const std::string kDocument = VEXTEL_SOURCE_DIR "/resources/samples/fax-sample.pdf";
const std::string kUuid = "urn:uuid:6c2f1a3e-2b1d-4c7a-9f0e-0a1b2c3d4e5f";

// The walkthrough's fax entries as the scheduler writes argv[5]; the transmission report is
// left to the PPD's default.
const std::string kFaxOptions =
    "job-uuid=" + kUuid +
    " TKFaxImageQuality=Fine TKFaxCoverPageMode=Detailed"
    " tarvik.print.printsettings.VTelCoverSenderName='Dana Whitfield'"
    " tarvik.print.printsettings.VTelPassword=RV5IRQ=="
    " tarvik.print.printsettings.VTelDelayedPrint=1"
    " tarvik.print.printsettings.VTelDelayedTime=21:30"
    " tarvik.print.printsettings.VTelDestinationNumber=2"
    " tarvik.print.printsettings.VTelDestinationName1='Northwind Office'"
    " tarvik.print.printsettings.VTelDestinationPhoneNumber1=0312345678"
    " tarvik.print.printsettings.VTelDestinationName2='Ada Lovelace'"
    " tarvik.print.printsettings.VTelDestinationPhoneNumber2=0207946001";

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct DriverRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class FaxDriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        char folder[] = "/tmp/vextel-faxdriver-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        folder_ = folder;
    }
    void TearDown() override { std::system(("rm -rf '" + folder_ + "'").c_str()); }

    DriverRun run(const std::string& options, const std::string& deviceUri,
                  const std::string& answer) {
        const std::string out = folder_ + "/out", err = folder_ + "/err", back = folder_ + "/back";
        std::ofstream(back, std::ios::binary) << answer;
        const pid_t child = fork();
        if (child == 0) {
            const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int backFd = open(back.c_str(), O_RDONLY);
            dup2(outFd, 1);
            dup2(errFd, 2);
            dup2(backFd, 3);
            setenv("PPD", kPpd.c_str(), 1);
            setenv("DEVICE_URI", deviceUri.c_str(), 1);
            // No scheduler to ask: the options carry the UUID.
            setenv("CUPS_SERVER", (folder_ + "/no-scheduler").c_str(), 1);
            execl(kDriver.c_str(), "vextel-faxdriver", "17", "dana", "Quarterly report", "1",
                  options.c_str(), kDocument.c_str(), nullptr);
            _exit(127);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(out), readFile(err)};
    }

    std::string folder_;
};

TEST_F(FaxDriverTest, WritesTheTicketThenTheDocumentAndReportsThePrintersAnswer) {
    const std::string document = readFile(kDocument);
    ASSERT_EQ(document.rfind("%PDF-", 0), 0u);
    struct Case {
        const char* what;
        std::string options;
        std::string deviceUri;
        std::string answer;
        int exitCode;
        bool writesFaxJob;
        std::string message;
    };
    const Case cases[] = {
        {"accepted", kFaxOptions, "socket://127.0.0.1:9100", FaxJobWire::accepted(kUuid), 0, true,
         "INFO: The printer took the fax job"},
        {"refused", kFaxOptions, "socket://127.0.0.1:9100",
         "REFUSED wrong-password the password is not the printer's code\n", 1, true,
         "ERROR: The printer refused the fax: the password is not the printer's code "
         "(wrong-password)"},
        {"no answer", kFaxOptions, "socket://127.0.0.1:9100", "", 0, true,
         "WARNING: The printer did not confirm the fax job"},
        {"plain lp", "job-uuid=" + kUuid + " TKFaxImageQuality=Fine", "socket://127.0.0.1:9100", "",
         1, false, "ERROR: Fax not sent: the job has no fax recipients"},
        {"capture queue", "job-uuid=" + kUuid + " TKFaxImageQuality=Fine", "vextel-fax:/M40", "", 0,
         false, ""},
    };
    for (const Case& row : cases) {
        const DriverRun result = run(row.options, row.deviceUri, row.answer);
        EXPECT_EQ(result.exitCode, row.exitCode) << row.what << "\n" << result.err;
        EXPECT_NE(result.err.find(row.message), std::string::npos) << row.what << "\n"
                                                                   << result.err;
        if (!row.writesFaxJob) {
            // Nothing at all, or the document untouched for the capture queue.
            EXPECT_EQ(result.out, row.exitCode == 0 ? document : "") << row.what;
            continue;
        }
        const std::size_t newline = result.out.find('\n');
        ASSERT_NE(newline, std::string::npos) << row.what;
        const auto length = FaxJobWire::parseHeader(result.out.substr(0, newline), nullptr);
        ASSERT_TRUE(length) << row.what;
        const auto ticket = FaxTicket::fromJson(result.out.substr(newline + 1, *length), nullptr);
        ASSERT_TRUE(ticket) << row.what;
        EXPECT_EQ(ticket->recipients.size(), 2u);
        EXPECT_EQ(ticket->recipients[1].name, "Ada Lovelace");
        EXPECT_EQ(ticket->senderName, "Dana Whitfield");
        EXPECT_EQ(ticket->transmissionReport, "OnError") << "the PPD's default";
        EXPECT_EQ(ticket->imageQuality, "Fine");
        EXPECT_EQ(ticket->jobUuid, kUuid);
        EXPECT_EQ(ticket->title, "Quarterly report");
        EXPECT_EQ(result.out.substr(newline + 1 + *length), document) << row.what;
    }
}

} // namespace
