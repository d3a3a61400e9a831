#include "UtilityFunctions.h"

#include "PpdFixture.h"
#include "help/HelpCenter.h"
#include "kit/Bundle.h"
#include "kit/Environment.h"
#include "kit/Resolver.h"
#include "kit/UserDatabase.h"
#include "support/TableUserDatabase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <arpa/inet.h>
#include <cstring>
#include <gtest/gtest.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>

using namespace tarvik_pde_m40vextel;
namespace enc = kit::TextEncoding;

namespace {

std::string capturedStderrOf(const std::function<void()>& action) {
    testing::internal::CaptureStderr();
    action();
    return testing::internal::GetCapturedStderr();
}

} // namespace

// ---- Password scrambling -------------------------------------------------------------------

TEST(CreateEncryptedString, FourDigitPasswordGivesEightCharactersEndingInTwoPads) {
    // printf '%s' 1234 | perl -0777 -ne '... xor with "qmzt" ...' | base64  ->  QF9JQA==
    EXPECT_EQ(CreateEncryptedString(QStringLiteral("1234"), enc::ShiftJIS_X0213),
              QStringLiteral("QF9JQA=="));
    const std::optional<QString> scrambled =
        CreateEncryptedString(QStringLiteral("9876"), enc::ISOLatin1);
    ASSERT_TRUE(scrambled);
    EXPECT_EQ(scrambled->size(), 8);
    EXPECT_TRUE(scrambled->endsWith(QLatin1String("==")));
}

TEST(CreateEncryptedString, RoundTripsThroughCreateDecryptedString) {
    const QString texts[] = {QStringLiteral("0000"), QStringLiteral("a"),
                             QStringLiteral("Größe 12"), QStringLiteral("日本語のパスワード")};
    for (const QString& text : texts) {
        for (const kit::StringEncoding encoding : {enc::UTF8, enc::ShiftJIS_X0213}) {
            const std::optional<QString> scrambled = CreateEncryptedString(text, encoding);
            ASSERT_TRUE(scrambled) << text.toStdString();
            EXPECT_EQ(CreateDecryptedString(*scrambled, encoding), text) << text.toStdString();
        }
    }
}

TEST(CreateEncryptedString, AcceptsAtMost189EncodedBytes) {
    const std::optional<QString> longest =
        CreateEncryptedString(QString(189, QLatin1Char('7')), enc::ISOLatin1);
    ASSERT_TRUE(longest);
    EXPECT_EQ(longest->size(), 252);
    EXPECT_EQ(CreateDecryptedString(*longest, enc::ISOLatin1), QString(189, QLatin1Char('7')));
    EXPECT_FALSE(CreateEncryptedString(QString(190, QLatin1Char('7')), enc::ISOLatin1));
    // 95 two-byte characters are 190 bytes in UTF-8.
    EXPECT_FALSE(CreateEncryptedString(QString(95, QChar(0x00E9)), enc::UTF8));
}

TEST(CreateEncryptedString, StopsAtTheFirstUnrepresentableCharacter) {
    EXPECT_FALSE(CreateEncryptedString(std::nullopt, enc::UTF8));
    EXPECT_FALSE(CreateEncryptedString(QString(), enc::UTF8));
    EXPECT_FALSE(CreateEncryptedString(QStringLiteral("€12"), enc::ISOLatin1));
    const std::optional<QString> truncated =
        CreateEncryptedString(QStringLiteral("12€34"), enc::ISOLatin1);
    EXPECT_EQ(truncated, CreateEncryptedString(QStringLiteral("12"), enc::ISOLatin1));
}

