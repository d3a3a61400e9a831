// The fax panel's printer address (from the device URI, through DNS-SD for a printer found that
// way) and the launch of the address-book editor with it.
#include "kit/AlertDriver.h"
#include "kit/Bundle.h"
#include "kit/Environment.h"
#include "kit/NetService.h"
#include "kit/Resolver.h"
#include "kit/SystemLog.h"
#include "kit/Workspace.h"
#include "support/EnvironmentScope.h"
#include "vextelpde/PanelTestSupport.h"
#include "vextelpde/VextelPdeInterface.h"
#include "vextelpde/VextelPdePlugin.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <arpa/inet.h>
#include <cstring>
#include <gtest/gtest.h>
#include <netdb.h>
#include <netinet/in.h>

using tarvik_pde_m40vextel::VextelPdeInterface;

namespace {

const QString kEditorId = QStringLiteral("com.tarvik.print.VextelAddressBook");
const QString kNotFound = QStringLiteral("Address Book Editor not found.");

// Records each resolution the panel starts; answers only when the test says so.
class RecordingDriver : public kit::NetService::Driver {
public:
    void resolve(kit::NetService& service) override { services.append(&service); }
    QList<QPointer<kit::NetService>> services;
};

// "printer.test" resolves to 10.1.2.3, every other name fails; interface 3 is "en0", 9 has the
// longest name an interface can have.
class FakeResolver : public kit::Resolver {
public:
    int getAddressInfo(const char* host, addrinfo** result) const override {
        ++lookups;
        if (std::strcmp(host, "printer.test") != 0) {
            return EAI_NONAME;
        }
        address.sin_family = AF_INET;
        inet_pton(AF_INET, "10.1.2.3", &address.sin_addr);
        entry.ai_family = AF_INET;
        entry.ai_addr = reinterpret_cast<sockaddr*>(&address);
        entry.ai_addrlen = sizeof address;
        *result = &entry;
        return 0;
    }
    void freeAddressInfo(addrinfo*) const override {}
    char* interfaceName(unsigned int index, char* name) const override {
        const char* known = index == 3 ? "en0" : index == 9 ? "interface012345" : nullptr;
        return known == nullptr ? nullptr : std::strcpy(name, known);
    }
    mutable int lookups = 0;

private:
    mutable sockaddr_in address{};
    mutable addrinfo entry{};
};

QByteArray ipv4Record(const char* text) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    inet_pton(AF_INET, text, &address.sin_addr);
    return QByteArray(reinterpret_cast<const char*>(&address), sizeof address);
}

QByteArray ipv6Record(const char* text, uint32_t scope) {
    sockaddr_in6 address{};
    address.sin6_family = AF_INET6;
    inet_pton(AF_INET6, text, &address.sin6_addr);
    address.sin6_scope_id = scope;
    return QByteArray(reinterpret_cast<const char*>(&address), sizeof address);
}

QByteArray otherFamilyRecord() {
    sockaddr_in6 address{};
    address.sin6_family = AF_UNIX;
    return QByteArray(reinterpret_cast<const char*>(&address), sizeof address);
}

class PanelAddressTest : public ::testing::Test {
protected:
    void SetUp() override {
        tarvik_pde_m40vextel::VextelPdePlugin::registerClasses();
        bundle = panel_test::pluginBundle();
        ASSERT_TRUE(bundle);
        ppd = panel_test::openPpd(panel_test::kMainPpd);
        ASSERT_TRUE(ppd);
        host = std::make_unique<panel_test::FakeHost>(ppd.get());
        kit::Environment::sandboxCache() = 0;
    }
    void TearDown() override {
        panel.reset();
        kit::Environment::resetCachesForTesting();
    }

    VextelPdeInterface& open(const QString& deviceUri) {
        host->printer.setDeviceURI(deviceUri);
        panel = std::make_unique<VextelPdeInterface>(host.get(), bundle);
        return *panel;
    }
    static void turnLoop() { QCoreApplication::processEvents(); }

    RecordingDriver driver;
    kit::NetService::DriverScope useDriver{driver};
    FakeResolver resolver;
    kit::Resolver::Override useResolver{resolver};
    kit::SystemLog::Capture log;
    std::shared_ptr<kit::Bundle> bundle;
    panel_test::PpdPtr ppd;
    std::unique_ptr<panel_test::FakeHost> host;
    std::unique_ptr<VextelPdeInterface> panel;
};

const char* text(const std::optional<QString>& address) {
    static std::string kept;
    kept = address ? "\"" + address->toStdString() + "\"" : std::string("(none)");
    return kept.c_str();
}

} // namespace

// ---- The device URI

