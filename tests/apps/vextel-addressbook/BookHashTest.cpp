#include "BookHash.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>

namespace {

using vextel_addressbook::BookHash;

TEST(BookHashTest, IsTheSha256OfTheBytesWhetherGivenOrReadFromTheFile) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const struct {
        std::string bytes;
        const char* sha256; // null: only compared with ofBytes
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        // Longer than a chunk the file is read in, and not a multiple of it.
        {std::string(200000, 'x') + "\r\nEND:VCARD\r\n", nullptr},
    };
    for (const auto& c : cases) {
        const QByteArray hash = BookHash::ofBytes(c.bytes);
        if (c.sha256 != nullptr) {
            EXPECT_EQ(hash.toHex(), QByteArray(c.sha256));
        }
        QFile file(folder.filePath("book.vcf"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.bytes.data(), static_cast<qint64>(c.bytes.size()));
        file.close();
        EXPECT_EQ(BookHash::ofFile(file.fileName()), hash) << c.bytes.size();
    }
    EXPECT_TRUE(BookHash::ofFile(folder.filePath("missing.vcf")).isEmpty());
}

} // namespace
