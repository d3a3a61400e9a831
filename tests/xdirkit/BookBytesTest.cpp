#include "BookBytes.h"

#include "xdirkit/XdirKit.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class BookBytesTest : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/xdirkit-bytes-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path folder_;
};

// Sizes around the page the memory is made of, and one of several megabytes.
TEST_F(BookBytesTest, ReadsEveryByteOfFilesOfAnySize) {
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    for (const std::size_t size :
         {std::size_t{0}, std::size_t{1}, page - 1, page, page + 1, std::size_t{3} << 20}) {
        std::string contents(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            contents[i] = static_cast<char>('a' + i * 7 % 26);
        const fs::path path = folder_ / ("book-" + std::to_string(size));
        std::ofstream(path, std::ios::binary) << contents;
        xdirkit::BookBytes bytes;
        ASSERT_EQ(bytes.read(path), XDIR_OK) << size;
        EXPECT_EQ(bytes.view(), contents) << size;
        // Read again into the same object: the earlier bytes are let go.
        ASSERT_EQ(bytes.read(path), XDIR_OK) << size;
        EXPECT_EQ(bytes.view().size(), size);
    }
}

// A file whose size says nothing of its contents (as the kernel's are) is read to its end,
// growing the memory as it goes.
TEST_F(BookBytesTest, AFileLongerThanItsStatedSizeIsReadToItsEnd) {
    std::ifstream in("/proc/self/maps", std::ios::binary);
    const std::string sample((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
    if (fs::file_size("/proc/self/maps") != 0 || sample.size() <= 4096)
        GTEST_SKIP() << "no file of this kind here";
    xdirkit::BookBytes bytes;
    ASSERT_EQ(bytes.read("/proc/self/maps"), XDIR_OK);
    EXPECT_GT(bytes.view().size(), 4096u);
    EXPECT_EQ(bytes.view().back(), '\n');
}

TEST_F(BookBytesTest, TellsAMissingFileFromOneThatCannotBeRead) {
    xdirkit::BookBytes bytes;
    EXPECT_EQ(bytes.read(folder_ / "none.vcf"), XDIR_ERR_FILE_NOT_FOUND);
    EXPECT_EQ(bytes.read(folder_), XDIR_ERR_FILE_UNREADABLE); // a folder
    EXPECT_TRUE(bytes.view().empty());
}

} // namespace