TEST(CreateDecryptedString, RefusesTextsThatAreNotScrambledForms) {
    EXPECT_FALSE(CreateDecryptedString(std::nullopt, enc::UTF8));
    EXPECT_FALSE(CreateDecryptedString(QString(), enc::UTF8));
    EXPECT_FALSE(CreateDecryptedString(QStringLiteral("QF9"), enc::UTF8));
    EXPECT_FALSE(CreateDecryptedString(QStringLiteral("QF-JQA=="), enc::UTF8));
    // Conversion to ASCII stops at the first character it cannot represent, as for any text.
    EXPECT_EQ(CreateDecryptedString(QStringLiteral("QF9JQA==\u00e9"), enc::UTF8),
              QStringLiteral("1234"));
    // "k8+S" unscrambles to the bytes E2 A2 E8, not valid UTF-8.
    EXPECT_FALSE(CreateDecryptedString(QStringLiteral("k8+S"), enc::UTF8));
}

// ---- Slash-decimal form --------------------------------------------------------------------

TEST(CopyEncodedString, EscapesOnlyTextsHoldingTheFourCharacters) {
    EXPECT_EQ(CopyEncodedString(QStringLiteral("ab"), enc::UTF8), QStringLiteral("ab"));
    EXPECT_EQ(CopyEncodedString(QString(""), enc::UTF8), QString(""));
    EXPECT_EQ(CopyEncodedString(QStringLiteral("a/b"), enc::UTF8), QStringLiteral("/97/47/98"));
    EXPECT_EQ(CopyEncodedString(QStringLiteral("a,b"), enc::UTF8), QStringLiteral("/97/44/98"));
    EXPECT_EQ(CopyEncodedString(QStringLiteral("'"), enc::UTF8), QStringLiteral("/39"));
    EXPECT_EQ(CopyEncodedString(QStringLiteral("\\"), enc::UTF8), QStringLiteral("/92"));
    // High bytes are written as signed values.
    EXPECT_EQ(CopyEncodedString(QStringLiteral("\u00ff/"), enc::ISOLatin1),
              QStringLiteral("/-1/47"));
    EXPECT_FALSE(CopyEncodedString(std::nullopt, enc::UTF8));
}

TEST(CopyEncodedString, ScansTheEncodedBytes) {
    // U+30BD (katakana SO) is 83 5C in Shift-JIS: its second byte is the backslash code.
    EXPECT_EQ(CopyEncodedString(QStringLiteral("\u30bd"), enc::ShiftJIS_X0213),
              QStringLiteral("/-125/92"));
    EXPECT_EQ(CopyEncodedString(QStringLiteral("\u30bd"), enc::UTF8), QStringLiteral("\u30bd"));
}

TEST(CopyEncodedString, ReportsTextsThatDoNotConvert) {
    std::optional<QString> result = QStringLiteral("unchanged");
    const std::string line = capturedStderrOf(
        [&] { result = CopyEncodedString(QString(256, QLatin1Char('a')), enc::UTF8); });
    EXPECT_FALSE(result);
    EXPECT_EQ(line, "CopyEncodedString : CFStringGetCString failed.\n");

    const std::string line2 = capturedStderrOf(
        [&] { result = CopyEncodedString(QStringLiteral("a/\u20ac"), enc::ISOLatin1); });
    EXPECT_FALSE(result);
    EXPECT_EQ(line2, "CopyEncodedString : CFStringGetCString failed.\n");
}

TEST(CopyEncodedString, RefusesAFormLongerThan1023CharactersInsteadOfCuttingIt) {
    // "/47" and then "/-128" for each U+0080: 3 + 204 * 5 = 1023 characters fit, one more not.
    const QString fits = QLatin1Char('/') + QString(204, QChar(0x0080));
    const std::optional<QString> encoded = CopyEncodedString(fits, enc::ISOLatin1);
    ASSERT_TRUE(encoded);
    EXPECT_EQ(encoded->size(), 1023);
    EXPECT_EQ(CopyDecodedString(encoded, enc::ISOLatin1), fits);

    for (int count : {205, 254}) {
        std::optional<QString> result = QStringLiteral("unchanged");
        const std::string line = capturedStderrOf([&] {
            result =
                CopyEncodedString(QLatin1Char('/') + QString(count, QChar(0x0080)), enc::ISOLatin1);
        });
        EXPECT_FALSE(result) << count;
        EXPECT_EQ(line, "CopyEncodedString : the encoded form exceeds 1023 characters.\n") << count;
    }
}

