#include "AddressBookFolder.h"

#include "xdirkit/XdirKit.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iostream>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A scratch folder and the three variables the folder depends on, restored afterwards.
class AddressBookFolderTest : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/xdirkit-folder-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root_ = pattern;
        for (const char* name : kVariables) {
            const char* value = std::getenv(name);
            saved_.emplace_back(value ? std::optional<std::string>(value) : std::nullopt);
            ::unsetenv(name);
        }
    }
    void TearDown() override {
        for (std::size_t i = 0; i < std::size(kVariables); ++i) {
            if (saved_[i])
                ::setenv(kVariables[i], saved_[i]->c_str(), 1);
            else
                ::unsetenv(kVariables[i]);
        }
        fs::remove_all(root_);
    }

    static constexpr const char* kVariables[] = {"VEXTEL_ADDRESS_BOOK_DIR", "XDG_DATA_HOME",
                                                 "HOME"};
    fs::path root_;
    std::vector<std::optional<std::string>> saved_;
};

mode_t modeOf(const fs::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

void touch(const fs::path& path) {
    std::ofstream(path) << "BEGIN:VCARD\r\n";
}

// The list as one string, with each NUL shown as '|'.
std::string shownList(const char* list) {
    std::string shown;
    if (list == nullptr)
        return "<null>";
    while (*list != '\0') {
        shown += list;
        shown += '|';
        list += std::strlen(list) + 1;
    }
    return shown + '|';
}

// ---- Where the folder is

TEST_F(AddressBookFolderTest, FolderComesFromTheFirstVariableThatIsSet) {
    // "$R" stands for the scratch folder; an empty expectation means no folder.
    struct Case {
        const char* label;
        std::vector<std::pair<const char*, const char*>> environment;
        const char* expected;
    };
    const Case kCases[] = {
        {"override wins",
         {{"VEXTEL_ADDRESS_BOOK_DIR", "$R/over/"}, {"XDG_DATA_HOME", "$R/data"}, {"HOME", "$R/h"}},
         "$R/over"},
        {"data home",
         {{"XDG_DATA_HOME", "$R/data"}, {"HOME", "$R/h"}},
         "$R/data/vextel/address-books"},
        {"relative data home ignored",
         {{"XDG_DATA_HOME", "data"}, {"HOME", "$R/h"}},
         "$R/h/.local/share/vextel/address-books"},
        {"empty override ignored",
         {{"VEXTEL_ADDRESS_BOOK_DIR", ""}, {"HOME", "$R/h2"}},
         "$R/h2/.local/share/vextel/address-books"},
        {"nothing set", {}, ""},
    };
    const auto expand = [this](std::string text) {
        if (text.rfind("$R", 0) == 0)
            text.replace(0, 2, root_.string());
        return text;
    };
    for (const Case& c : kCases) {
        for (const char* name : kVariables)
            ::unsetenv(name);
        for (const auto& [name, value] : c.environment)
            ::setenv(name, expand(value).c_str(), 1);
        const auto directory = xdirkit::AddressBookFolder::directory();
        if (std::string(c.expected).empty()) {
            EXPECT_FALSE(directory) << c.label;
            continue;
        }
        ASSERT_TRUE(directory) << c.label;
        EXPECT_EQ(*directory, expand(c.expected)) << c.label;
        EXPECT_TRUE(fs::is_directory(*directory)) << c.label;
        EXPECT_EQ(modeOf(*directory), 0700u) << c.label;
    }
}

TEST_F(AddressBookFolderTest, AFileInTheWayGivesNoFolderAndNoList) {
    touch(root_ / "file");
    ::setenv("VEXTEL_ADDRESS_BOOK_DIR", (root_ / "file").c_str(), 1);
    EXPECT_EQ(XdirGADFile_GetFileDirectory(), nullptr);
    EXPECT_EQ(XdirGADFile_GetFileList(), nullptr);
}

TEST_F(AddressBookFolderTest, AFolderAnotherUserMayWriteGivesNoFolderAndNoList) {
    struct Case {
        const char* label;
        mode_t mode;
        uid_t owner; // -1: the running user
        gid_t group; // -1: the running user's group
    };
    const Case kCases[] = {
        {"every user may write", 01777, static_cast<uid_t>(-1), static_cast<gid_t>(-1)},
        {"a shared group may write", 0770, static_cast<uid_t>(-1), 65534},
        {"another user's folder", 0700, 65534, static_cast<gid_t>(-1)},
    };
    for (const Case& c : kCases) {
        const fs::path books = root_ / c.label;
        fs::create_directory(books);
        touch(books / "work.vcf");
        if (::chown(books.c_str(), c.owner, c.group) != 0) {
            std::cout << "skipped \"" << c.label << "\": only root can give a folder away\n";
            continue;
        }
        ASSERT_EQ(::chmod(books.c_str(), c.mode), 0) << c.label;
        ::setenv("VEXTEL_ADDRESS_BOOK_DIR", books.c_str(), 1);
        EXPECT_EQ(XdirGADFile_GetFileDirectory(), nullptr) << c.label;
        EXPECT_EQ(XdirGADFile_GetFileList(), nullptr) << c.label;
    }
}

// ---- What is listed

TEST_F(AddressBookFolderTest, ListsVcfFilesSortedEachEndedByANulAndTheListByAnEmptyName) {
    const fs::path books = root_ / "books";
    ::setenv("VEXTEL_ADDRESS_BOOK_DIR", books.c_str(), 1);
    ASSERT_STREQ(XdirGADFile_GetFileDirectory(), books.c_str());
    EXPECT_EQ(shownList(XdirGADFile_GetFileList()), "|");
    for (const char* name : {"work.vcf", "Family.vcf",
                             "b\xC3\xBC"
                             "ro.vcf",
                             "notes.txt", ".vcf", "old.vcf.bak", "x.VCF"})
        touch(books / name);
    fs::create_directory(books / "folder.vcf");
    fs::create_symlink(books / "work.vcf", books / "link.vcf");
    fs::create_symlink(books / "missing", books / "dangling.vcf");
    EXPECT_EQ(shownList(XdirGADFile_GetFileList()),
              "Family.vcf|b\xC3\xBCro.vcf|link.vcf|work.vcf||");
}

} // namespace
