#include "help/HelpCenter.h"

#include "kit/Bundle.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {

const QString testBundlePath =
    QStringLiteral(VEXTEL_BINARY_DIR "/tests/fixtures/TestBundle.bundle");
const QString bookName = QStringLiteral("Test Bundle Help");

class HelpCenterTest : public ::testing::Test {
protected:
    void SetUp() override { help::unregisterAllBooks(); }
    void TearDown() override {
        help::unregisterAllBooks();
        kit::Bundle::setPreferredLanguagesForTesting({});
    }

    QString resources() const {
        return QDir(testBundlePath).canonicalPath() + "/Contents/Resources";
    }
};

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

TEST_F(HelpCenterTest, RegisteredBookOpensPagesWithAnchors) {
    kit::Bundle::setPreferredLanguagesForTesting({"en"});
    EXPECT_FALSE(help::isRegistered(bookName));
    ASSERT_TRUE(help::registerBook(testBundlePath));
    EXPECT_TRUE(help::isRegistered(bookName));
    EXPECT_EQ(help::bookFolder(bookName), resources() + "/en.lproj/TestHelp");

    help::ViewerRecorder viewer;
    help::gotoPage(bookName, "index.htm", "sending");
    help::gotoPage(bookName, "Recipients.htm", {});
    help::gotoPage(bookName, "pages/Sub.htm", {});
    const auto urls = viewer.openedUrls();
    ASSERT_EQ(urls.size(), 3);
    EXPECT_EQ(urls[0].toString(), "file://" + resources() + "/en.lproj/TestHelp/index.htm#sending");
    EXPECT_EQ(urls[1].toString(), "file://" + resources() + "/en.lproj/TestHelp/Recipients.htm");
    EXPECT_FALSE(urls[1].hasFragment());
    EXPECT_EQ(urls[2].toLocalFile(), resources() + "/en.lproj/TestHelp/pages/Sub.htm");
}

TEST_F(HelpCenterTest, BookOfThePreferredLanguage) {
    kit::Bundle::setPreferredLanguagesForTesting({"de_DE"});
    ASSERT_TRUE(help::registerBook(testBundlePath));
    help::ViewerRecorder viewer;
    help::gotoPage(bookName, "index.htm", {});
    EXPECT_THAT(viewer.openedUrls(),
                ElementsAre(QUrl::fromLocalFile(resources() + "/de.lproj/TestHelp/index.htm")));
}

TEST_F(HelpCenterTest, UnknownBooksAndMissingPagesOpenNothing) {
    kit::Bundle::setPreferredLanguagesForTesting({"en"});
    help::ViewerRecorder viewer;
    help::gotoPage(bookName, "index.htm", {}); // not registered yet
    ASSERT_TRUE(help::registerBook(testBundlePath));
    help::gotoPage("Another Book", "index.htm", {});
    help::gotoPage(bookName, "Missing.htm", "top");
    help::gotoPage(bookName, "", {});
    help::gotoPage(bookName, "pages", {}); // a folder is no page
    // A page path may not leave the book's folder.
    help::gotoPage(bookName, "../../Info.plist", {});
    help::gotoPage(bookName, "../Localizable.qm", {});
    help::gotoPage(bookName, resources() + "/en.lproj/TestHelp/index.htm", {});
    EXPECT_TRUE(viewer.openedUrls().isEmpty());
    EXPECT_TRUE(help::pageUrl("Another Book", "index.htm").isEmpty());
}

TEST_F(HelpCenterTest, BundlesWithoutABookRegisterNothing) {
    QTemporaryDir dir;
    const QByteArray header = "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>";
    ASSERT_TRUE(
        writeFile(dir.filePath("NoName.bundle/Contents/Info.plist"),
                  header + "<key>CFBundleHelpBookFolder</key><string>H</string></dict></plist>"));
    ASSERT_TRUE(QDir().mkpath(dir.filePath("NoName.bundle/Contents/Resources/en.lproj/H")));
    EXPECT_FALSE(help::registerBook(dir.filePath("NoName.bundle")));

    ASSERT_TRUE(writeFile(dir.filePath("NoFolder.bundle/Contents/Info.plist"),
                          header + "<key>CFBundleHelpBookName</key><string>Lost Book</string>"
                                   "<key>CFBundleHelpBookFolder</key><string>Absent</string>"
                                   "</dict></plist>"));
    EXPECT_FALSE(help::registerBook(dir.filePath("NoFolder.bundle")));
    EXPECT_FALSE(help::isRegistered("Lost Book"));

    // The book name must be a string, not any value under the key.
    ASSERT_TRUE(
        writeFile(dir.filePath("Typed.bundle/Contents/Info.plist"),
                  header + "<key>CFBundleHelpBookName</key><integer>5</integer>"
                           "<key>CFBundleHelpBookFolder</key><string>H</string></dict></plist>"));
    ASSERT_TRUE(QDir().mkpath(dir.filePath("Typed.bundle/Contents/Resources/en.lproj/H")));
    EXPECT_FALSE(help::registerBook(dir.filePath("Typed.bundle")));
    EXPECT_FALSE(help::isRegistered("5"));

    EXPECT_FALSE(help::registerBook(dir.filePath("Missing.bundle")));
}