TEST(SlashDecimalForm, EveryEncodedTextDecodesWhole) {
    const struct {
        const char* name;
        QString text;
        kit::StringEncoding encoding;
    } kTexts[] = {
        {"255 bytes, longer than 255 when encoded",
         QLatin1Char('/') + QString(254, QLatin1Char('a')), enc::ASCII},
        {"NUL after the slash", QString::fromLatin1("/\0a", 3), enc::UTF8},
        {"NUL before the slash", QString::fromLatin1("a\0/b", 4), enc::UTF8},
        {"only NUL and a comma", QString::fromLatin1("\0,", 2), enc::ISOLatin1},
        {"Shift-JIS pairs", QString(127, QChar(0x30bd)), enc::ShiftJIS_X0213},
        {"byte-order mark first", QStringLiteral("\ufeff/x"), enc::UTF8},
    };
    for (const auto& row : kTexts) {
        const std::optional<QString> encoded = CopyEncodedString(row.text, row.encoding);
        ASSERT_TRUE(encoded) << row.name;
        EXPECT_TRUE(encoded->startsWith(QLatin1Char('/'))) << row.name;
        EXPECT_EQ(CopyDecodedString(encoded, row.encoding), row.text) << row.name;
    }
}

TEST(CopyDecodedString, ReversesTheSlashDecimalForm) {
    EXPECT_EQ(CopyDecodedString(QStringLiteral("/97/47/98"), enc::UTF8), QStringLiteral("a/b"));
    EXPECT_EQ(CopyDecodedString(QStringLiteral("/"), enc::UTF8), QStringLiteral("/"));
    EXPECT_EQ(CopyDecodedString(QStringLiteral("plain"), enc::UTF8), QStringLiteral("plain"));
    EXPECT_EQ(CopyDecodedString(QString(""), enc::UTF8), QString(""));
    // What the encoder never writes is no slash-decimal form.
    EXPECT_FALSE(CopyDecodedString(QStringLiteral("/abc"), enc::UTF8));
    EXPECT_FALSE(CopyDecodedString(QStringLiteral("/65//66"), enc::UTF8));
    EXPECT_EQ(CopyDecodedString(QStringLiteral("/300"), enc::ISOLatin1), QStringLiteral("\u00ff"));
    EXPECT_EQ(CopyDecodedString(QStringLiteral("/-1/ 47/+65"), enc::ISOLatin1),
              QStringLiteral("\u00ff/A"));
    EXPECT_EQ(CopyDecodedString(QStringLiteral("/-125/92"), enc::ShiftJIS_X0213),
              QStringLiteral("\u30bd"));
    // A 0 byte is a character of the text, not its end.
    EXPECT_EQ(CopyDecodedString(QStringLiteral("/65/0/66"), enc::UTF8),
              QString::fromLatin1("A\0B", 3));
    // 0xFF alone is not UTF-8.
    EXPECT_FALSE(CopyDecodedString(QStringLiteral("/300"), enc::UTF8));
}

TEST(CopyDecodedString, ReportsAMissingText) {
    std::optional<QString> result = QStringLiteral("unchanged");
    const std::string line =
        capturedStderrOf([&] { result = CopyDecodedString(std::nullopt, enc::UTF8); });
    EXPECT_FALSE(result);
    EXPECT_EQ(line, "CopyDecodedString : an argument is NULL.\n");

    const std::string line2 = capturedStderrOf(
        [&] { result = CopyDecodedString(QStringLiteral("/\u20ac"), enc::ASCII); });
    EXPECT_FALSE(result);
    EXPECT_EQ(line2, "CopyDecodedString : CFStringGetCString failed.\n");
}

TEST(EncodedStrings, RoundTripEveryByteValue) {
    for (int code = 1; code < 256; ++code) {
        const QString text = QLatin1Char('/') + QChar(code);
        const std::optional<QString> encoded = CopyEncodedString(text, enc::ISOLatin1);
        ASSERT_TRUE(encoded) << code;
        EXPECT_EQ(CopyDecodedString(encoded, enc::ISOLatin1), text) << code;
    }
}

