#include "CaptureBackend.h"

#include "faxspool/FaxSpool.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

TEST(CaptureBackendTest, TheDeviceUriNamesTheRealQueueAndItsServer) {
    const struct {
        const char* uri;
        const char* target; // "SERVER|QUEUE"; null: refused
    } cases[] = {
        {"vextel-fax:/office-fax", "|office-fax"},
        {"vextel-fax://office-fax", "|office-fax"},
        {"vextel-fax://print-server.example/office-fax", "print-server.example|office-fax"},
        {"vextel-fax://192.0.2.9:8631/office-fax", "192.0.2.9:8631|office-fax"},
        {"vextel-fax://[2001:db8::1]:631/M40", "[2001:db8::1]:631|M40"},
        {"vextel-fax:///office-fax", "|office-fax"},
        {"vextel-fax://user@host/office-fax", nullptr},
        {"vextel-fax://host/", nullptr},
        {"vextel-fax:/", nullptr},
        {"vextel-fax:/office fax", nullptr},
        {"vextel-fax:/office/fax", nullptr},
        {"vextel-fax:/office#fax", nullptr},
        {"capture:/office-fax", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        const auto target = vextel_fax::targetOfDeviceUri(c.uri);
        EXPECT_EQ(target ? target->server + "|" + target->queue : "<refused>",
                  c.target != nullptr ? c.target : "<refused>")
            << c.uri;
    }
    EXPECT_EQ(vextel_fax::discoveryLine().rfind("direct vextel-fax \"Unknown\" ", 0), 0U);
}

class CaptureBackendJobTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vextel-fax-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        chmod(root_.c_str(), 0755);
        setenv("VEXTEL_FAX_SPOOL", root_.c_str(), 1);
        user_ = getpwuid(geteuid())->pw_name;
        document_ = root_ + "-document.pdf";
        std::ofstream(document_) << "%PDF-1.7 fax";
    }
    void TearDown() override {
        unsetenv("VEXTEL_FAX_SPOOL");
        if (mounted_)
            umount2(root_.c_str(), MNT_DETACH);
        fs::remove_all(root_);
        fs::remove(document_);
    }
    // The running user counts as a person's account here, and the queue as set up.
    static vextel_fax::Safeguards safeguards(std::optional<std::string> policy = "vextel-fax") {
        vextel_fax::Safeguards safeguards;
        safeguards.firstUserId = 0;
        safeguards.writerLimit = std::chrono::milliseconds(500);
        safeguards.queuePolicy = [policy](std::string* error) {
            *error = "no scheduler";
            return policy;
        };
        return safeguards;
    }
    int run(const std::string& user, const std::string& uri = "vextel-fax:/office-fax",
            vextel_fax::QueueState state = vextel_fax::QueueState::Present,
            const vextel_fax::Safeguards& checks = safeguards()) {
        return vextel_fax::runJob({"17", user, "Report", "2", "TKFaxImageQuality=Fine", document_},
                                  uri, checks,
                                  [state](const vextel_fax::FaxTarget&) { return state; });
    }
    std::string folder() const { return faxspool::userFolder(root_, user_); }

    std::string root_;
    std::string user_;
    std::string document_;
    bool mounted_ = false;
};