TEST_F(PanelAddressTest, EachSchemeGivesItsAddressAtOnceOrAsksDnsSd) {
    const QString overlong = QStringLiteral("socket://") + QString(4096, QLatin1Char('a'));
    const struct {
        QString uri;
        const char* address; // nullptr: stays absent
        QString service;     // "name|type|domain" of the DNS-SD request, empty: none
    } rows[] = {
        {"socket://192.168.1.20:9100", "192.168.1.20", ""},
        {"LPD://user@10.0.0.7/queue", "10.0.0.7", ""},
        {"ipp://[2001:db8::5]:631/ipp/print", "2001:db8::5", ""},
        {"Socket://printer.test", "10.1.2.3", ""},
        {"socket://nowhere.test:9100", nullptr, ""},
        {"USB://Tarvik/M40?serial=1", "", ""},
        {"usb:", "", ""},
        {"http://10.0.0.1/", nullptr, ""},
        {"socket:///", nullptr, ""},
        {"socket://:9100", nullptr, ""},
        {"ipp://[2001:db8::5/", nullptr, ""},
        {overlong, nullptr, ""},
        {"no device", nullptr, ""},
        {"", nullptr, ""},
        {"dnssd://Office%20Fax._ipp._tcp.local./?uuid=1", nullptr, "Office Fax|_ipp._tcp.|local."},
        {"MDNS://Fax%2EOne._printer._tcp.local./", nullptr, "Fax.One|_printer._tcp.|local."},
        {"dnssd://Plain._ipp", nullptr, "Plain|_ipp._tcp.|local."},
        {"dnssd://B%C3%BCro._ipp._tcp.local./", nullptr, "B\u00fcro|_ipp._tcp.|local."},
        {"dnssd://NoType._tcp.local./", nullptr, ""},
        {"dnssd://%FF%FE._ipp._tcp.local./", nullptr, ""},
        {"dnssd://a%00b._ipp._tcp.local./", nullptr, ""},
        {"dnssd://bad%2._ipp._tcp.local./", nullptr, ""},
        {"dnssd:///", nullptr, ""},
    };
    for (const auto& row : rows) {
        driver.services.clear();
        open(row.uri);
        const std::optional<QString> expected =
            row.address ? std::optional<QString>(QString::fromUtf8(row.address)) : std::nullopt;
        EXPECT_EQ(panel->printerAddress(), expected)
            << row.uri.left(60).toStdString() << " gave " << text(panel->printerAddress());
        QString asked;
        if (!driver.services.isEmpty()) {
            const kit::NetService* service = driver.services.constFirst();
            asked = service->name() + "|" + service->type() + "|" + service->domain();
            EXPECT_EQ(service->timeout(), 5.0);
        }
        EXPECT_EQ(asked, row.service) << row.uri.toStdString();
    }
    // The overlong host was refused, not resolved cut short.
    EXPECT_TRUE(log.contains("resolveTargetDevice: the host name is too long."));
}

TEST_F(PanelAddressTest, FirstInternetAddressOfTheAnswerBecomesTheAddress) {
    const struct {
        const char* name;
        QList<QByteArray> addresses;
        const char* address;
    } rows[] = {
        {"IPv4", {ipv4Record("10.0.0.5"), ipv4Record("10.0.0.6")}, "10.0.0.5"},
        {"LinkLocalOnEn0", {ipv6Record("fe80::1", 3), ipv4Record("10.0.0.5")}, "fe80::1%en0"},
        {"LinkLocalTopOfRange", {ipv6Record("febf::2", 3)}, "febf::2%en0"},
        {"NotLinkLocal", {ipv6Record("fec0::1", 3)}, "fec0::1"},
        {"GlobalKeepsNoScope", {ipv6Record("2001:db8::1", 3)}, "2001:db8::1"},
        {"UnknownInterface", {ipv6Record("fe80::1", 4)}, "fe80::1"},
        {"NoScope", {ipv6Record("fe80::1", 0)}, "fe80::1"},
        // 39 characters, "%" and a 15-character name do not fit 46 bytes: no cut name.
        {"ScopedFormTooLong",
         {ipv6Record("fe80:ffff:ffff:ffff:ffff:ffff:ffff:ffff", 9)},
         "fe80:ffff:ffff:ffff:ffff:ffff:ffff:ffff"},
        {"ScopedFormJustFits",
         {ipv6Record("fe80::aaaa:bbbb:cccc:dddd", 9)},
         "fe80::aaaa:bbbb:cccc:dddd%interface012345"},
        {"OtherFamilySkipped",
         {otherFamilyRecord(), QByteArray("short"), ipv4Record("10.0.0.9")},
         "10.0.0.9"},
        {"NothingUsable", {otherFamilyRecord()}, nullptr},
        {"Empty", {}, nullptr},
    };
    for (const auto& row : rows) {
        driver.services.clear();
        open(QStringLiteral("dnssd://Office%20Fax._ipp._tcp.local./"));
        ASSERT_EQ(driver.services.size(), 1);
        driver.services.constFirst()->answerWithAddresses(row.addresses);
        EXPECT_FALSE(panel->printerAddress()) << row.name << ": answered inside the call";
        turnLoop();
        const std::optional<QString> expected =
            row.address ? std::optional<QString>(QString::fromLatin1(row.address)) : std::nullopt;
        EXPECT_EQ(panel->printerAddress(), expected)
            << row.name << " gave " << text(panel->printerAddress());
        EXPECT_EQ(panel->pendingNetService(), nullptr) << row.name;
        EXPECT_TRUE(driver.services.constFirst().isNull()) << row.name << ": service kept";
    }
}