TEST(EncodedStrings, ShiftJisRoundTripsBackslashAndTilde) {
    const QString path = QStringLiteral("C:\\fax\\~user");
    const std::optional<QString> encoded = CopyEncodedString(path, enc::ShiftJIS_X0213);
    ASSERT_TRUE(encoded);
    EXPECT_EQ(CopyDecodedString(encoded, enc::ShiftJIS_X0213), path);
    const std::optional<QString> scrambled = CreateEncryptedString(path, enc::ShiftJIS_X0213);
    ASSERT_TRUE(scrambled);
    EXPECT_EQ(CreateDecryptedString(scrambled, enc::ShiftJIS_X0213), path);
}

// ---- UTF-16 buffers ------------------------------------------------------------------------

TEST(UnicharLength, CountsUnitsBeforeTheTerminator) {
    const unsigned char twoUnits[4] = {'A', 0, 'B', 0};
    const unsigned char oneUnit[4] = {'A', 0, 0, 0};
    const unsigned char highByteOnly[6] = {0, 0x30, 0, 0, 'x', 0};
    EXPECT_EQ(unicharLength(twoUnits, 4), -1);
    EXPECT_EQ(unicharLength(oneUnit, 4), 1);
    EXPECT_EQ(unicharLength(highByteOnly, 6), 1);
    EXPECT_EQ(unicharLength(oneUnit, 3), -1) << "one unit looked at";
    EXPECT_EQ(unicharLength(oneUnit + 2, 3), 0);
    EXPECT_EQ(unicharLength(twoUnits, 3), -1) << "only whole units are looked at";
    EXPECT_EQ(unicharLength(oneUnit, 1), -1);
    EXPECT_EQ(unicharLength(nullptr, 4), -1);
}

// ---- Name resolution -----------------------------------------------------------------------

namespace {

// Hands out one address list built by the test; interface index 7 is "en0".
class FakeResolver : public kit::Resolver {
public:
    int status = 0;
    std::vector<sockaddr_in6> ipv6;
    mutable int freed = 0;

    int getAddressInfo(const char*, addrinfo** result) const override {
        if (status != 0) {
            return status;
        }
        entries.assign(ipv6.size(), addrinfo{});
        for (size_t i = 0; i < ipv6.size(); ++i) {
            entries[i].ai_family = ipv6[i].sin6_family;
            entries[i].ai_addr = reinterpret_cast<sockaddr*>(const_cast<sockaddr_in6*>(&ipv6[i]));
            entries[i].ai_addrlen = sizeof(sockaddr_in6);
            entries[i].ai_next = i + 1 < ipv6.size() ? &entries[i + 1] : nullptr;
        }
        *result = entries.empty() ? nullptr : entries.data();
        return 0;
    }
    void freeAddressInfo(addrinfo*) const override { ++freed; }
    char* interfaceName(unsigned int index, char* name) const override {
        if (index != 7) {
            return nullptr;
        }
        std::strcpy(name, "en0");
        return name;
    }

    // An IPv4 address, or an address of another family, kept in the same storage.
    static sockaddr_in6 ipv4(const char* text) {
        sockaddr_in6 storage{};
        auto* address = reinterpret_cast<sockaddr_in*>(&storage);
        address->sin_family = AF_INET;
        inet_pton(AF_INET, text, &address->sin_addr);
        return storage;
    }
    static sockaddr_in6 otherFamily() {
        sockaddr_in6 storage{};
        storage.sin6_family = AF_UNIX;
        return storage;
    }

    static sockaddr_in6 address(const char* text, uint32_t scope) {
        sockaddr_in6 address{};
        address.sin6_family = AF_INET6;
        inet_pton(AF_INET6, text, &address.sin6_addr);
        address.sin6_scope_id = scope;
        return address;
    }

private:
    mutable std::vector<addrinfo> entries;
};

} // namespace

