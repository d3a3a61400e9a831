#include "vextelpde/XdirKitLibrary.h"

#include "kit/SystemLog.h"
#include "support/EnvironmentScope.h"
#include "vextelpde/AddressBookRecords.h"
#include "xdirkit/XdirKit.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tarvik_pde_m40vextel {
namespace {

namespace records = address_book_records;

const QByteArray kCard =
    "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Ann\r\nTEL;TYPE=fax:0301\r\nEND:VCARD\r\n";

// Files made by their bytes, as another program names them.
void makeFile(const QByteArray& path, const QByteArray& bytes) {
    FILE* handle = std::fopen(path.constData(), "wb");
    ASSERT_NE(handle, nullptr) << path.constData();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), handle);
    std::fclose(handle);
}

QByteArray bytesOf(const QByteArray& path) {
    QByteArray bytes;
    if (FILE* handle = std::fopen(path.constData(), "rb")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, handle)) > 0;) {
            bytes.append(buffer, static_cast<qsizetype>(n));
        }
        std::fclose(handle);
    }
    return bytes;
}

TEST(XdirKitLibraryTest, ABookOrFolderNameThatIsNotUtf8IsLeftOutWithALogLine) {
    QTemporaryDir temporary;
    ASSERT_TRUE(temporary.isValid());
    const QByteArray root = QFile::encodeName(temporary.path());
    const struct {
        const char* title;
        QByteArray folder;
        std::optional<QString> listed;
        QString logLine;
    } rows[] = {
        {"BookNameInLatin1", root + "/books",
         QString("Office.vcf") + QChar(0) + QString::fromUtf8("Zoë.vcf") + QChar(0),
         "XdirKitLibrary: book b%E4r.vcf is not UTF-8; left out"},
        {"FolderNameInLatin1", root + "/b\xe4r", std::nullopt,
         "XdirKitLibrary: folder " + QString::fromLatin1(root) + "/b%E4r is not UTF-8; left out"},
    };
    for (const auto& row : rows) {
        vextel_test::EnvironmentScope folder("VEXTEL_ADDRESS_BOOK_DIR", row.folder);
        ASSERT_NE(XdirGADFile_GetFileDirectory(), nullptr) << row.title;
        for (const QByteArray name : {"Office.vcf", "b\xe4r.vcf", "Zo\xc3\xab.vcf"}) {
            makeFile(row.folder + "/" + name, kCard);
        }
        kit::SystemLog::Capture log;
        XdirKitLibrary library;
        const auto directory = library.fileDirectory();
        EXPECT_EQ(directory.has_value(), row.listed.has_value()) << row.title;
        if (directory) {
            EXPECT_EQ(library.fileList(), row.listed) << row.title;
        }
        EXPECT_TRUE(log.contains(row.logLine))
            << row.title << ": " << log.lines().join('\n').toStdString();
    }
}

TEST(XdirKitLibraryTest, AnAddGoesOnlyToABookThatIsThere) {
    QTemporaryDir temporary;
    ASSERT_TRUE(temporary.isValid());
    vextel_test::EnvironmentScope folder("VEXTEL_ADDRESS_BOOK_DIR",
                                         QFile::encodeName(temporary.path()));
    const QByteArray book = QFile::encodeName(temporary.filePath("")) + "b\xe4r.vcf";
    makeFile(book, kCard);
    XdirKitLibrary library;
    XDIRMyFaxRecord record{};
    ASSERT_TRUE(
        records::writeText(reinterpret_cast<unsigned char*>(&record), records::kMyFaxName, "Bob"));
    ASSERT_TRUE(records::writeText(reinterpret_cast<unsigned char*>(&record), records::kMyFaxNumber,
                                   "0502"));
    const struct {
        const char* title;
        QString path;
        std::int32_t status;
    } rows[] = {
        // The name as text decodes it: the real book is not that file.
        {"NameDecodedFromLatin1", QFile::decodeName(book), XDIR_ERR_FILE_NOT_FOUND},
        {"Gone", temporary.filePath("Gone.vcf"), XDIR_ERR_FILE_NOT_FOUND},
        {"There", temporary.filePath("Office.vcf"), XDIR_OK},
    };
    makeFile(QFile::encodeName(temporary.filePath("Office.vcf")), kCard);
    for (const auto& row : rows) {
        kit::SystemLog::Capture log;
        auto data = library.createData();
        ASSERT_EQ(library.addMyFax(data, 1, &record), XDIR_OK);
        EXPECT_EQ(library.addFile(row.path, data, 0), row.status) << row.title;
        library.deleteData(data);
        EXPECT_EQ(log.lines().isEmpty(), row.status == XDIR_OK) << row.title;
    }
    EXPECT_FALSE(QFile::exists(QFile::decodeName(book))) << "no book was made";
    EXPECT_FALSE(QFile::exists(temporary.filePath("Gone.vcf")));
    EXPECT_EQ(bytesOf(book), kCard);
    EXPECT_TRUE(bytesOf(QFile::encodeName(temporary.filePath("Office.vcf"))).contains("FN:Bob"));
}

} // namespace
} // namespace tarvik_pde_m40vextel
