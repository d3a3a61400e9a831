#include "UtilityService.h"

#include "kit/Environment.h"
#include "kit/IdentityService.h"
#include "kit/NetworkConfiguration.h"
#include "kit/SystemLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <plist/plist.h>
#include <sys/stat.h>

using namespace tarvik_pde_m40vextel;

// ---- UTF-16 fields

TEST(StringFromUnicodeBuf, ReadsTheTextBeforeTheTerminator) {
    // "Aé" then the terminator, in a 66-byte field as the address-book records carry.
    unsigned char field[66] = {'A', 0, 0xE9, 0, 0x42, 0x30};
    EXPECT_EQ(UtilityService::stringFromUnicodeBuf(field, sizeof field),
              QStringLiteral("A\u00e9\u3042"));
    // A character outside the BMP as its surrogate pair.
    unsigned char emoji[6] = {0x3D, 0xD8, 0x00, 0xDE, 0, 0};
    EXPECT_EQ(UtilityService::stringFromUnicodeBuf(emoji, sizeof emoji),
              QString::fromUcs4(U"\U0001F600"));
}

TEST(StringFromUnicodeBuf, GivesNoneForEmptyUnterminatedOrMissingFields) {
    const unsigned char empty[4] = {0, 0, 'A', 0};
    const unsigned char full[4] = {'A', 0, 'B', 0};
    EXPECT_FALSE(UtilityService::stringFromUnicodeBuf(empty, sizeof empty));
    EXPECT_FALSE(UtilityService::stringFromUnicodeBuf(full, sizeof full));
    EXPECT_FALSE(UtilityService::stringFromUnicodeBuf(nullptr, 4));
    EXPECT_FALSE(UtilityService::stringFromUnicodeBuf(full, 0));
}

// ---- Host IPv4 address

namespace {

kit::NetworkConfiguration::Values networkWith(const QVariant& active, const QVariant& addresses) {
    kit::NetworkConfiguration::Values values;
    values.insert(QStringLiteral("State:/Network/Global/IPv4"),
                  {{QStringLiteral("PrimaryInterface"), QStringLiteral("en0")},
                   {QStringLiteral("PrimaryService"), QStringLiteral("SVC-1")}});
    values.insert(QStringLiteral("State:/Network/Interface/en0/Link"),
                  {{QStringLiteral("Active"), active}});
    QVariantMap service;
    if (addresses.isValid()) {
        service.insert(QStringLiteral("Addresses"), addresses);
    }
    values.insert(QStringLiteral("State:/Network/Service/SVC-1/IPv4"), service);
    return values;
}

} // namespace

TEST(CopyHostIPv4Address, GivesThePrimaryServicesFirstAddress) {
    kit::NetworkConfiguration::Override network(
        networkWith(true, QStringList{QStringLiteral("10.0.0.5"), QStringLiteral("10.0.0.6")}));
    EXPECT_EQ(UtilityService::copyHostIPv4Address(), QStringLiteral("10.0.0.5"));
    EXPECT_EQ(network.clientNames(), QStringList{QStringLiteral("systempreference")});
}

TEST(CopyHostIPv4Address, GivesNoneWithoutAnActiveLinkOrAnAddress) {
    const QVariant addresses = QStringList{QStringLiteral("10.0.0.5")};
    {
        kit::NetworkConfiguration::Override inactive(networkWith(false, addresses));
        EXPECT_FALSE(UtilityService::copyHostIPv4Address());
    }
    {
        kit::NetworkConfiguration::Override notABoolean(networkWith(1, addresses));
        EXPECT_FALSE(UtilityService::copyHostIPv4Address());
    }
    {
        kit::NetworkConfiguration::Override noAddresses(networkWith(true, QVariant()));
        EXPECT_FALSE(UtilityService::copyHostIPv4Address());
    }
    {
        kit::NetworkConfiguration::Override emptyAddresses(networkWith(true, QStringList()));
        EXPECT_FALSE(UtilityService::copyHostIPv4Address());
    }
    {
        kit::NetworkConfiguration::Values values = networkWith(true, addresses);
        values[QStringLiteral("State:/Network/Global/IPv4")].remove(
            QStringLiteral("PrimaryService"));
        kit::NetworkConfiguration::Override noService(values);
        EXPECT_FALSE(UtilityService::copyHostIPv4Address());
    }
    {
        kit::NetworkConfiguration::Values values = networkWith(true, addresses);
        values.remove(QStringLiteral("State:/Network/Interface/en0/Link"));
        kit::NetworkConfiguration::Override noLink(values);
        EXPECT_FALSE(UtilityService::copyHostIPv4Address());
    }
    {
        kit::NetworkConfiguration::Override unavailable(networkWith(true, addresses), false);
        EXPECT_FALSE(UtilityService::copyHostIPv4Address());
    }
}