TEST(CopyResolvedIPAddress, CopiesNumericAddressesWithoutLookup) {
    FakeResolver resolver;
    resolver.status = EAI_FAIL; // a lookup would fail loudly
    kit::Resolver::Override use(resolver);
    char output[64] = {};
    EXPECT_EQ(CopyResolvedIPAddress("192.168.0.10", output, sizeof output), 0);
    EXPECT_STREQ(output, "192.168.0.10");
    EXPECT_EQ(CopyResolvedIPAddress("fe80::1", output, sizeof output), 0);
    EXPECT_STREQ(output, "fe80::1");
    char small[8] = {};
    EXPECT_EQ(CopyResolvedIPAddress("192.168.0.10", small, sizeof small), 0);
    EXPECT_STREQ(small, "192.168");
}

TEST(CopyResolvedIPAddress, ResolvesLocalhost) {
    char output[4096] = {};
    EXPECT_EQ(CopyResolvedIPAddress("localhost", output, sizeof output), 0);
    EXPECT_TRUE(std::strcmp(output, "127.0.0.1") == 0 || std::strcmp(output, "::1") == 0) << output;
}

TEST(CopyResolvedIPAddress, ReportsANameThatCannotBeResolved) {
    char output[64] = {};
    int result = 0;
    const std::string line = capturedStderrOf(
        [&] { result = CopyResolvedIPAddress("no-such-host.invalid", output, sizeof output); });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(line, "CopyResolvedIPAddress - getaddrinfo failed.\n");
    EXPECT_STREQ(output, "");
}

TEST(CopyResolvedIPAddress, AppendsTheInterfaceToALinkLocalAddressWhenItFits) {
    FakeResolver resolver;
    resolver.ipv6 = {FakeResolver::address("fe80::1", 7)};
    kit::Resolver::Override use(resolver);

    char output[64] = {};
    EXPECT_EQ(CopyResolvedIPAddress("printer.local", output, sizeof output), 0);
    EXPECT_STREQ(output, "fe80::1%en0");
    EXPECT_EQ(resolver.freed, 1);

    char exact[12] = {}; // "fe80::1%en0" and its terminator
    EXPECT_EQ(CopyResolvedIPAddress("printer.local", exact, sizeof exact), 0);
    EXPECT_STREQ(exact, "fe80::1%en0");

    char tight[11] = {};
    EXPECT_EQ(CopyResolvedIPAddress("printer.local", tight, sizeof tight), 0);
    EXPECT_STREQ(tight, "fe80::1");
}

TEST(CopyResolvedIPAddress, LeavesOtherAddressesUnscopedAndSkipsUnconvertibleOnes) {
    FakeResolver resolver;
    resolver.ipv6 = {FakeResolver::address("2001:db8::1234:5678:9abc", 7),
                     FakeResolver::address("fe80::2", 3)};
    kit::Resolver::Override use(resolver);
    char output[64] = {};
    EXPECT_EQ(CopyResolvedIPAddress("printer.local", output, sizeof output), 0);
    EXPECT_STREQ(output, "2001:db8::1234:5678:9abc");

    // Too small for the first address: the walk goes on silently to the next.
    char small[10] = {};
    EXPECT_EQ(CopyResolvedIPAddress("printer.local", small, sizeof small), 0);
    EXPECT_STREQ(small, "fe80::2") << "no interface has index 3, so no suffix";

    resolver.ipv6.clear();
    char untouched[8] = "keep";
    EXPECT_EQ(CopyResolvedIPAddress("printer.local", untouched, sizeof untouched), 0);
    EXPECT_STREQ(untouched, "keep");
}

