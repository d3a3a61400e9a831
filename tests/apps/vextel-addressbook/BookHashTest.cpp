#include "BookHash.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>

namespace {

using vextel_addressbook::BookHash;

TEST(BookHashTest, NamesTheBytesAlikeWhetherGivenOrReadFromTheFile) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string longer = std::string(200000, 'x') + "\r\nEND:VCARD\r\n";
    // Longer than a chunk the file is read in, and not a multiple of it; one byte apart.
    const std::string cases[] = {"", "abc", "abd", longer, longer.substr(1)};
    QSet<QByteArray> names;
    for (const std::string& bytes : cases) {
        const QByteArray hash = BookHash::ofBytes(bytes);
        EXPECT_EQ(hash.size(), 16);
        names.insert(hash);
        QFile file(folder.filePath("book.vcf"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        file.close();
        EXPECT_EQ(BookHash::ofFile(file.fileName()), hash) << bytes.size();
    }
    EXPECT_EQ(names.size(), std::size(cases));
    EXPECT_TRUE(BookHash::ofFile(folder.filePath("missing.vcf")).isEmpty());
}

} // namespace