// ---- Help registration store

namespace {

const char* const kStore = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0">
<dict>
	<key>RegisteredBooks</key>
	<dict>
		<key>com.tarvik.print.pde.M40Vextel</key>
		<array>
			<dict>
				<key>url</key>
				<string>file:///plugins/VextelPDE.plugin/Contents/Resources/en.lproj/Help/</string>
			</dict>
		</array>
		<key>com.tarvik.plain</key>
		<array>
			<dict>
				<key>url</key>
				<string>file:///plugins/Plain.plugin/Contents/Resources/Help/</string>
			</dict>
		</array>
		%1
	</dict>
	<key>RegistrationOrder</key>
	<array>
		<string>com.tarvik.plain</string>
		<string>com.tarvik.print.pde.M40Vextel</string>
		<string>com.tarvik.print.pde.M40Vextel</string>
	</array>
</dict>
</plist>
)";

struct PlistFree {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

class HelpStore : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        path = UtilityService::helpRegistrationStorePath();
        ASSERT_TRUE(path.startsWith(home.path()));
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    }

    void writeStore(const QString& extra = {}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QString::fromUtf8(kStore).arg(extra).toUtf8());
    }

    QByteArray storeBytes() const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    ino_t storeInode() const {
        struct stat info {};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
    }

    PlistPtr parsedStore() const {
        const QByteArray bytes = storeBytes();
        plist_t root = nullptr;
        plist_from_xml(bytes.constData(), static_cast<uint32_t>(bytes.size()), &root);
        return PlistPtr(root);
    }

    static QStringList order(plist_t root) {
        QStringList identifiers;
        const plist_t array = plist_dict_get_item(root, "RegistrationOrder");
        for (uint32_t i = 0; array != nullptr && i < plist_array_get_size(array); ++i) {
            char* text = nullptr;
            plist_get_string_val(plist_array_get_item(array, i), &text);
            identifiers.append(QString::fromUtf8(text));
            std::free(text);
        }
        return identifiers;
    }

    QTemporaryDir home;
    kit::Environment::HomeDirectoryOverride homeOverride{home.path()};
    QString path;
};

} // namespace

TEST_F(HelpStore, RemovesALocalizedRegistrationAtomically) {
    writeStore();
    const ino_t before = storeInode();
    UtilityService::removeHelpCacheForBundleID(QStringLiteral("com.tarvik.print.pde.M40Vextel"));

    EXPECT_NE(storeInode(), before) << "replaced by rename, not rewritten in place";
    const PlistPtr root = parsedStore();
    ASSERT_TRUE(root);
    const plist_t books = plist_dict_get_item(root.get(), "RegisteredBooks");
    ASSERT_NE(books, nullptr);
    EXPECT_EQ(plist_dict_get_item(books, "com.tarvik.print.pde.M40Vextel"), nullptr);
    EXPECT_NE(plist_dict_get_item(books, "com.tarvik.plain"), nullptr);
    EXPECT_EQ(order(root.get()), QStringList({QStringLiteral("com.tarvik.plain"),
                                              QStringLiteral("com.tarvik.print.pde.M40Vextel")}))
        << "only the first equal element goes";
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files),
              QStringList{QStringLiteral("help.plist")})
        << "no temporary or lock file is left behind";
}

TEST_F(HelpStore, LeavesTheFileUntouchedWhenNothingMatches) {
    writeStore();
    const QByteArray original = storeBytes();
    const ino_t before = storeInode();
    UtilityService::removeHelpCacheForBundleID(QStringLiteral("com.tarvik.plain"));
    UtilityService::removeHelpCacheForBundleID(QStringLiteral("com.tarvik.unknown"));
    UtilityService::removeHelpCacheForBundleID(std::nullopt);
    EXPECT_EQ(storeBytes(), original);
    EXPECT_EQ(storeInode(), before);
}

TEST_F(HelpStore, IgnoresMissingOrUnreadableStores) {
    UtilityService::removeHelpCacheForBundleID(QStringLiteral("com.tarvik.print.pde.M40Vextel"));
    EXPECT_FALSE(QFileInfo::exists(path)) << "no store is created";

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a property list");
    file.close();
    UtilityService::removeHelpCacheForBundleID(QStringLiteral("com.tarvik.print.pde.M40Vextel"));
    EXPECT_EQ(storeBytes(), QByteArray("not a property list"));
}