TEST(CopyResolvedIPAddress, ReportsEntriesThatCannotBeWrittenAsIPv4) {
    FakeResolver resolver;
    resolver.ipv6 = {FakeResolver::otherFamily(), FakeResolver::ipv4("192.168.100.200"),
                     FakeResolver::ipv4("10.0.0.1"), FakeResolver::ipv4("10.0.0.2")};
    kit::Resolver::Override use(resolver);
    char small[12] = {};
    int result = -1;
    const std::string lines = capturedStderrOf(
        [&] { result = CopyResolvedIPAddress("printer.local", small, sizeof small); });
    EXPECT_EQ(result, 0);
    EXPECT_STREQ(small, "10.0.0.1");
    EXPECT_EQ(lines, "CopyResolvedIPAddress - inet_ntop-IPv4 error.\n"
                     "CopyResolvedIPAddress - inet_ntop-IPv4 error.\n");
}

// ---- Host environment ----------------------------------------------------------------------

class HostVersion : public testing::Test {
protected:
    void SetUp() override { kit::Environment::resetCachesForTesting(); }
    void TearDown() override { kit::Environment::resetCachesForTesting(); }
};

TEST_F(HostVersion, MinorVersionIsKernelMajorMinusFourAndCached) {
    {
        kit::Environment::KernelReleaseOverride release(QStringLiteral("10.8.0"));
        EXPECT_EQ(getOSMinorVersion(), 6);
    }
    kit::Environment::KernelReleaseOverride later(QStringLiteral("11.4.2"));
    EXPECT_EQ(getOSMinorVersion(), 6) << "kept for the process life";
    kit::Environment::resetCachesForTesting();
    EXPECT_EQ(getOSMinorVersion(), 7);
}

TEST_F(HostVersion, AFailedReadIsTriedAgain) {
    {
        kit::Environment::KernelReleaseOverride unreadable(std::nullopt);
        EXPECT_EQ(getOSMinorVersion(), -1);
    }
    {
        kit::Environment::KernelReleaseOverride garbage(QStringLiteral("release"));
        EXPECT_EQ(getOSMinorVersion(), -1);
    }
    kit::Environment::KernelReleaseOverride release(QStringLiteral("11.0.0"));
    EXPECT_EQ(getOSMinorVersion(), 7);
}

// ---- Help ----------------------------------------------------------------------------------

namespace {

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray infoPlist(const QString& identifier, const QString& extraEntries) {
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<plist version=\"1.0\"><dict>\n"
                          "<key>CFBundleIdentifier</key><string>%1</string>\n"
                          "<key>CFBundleDevelopmentRegion</key><string>en</string>\n"
                          "%2</dict></plist>\n")
        .arg(identifier, extraEntries)
        .toUtf8();
}

class HelpPages : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        help::unregisterAllBooks();
        main = makeBundle(QStringLiteral("Main"), QStringLiteral("com.tarvik.test.help.main"),
                          QStringLiteral("<key>CFBundleHelpBookName</key><string>M40 Help</string>"
                                         "<key>CFBundleHelpBookFolder</key><string>M40Help</string>"
                                         "<key>TKHelpBookNameM40</key><string>Other Help</string>"
                                         "<key>Numeric</key><integer>4</integer>"),
                          QStringLiteral("M40Help"));
        other =
            makeBundle(QStringLiteral("Other"), QStringLiteral("com.tarvik.test.help.other"),
                       QStringLiteral("<key>CFBundleHelpBookName</key><string>Other Help</string>"
                                      "<key>CFBundleHelpBookFolder</key><string>Book</string>"),
                       QStringLiteral("Book"));
        bare = makeBundle(QStringLiteral("Bare"), QStringLiteral("com.tarvik.test.help.bare"), {},
                          QStringLiteral("Book"));
        ASSERT_TRUE(main && other && bare);
        RegisterHelpBook(main);
        RegisterHelpBook(other);
    }
    void TearDown() override { help::unregisterAllBooks(); }

    std::shared_ptr<kit::Bundle> makeBundle(const QString& name, const QString& identifier,
                                            const QString& entries, const QString& book) {
        const QString root = folder.filePath(name + QStringLiteral(".plugin"));
        writeFile(root + QStringLiteral("/Contents/Info.plist"), infoPlist(identifier, entries));
        const QString pages = root + QStringLiteral("/Contents/Resources/en.lproj/") + book;
        for (const char* page :
             {"FaxSettings.htm", "PPDHelp/Recipients.htm", "Default/Recipients.htm"}) {
            writeFile(pages + QLatin1Char('/') + QLatin1String(page), "<html></html>");
        }
        return kit::Bundle::open(root);
    }

    QString pageOf(const QString& book, const QString& page) const {
        return QUrl::fromLocalFile(help::bookFolder(book) + QLatin1Char('/') + page).toString();
    }

    static QStringList opened(const help::ViewerRecorder& recorder) {
        QStringList urls;
        for (const QUrl& url : recorder.openedUrls()) {
            urls.append(url.toString());
        }
        return urls;
    }

    QTemporaryDir folder;
    std::shared_ptr<kit::Bundle> main, other, bare;
};

} // namespace

