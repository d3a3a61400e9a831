#include "BookFile.h"

#include "PersonalRecords.h"
#include "RecordText.h"
#include "xdirkit/XdirKit.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

class BookFileTest : public testing::Test {
protected:
    // In memory where there is a memory file system: these tests are about what a killed or
    // concurrent writer leaves, which renames decide, not about what reaches the disk, and a
    // thousand disk syncs would make them slow.
    void SetUp() override {
        std::string pattern = (::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                              std::string("/xdirkit-book-XXXXXX");
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        book_ = folder_ / "book.vcf";
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path folder_;
    fs::path book_;
};

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::vector<std::string> namesIn(const fs::path& path) {
    std::vector<std::string> names;
    if (!fs::exists(path))
        return names;
    xdirkit::PersonalRecords records;
    EXPECT_EQ(records.readFile(path), XDIR_OK);
    for (const XDIRMyFaxRecord& e : records.entries)
        names.push_back(
            xdirkit::utf8FromUtf16(*xdirkit::readField(e.name, XDIR_NAME_UNITS)).value_or("?"));
    return names;
}

// Adds entries named prefix0, prefix1, ... one call each, in a child process; the child's exit
// status is 0 when every add succeeded.
pid_t startAdding(const fs::path& book, const std::string& prefix, int count) {
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    XDIRDataRef data = XDIRData_Create();
    for (int i = 0; i < count; ++i) {
        XDIRMyFaxRecord record{};
        const std::string name = prefix + std::to_string(i);
        xdirkit::writeField(record.name, XDIR_NAME_UNITS, std::u16string(name.begin(), name.end()));
        xdirkit::writeField(record.faxNumber, XDIR_FAX_NUMBER_UNITS, u"0301");
        XDIRData_Delete(data);
        data = XDIRData_Create();
        if (XDIRData_Add_MyFax(data, 1, &record) != XDIR_OK ||
            XdirGADFile_Add(book.c_str(), data, 0) != XDIR_OK)
            ::_exit(1);
    }
    ::_exit(0);
}

std::vector<fs::path> leftovers(const fs::path& folder) {
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename() != "book.vcf" && entry.path().filename() != ".book.vcf.lock")
            found.push_back(entry.path().filename());
    return found;
}

// ---- Atomic and serialised changes

TEST_F(BookFileTest, AWriterKilledAtRandomInstantsLeavesTheOldOrTheNewBookEveryTime) {
    constexpr int kKills = 200;
    const unsigned seed =
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delayMicroseconds(0, 8000);
    std::string oldBytes;
    std::vector<std::string> oldNames;
    int killsWithNothingAdded = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        const std::string prefix = "K" + std::to_string(kill) + "-";
        const pid_t pid = startAdding(book_, prefix, 1000);
        ASSERT_GT(pid, 0);
        ::usleep(static_cast<useconds_t>(delayMicroseconds(random)));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);

        const std::string bytes = fs::exists(book_) ? slurp(book_) : "";
        ASSERT_EQ(bytes.substr(0, oldBytes.size()), oldBytes)
            << "seed " << seed << ", kill " << kill;
        const std::vector<std::string> names = namesIn(book_);
        ASSERT_GE(names.size(), oldNames.size()) << "seed " << seed << ", kill " << kill;
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string expected =
                i < oldNames.size() ? oldNames[i] : prefix + std::to_string(i - oldNames.size());
            ASSERT_EQ(names[i], expected) << "seed " << seed << ", kill " << kill;
        }
        ASSERT_TRUE(bytes.empty() || bytes.ends_with("END:VCARD\r\n")) << "seed " << seed;
        killsWithNothingAdded += names.size() == oldNames.size() ? 1 : 0;
        oldBytes = bytes;
        oldNames = names;
    }
    // The kills fell both before and after completed adds.
    EXPECT_GT(killsWithNothingAdded, 0);
    EXPECT_LT(killsWithNothingAdded, kKills);
    // The next change clears the temporary files of killed writers.
    const pid_t last = startAdding(book_, "last", 1);
    int status = -1;
    ::waitpid(last, &status, 0);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(leftovers(folder_), std::vector<fs::path>{});
}

TEST_F(BookFileTest, TwoProcessesAddingAtOnceLoseNothing) {
    constexpr int kEach = 500;
    const pid_t first = startAdding(book_, "A", kEach);
    const pid_t second = startAdding(book_, "B", kEach);
    int firstStatus = -1;
    int secondStatus = -1;
    ::waitpid(first, &firstStatus, 0);
    ::waitpid(second, &secondStatus, 0);
    EXPECT_EQ(firstStatus, 0);
    EXPECT_EQ(secondStatus, 0);
    const std::vector<std::string> names = namesIn(book_);
    std::set<std::string> expected;
    for (int i = 0; i < kEach; ++i) {
        expected.insert("A" + std::to_string(i));
        expected.insert("B" + std::to_string(i));
    }
    EXPECT_EQ(names.size(), 2u * kEach);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), expected);
}

