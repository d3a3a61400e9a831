#include "printing/PluginLoader.h"

#include "kit/Bundle.h"
#include "printing/PluginCallback.h"
#include "printing/PrintSettings.h"
#include "support/EnvironmentScope.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using printing::PluginLoader;

const QString kBuiltPlugin = QStringLiteral(PRINTING_TEST_PLUGIN_DIR "/TestPlugin.plugin");
const QString kBuiltModule = kBuiltPlugin + QStringLiteral("/Contents/TestPlugin.so");

struct PlistFields {
    QString identifier = QStringLiteral("com.tarvik.test.Copy");
    QString executable = QStringLiteral("TestPlugin");
    QString factory = QStringLiteral("VextelTestPluginCreate");
    QStringList panelTypes{QLatin1String(printing::kPrintDialogPanelType)};
};

QString plistXml(const PlistFields& fields) {
    QString xml = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n");
    auto addString = [&xml](const char* key, const QString& value) {
        if (!value.isNull())
            xml += QStringLiteral("<key>%1</key><string>%2</string>\n")
                       .arg(QLatin1String(key), value.toHtmlEscaped());
    };
    addString("CFBundleIdentifier", fields.identifier);
    addString("CFBundleExecutable", fields.executable);
    addString("VextelPDEFactory", fields.factory);
    xml += QStringLiteral("<key>PDEPanelTypes</key><array>");
    for (const QString& type : fields.panelTypes)
        xml += QStringLiteral("<string>%1</string>").arg(type);
    xml += QStringLiteral("</array>\n</dict>\n</plist>\n");
    return xml;
}

// A bundle folder <folder>/<name>.plugin holding the built test module (unless withModule is
// false) and an Info.plist from the fields (unless fields is null).
QString makeBundle(const QString& folder, const QString& name, const PlistFields* fields,
                   bool withModule = true) {
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".plugin");
    QDir().mkpath(path + QStringLiteral("/Contents"));
    if (fields != nullptr) {
        QFile plist(path + QStringLiteral("/Contents/Info.plist"));
        if (plist.open(QIODevice::WriteOnly))
            plist.write(plistXml(*fields).toUtf8());
    }
    if (withModule)
        QFile::copy(kBuiltModule, path + QStringLiteral("/Contents/TestPlugin.so"));
    return path;
}

class FakeCallback : public printing::PluginCallback {
public:
    printing::PrintSession* printSession() override { return nullptr; }
    printing::PrintSettings* printSettings() override { return &settings; }
    printing::Printer* PMPrinter() override { return nullptr; }
    ppd_file_t* ppdFile() override { return nullptr; }
    bool willChangePPDOptionKeyValue(const QString&, const QString&) override { return false; }

    printing::PrintSettings settings;
};

class PluginLoaderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(temp.isValid()); }

    // Loads and expects failure; returns the reason.
    QString failureLoading(const QString& path) {
        QString error;
        EXPECT_EQ(PluginLoader::load(path, &error), nullptr);
        EXPECT_FALSE(error.isEmpty());
        return error;
    }

    QTemporaryDir temp;
};

TEST_F(PluginLoaderTest, BuiltBundleGivesOnePanelForPrintDialogAndNoneForOtherTypes) {
    QString error;
    auto plugin = PluginLoader::load(kBuiltPlugin, &error);
    ASSERT_NE(plugin, nullptr) << error.toStdString();
    ASSERT_NE(plugin->factory(), nullptr);
    ASSERT_NE(plugin->bundle(), nullptr);
    EXPECT_EQ(plugin->bundle()->bundleIdentifier(), QStringLiteral("com.tarvik.test.TestPlugin"));

    FakeCallback callback;
    auto panels = plugin->factory()->PDEPanelsForType(
        QLatin1String(printing::kPrintDialogPanelType), &callback);
    ASSERT_TRUE(panels.has_value());
    ASSERT_EQ(panels->size(), 1u);
    // The factory was handed the bundle before the host asked for panels.
    EXPECT_EQ(panels->front()->panelName(),
              QStringLiteral("Test Panel of com.tarvik.test.TestPlugin"));
    EXPECT_TRUE(panels->front()->saveValuesAndReturnError(nullptr));
    EXPECT_EQ(callback.settings.value(QStringLiteral("test.saved")).toString(),
              panels->front()->panelName());

    auto other =
        plugin->factory()->PDEPanelsForType(QStringLiteral("some-other-dialog"), &callback);
    ASSERT_TRUE(other.has_value());
    EXPECT_TRUE(other->empty());
    panels.reset();
}

