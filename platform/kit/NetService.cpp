#include "kit/NetService.h"

#include "kit/AvahiQtPoll.h"
#include "kit/SystemLog.h"

#include <arpa/inet.h>
#include <avahi-client/client.h>
#include <avahi-client/lookup.h>
#include <avahi-common/error.h>
#include <cstdint>
#include <cstring>
#include <netinet/in.h>

namespace kit {

namespace {

bool isLinkLocal(const std::uint8_t* bytes) {
    return bytes[0] == 0xfe && (bytes[1] & 0xc0) == 0x80;
}

// A socket address record of the resolved address; a link-local IPv6 address is only usable
// with the interface it was seen on, which becomes its scope id.
QByteArray socketAddressOf(const AvahiAddress& address, AvahiIfIndex interface) {
    if (address.proto == AVAHI_PROTO_INET) {
        sockaddr_in record{};
        record.sin_family = AF_INET;
        record.sin_addr.s_addr = address.data.ipv4.address;
        return QByteArray(reinterpret_cast<const char*>(&record), sizeof record);
    }
    sockaddr_in6 record{};
    record.sin6_family = AF_INET6;
    std::memcpy(&record.sin6_addr, address.data.ipv6.address, sizeof record.sin6_addr);
    if (isLinkLocal(address.data.ipv6.address) && interface > 0) {
        record.sin6_scope_id = static_cast<std::uint32_t>(interface);
    }
    return QByteArray(reinterpret_cast<const char*>(&record), sizeof record);
}

QString avahiError(int code) {
    return QString::fromUtf8(avahi_strerror(code));
}

} // namespace

// ---- The Avahi side of one resolution: a client connection and one resolver per protocol.
// Everything here runs inside Avahi callbacks on the main loop; answers go to the owner, which
// delivers them on a later turn of the loop, so nothing is freed from inside a callback but the
// resolver that called it.

class NetService::AvahiResolution {
public:
    explicit AvahiResolution(NetService& owner) : owner_(owner) {}
    ~AvahiResolution();
    AvahiResolution(const AvahiResolution&) = delete;
    AvahiResolution& operator=(const AvahiResolution&) = delete;

    // False with the reason when the daemon cannot be reached or refuses both requests.
    bool start(QString* error);
    QList<QByteArray> addresses() const { return ipv4_ + ipv6_; }

private:
    struct Lookup {
        AvahiResolution* self = nullptr;
        AvahiProtocol protocol = AVAHI_PROTO_UNSPEC;
        AvahiServiceResolver* resolver = nullptr;
        bool done = false;
    };

    static void clientChanged(AvahiClient* client, AvahiClientState state, void* userdata);
    static void resolverAnswered(AvahiServiceResolver* resolver, AvahiIfIndex interface,
                                 AvahiProtocol protocol, AvahiResolverEvent event, const char* name,
                                 const char* type, const char* domain, const char* host,
                                 const AvahiAddress* address, std::uint16_t port,
                                 AvahiStringList* txt, AvahiLookupResultFlags flags,
                                 void* userdata);
    void lookupDone();