TEST_F(PanelAddressTest, FailedResolutionIsLoggedWithTheServiceNameAndLeavesNoAddress) {
    open(QStringLiteral("dnssd://Office%20Fax._ipp._tcp.local./"));
    ASSERT_EQ(driver.services.size(), 1);
    driver.services.constFirst()->answerWithError(QStringLiteral("no answer within 5.0 s"));
    turnLoop();
    EXPECT_FALSE(panel->printerAddress());
    EXPECT_TRUE(log.contains("Failed to resolve the Bonjour service Office Fax"))
        << log.lines().join('\n').toStdString();
    EXPECT_TRUE(driver.services.constFirst().isNull());
}

TEST_F(PanelAddressTest, AnswerPendingWhenThePanelGoesNeverReachesIt) {
    open(QStringLiteral("dnssd://Office%20Fax._ipp._tcp.local./"));
    ASSERT_EQ(driver.services.size(), 1);
    QPointer<kit::NetService> service = driver.services.constFirst();
    service->answerWithAddresses({ipv4Record("10.0.0.5")});
    panel.reset();
    EXPECT_TRUE(service.isNull());
    turnLoop(); // the queued answer must find nobody (a sanitizer build checks the memory)
    EXPECT_TRUE(log.lines().filter("Bonjour").isEmpty());
}

TEST_F(PanelAddressTest, SandboxedPanelResolvesAtTheFirstViewOnly) {
    kit::Environment::sandboxCache() = 1;
    open(QStringLiteral("dnssd://Office%20Fax._ipp._tcp.local./"));
    EXPECT_TRUE(driver.services.isEmpty());
    ASSERT_NE(panel->panelView(), nullptr);
    ASSERT_NE(panel->panelView(), nullptr);
    EXPECT_EQ(driver.services.size(), 1);

    kit::Environment::sandboxCache() = 0;
    driver.services.clear();
    open(QStringLiteral("usb://Tarvik/M40"));
    EXPECT_EQ(panel->printerAddress(), QString(""));
    ASSERT_NE(panel->panelView(), nullptr);
    EXPECT_TRUE(driver.services.isEmpty());
}

// ---- The address-book editor

namespace {

class EditorLaunchTest : public PanelAddressTest {
protected:
    void SetUp() override {
        PanelAddressTest::SetUp();
        ASSERT_TRUE(QDir().mkpath(data.filePath("applications")));
        program = data.filePath("vextel-addressbook");
        QFile script(program);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nexit 0\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        writeEntry("Exec=" + program.toUtf8() + " %U\n");
    }

