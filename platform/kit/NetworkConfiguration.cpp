#include "kit/NetworkConfiguration.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace kit {

namespace {

NetworkConfiguration::Override* currentOverride = nullptr;

const QString kGlobalIPv4Key = QStringLiteral("State:/Network/Global/IPv4");
const QRegularExpression kLinkKey(QStringLiteral("^State:/Network/Interface/([^/]+)/Link$"));
const QRegularExpression kServiceKey(QStringLiteral("^State:/Network/Service/([^/]+)/IPv4$"));

constexpr unsigned kRouteUp = 0x1; // RTF_UP

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

bool interfaceExists(const QString& name) {
    return name != QLatin1String(".") && name != QLatin1String("..") &&
           QFileInfo::exists(QStringLiteral("/sys/class/net/") + name);
}

struct InterfaceState {
    bool running = false;
    QStringList ipv4Addresses;
};

InterfaceState interfaceState(const QString& name) {
    InterfaceState state;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        return state;
    }
    const QByteArray wanted = name.toLocal8Bit();
    for (ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_name == nullptr || wanted != entry->ifa_name) {
            continue;
        }
        state.running = state.running || (entry->ifa_flags & IFF_RUNNING) != 0;
        if (entry->ifa_addr != nullptr && entry->ifa_addr->sa_family == AF_INET) {
            char text[INET_ADDRSTRLEN] = {};
            const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
            if (inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) != nullptr) {
                state.ipv4Addresses.append(QString::fromLatin1(text));
            }
        }
    }
    freeifaddrs(list);
    return state;
}

// "up" is active and "down" or "dormant" is not; drivers that do not report a state ("unknown",
// the loopback among them) are judged by whether the interface runs.
bool linkIsActive(const QString& name) {
    const QByteArray operstate =
        readFile(QStringLiteral("/sys/class/net/%1/operstate").arg(name)).trimmed();
    if (operstate == "up") {
        return true;
    }
    if (operstate == "unknown" || operstate.isEmpty()) {
        return interfaceState(name).running;
    }
    return false;
}

} // namespace

NetworkConfiguration::NetworkConfiguration(std::optional<Values> givenValues)
    : givenValues_(std::move(givenValues)) {}

NetworkConfiguration::~NetworkConfiguration() = default;

std::unique_ptr<NetworkConfiguration> NetworkConfiguration::open(const QString& clientName) {
    if (currentOverride != nullptr) {
        currentOverride->clients_.append(clientName);
        if (!currentOverride->opens_) {
            return nullptr;
        }
        return std::unique_ptr<NetworkConfiguration>(
            new NetworkConfiguration(currentOverride->values_));
    }
    return std::unique_ptr<NetworkConfiguration>(new NetworkConfiguration(std::nullopt));
}

std::optional<QVariantMap> NetworkConfiguration::valueForKey(const QString& key) const {
    if (givenValues_) {
        const auto found = givenValues_->constFind(key);
        if (found == givenValues_->constEnd()) {
            return std::nullopt;
        }
        return *found;
    }
    return kernelValueForKey(key);
}

std::optional<QVariantMap> NetworkConfiguration::kernelValueForKey(const QString& key) const {
    if (key == kGlobalIPv4Key) {
        const QString primary = defaultRouteInterface(readFile(QStringLiteral("/proc/net/route")));
        if (primary.isEmpty()) {
            return std::nullopt;
        }
        return QVariantMap{{QStringLiteral("PrimaryInterface"), primary},
                           {QStringLiteral("PrimaryService"), primary}};
    }
    if (const QRegularExpressionMatch link = kLinkKey.match(key); link.hasMatch()) {
        const QString name = link.captured(1);
        if (!interfaceExists(name)) {
            return std::nullopt;
        }
        return QVariantMap{{QStringLiteral("Active"), linkIsActive(name)}};
    }
    if (const QRegularExpressionMatch service = kServiceKey.match(key); service.hasMatch()) {
        const QString name = service.captured(1);
        if (!interfaceExists(name)) {
            return std::nullopt;
        }
        return QVariantMap{{QStringLiteral("Addresses"), interfaceState(name).ipv4Addresses}};
    }
    return std::nullopt;
}

QString NetworkConfiguration::defaultRouteInterface(const QByteArray& routeTable) {
    QString best;
    qulonglong bestMetric = 0;
    const QList<QByteArray> lines = routeTable.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) { // the first line names the columns
        const QList<QByteArray> fields = lines[i].simplified().split(' ');
        if (fields.size() < 8) {
            continue;
        }
        bool flagsOk = false, metricOk = false;
        const unsigned flags = fields[3].toUInt(&flagsOk, 16);
        const qulonglong metric = fields[6].toULongLong(&metricOk, 10);
        const bool isDefault = fields[1] == "00000000" && fields[7] == "00000000";
        if (!flagsOk || !metricOk || !isDefault || (flags & kRouteUp) == 0) {
            continue;
        }
        if (best.isEmpty() || metric < bestMetric) {
            best = QString::fromLocal8Bit(fields[0]);
            bestMetric = metric;
        }
    }
    return best;
}

NetworkConfiguration::Override::Override(Values values, bool opens)
    : outer_(currentOverride), values_(std::move(values)), opens_(opens) {
    currentOverride = this;
}

NetworkConfiguration::Override::~Override() {
    currentOverride = outer_;
}

} // namespace kit