TEST_F(HelpStore, LogsAStoreThatHasNoXmlFormAndStillWritesIt) {
    // A keyed-archive identifier has no XML form; only the binary format carries it.
    writeStore();
    PlistPtr root = parsedStore();
    ASSERT_TRUE(root);
    plist_dict_set_item(plist_dict_get_item(root.get(), "RegisteredBooks"), "com.tarvik.archived",
                        plist_new_uid(3));
    char* binary = nullptr;
    uint32_t length = 0;
    plist_to_bin(root.get(), &binary, &length);
    ASSERT_NE(binary, nullptr);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(binary, length);
    }
    plist_to_bin_free(binary);

    kit::SystemLog::Capture log;
    UtilityService::removeHelpCacheForBundleID(QStringLiteral("com.tarvik.print.pde.M40Vextel"));
    EXPECT_EQ(log.lines(), QStringList{QStringLiteral("Illegal Property List.")});
    EXPECT_TRUE(storeBytes().startsWith("<?xml")) << "written in the XML format all the same";
    const PlistPtr after = parsedStore();
    ASSERT_TRUE(after);
    EXPECT_EQ(plist_dict_get_item(plist_dict_get_item(after.get(), "RegisteredBooks"),
                                  "com.tarvik.print.pde.M40Vextel"),
              nullptr);
}

// ---- Sandbox

TEST(IsSandboxed, DecidedOnceFromTheHomeDirectory) {
    kit::Environment::resetCachesForTesting();
    {
        kit::Environment::HomeDirectoryOverride container(
            QStringLiteral("/home/ann/Library/Containers/com.example.App/Data"));
        EXPECT_TRUE(UtilityService::isSandboxed());
    }
    kit::Environment::HomeDirectoryOverride plain(QStringLiteral("/home/ann"));
    EXPECT_TRUE(UtilityService::isSandboxed()) << "kept for the process life";
    kit::Environment::resetCachesForTesting();
    EXPECT_FALSE(UtilityService::isSandboxed());
    kit::Environment::resetCachesForTesting();
}

// ---- Administrator test

namespace {

class FakeIdentities : public kit::IdentityService {
public:
    Status groupStatus = Status::Ok;
    Status memberStatus = Status::Ok;
    QList<Identity> groups{{QStringLiteral("admin"), 80}};
    QStringList members{QString(), QStringLiteral("bob"), QStringLiteral("ann")};
    mutable QStringList askedGroups;

    Status findGroups(const QString& name, QList<Identity>* found) const override {
        askedGroups.append(name);
        *found = groups;
        return groupStatus;
    }
    Status groupMembers(const Identity& group, QStringList* names) const override {
        *names = group.id == 80 ? members : QStringList();
        return memberStatus;
    }
};

} // namespace

TEST(CheckIfAdminUser, FindsTheUserAmongTheAdminGroupsMembers) {
    FakeIdentities identities;
    kit::IdentityService::Override use(identities);
    EXPECT_TRUE(UtilityService::checkIfAdminUser(QStringLiteral("ann")));
    EXPECT_FALSE(UtilityService::checkIfAdminUser(QStringLiteral("cy")));
    EXPECT_FALSE(UtilityService::checkIfAdminUser(QString(""))) << "empty names never match";
    EXPECT_EQ(identities.askedGroups.value(0), QStringLiteral("admin"));

    identities.askedGroups.clear();
    EXPECT_FALSE(UtilityService::checkIfAdminUser(std::nullopt));
    EXPECT_TRUE(identities.askedGroups.isEmpty()) << "no query without a user name";

    identities.groups.clear();
    EXPECT_FALSE(UtilityService::checkIfAdminUser(QStringLiteral("ann")));
}

TEST(CheckIfAdminUser, LogsFailedQueries) {
    using Status = kit::IdentityService::Status;
    FakeIdentities identities;
    kit::IdentityService::Override use(identities);
    const std::pair<Status, const char*> groupFailures[] = {
        {Status::QueryCreateFailed, "UtilityService - CSIdentityQueryCreateForName failed."},
        {Status::QueryExecuteFailed, "UtilityService - CSIdentityQueryExecute failed."},
        {Status::NoResults, "UtilityService - CSIdentityQueryCopyResults failed."},
    };
    for (const auto& [status, line] : groupFailures) {
        identities.groupStatus = status;
        kit::SystemLog::Capture log;
        EXPECT_FALSE(UtilityService::checkIfAdminUser(QStringLiteral("ann")));
        EXPECT_EQ(log.lines(), QStringList{QString::fromLatin1(line)});
    }
    identities.groupStatus = Status::Ok;
    {
        identities.memberStatus = Status::QueryCreateFailed;
        kit::SystemLog::Capture log;
        EXPECT_FALSE(UtilityService::checkIfAdminUser(QStringLiteral("ann")));
        EXPECT_EQ(log.lines(),
                  QStringList{QStringLiteral(
                      "UtilityService - CSIdentityCreateGroupMembershipQuery failed.")});
    }
    {
        identities.memberStatus = Status::QueryExecuteFailed;
        kit::SystemLog::Capture log;
        EXPECT_FALSE(UtilityService::checkIfAdminUser(QStringLiteral("ann")));
        EXPECT_TRUE(log.lines().isEmpty());
    }
}