TEST_F(CaptureBackendJobTest, AJobLandsInTheUsersOwnFolder) {
    ASSERT_EQ(run(user_), vextel_fax::kBackendOk);

    struct stat info {};
    ASSERT_EQ(stat(folder().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700U);
    EXPECT_EQ(info.st_uid, geteuid());
    const auto jobs = faxspool::waitingJobs(folder());
    ASSERT_EQ(jobs.size(), 1U);
    std::string error;
    const auto job = faxspool::readJob(jobs.front(), &error);
    ASSERT_TRUE(job) << error;
    EXPECT_EQ(job->info.queue, "office-fax");
    EXPECT_EQ(job->info.title, "Report");
    EXPECT_EQ(job->info.jobId, "17");
    EXPECT_EQ(job->info.copies, 2);
    EXPECT_EQ(job->info.options, "TKFaxImageQuality=Fine");
    EXPECT_TRUE(faxspool::looksLikePdf(job->documentPath()));
}

TEST_F(CaptureBackendJobTest, JobsThatCannotBeDeliveredSaySoAndWriteNothing) {
    EXPECT_EQ(run("no-such-user-vextel"), vextel_fax::kBackendCancel);
    EXPECT_EQ(run(user_, "vextel-fax:/"), vextel_fax::kBackendStop);
    // The scheduler says the fax queue is missing, or is a capture queue (the job would loop).
    EXPECT_EQ(run(user_, "vextel-fax:/NoSuchQueue", vextel_fax::QueueState::Missing),
              vextel_fax::kBackendStop);
    EXPECT_EQ(run(user_, "vextel-fax:/Fax", vextel_fax::QueueState::CaptureQueue),
              vextel_fax::kBackendStop);
    EXPECT_FALSE(fs::exists(folder()));
    // A scheduler that cannot be asked now: the job is captured, the agent tries later.
    EXPECT_EQ(run(user_, "vextel-fax://192.0.2.9/M40", vextel_fax::QueueState::Unknown),
              vextel_fax::kBackendOk);
    std::string error;
    const auto waiting = faxspool::waitingJobs(folder());
    ASSERT_EQ(waiting.size(), 1U);
    EXPECT_EQ(faxspool::readJob(waiting.front(), &error)->info.server, "192.0.2.9");
    fs::remove_all(folder());

    // A folder others may write into could hold anything: the job waits instead.
    fs::create_directory(folder());
    chmod(folder().c_str(), 0777);
    EXPECT_EQ(run(user_), vextel_fax::kBackendHold);
    EXPECT_TRUE(fs::is_empty(folder()));
}

TEST_F(CaptureBackendJobTest, JobsWhoseSenderIsNotTrustedReachNoDesktop) {
    vextel_fax::Safeguards systemAccount = safeguards();
    systemAccount.firstUserId = geteuid() + 1;
    const struct {
        const char* label;
        vextel_fax::Safeguards checks;
        int expected;
        const char* message;
    } cases[] = {
        {"system account", systemAccount, vextel_fax::kBackendCancel, "is a system account"},
        {"queue without the policy", safeguards("default"), vextel_fax::kBackendStop,
         "lets anyone send jobs in another user's name"},
        {"policy unknown", safeguards(std::nullopt), vextel_fax::kBackendStop,
         "policy cannot be checked (no scheduler)"},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(run(user_, "vextel-fax:/office-fax", vextel_fax::QueueState::Present, c.checks),
                  c.expected)
            << c.label;
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(c.message), std::string::npos) << c.label << ": " << said;
        EXPECT_FALSE(fs::exists(folder())) << c.label;
    }
}

TEST_F(CaptureBackendJobTest, AControlCharacterInAUserNameReachesTheSchedulerAsAQuestionMark) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(run("evil\x1b]0;owned\x07\nERROR: x"), vextel_fax::kBackendCancel);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("\"evil?]0;owned??ERROR: x\""), std::string::npos) << said;
    EXPECT_EQ(said.find('\x1b'), std::string::npos);
}

TEST_F(CaptureBackendJobTest, AWriterThatStallsHoldsItsJobAndFreesTheQueue) {
    // The document comes through a pipe that never ends: the writer waits for it for ever, as
    // one its user stopped would.
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const auto started = std::chrono::steady_clock::now();
    testing::internal::CaptureStderr();
    const int status = vextel_fax::runJob(
        {"18", user_, "Report", "1", "", "/dev/fd/" + std::to_string(pipeFds[0])},
        "vextel-fax:/office-fax", safeguards(),
        [](const vextel_fax::FaxTarget&) { return vextel_fax::QueueState::Present; });
    const std::string said = testing::internal::GetCapturedStderr();
    close(pipeFds[0]);
    close(pipeFds[1]);
    EXPECT_EQ(status, vextel_fax::kBackendHold) << said;
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    EXPECT_NE(said.find("did not finish"), std::string::npos) << said;
    EXPECT_TRUE(faxspool::waitingJobs(folder()).empty());
}

TEST_F(CaptureBackendJobTest, AFullDiskHoldsTheJobAndLeavesNoPartOfIt) {
    // The spool on a file system too small for the document.
    mounted_ = mount("tmpfs", root_.c_str(), "tmpfs", 0, "size=64k,mode=0755") == 0;
    if (!mounted_)
        GTEST_SKIP() << "cannot mount a small file system here: " << std::strerror(errno);
    std::ofstream(document_) << "%PDF-1.7 fax\n" << std::string(256 * 1024, 'x');
    testing::internal::CaptureStderr();
    EXPECT_EQ(run(user_), vextel_fax::kBackendHold);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("job held"), std::string::npos) << said;
    EXPECT_TRUE(fs::is_empty(folder())) << "a partial job was left";
}

} // namespace