TEST_F(PluginLoaderTest, ReloadingAfterUnloadGivesAWorkingFactory) {
    PlistFields fields;
    const QString path = makeBundle(temp.path(), QStringLiteral("Again"), &fields);
    for (int round = 0; round < 2; ++round) {
        auto plugin = PluginLoader::load(path);
        ASSERT_NE(plugin, nullptr) << "round " << round;
        FakeCallback callback;
        auto panels = plugin->factory()->PDEPanelsForType(
            QLatin1String(printing::kPrintDialogPanelType), &callback);
        ASSERT_TRUE(panels.has_value());
        EXPECT_EQ(panels->size(), 1u);
    }
}

TEST_F(PluginLoaderTest, EachBrokenBundleFailsWithItsOwnReason) {
    EXPECT_TRUE(failureLoading(temp.filePath(QStringLiteral("Nowhere.plugin")))
                    .contains(QStringLiteral("no such bundle folder")));

    const QString noPlist = makeBundle(temp.path(), QStringLiteral("NoPlist"), nullptr);
    EXPECT_TRUE(failureLoading(noPlist).contains(QStringLiteral("Info.plist")));

    PlistFields fields;
    fields.identifier = QStringLiteral("com.tarvik.test.NoModule");
    const QString noModule = makeBundle(temp.path(), QStringLiteral("NoModule"), &fields, false);
    EXPECT_TRUE(failureLoading(noModule).contains(QStringLiteral("CFBundleExecutable")));

    fields = PlistFields();
    fields.identifier = QStringLiteral("com.tarvik.test.NoSymbol");
    fields.factory = QStringLiteral("NoSuchEntryPoint");
    const QString noSymbol = makeBundle(temp.path(), QStringLiteral("NoSymbol"), &fields);
    EXPECT_TRUE(failureLoading(noSymbol).contains(QStringLiteral("NoSuchEntryPoint")));

    fields = PlistFields();
    fields.identifier = QStringLiteral("com.tarvik.test.NoFactoryKey");
    fields.factory = QString();
    const QString noFactoryKey = makeBundle(temp.path(), QStringLiteral("NoFactoryKey"), &fields);
    EXPECT_TRUE(failureLoading(noFactoryKey).contains(QStringLiteral("VextelPDEFactory")));

    fields = PlistFields();
    fields.identifier = QStringLiteral("com.tarvik.test.OtherDialog");
    fields.panelTypes = {QStringLiteral("some-other-dialog")};
    const QString otherDialog = makeBundle(temp.path(), QStringLiteral("OtherDialog"), &fields);
    EXPECT_TRUE(failureLoading(otherDialog).contains(QStringLiteral("PDEPanelTypes")));
}

TEST_F(PluginLoaderTest, ModuleThatIsNotALibraryFails) {
    PlistFields fields;
    fields.identifier = QStringLiteral("com.tarvik.test.Garbage");
    const QString path = makeBundle(temp.path(), QStringLiteral("Garbage"), &fields, false);
    QFile module(path + QStringLiteral("/Contents/TestPlugin.so"));
    ASSERT_TRUE(module.open(QIODevice::WriteOnly));
    module.write("not an ELF file");
    module.close();
    EXPECT_TRUE(failureLoading(path).contains(QStringLiteral("cannot load the module")));
}

