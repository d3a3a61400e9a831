#include "kit/Bundle.h"

#include "support/EnvironmentScope.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <gmock/gmock.h>

namespace {

const QString testBundlePath =
    QStringLiteral(VEXTEL_BINARY_DIR "/tests/fixtures/TestBundle.bundle");

// Restores the environment's languages when a test ends.
class LanguageScope {
public:
    explicit LanguageScope(const QStringList& languages) {
        kit::Bundle::setPreferredLanguagesForTesting(languages);
    }
    ~LanguageScope() { kit::Bundle::setPreferredLanguagesForTesting({}); }
};

std::shared_ptr<kit::Bundle> testBundle() {
    return kit::Bundle::open(testBundlePath);
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

TEST(BundleInfo, XmlInfoPlistValuesKeepTheirTypes) {
    const auto bundle = testBundle();
    ASSERT_TRUE(bundle);
    EXPECT_EQ(bundle->bundleIdentifier(), "com.example.vextel.TestBundle");
    EXPECT_EQ(bundle->objectForInfoDictionaryKey("TKPPDKeysSupported").toStringList(),
              QStringList({"TKFaxImageQuality", "TKFaxTransmissionReport"}));

    const QVariant truth = bundle->objectForInfoDictionaryKey("TestTrue");
    EXPECT_EQ(truth.typeId(), QMetaType::Bool);
    EXPECT_TRUE(truth.toBool());
    EXPECT_FALSE(bundle->objectForInfoDictionaryKey("TestFalse").toBool());
    EXPECT_EQ(bundle->objectForInfoDictionaryKey("TestFalse").typeId(), QMetaType::Bool);
    EXPECT_EQ(bundle->objectForInfoDictionaryKey("TestInteger").toLongLong(), 4096);
    EXPECT_EQ(bundle->objectForInfoDictionaryKey("TestNegative").toLongLong(), -42);
    EXPECT_DOUBLE_EQ(bundle->objectForInfoDictionaryKey("TestReal").toDouble(), 2.5);
    EXPECT_EQ(bundle->objectForInfoDictionaryKey("TestDate").toDateTime(),
              QDateTime(QDate(2011, 6, 1), QTime(12, 30), Qt::UTC));
    EXPECT_EQ(bundle->objectForInfoDictionaryKey("TestData").toByteArray(),
              QByteArray::fromHex("000102ff"));
    const QVariant emptyArray = bundle->objectForInfoDictionaryKey("TestEmptyArray");
    EXPECT_EQ(emptyArray.typeId(), QMetaType::QVariantList);
    EXPECT_TRUE(emptyArray.toList().isEmpty());

    const QVariantMap dictionary = bundle->objectForInfoDictionaryKey("TestDictionary").toMap();
    EXPECT_EQ(dictionary.value("Name").toString(), QString::fromUtf8("Grüße & more"));
    EXPECT_EQ(dictionary.value("Count").toInt(), 30);
    const QVariantList nested = dictionary.value("Nested").toList();
    ASSERT_EQ(nested.size(), 2);
    EXPECT_EQ(nested.at(0).typeId(), QMetaType::Bool);
    EXPECT_EQ(nested.at(1).toLongLong(), -7);

    EXPECT_FALSE(bundle->objectForInfoDictionaryKey("NoSuchKey").isValid());
    EXPECT_EQ(bundle->infoDictionary().value("CFBundleName").toString(), "Test Bundle");
}

TEST(BundleInfo, BinaryInfoPlistReadsLikeXml) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Binary.bundle");
    QFile source(VEXTEL_SOURCE_DIR "/tests/fixtures/TestBundleBinary/Info.plist");
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    ASSERT_TRUE(writeFile(path + "/Contents/Info.plist", source.readAll()));

    const auto bundle = kit::Bundle::open(path);
    ASSERT_TRUE(bundle);
    EXPECT_EQ(bundle->bundleIdentifier(), "com.example.vextel.BinaryBundle");
    EXPECT_EQ(bundle->developmentLocalization(), "de");
    EXPECT_EQ(bundle->objectForInfoDictionaryKey("TKPPDKeysSupported").toStringList(),
              QStringList({"TKFaxCoverPageMode", "TKFaxSenderMode"}));
    EXPECT_EQ(bundle->objectForInfoDictionaryKey("TestInteger").toLongLong(), 123456789012LL);
    EXPECT_EQ(bundle->objectForInfoDictionaryKey("TestNegative").toLongLong(), -1);
    EXPECT_TRUE(bundle->objectForInfoDictionaryKey("TestTrue").toBool());
    EXPECT_EQ(bundle->objectForInfoDictionaryKey("TestDate").toDateTime(),
              QDateTime(QDate(2011, 6, 1), QTime(12, 30), Qt::UTC));
    EXPECT_EQ(bundle->objectForInfoDictionaryKey("TestData").toByteArray(),
              QByteArray::fromHex("000102ff"));
    const QVariantMap dictionary = bundle->objectForInfoDictionaryKey("TestDictionary").toMap();
    EXPECT_EQ(dictionary.value("Count").toInt(), 3);
    EXPECT_EQ(dictionary.value("Flag").typeId(), QMetaType::Bool);
}

TEST(BundleOpen, RefusesFoldersWithoutAReadableDictionary) {
    QTemporaryDir dir;
    EXPECT_FALSE(kit::Bundle::open(dir.filePath("Missing.bundle")));
    EXPECT_FALSE(kit::Bundle::open(QString()));
    ASSERT_TRUE(QDir().mkpath(dir.filePath("NoPlist.bundle/Contents")));
    EXPECT_FALSE(kit::Bundle::open(dir.filePath("NoPlist.bundle")));
    ASSERT_TRUE(writeFile(dir.filePath("Garbage.bundle/Contents/Info.plist"), "not a plist"));
    EXPECT_FALSE(kit::Bundle::open(dir.filePath("Garbage.bundle")));
    // A property list whose root is an array is no information dictionary.
    ASSERT_TRUE(writeFile(dir.filePath("Array.bundle/Contents/Info.plist"),
                          "<?xml version=\"1.0\"?><plist version=\"1.0\"><array><string>x</string>"
                          "</array></plist>"));
    EXPECT_FALSE(kit::Bundle::open(dir.filePath("Array.bundle")));
}

TEST(BundleOpen, RefusesAnInfoPlistWithANulInAStringOrKey) {
    // Binary lists written with Python's plistlib; each holds "\u00e9\0..." as a UTF-16 text, which
    // the property-list library keeps whole, NUL included.
    const struct {
        const char* name;
        const char* hex;
    } kCases[] = {
        {"Value", "62706c6973743030d2010203045f1012434642756e646c654964656e7469666965725c434642756e"
                  "646c654e616d655f100f636f6d2e6578616d706c652e6e756c6300e900000079080d222f4100000"
                  "00000000101000000000000000500000000000000000000000000000048"},
        {"Key", "62706c6973743030d2010203045f1012434642756e646c654964656e7469666965726300e900000"
                "0625f100f636f6d2e6578616d706c652e6e756c5176080d22293b000000000000010100000000000"
                "000050000000000000000000000000000003d"},
        {"InArray", "62706c6973743030d2010203045f1012434642756e646c654964656e7469666965725d50444"
                    "550616e656c54797065735f100f636f6d2e6578616d706c652e6e756ca1056200e90000080d2"
                    "23042440000000000000101000000000000000600000000000000000000000000000049"},
    };
    QTemporaryDir dir;
    for (const auto& row : kCases) {
        const QString path = dir.filePath(QStringLiteral("%1.bundle").arg(row.name));
        ASSERT_TRUE(writeFile(path + "/Contents/Info.plist", QByteArray::fromHex(row.hex)));
        testing::internal::CaptureStderr();
        const auto bundle = kit::Bundle::open(path);
        const std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_FALSE(bundle) << row.name;
        EXPECT_THAT(errors, testing::HasSubstr("Info.plist holds a NUL character")) << row.name;
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << row.name;
    }
}

TEST(BundleRegistry, FindsOpenedBundlesByIdentifierOnly) {
    EXPECT_FALSE(kit::Bundle::bundleWithIdentifier("com.example.vextel.NeverOpened"));
    EXPECT_FALSE(kit::Bundle::bundleWithIdentifier(QString()));
    const auto bundle = testBundle();
    ASSERT_TRUE(bundle);
    EXPECT_EQ(kit::Bundle::bundleWithIdentifier("com.example.vextel.TestBundle"), bundle);
    // The same folder opened twice, even by another spelling, is the same bundle.
    EXPECT_EQ(kit::Bundle::open(testBundlePath + "/Contents/.."), bundle);
}

TEST(BundlePaths, ResourcesAndExecutable) {
    LanguageScope german({"de_DE"});
    const auto bundle = testBundle();
    ASSERT_TRUE(bundle);
    EXPECT_EQ(bundle->resourcePath(), bundle->bundlePath() + "/Contents/Resources");
    EXPECT_EQ(bundle->pathForResource("Panel", "json"), bundle->resourcePath() + "/Panel.json");
    EXPECT_EQ(bundle->pathForResource("Notes", ".txt"),
              bundle->resourcePath() + "/de.lproj/Notes.txt");
    EXPECT_TRUE(bundle->pathForResource("Missing", "txt").isNull());
    EXPECT_EQ(bundle->localizedResourcePath(), bundle->resourcePath() + "/de.lproj");
    // No CFBundleExecutable: no executable.
    EXPECT_TRUE(bundle->executablePath().isNull());
    EXPECT_EQ(bundle->localizations(), QStringList({"de", "en"}));
    EXPECT_EQ(bundle->developmentLocalization(), "en");
}

TEST(BundlePaths, ExecutableNamedByInfoPlist) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Module.plugin");
    ASSERT_TRUE(writeFile(path + "/Contents/Info.plist",
                          "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>"
                          "<key>CFBundleExecutable</key><string>Module</string></dict></plist>"));
    ASSERT_TRUE(writeFile(path + "/Contents/Module.so", "ELF"));
    const auto bundle = kit::Bundle::open(path);
    ASSERT_TRUE(bundle);
    EXPECT_EQ(bundle->executablePath(), bundle->bundlePath() + "/Contents/Module.so");
    EXPECT_EQ(bundle->developmentLocalization(), "en");
}