    void writeEntry(const QByteArray& lines) {
        QFile file(data.filePath("applications/" + kEditorId + ".desktop"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[Desktop Entry]\nType=Application\nName=Address Book\n" + lines);
    }

    // Each launch as "id|program|arguments" (arguments joined by ",").
    static QStringList launches(const kit::Workspace::LaunchRecorder& recorder) {
        QStringList result;
        for (const auto& launch : recorder.launches()) {
            result.append(launch.identifier + "|" + launch.program + "|" +
                          launch.arguments.join(","));
        }
        return result;
    }

    QTemporaryDir data;
    vextel_test::EnvironmentScope dataHome{"XDG_DATA_HOME", data.path().toLocal8Bit()};
    vextel_test::EnvironmentScope dataDirs{"XDG_DATA_DIRS", data.filePath("none").toLocal8Bit()};
    QString program;
    kit::Workspace::LaunchRecorder recorder;
    kit::AlertDriver alerts;
    kit::AlertDriverScope useAlerts{alerts};
};

} // namespace

TEST_F(EditorLaunchTest, EditorGetsThePrinterConnectionAsSeparateArguments) {
    const struct {
        QString uri;
        QStringList launches;
        bool logsUnresolved;
    } rows[] = {
        {"socket://192.168.1.20:9100",
         {"|" + program + "|-VTELConnectionType NET,-VTELAddress 192.168.1.20"},
         false},
        {"USB://Tarvik/M40", {"|" + program + "|-VTELConnectionType USB"}, false},
        {"http://10.0.0.1/", {kEditorId + "|" + program + "|"}, true},
    };
    for (const auto& row : rows) {
        kit::Workspace::LaunchRecorder rowRecorder;
        open(row.uri);
        log.clear();
        panel->launchAddressBook(nullptr);
        EXPECT_EQ(launches(rowRecorder), row.launches) << row.uri.toStdString();
        EXPECT_EQ(log.contains("Failed to resolve the current printer URI!"), row.logsUnresolved)
            << row.uri.toStdString();
        EXPECT_TRUE(alerts.alerts().isEmpty()) << row.uri.toStdString();
    }
}

TEST_F(EditorLaunchTest, RunningEditorIsLaunchedByIdentifierWithoutArguments) {
    recorder.runningIdentifiers = QStringList{kEditorId};
    open(QStringLiteral("socket://192.168.1.20:9100")).launchAddressBook(nullptr);
    EXPECT_EQ(launches(recorder), QStringList{kEditorId + "|" + program + "|"});
}

TEST_F(EditorLaunchTest, EditorPathIsFoundOnceAndKept) {
    open(QStringLiteral("usb://Tarvik/M40")).launchAddressBook(nullptr);
    ASSERT_TRUE(QFile::remove(data.filePath("applications/" + kEditorId + ".desktop")));
    panel->launchAddressBook(nullptr);
    EXPECT_EQ(launches(recorder), QStringList(2, "|" + program + "|-VTELConnectionType USB"));
    EXPECT_TRUE(alerts.alerts().isEmpty());
}

TEST_F(EditorLaunchTest, EveryFailureEndsInTheOneAlertAndStartsNothing) {
    const struct {
        const char* name;
        QByteArray entry; // empty: no desktop entry at all
        QString uri;
        bool launchFails;
    } rows[] = {
        {"NoEntry", "", "usb://Tarvik/M40", false},
        {"HiddenEntry", "Exec=/bin/true\nHidden=true\n", "usb://Tarvik/M40", false},
        {"MissingProgram", "Exec=/nonexistent/editor\n", "usb://Tarvik/M40", false},
        {"NoExecLine", "Comment=broken\n", "usb://Tarvik/M40", false},
        {"TaskDoesNotStart", "Exec=/bin/true\n", "usb://Tarvik/M40", true},
        {"LaunchByIdentifierFails", "Exec=/bin/true\n", "http://x/", true},
    };
    for (const auto& row : rows) {
        QFile::remove(data.filePath("applications/" + kEditorId + ".desktop"));
        if (!row.entry.isEmpty()) {
            writeEntry(row.entry);
        }
        alerts.clear();
        kit::Workspace::LaunchRecorder rowRecorder;
        rowRecorder.launchResult = !row.launchFails;
        open(row.uri).launchAddressBook(nullptr);
        ASSERT_EQ(alerts.alerts().size(), 1) << row.name;
        EXPECT_EQ(alerts.alerts().constFirst().messageText, kNotFound) << row.name;
        EXPECT_EQ(alerts.alerts().constFirst().buttons, QStringList{"OK"}) << row.name;
        EXPECT_EQ(rowRecorder.launches().size(), row.launchFails ? 1 : 0) << row.name;
    }
}

TEST_F(EditorLaunchTest, NoIdentifierInTheInfoPlistShowsTheAlertAndStartsNothing) {
    QTemporaryDir copy;
    const QString contents = copy.filePath("VextelPDE.plugin/Contents");
    ASSERT_TRUE(QDir().mkpath(contents));
    QFile source(QStringLiteral(VEXTEL_PLUGIN_DIR "/VextelPDE.plugin/Contents/Info.plist"));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    QByteArray plist = source.readAll();
    const QByteArray key = "<key>AddressBookBundleIdentifier</key>";
    const qsizetype at = plist.indexOf(key);
    ASSERT_GE(at, 0);
    plist.remove(at, plist.indexOf("</string>", at) + 9 - at);
    QFile target(contents + "/Info.plist");
    ASSERT_TRUE(target.open(QIODevice::WriteOnly));
    target.write(plist);
    target.close();
    bundle = kit::Bundle::open(copy.filePath("VextelPDE.plugin"));
    ASSERT_TRUE(bundle);
    ASSERT_FALSE(bundle->objectForInfoDictionaryKey("AddressBookBundleIdentifier").isValid());

    open(QStringLiteral("usb://Tarvik/M40")).launchAddressBook(nullptr);
    EXPECT_EQ(alerts.messages(), QStringList{kNotFound});
    EXPECT_TRUE(recorder.launches().isEmpty());
}