TEST_F(PluginLoaderTest, FactoryEntryPointsThatFailAreRefusedWithoutThrowing) {
    const struct {
        const char* entry;
        const char* reason;
    } cases[] = {{"VextelTestPluginCreateNull", "made no factory"},
                 {"VextelTestPluginCreateThrowing", "made no factory"},
                 {"VextelTestPluginCreateRefusing", "refused its bundle"}};
    for (const auto& c : cases) {
        PlistFields fields;
        fields.identifier = QStringLiteral("com.tarvik.test.") + QLatin1String(c.entry);
        fields.factory = QLatin1String(c.entry);
        const QString path = makeBundle(temp.path(), QLatin1String(c.entry), &fields);
        EXPECT_TRUE(failureLoading(path).contains(QLatin1String(c.reason))) << c.entry;
    }
}

TEST_F(PluginLoaderTest, SearchFoldersPutEnvironmentEntriesBeforeInstallFolder) {
    vextel_test::EnvironmentScope path("VEXTEL_PDE_PATH", "/one::/two:");
    EXPECT_EQ(
        PluginLoader::searchFolders(QStringLiteral("/install")),
        (QStringList{QStringLiteral("/one"), QStringLiteral("/two"), QStringLiteral("/install")}));
    path.set(QByteArray());
    EXPECT_EQ(PluginLoader::searchFolders(QStringLiteral("/install")),
              QStringList{QStringLiteral("/install")});
    EXPECT_TRUE(PluginLoader::searchFolders(QString()).isEmpty());
}

TEST_F(PluginLoaderTest, FindBundlesSkipsOtherFoldersDuplicatesAndOtherDialogs) {
    const QString first = temp.filePath(QStringLiteral("first"));
    const QString second = temp.filePath(QStringLiteral("second"));
    PlistFields b;
    b.identifier = QStringLiteral("com.tarvik.test.B");
    const QString bPath = makeBundle(first, QStringLiteral("B"), &b);
    PlistFields a;
    a.identifier = QStringLiteral("com.tarvik.test.A");
    const QString aPath = makeBundle(first, QStringLiteral("A"), &a);
    PlistFields other;
    other.identifier = QStringLiteral("com.tarvik.test.Other");
    other.panelTypes = {QStringLiteral("some-other-dialog")};
    makeBundle(first, QStringLiteral("Other"), &other);
    QDir().mkpath(first + QStringLiteral("/NotABundle"));
    // Same identifier as A in a later folder: the first one found wins.
    makeBundle(second, QStringLiteral("AShadow"), &a);
    PlistFields c;
    c.identifier = QStringLiteral("com.tarvik.test.C");
    const QString cPath = makeBundle(second, QStringLiteral("C"), &c);

    const QStringList found =
        PluginLoader::findBundles({first, temp.filePath(QStringLiteral("missing")), second, first});
    EXPECT_EQ(found, (QStringList{aPath, bPath, cPath}));
}

TEST_F(PluginLoaderTest, LoadAllLoadsGoodBundlesAndReportsBrokenOnes) {
    PlistFields good;
    good.identifier = QStringLiteral("com.tarvik.test.Good");
    makeBundle(temp.path(), QStringLiteral("Good"), &good);
    PlistFields broken;
    broken.identifier = QStringLiteral("com.tarvik.test.Broken");
    broken.factory = QStringLiteral("Missing");
    makeBundle(temp.path(), QStringLiteral("Broken"), &broken);

    QStringList errors;
    const auto plugins = PluginLoader::loadAll({temp.path()}, &errors);
    ASSERT_EQ(plugins.size(), 1u);
    EXPECT_EQ(plugins.front()->bundle()->bundleIdentifier(), good.identifier);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.front().contains(QStringLiteral("Broken.plugin")));
}

// ---- Bundles named by the printer's PPD