TEST_F(BookFileTest, AChangeThatFailsWritesNothing) {
    std::ofstream(book_) << "old";
    EXPECT_EQ(
        xdirkit::BookFile::update(book_,
                                  [](const std::optional<std::string>& current, std::string& out) {
                                      EXPECT_EQ(current, "old");
                                      out = "new";
                                      return XDIR_ERR_DUPLICATE_ENTRY;
                                  }),
        XDIR_ERR_DUPLICATE_ENTRY);
    EXPECT_EQ(slurp(book_), "old");
    EXPECT_EQ(xdirkit::BookFile::update(book_,
                                        [](const std::optional<std::string>&, std::string& out) {
                                            out = "new";
                                            return XDIR_OK;
                                        }),
              XDIR_OK);
    EXPECT_EQ(slurp(book_), "new");
}

// ---- Files in a folder others may reach

// Adds one entry to book through the C interface; answers its status.
int32_t addOneEntry(const fs::path& book) {
    XDIRDataRef data = XDIRData_Create();
    XDIRMyFaxRecord record{};
    xdirkit::writeField(record.name, XDIR_NAME_UNITS, u"Planted");
    xdirkit::writeField(record.faxNumber, XDIR_FAX_NUMBER_UNITS, u"0301");
    int32_t status = XDIRData_Add_MyFax(data, 1, &record);
    if (status == XDIR_OK)
        status = XdirGADFile_Add(book.c_str(), data, 0);
    XDIRData_Delete(data);
    return status;
}

TEST_F(BookFileTest, AnAddNeverWritesThroughWhatAnotherUserCouldHavePlanted) {
    // Each set-up works on a folder holding book.vcf ("old") and a file outside it ("target")
    // that a planted link aims at; the add must answer the status and leave both as they were.
    struct Case {
        const char* label;
        std::function<bool(const fs::path& folder, const fs::path& book, const fs::path& target)>
            plant; // false: cannot be set up by this user
        int32_t expected;
    };
    const auto chmodTo = [](mode_t mode, bool folder) {
        return [mode, folder](const fs::path& f, const fs::path& b, const fs::path&) {
            return ::chmod((folder ? f : b).c_str(), mode) == 0;
        };
    };
    const Case kCases[] = {
        {"folder every user may write", chmodTo(0777, true), XDIR_ERR_FILE_UNREADABLE},
        {"folder in a shared group",
         [](const fs::path& f, const fs::path&, const fs::path&) {
             return ::chown(f.c_str(), static_cast<uid_t>(-1), 65534) == 0 &&
                    ::chmod(f.c_str(), 0770) == 0;
         },
         XDIR_ERR_FILE_UNREADABLE},
        {"book every user may write", chmodTo(0666, false), XDIR_ERR_FILE_UNREADABLE},
        {"book of another user",
         [](const fs::path&, const fs::path& b, const fs::path&) {
             return ::chown(b.c_str(), 65534, static_cast<gid_t>(-1)) == 0;
         },
         XDIR_ERR_FILE_UNREADABLE},
        {"read-only book", chmodTo(0444, false), XDIR_ERR_WRITE_FAILED},
        {"lock file linked elsewhere",
         [](const fs::path& f, const fs::path&, const fs::path& t) {
             fs::create_symlink(t, f / ".book.vcf.lock");
             return true;
         },
         XDIR_ERR_LOCK_FAILED},
        {"book a link to nothing",
         [](const fs::path&, const fs::path& b, const fs::path& t) {
             fs::remove(b);
             fs::create_symlink(t, b);
             return true;
         },
         XDIR_ERR_FILE_UNREADABLE},
    };
    for (const Case& c : kCases) {
        const fs::path folder = folder_ / c.label;
        const fs::path book = folder / "book.vcf";
        const fs::path target = folder_ / (std::string(c.label) + ".target");
        fs::create_directory(folder);
        ::chmod(folder.c_str(), 0700);
        std::ofstream(book) << "old";
        ::chmod(book.c_str(), 0600);
        if (!c.plant(folder, book, target)) {
            std::cout << "skipped \"" << c.label << "\": only root can set it up\n";
            continue;
        }
        const bool bookIsLink = fs::is_symlink(book);
        EXPECT_EQ(addOneEntry(book), c.expected) << c.label;
        EXPECT_FALSE(fs::exists(target)) << c.label;
        EXPECT_EQ(fs::is_symlink(book), bookIsLink) << c.label;
        if (!bookIsLink) {
            EXPECT_EQ(slurp(book), "old") << c.label;
        }
    }
}

TEST_F(BookFileTest, AChangeRemovesOnlyTheLibrarysOwnLeftovers) {
    std::ofstream(book_) << "";
    std::ofstream(folder_ / ".book.vcf.backup") << "the user's own";
    std::ofstream(folder_ / ".book.vcf.partial-Ab3xZ9") << "left by a killed writer";
    fs::create_symlink(book_, folder_ / ".book.vcf.partial-link00");
    ASSERT_EQ(addOneEntry(book_), XDIR_OK);
    EXPECT_EQ(slurp(folder_ / ".book.vcf.backup"), "the user's own");
    EXPECT_FALSE(fs::exists(folder_ / ".book.vcf.partial-Ab3xZ9"));
    EXPECT_TRUE(fs::is_symlink(folder_ / ".book.vcf.partial-link00"));
}

} // namespace