// Only folders named NAME.lproj are localizations, whatever the case of the suffix; files,
// other folders and a bare ".lproj" are not.
TEST(BundlePaths, LocalizationsAreTheLprojFoldersOnly) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Localized.bundle");
    ASSERT_TRUE(writeFile(path + "/Contents/Info.plist",
                          "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict></dict></plist>"));
    const QString resources = path + "/Contents/Resources/";
    for (const char* folder :
         {"fr.lproj", "pt_BR.LProj", "Images", ".lproj", "lproj", "ja.lproj.old"}) {
        ASSERT_TRUE(QDir().mkpath(resources + folder)) << folder;
    }
    ASSERT_TRUE(writeFile(resources + "it.lproj", "a file, not a folder"));
    const auto bundle = kit::Bundle::open(path);
    ASSERT_TRUE(bundle);
    EXPECT_EQ(bundle->localizations(), QStringList({"fr", "pt_BR"}));
}

TEST(BundleStrings, EnglishTablesByName) {
    LanguageScope english({"en_US"});
    const auto bundle = testBundle();
    ASSERT_TRUE(bundle);
    EXPECT_EQ(bundle->localizedStringForKey("Sender Name", {}, {}), "Sender's Name");
    EXPECT_EQ(bundle->localizedStringForKey("Sender Name", {}, "Localizable"), "Sender's Name");
    EXPECT_EQ(bundle->localizedStringForKey("Sender Name", {}, "Localizable3"), "Sender (M40)");
    EXPECT_EQ(bundle->localizedStringForKey(QString::fromUtf8("Größe"), {}, {}), "Size");
    // An entry translating a text to itself is found, not taken for a missing one.
    EXPECT_EQ(bundle->localizedStringForKey("Printer Model", "Default", "Localizable3"),
              "Printer Model");
}