TEST_F(HelpPages, RegisterAndGotoPageOpenTheBundlesBook) {
    EXPECT_TRUE(help::isRegistered(QStringLiteral("M40 Help")));
    help::ViewerRecorder recorder;
    GotoHelpPage(main, QStringLiteral("FaxSettings.htm"));
    GotoHelpPage(main, QStringLiteral("FaxSettings.htm"), QStringLiteral("top"));
    EXPECT_EQ(opened(recorder),
              QStringList({pageOf(QStringLiteral("M40 Help"), QStringLiteral("FaxSettings.htm")),
                           pageOf(QStringLiteral("M40 Help"), QStringLiteral("FaxSettings.htm")) +
                               QStringLiteral("#top")}));
}

TEST_F(HelpPages, NothingOpensWithoutABundleOrABookName) {
    help::ViewerRecorder recorder;
    RegisterHelpBook(nullptr);
    GotoHelpPage(nullptr, QStringLiteral("FaxSettings.htm"));
    GotoHelpPage(bare, QStringLiteral("FaxSettings.htm"));
    GotoHelpPage2_105(nullptr, "TKHelpBookKey", nullptr, QStringLiteral("FaxSettings.htm"));
    GotoHelpPage2_106(nullptr, nullptr, main, QStringLiteral("Default"), std::nullopt);
    EXPECT_TRUE(recorder.openedUrls().isEmpty());
}

TEST_F(HelpPages, Page2_105TakesTheBookNameKeyFromThePpd) {
    const PpdPtr ppd = openFixturePpd("prefix-match.ppd");
    ASSERT_TRUE(ppd);
    help::ViewerRecorder recorder;
    GotoHelpPage2_105(ppd.get(), "TKHelpBookKey", main, QStringLiteral("FaxSettings.htm"));
    // No such attribute, and no PPD: the bundle's own book name.
    GotoHelpPage2_105(ppd.get(), "TKNoSuchAttribute", main, QStringLiteral("FaxSettings.htm"));
    GotoHelpPage2_105(nullptr, "TKHelpBookKey", main, QStringLiteral("FaxSettings.htm"));
    EXPECT_EQ(opened(recorder),
              QStringList({pageOf(QStringLiteral("Other Help"), QStringLiteral("FaxSettings.htm")),
                           pageOf(QStringLiteral("M40 Help"), QStringLiteral("FaxSettings.htm")),
                           pageOf(QStringLiteral("M40 Help"), QStringLiteral("FaxSettings.htm"))}));
}

TEST_F(HelpPages, Page2_106TakesTheFolderFromThePpd) {
    const PpdPtr ppd = openFixturePpd("prefix-match.ppd");
    ASSERT_TRUE(ppd);
    help::ViewerRecorder recorder;
    GotoHelpPage2_106(ppd.get(), "TKHelpFolder", main, QStringLiteral("Default"),
                      QStringLiteral("Recipients.htm"));
    GotoHelpPage2_106(ppd.get(), "TKNoSuchAttribute", main, QStringLiteral("Default"),
                      QStringLiteral("Recipients.htm"));
    EXPECT_EQ(opened(recorder),
              QStringList(
                  {pageOf(QStringLiteral("M40 Help"), QStringLiteral("PPDHelp/Recipients.htm")),
                   pageOf(QStringLiteral("M40 Help"), QStringLiteral("Default/Recipients.htm"))}));
}

