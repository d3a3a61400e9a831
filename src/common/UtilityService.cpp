#include "UtilityService.h"

#include "UtilityFunctions.h"
#include "kit/Environment.h"
#include "kit/IdentityService.h"
#include "kit/NetworkConfiguration.h"
#include "kit/SystemLog.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStringList>
#include <QVariantMap>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <plist/plist.h>

namespace tarvik_pde_m40vextel {

namespace {

constexpr int kStoreLockTimeoutMs = 5000;

struct PlistFree {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

QString stringValue(const QVariantMap& map, const QString& key) {
    const QVariant value = map.value(key);
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

bool isStringEqual(plist_t node, const QByteArray& text) {
    if (node == nullptr || plist_get_node_type(node) != PLIST_STRING) {
        return false;
    }
    uint64_t length = 0;
    const char* value = plist_get_string_ptr(node, &length);
    return value != nullptr && QByteArray(value, static_cast<qsizetype>(length)) == text;
}

bool registeredUrlIsLocalized(plist_t registrations) {
    if (registrations == nullptr || plist_get_node_type(registrations) != PLIST_ARRAY ||
        plist_array_get_size(registrations) == 0) {
        return false;
    }
    const plist_t first = plist_array_get_item(registrations, 0);
    if (first == nullptr || plist_get_node_type(first) != PLIST_DICT) {
        return false;
    }
    const plist_t url = plist_dict_get_item(first, "url");
    if (url == nullptr || plist_get_node_type(url) != PLIST_STRING) {
        return false;
    }
    uint64_t length = 0;
    const char* text = plist_get_string_ptr(url, &length);
    return text != nullptr &&
           QByteArray(text, static_cast<qsizetype>(length)).contains(QByteArrayLiteral(".lproj"));
}

void removeFirstEqualString(plist_t array, const QByteArray& text) {
    if (array == nullptr || plist_get_node_type(array) != PLIST_ARRAY) {
        return;
    }
    const uint32_t size = plist_array_get_size(array);
    for (uint32_t i = 0; i < size; ++i) {
        if (isStringEqual(plist_array_get_item(array, i), text)) {
            plist_array_remove_item(array, i);
            return;
        }
    }
}

// Every node must have an XML form: keyed-archive identifiers have none.
bool isValidForXml(plist_t node) {
    switch (plist_get_node_type(node)) {
    case PLIST_UID:
    case PLIST_NONE:
        return false;
    case PLIST_ARRAY: {
        const uint32_t size = plist_array_get_size(node);
        for (uint32_t i = 0; i < size; ++i) {
            if (!isValidForXml(plist_array_get_item(node, i))) {
                return false;
            }
        }
        return true;
    }
    case PLIST_DICT: {
        plist_dict_iter iterator = nullptr;
        plist_dict_new_iter(node, &iterator);
        bool valid = true;
        for (;;) {
            // The key is not needed, and asking for it asserts when it holds a NUL.
            plist_t value = nullptr;
            plist_dict_next_item(node, iterator, nullptr, &value);
            if (value == nullptr) {
                break;
            }
            if (!isValidForXml(value)) {
                valid = false;
                break;
            }
        }
        std::free(iterator);
        return valid;
    }
    default:
        return true;
    }
}

PlistPtr readPropertyList(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return nullptr;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError || data.isEmpty() || data.size() > INT32_MAX) {
        return nullptr;
    }
    plist_t root = nullptr;
    plist_from_memory(data.constData(), static_cast<uint32_t>(data.size()), &root);
    return PlistPtr(root);
}

// Temporary file, flush, rename: a crash leaves the old store or the new one, never a torn one.
void writePropertyListAsXml(plist_t root, const QString& path) {
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(root, &xml, &length);
    if (xml == nullptr) {
        return;
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(xml, length) == qint64(length)) {
        file.commit();
    }
    plist_to_xml_free(xml);
}

} // namespace

std::optional<QString> UtilityService::stringFromUnicodeBuf(const void* buffer, qsizetype length) {
    if (buffer == nullptr || length < 1) {
        return std::nullopt;
    }
    const qsizetype units = unicharLength(buffer, length);
    if (units < 1) {
        return std::nullopt;
    }
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    QString text(units, Qt::Uninitialized);
    for (qsizetype i = 0; i < units; ++i) {
        text[i] = QChar(static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)));
    }
    return text;
}

