#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QVariantMap>
#include <memory>
#include <optional>

namespace kit {

// A dynamic store of network state, answering the keys
//   "State:/Network/Global/IPv4"               { "PrimaryInterface": name, "PrimaryService": id }
//   "State:/Network/Interface/<name>/Link"     { "Active": bool }
//   "State:/Network/Service/<id>/IPv4"         { "Addresses": [dotted quads] }
// By default the answers come from the kernel's view at the time of the read: the interface of
// the default route (the service id is the interface name), its link state, its IPv4 addresses.
// In tests a store of given values replaces it.
class NetworkConfiguration {
public:
    using Values = QMap<QString, QVariantMap>;

    // A connection to the store for the named client; null when none can be had.
    static std::unique_ptr<NetworkConfiguration> open(const QString& clientName);

    // The value under the key; none when the store has no value there.
    std::optional<QVariantMap> valueForKey(const QString& key) const;

    // The interface of the default IPv4 route with the lowest metric in the text of
    // /proc/net/route; a null QString when there is no default route.
    static QString defaultRouteInterface(const QByteArray& routeTable);

    // While one exists, open() gives stores that answer the given values only (or fails to open
    // when opens is false). Overrides nest; the innermost one answers.
    class Override {
    public:
        explicit Override(Values values, bool opens = true);
        ~Override();
        Override(const Override&) = delete;
        Override& operator=(const Override&) = delete;

        // The client names that opened a store while this override was installed.
        QStringList clientNames() const { return clients_; }

    private:
        friend class NetworkConfiguration;
        Override* outer_;
        Values values_;
        bool opens_;
        QStringList clients_;
    };

    ~NetworkConfiguration();
    NetworkConfiguration(const NetworkConfiguration&) = delete;
    NetworkConfiguration& operator=(const NetworkConfiguration&) = delete;

private:
    explicit NetworkConfiguration(std::optional<Values> givenValues);
    std::optional<QVariantMap> kernelValueForKey(const QString& key) const;
    std::optional<Values> givenValues_;
};

} // namespace kit