TEST(BundleStrings, GermanPreferredFallsBackToTheDevelopmentLanguage) {
    LanguageScope german({"de_AT", "fr"});
    const auto bundle = testBundle();
    ASSERT_TRUE(bundle);
    EXPECT_EQ(bundle->preferredLocalizations(), QStringList({"de", "en"}));
    EXPECT_EQ(bundle->localizedStringForKey("Sender Name", {}, {}), "Name des Absenders");
    EXPECT_EQ(bundle->localizedStringForKey("Sender Name", {}, "Localizable3"), "Absender (M40)");
    EXPECT_EQ(bundle->localizedStringForKey("Fax Settings", {}, {}), "Fax-Einstellungen");
    // Missing from the German table, present in the English one.
    EXPECT_EQ(bundle->localizedStringForKey("Only in English", {}, {}), "English only text");
    // Untranslated in German: lrelease drops it, the English table has none either.
    EXPECT_EQ(bundle->localizedStringForKey("Untranslated", {}, {}), "Untranslated");
    // Missing from German Localizable3; the English Localizable3 maps it to itself.
    EXPECT_EQ(bundle->localizedStringForKey("Printer Model", {}, "Localizable3"), "Printer Model");
}

TEST(BundleStrings, MissingEntriesGiveTheValueOrTheKey) {
    LanguageScope german({"de"});
    const auto bundle = testBundle();
    ASSERT_TRUE(bundle);
    EXPECT_EQ(bundle->localizedStringForKey("No such text", "Fallback", {}), "Fallback");
    EXPECT_EQ(bundle->localizedStringForKey("No such text", {}, {}), "No such text");
    EXPECT_EQ(bundle->localizedStringForKey("No such text", "", "Localizable3"), "No such text");
    // Tables are not mixed: a key of the default table is not found in another table.
    EXPECT_EQ(bundle->localizedStringForKey("Fax Settings", {}, "Localizable3"), "Fax Settings");
    EXPECT_EQ(bundle->localizedStringForKey("Sender Name", "Fallback", "NoSuchTable"), "Fallback");
    EXPECT_EQ(bundle->localizedStringForKey(QString(), {}, {}), QString());
}