// A PPD with the given *APDialogExtension values, opened through libcups.
class NamedByPpd {
public:
    NamedByPpd(const QString& folder, const QStringList& values) {
        QString text = QStringLiteral("*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n"
                                      "*FileVersion: \"1.0\"\n*LanguageVersion: English\n"
                                      "*LanguageEncoding: ISOLatin1\n*ModelName: \"Plain\"\n"
                                      "*NickName: \"Plain\"\n*PCFileName: \"PLAIN.PPD\"\n");
        for (const QString& value : values)
            text += QStringLiteral("*APDialogExtension: \"%1\"\n").arg(value);
        const QString path = folder + QStringLiteral("/printer.ppd");
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(text.toUtf8());
        file.close();
        ppd_ = ppdOpenFile(QFile::encodeName(path).constData());
    }
    ~NamedByPpd() { ppdClose(ppd_); }
    ppd_file_t* ppd() const { return ppd_; }

private:
    ppd_file_t* ppd_ = nullptr;
};

TEST_F(PluginLoaderTest, ThePpdNamesItsBundlesByPathOrByNameOnTheSearchPath) {
    const QString folder = temp.filePath(QStringLiteral("plugins"));
    PlistFields fields;
    const QString byPath = makeBundle(temp.path(), QStringLiteral("ByPath"), &fields);
    const QString byName = makeBundle(folder, QStringLiteral("ByName"), &fields);
    const struct {
        const char* name;
        QStringList values;
        QStringList bundles;
        int errors;
    } kCases[] = {
        {"NoneNamed", {}, {}, 0},
        {"ExistingPath", {byPath}, {byPath}, 0},
        {"NameOnTheSearchPath", {QStringLiteral("/usr/lib/nowhere/ByName.plugin")}, {byName}, 0},
        {"BareName", {QStringLiteral("ByName.plugin")}, {byName}, 0},
        {"Missing", {QStringLiteral("/usr/lib/nowhere/Missing.plugin")}, {}, 1},
        {"EmptyValue", {QString()}, {}, 1},
        {"TwiceCountsOnce", {byPath, byPath, QStringLiteral("ByName.plugin")}, {byPath, byName}, 0},
        {"MissingBesideFound", {QStringLiteral("Missing.plugin"), byPath}, {byPath}, 1},
        {"SeveralMissingInOneLine",
         {QStringLiteral("/Library/A.plugin"), QStringLiteral("/Library/B.plugin")},
         {},
         1},
    };
    for (const auto& row : kCases) {
        const NamedByPpd ppd(temp.path(), row.values);
        ASSERT_NE(ppd.ppd(), nullptr) << row.name;
        QStringList errors;
        EXPECT_EQ(PluginLoader::bundlesNamedByPpd(ppd.ppd(), {folder}, &errors), row.bundles)
            << row.name;
        EXPECT_EQ(errors.size(), row.errors) << row.name;
    }
    EXPECT_TRUE(PluginLoader::bundlesNamedByPpd(nullptr, {folder}).isEmpty());
}

TEST_F(PluginLoaderTest, LoadForPpdLoadsOnlyWhatThePpdNamesAndReportsWhatFails) {
    PlistFields good;
    good.identifier = QStringLiteral("com.tarvik.test.Good");
    makeBundle(temp.path(), QStringLiteral("Good"), &good);
    PlistFields unnamed;
    unnamed.identifier = QStringLiteral("com.tarvik.test.Unnamed");
    makeBundle(temp.path(), QStringLiteral("Unnamed"), &unnamed);
    PlistFields broken;
    broken.identifier = QStringLiteral("com.tarvik.test.Broken");
    broken.factory = QStringLiteral("Missing");
    makeBundle(temp.path(), QStringLiteral("Broken"), &broken);

    const NamedByPpd ppd(temp.path(),
                         {QStringLiteral("Good.plugin"), QStringLiteral("Broken.plugin")});
    QStringList errors;
    const auto plugins = PluginLoader::loadForPpd(ppd.ppd(), {temp.path()}, &errors);
    ASSERT_EQ(plugins.size(), 1u);
    EXPECT_EQ(plugins.front()->bundle()->bundleIdentifier(), good.identifier);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.front().contains(QStringLiteral("Broken.plugin")));

    const NamedByPpd plain(temp.path(), {});
    EXPECT_TRUE(PluginLoader::loadForPpd(plain.ppd(), {temp.path()}).empty());
}

} // namespace
