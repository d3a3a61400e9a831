#include "faxspool/FaxSpool.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class FaxSpoolTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/faxspool-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string makeDocument(const std::string& text) {
        const std::string path = folder_ + ".in";
        std::ofstream(path, std::ios::binary) << text;
        documents_.push_back(path);
        return path;
    }
    std::optional<std::string> write(const faxspool::JobInfo& info, const std::string& text,
                                     std::string* error) {
        const int fd = open(makeDocument(text).c_str(), O_RDONLY);
        auto written = faxspool::writeJob(folder_, info, fd, error);
        close(fd);
        return written;
    }
    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    ~FaxSpoolTest() override {
        for (const auto& path : documents_) {
            fs::remove(path);
        }
    }

    std::string folder_;
    std::vector<std::string> documents_;
};

TEST_F(FaxSpoolTest, AWrittenJobReadsBackWhole) {
    faxspool::JobInfo info{"office-fax",
                           "Quarterly\nreport",
                           "dana",
                           "42",
                           3,
                           "TKFaxImageQuality=Fine job-uuid=urn:uuid:1",
                           "print-server.example:631"};
    std::string error;
    const auto written = write(info, "%PDF-1.4 body", &error);
    ASSERT_TRUE(written) << error;

    EXPECT_EQ(faxspool::waitingJobs(folder_), std::vector<std::string>{*written});
    const auto job = faxspool::readJob(*written, &error);
    ASSERT_TRUE(job) << error;
    EXPECT_EQ(job->info.queue, "office-fax");
    // A line break in the title must not start a key of its own.
    EXPECT_EQ(job->info.title, "Quarterly report");
    EXPECT_EQ(job->info.user, "dana");
    EXPECT_EQ(job->info.jobId, "42");
    EXPECT_EQ(job->info.copies, 3);
    EXPECT_EQ(job->info.options, info.options);
    EXPECT_EQ(job->info.server, "print-server.example:631");
    EXPECT_EQ(read(job->documentPath()), "%PDF-1.4 body");
    EXPECT_TRUE(faxspool::looksLikePdf(job->documentPath()));
}

TEST_F(FaxSpoolTest, OnlyCompleteJobsWaitAndRejectedOnesAreKeptAside) {
    std::string error;
    const auto first = write({"q", "one", "u", "7", 1, "", ""}, "%PDF-", &error);
    ASSERT_TRUE(first) << error;
    fs::create_directory(folder_ + "/.partial-abc");
    fs::create_directory(folder_ + "/job-zz-link-target");
    fs::create_directory_symlink(folder_ + "/job-zz-link-target", folder_ + "/job-zzz-link");
    std::ofstream(folder_ + "/job-file") << "not a folder";

    ASSERT_TRUE(faxspool::rejectJob(folder_ + "/job-zz-link-target", "broken", &error)) << error;
    EXPECT_EQ(faxspool::waitingJobs(folder_), std::vector<std::string>{*first});
    EXPECT_EQ(read(folder_ + "/rejected-job-zz-link-target/reason"), "broken\n");

    ASSERT_TRUE(faxspool::removeJob(*first, &error)) << error;
    EXPECT_TRUE(faxspool::waitingJobs(folder_).empty());
}

TEST_F(FaxSpoolTest, AJobThatCannotBeWrittenLeavesNothingBehind) {
    const int unreadable = open(folder_.c_str(), O_RDONLY | O_DIRECTORY);
    std::string error;
    EXPECT_FALSE(faxspool::writeJob(folder_, {"q", "t", "u", "1", 1, "", ""}, unreadable, &error));
    close(unreadable);
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fs::is_empty(folder_));

    std::string missing;
    EXPECT_FALSE(faxspool::readJob(folder_ + "/job-none", &missing));
    EXPECT_NE(missing.find("description is missing"), std::string::npos) << missing;
}

TEST_F(FaxSpoolTest, OnlyAFolderOfTheUserAloneIsTrusted) {
    const uid_t me = geteuid();
    const std::string link = folder_ + "-link";
    fs::create_directory_symlink(folder_, link);
    const std::string file = makeDocument("x");
    struct Case {
        const char* name;
        std::string path;
        mode_t mode;
        uid_t owner;
        const char* problem; // empty: trusted
    } cases[] = {
        {"private", folder_, 0700, me, ""},
        {"readable by others", folder_, 0755, me, ""},
        {"group may write", folder_, 0770, me, "may be written by other users (mode 770)"},
        {"anyone may write", folder_, 01777, me, "may be written by other users"},
        {"someone else's", folder_, 0700, me + 1, "belongs to user id"},
        {"a link", link, 0700, me, "is a symbolic link"},
        {"a file", file, 0600, me, "is not a folder"},
        {"missing", folder_ + "/none", 0700, me, "No such file"},
    };
    for (const Case& c : cases) {
        chmod(folder_.c_str(), c.mode);
        const auto problem = faxspool::folderProblem(c.path, c.owner);
        if (*c.problem == '\0') {
            EXPECT_FALSE(problem) << c.name << ": " << *problem;
        } else {
            ASSERT_TRUE(problem) << c.name;
            EXPECT_NE(problem->find(c.problem), std::string::npos) << c.name << ": " << *problem;
        }
    }
    chmod(folder_.c_str(), 0700);
    fs::remove(link);
}

TEST(FaxSpoolRootTest, TheRootComesFromTheEnvironmentOrTheSystemSpool) {
    const char* saved = getenv("VEXTEL_FAX_SPOOL");
    const std::string restore = saved != nullptr ? saved : "";
    setenv("VEXTEL_FAX_SPOOL", "/srv/fax", 1);
    EXPECT_EQ(faxspool::userFolder(faxspool::spoolRoot(), "dana"), "/srv/fax/dana");
    unsetenv("VEXTEL_FAX_SPOOL");
    EXPECT_EQ(faxspool::spoolRoot(), "/var/spool/vextel-fax");
    if (saved != nullptr) {
        setenv("VEXTEL_FAX_SPOOL", restore.c_str(), 1);
    }
}

} // namespace
