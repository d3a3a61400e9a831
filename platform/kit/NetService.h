#pragma once

#include "kit/DriverScope.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <optional>

namespace kit {

class NetService;

// Receives the answer of a NetService's resolution, on the main loop, never from inside
// resolveWithTimeout. The service may be stopped and destroyed from inside either call.
class NetServiceDelegate {
public:
    virtual ~NetServiceDelegate() = default;
    virtual void netServiceDidResolveAddress(NetService* service) = 0;
    // error: one line saying why (no daemon, no answer in time, the daemon's own reason).
    virtual void netServiceDidNotResolve(NetService* service, const QString& error) = 0;
};

// The resolution of one DNS-SD service instance (name, type such as "_ipp._tcp.", domain such
// as "local.") to socket addresses, through the Avahi daemon, answered on the Qt main loop.
//
// Both address protocols are asked for explicitly (a resolver asked for any protocol may answer
// IPv4 only and never report a printer that publishes IPv6 alone). When one answers, the other
// gets a short grace period, so addresses() lists IPv4 before IPv6 whenever both exist.
// No reachable daemon, an invalid name, or no answer within the time-out all end in
// netServiceDidNotResolve, with the reason also written to the system log.
//
// Destroying the service, or stop(), ends a pending resolution: no delegate call follows.
class NetService : public QObject {
    Q_OBJECT
public:
    NetService(QString domain, QString type, QString name);
    ~NetService() override;

    QString domain() const { return domain_; }
    QString type() const { return type_; }
    QString name() const { return name_; }

    // Not owned; null: nobody is told.
    void setDelegate(NetServiceDelegate* delegate) { delegate_ = delegate; }
    NetServiceDelegate* delegate() const { return delegate_; }

    // Starts resolving (a pending resolution is stopped first); the answer comes through the
    // delegate after this returns, within the time-out.
    void resolveWithTimeout(double seconds);
    // Ends a pending resolution without telling the delegate; harmless when none is pending.
    void stop();
    bool isResolving() const { return resolving_; }
    // The time-out of the last resolveWithTimeout.
    double timeout() const { return timeout_; }

    // After a successful resolution: sockaddr_in and sockaddr_in6 records (an IPv6 link-local
    // record carries its interface index as scope id), IPv4 first. Empty before.
    QList<QByteArray> addresses() const { return addresses_; }

    // The answers a resolver gives; a Driver calls these, the Avahi resolver does the same.
    // They are delivered on the main loop like a real answer, and ignored after stop().
    void answerWithAddresses(const QList<QByteArray>& addresses);
    void answerWithError(const QString& error);

    // Replaces the daemon for tests: while a DriverScope exists, resolveWithTimeout asks its
    // driver, which answers later (or never: the time-out still applies). Scopes nest.
    class Driver {
    public:
        virtual ~Driver() = default;
        virtual void resolve(NetService& service) = 0;
        // The installed driver, or null.
        static Driver* current() { return installed(); }

    private:
        friend class kit::DriverScope<Driver>;
        static Driver*& installed();
    };
    using DriverScope = kit::DriverScope<Driver>;

    // Time the other protocol gets after the first address arrived.
    static constexpr int kSecondProtocolGraceMs = 300;

private:
    class AvahiResolution;
    friend class AvahiResolution;

    void startAvahi();
    void foundAddressesPending();
    void finish(std::optional<QString> error);
    void deliver(quint64 generation);
    void endResolution();

    QString domain_;
    QString type_;
    QString name_;
    NetServiceDelegate* delegate_ = nullptr;
    double timeout_ = 0;
    bool resolving_ = false;
    // Counts resolutions, so an answer queued by a stopped one is dropped.
    quint64 generation_ = 0;
    QList<QByteArray> found_;
    std::optional<QString> error_;
    bool answered_ = false;
    QList<QByteArray> addresses_;
    QTimer timeoutTimer_;
    QTimer graceTimer_;
    std::unique_ptr<AvahiResolution> avahi_;
};

} // namespace kit