    NetService& owner_;
    AvahiQtPoll poll_;
    AvahiClient* client_ = nullptr;
    Lookup lookups_[2];
    QList<QByteArray> ipv4_;
    QList<QByteArray> ipv6_;
    QString lastError_;
};

NetService::AvahiResolution::~AvahiResolution() {
    for (Lookup& lookup : lookups_) {
        if (lookup.resolver != nullptr) {
            avahi_service_resolver_free(lookup.resolver);
        }
    }
    if (client_ != nullptr) {
        avahi_client_free(client_);
    }
}

bool NetService::AvahiResolution::start(QString* error) {
    int code = 0;
    client_ = avahi_client_new(poll_.api(), AvahiClientFlags(0), clientChanged, this, &code);
    if (client_ == nullptr) {
        *error = QStringLiteral("the DNS-SD daemon cannot be reached (%1)").arg(avahiError(code));
        return false;
    }
    // The daemon takes a type without the root's trailing dot.
    QString type = owner_.type_;
    if (type.endsWith(QLatin1Char('.'))) {
        type.chop(1);
    }
    const QByteArray name = owner_.name_.toUtf8();
    const QByteArray typeBytes = type.toUtf8();
    const QByteArray domain = owner_.domain_.toUtf8();
    const AvahiProtocol protocols[] = {AVAHI_PROTO_INET, AVAHI_PROTO_INET6};
    int started = 0;
    for (int i = 0; i < 2; ++i) {
        Lookup& lookup = lookups_[i];
        lookup.self = this;
        lookup.protocol = protocols[i];
        // Asked over the same protocol as the address: a daemon announces an IPv4 address over
        // IPv4 only, so an IPv4 address asked for over IPv6 never comes.
        lookup.resolver = avahi_service_resolver_new(
            client_, AVAHI_IF_UNSPEC, protocols[i], name.constData(), typeBytes.constData(),
            domain.constData(), protocols[i], AvahiLookupFlags(0), resolverAnswered, &lookup);
        lookup.done = lookup.resolver == nullptr;
        started += lookup.done ? 0 : 1;
    }
    if (started == 0) {
        *error = avahiError(avahi_client_errno(client_));
        return false;
    }
    return true;
}

void NetService::AvahiResolution::clientChanged(AvahiClient* client, AvahiClientState state,
                                                void* userdata) {
    if (state != AVAHI_CLIENT_FAILURE) {
        return;
    }
    auto* self = static_cast<AvahiResolution*>(userdata);
    self->owner_.answerWithError(QStringLiteral("the DNS-SD daemon went away (%1)")
                                     .arg(avahiError(avahi_client_errno(client))));
}

void NetService::AvahiResolution::resolverAnswered(
    AvahiServiceResolver* resolver, AvahiIfIndex interface, AvahiProtocol /*protocol*/,
    AvahiResolverEvent event, const char* /*name*/, const char* /*type*/, const char* /*domain*/,
    const char* /*host*/, const AvahiAddress* address, std::uint16_t /*port*/,
    AvahiStringList* /*txt*/, AvahiLookupResultFlags /*flags*/, void* userdata) {
    auto* lookup = static_cast<Lookup*>(userdata);
    AvahiResolution* self = lookup->self;
    if (event == AVAHI_RESOLVER_FOUND && address != nullptr &&
        (address->proto == AVAHI_PROTO_INET || address->proto == AVAHI_PROTO_INET6)) {
        const QByteArray record = socketAddressOf(*address, interface);
        QList<QByteArray>& list = address->proto == AVAHI_PROTO_INET ? self->ipv4_ : self->ipv6_;
        if (!list.contains(record)) {
            list.append(record);
        }
    } else {
        self->lastError_ =
            avahiError(avahi_client_errno(avahi_service_resolver_get_client(resolver)));
    }
    avahi_service_resolver_free(resolver);
    lookup->resolver = nullptr;
    lookup->done = true;
    self->lookupDone();
}

void NetService::AvahiResolution::lookupDone() {
    const bool allDone = lookups_[0].done && lookups_[1].done;
    const bool anyAddress = !ipv4_.isEmpty() || !ipv6_.isEmpty();
    if (allDone && anyAddress) {
        owner_.answerWithAddresses(addresses());
    } else if (allDone) {
        owner_.answerWithError(lastError_.isEmpty() ? QStringLiteral("no address was found")
                                                    : lastError_);
    } else if (anyAddress) {
        owner_.foundAddressesPending();
    }
}

// ---- NetService

NetService::NetService(QString domain, QString type, QString name)
    : domain_(std::move(domain)), type_(std::move(type)), name_(std::move(name)) {
    timeoutTimer_.setSingleShot(true);
    timeoutTimer_.setTimerType(Qt::PreciseTimer);
    graceTimer_.setSingleShot(true);
    connect(&timeoutTimer_, &QTimer::timeout, this, [this] {
        if (avahi_ && !avahi_->addresses().isEmpty()) {
            answerWithAddresses(avahi_->addresses());
        } else {
            answerWithError(QStringLiteral("no answer within %1 s").arg(timeout_, 0, 'f', 1));
        }
    });
    connect(&graceTimer_, &QTimer::timeout, this, [this] {
        if (avahi_) {
            answerWithAddresses(avahi_->addresses());
        }
    });
}

NetService::~NetService() {
    stop();
}

void NetService::resolveWithTimeout(double seconds) {
    stop();
    ++generation_;
    timeout_ = seconds;
    resolving_ = true;
    answered_ = false;
    found_.clear();
    error_.reset();
    addresses_.clear();
    // Whole milliseconds; a time-out beyond what a timer takes waits as long as it can.
    const double milliseconds = seconds > 0 ? seconds * 1000.0 + 0.5 : 0.0;
    timeoutTimer_.start(milliseconds < double(INT32_MAX) ? int(milliseconds) : INT32_MAX);
    if (Driver* driver = Driver::current()) {
        driver->resolve(*this);
        return;
    }
    startAvahi();
}

void NetService::startAvahi() {
    avahi_ = std::make_unique<AvahiResolution>(*this);
    QString error;
    if (!avahi_->start(&error)) {
        answerWithError(error);
    }
}

void NetService::foundAddressesPending() {
    if (!graceTimer_.isActive() && !answered_) {
        graceTimer_.start(kSecondProtocolGraceMs);
    }
}

void NetService::stop() {
    endResolution();
    ++generation_;
}

void NetService::endResolution() {
    resolving_ = false;
    timeoutTimer_.stop();
    graceTimer_.stop();
    avahi_.reset();
}

void NetService::answerWithAddresses(const QList<QByteArray>& addresses) {
    if (!resolving_ || answered_) {
        return;
    }
    found_ = addresses;
    finish(std::nullopt);
}

void NetService::answerWithError(const QString& error) {
    if (!resolving_ || answered_) {
        return;
    }
    finish(error);
}

void NetService::finish(std::optional<QString> error) {
    answered_ = true;
    error_ = std::move(error);
    timeoutTimer_.stop();
    graceTimer_.stop();
    const quint64 generation = generation_;
    QMetaObject::invokeMethod(
        this, [this, generation] { deliver(generation); }, Qt::QueuedConnection);
}

void NetService::deliver(quint64 generation) {
    if (generation != generation_ || !resolving_) {
        return;
    }
    endResolution();
    const std::optional<QString> error = error_;
    if (error) {
        SystemLog::log(QStringLiteral("NetService: \"%1\" of type %2 in %3: %4")
                           .arg(name_, type_, domain_, *error));
    } else {
        addresses_ = found_;
    }
    if (delegate_ == nullptr) {
        return;
    }
    // The delegate may destroy this service: nothing of it is touched afterwards.
    if (error) {
        delegate_->netServiceDidNotResolve(this, *error);
    } else {
        delegate_->netServiceDidResolveAddress(this);
    }
}

NetService::Driver*& NetService::Driver::installed() {
    static Driver* driver = nullptr;
    return driver;
}

} // namespace kit