std::optional<QString> UtilityService::copyHostIPv4Address() {
    const std::unique_ptr<kit::NetworkConfiguration> store =
        kit::NetworkConfiguration::open(QStringLiteral("systempreference"));
    if (!store) {
        return std::nullopt;
    }
    const std::optional<QVariantMap> global =
        store->valueForKey(QStringLiteral("State:/Network/Global/IPv4"));
    if (!global) {
        return std::nullopt;
    }
    const QString primaryInterface = stringValue(*global, QStringLiteral("PrimaryInterface"));
    const QString primaryService = stringValue(*global, QStringLiteral("PrimaryService"));
    if (primaryInterface.isNull() || primaryService.isNull()) {
        return std::nullopt;
    }
    const std::optional<QVariantMap> link = store->valueForKey(
        QStringLiteral("State:/Network/Interface/%1/Link").arg(primaryInterface));
    if (!link) {
        return std::nullopt;
    }
    const QVariant active = link->value(QStringLiteral("Active"));
    if (active.typeId() != QMetaType::Bool || !active.toBool()) {
        return std::nullopt;
    }
    const std::optional<QVariantMap> service =
        store->valueForKey(QStringLiteral("State:/Network/Service/%1/IPv4").arg(primaryService));
    if (!service) {
        return std::nullopt;
    }
    const QVariantList addresses = service->value(QStringLiteral("Addresses")).toList();
    if (addresses.isEmpty() || addresses.first().typeId() != QMetaType::QString) {
        return std::nullopt;
    }
    return addresses.first().toString();
}

QString UtilityService::helpRegistrationStorePath() {
    return kit::Environment::homeDirectory() + QStringLiteral("/.config/vextel/help.plist");
}

void UtilityService::removeHelpCacheForBundleID(const std::optional<QString>& bundleID) {
    const QString path = helpRegistrationStorePath();
    if (!bundleID || !QFileInfo::exists(path)) {
        return;
    }
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(kStoreLockTimeoutMs)) {
        return;
    }
    const PlistPtr root = readPropertyList(path);
    if (!root || plist_get_node_type(root.get()) != PLIST_DICT) {
        return;
    }
    const plist_t books = plist_dict_get_item(root.get(), "RegisteredBooks");
    if (books == nullptr || plist_get_node_type(books) != PLIST_DICT) {
        return;
    }
    const QByteArray identifier = bundleID->toUtf8();
    if (!registeredUrlIsLocalized(plist_dict_get_item(books, identifier.constData()))) {
        return;
    }
    plist_dict_remove_item(books, identifier.constData());
    removeFirstEqualString(plist_dict_get_item(root.get(), "RegistrationOrder"), identifier);
    if (!isValidForXml(root.get())) {
        kit::SystemLog::log(QStringLiteral("Illegal Property List."));
    }
    writePropertyListAsXml(root.get(), path);
}

bool UtilityService::isSandboxedHost(const QString& homeDirectory, bool flatpakInfoPresent,
                                     bool snapSet) {
    return homeDirectory.contains(QLatin1String("Containers")) || flatpakInfoPresent || snapSet;
}

bool UtilityService::isSandboxed() {
    int32_t& isSandbox = kit::Environment::sandboxCache();
    if (isSandbox == -1) {
        isSandbox = isSandboxedHost(kit::Environment::homeDirectory(),
                                    QFileInfo::exists(QStringLiteral("/.flatpak-info")),
                                    qEnvironmentVariableIsSet("SNAP"))
                        ? 1
                        : 0;
    }
    return isSandbox == 1;
}

bool UtilityService::checkIfAdminUser(const std::optional<QString>& userName) {
    using Status = kit::IdentityService::Status;
    if (!userName) {
        return false;
    }
    const kit::IdentityService& identities = kit::IdentityService::current();
    QList<kit::IdentityService::Identity> groups;
    switch (identities.findGroups(QStringLiteral("admin"), &groups)) {
    case Status::Ok:
        break;
    case Status::QueryCreateFailed:
        kit::SystemLog::log(
            QStringLiteral("UtilityService - CSIdentityQueryCreateForName failed."));
        return false;
    case Status::QueryExecuteFailed:
        kit::SystemLog::log(QStringLiteral("UtilityService - CSIdentityQueryExecute failed."));
        return false;
    case Status::NoResults:
        kit::SystemLog::log(QStringLiteral("UtilityService - CSIdentityQueryCopyResults failed."));
        return false;
    }
    if (groups.isEmpty()) {
        return false;
    }
    QStringList members;
    const Status membership = identities.groupMembers(groups.first(), &members);
    if (membership == Status::QueryCreateFailed) {
        kit::SystemLog::log(
            QStringLiteral("UtilityService - CSIdentityCreateGroupMembershipQuery failed."));
        return false;
    }
    if (membership != Status::Ok) {
        return false;
    }
    for (const QString& member : members) {
        if (!member.isEmpty() && member == *userName) {
            return true;
        }
    }
    return false;
}

} // namespace tarvik_pde_m40vextel