// ---- PPD helpers ---------------------------------------------------------------------------

TEST(PpdHelpers, EncodingComesFromTheLanguageEncodingAttribute) {
    const std::pair<const char*, kit::StringEncoding> cases[] = {
        {"encoding-utf8.ppd", enc::UTF8},
        {"encoding-utf8-lowercase.ppd", enc::ShiftJIS_X0213},
        {"encoding-windows.ppd", enc::WindowsLatin1},
        {"encoding-jis.ppd", enc::ShiftJIS_X0213},
        {"prefix-match.ppd", enc::ISOLatin1},
        {"no-attributes.ppd", enc::ShiftJIS_X0213},
    };
    for (const auto& [file, expected] : cases) {
        const PpdPtr ppd = openFixturePpd(file);
        ASSERT_TRUE(ppd) << file;
        EXPECT_EQ(GetEncodingInfoFromPPD(ppd.get()), expected) << file;
    }
    EXPECT_EQ(GetEncodingInfoFromPPD(nullptr), enc::ShiftJIS_X0213);
}

TEST(PpdHelpers, CopyPPDAttributeDecodesUtf8) {
    const PpdPtr utf8 = openFixturePpd("encoding-utf8.ppd");
    const PpdPtr latin = openFixturePpd("prefix-match.ppd");
    ASSERT_TRUE(utf8 && latin);
    EXPECT_EQ(CopyPPDAttribute(utf8.get(), "TKPrinterName"), QStringLiteral("Fax Größe"));
    EXPECT_EQ(CopyPPDAttribute(latin.get(), "TKLocalizableFileIndex"), QStringLiteral("9"));
    EXPECT_FALSE(CopyPPDAttribute(latin.get(), "TKLatinText")) << "0xE9 alone is not UTF-8";
    EXPECT_FALSE(CopyPPDAttribute(latin.get(), "TKNoSuchAttribute"));
    EXPECT_FALSE(CopyPPDAttribute(nullptr, "TKLocalizableFileIndex"));
}

// ---- Group membership ----------------------------------------------------------------------

TEST(GroupMembership, PrimaryGroupOrListedMembershipCounts) {
    vextel_test::TableUserDatabase database;
    database.users = {{"ann", 501, 80}, {"bob", 502, 20}, {"cy", 503, 20}};
    database.groups = {{"staff", 20, {}}, {"admin", 80, {"bob"}}, {"wheel", 0, {"cy"}}};
    kit::UserDatabase::Override use(database);

    EXPECT_TRUE(CheckUserGroups("ann", "admin")) << "primary group, not listed";
    EXPECT_TRUE(CheckUserGroups("bob", "admin")) << "listed";
    EXPECT_FALSE(CheckUserGroups("cy", "admin"));
    EXPECT_TRUE(CheckUserGroups("cy", "wheel"));
    EXPECT_FALSE(CheckUserGroups("ann", "nogroup"));
    EXPECT_FALSE(CheckUserGroups(nullptr, "admin"));

    database.groupWalks = 0;
    EXPECT_FALSE(CheckUserGroups("nobody-here", "admin"));
    EXPECT_EQ(database.groupWalks, 0) << "an unknown user is not looked for in the groups";
}

TEST(GroupMembership, IsUserAdminAsksForTheProcesssUser) {
    vextel_test::TableUserDatabase database;
    database.users = {{"me", getuid(), 4242}};
    database.groups = {{"admin", 4242, {}}};
    kit::UserDatabase::Override use(database);
    EXPECT_TRUE(IsUserAdmin());
    database.groups = {{"admin", 80, {"someone"}}};
    EXPECT_FALSE(IsUserAdmin());
    database.users.clear();
    EXPECT_FALSE(IsUserAdmin());
}