TEST(BundleLanguages, OverrideAndEnvironment) {
    {
        LanguageScope override({"fr", "de"});
        EXPECT_EQ(kit::Bundle::preferredLanguages(), QStringList({"fr", "de"}));
    }
    // The environment is read once per process; lifting an override reads it again.
    const auto readAgain = [] {
        kit::Bundle::setPreferredLanguagesForTesting({});
    };
    vextel_test::EnvironmentScope language("LANGUAGE", "fr_FR:en");
    {
        vextel_test::EnvironmentScope all("LC_ALL", "de_DE.UTF-8@euro");
        readAgain();
        EXPECT_EQ(kit::Bundle::preferredLanguages(), QStringList({"fr_FR", "en", "de_DE"}));
    }
    vextel_test::EnvironmentScope all("LC_ALL", "");
    vextel_test::EnvironmentScope messages("LC_MESSAGES", "");
    vextel_test::EnvironmentScope lang("LANG", "de_CH.UTF-8");
    EXPECT_EQ(kit::Bundle::preferredLanguages(), QStringList({"fr_FR", "en", "de_DE"}))
        << "read once: a change of the environment is not seen until asked again";
    readAgain();
    EXPECT_EQ(kit::Bundle::preferredLanguages(), QStringList({"fr_FR", "en", "de_CH"}));
    readAgain();
}
