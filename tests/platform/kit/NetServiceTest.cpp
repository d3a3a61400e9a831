#include "kit/NetService.h"

#include "kit/SystemLog.h"
#include "support/EnvironmentScope.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>
#include <netinet/in.h>

using kit::NetService;

namespace {

// Keeps what it was told; optionally stops or deletes the service from inside the call.
class Delegate : public kit::NetServiceDelegate {
public:
    void netServiceDidResolveAddress(NetService* service) override {
        answers.append(QStringLiteral("resolved %1").arg(service->addresses().size()));
        react(service);
    }
    void netServiceDidNotResolve(NetService* service, const QString& error) override {
        answers.append(QStringLiteral("failed: ") + error);
        react(service);
    }
    void react(NetService* service) {
        elapsed = clock.elapsed();
        if (deleteService) {
            delete service;
        }
    }

    QStringList answers;
    bool deleteService = false;
    QElapsedTimer clock;
    qint64 elapsed = -1;
};

// Answers each resolution at once (from inside resolve) or not at all.
class Driver : public NetService::Driver {
public:
    void resolve(NetService& service) override {
        ++requests;
        if (!error.isEmpty()) {
            service.answerWithError(error);
        } else if (!addresses.isEmpty()) {
            service.answerWithAddresses(addresses);
        }
    }
    int requests = 0;
    QString error;
    QList<QByteArray> addresses;
};

QByteArray ipv4Record() {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    return QByteArray(reinterpret_cast<const char*>(&address), sizeof address);
}

bool waitFor(const Delegate& delegate, int milliseconds) {
    return QTest::qWaitFor([&] { return !delegate.answers.isEmpty(); }, milliseconds);
}

} // namespace

TEST(NetService, AnswersArriveOnTheLoopNeverInsideTheCall) {
    const struct {
        const char* name;
        QString error;
        QString expected;
    } rows[] = {
        {"Resolved", "", "resolved 1"},
        {"Failed", "refused", "failed: refused"},
    };
    for (const auto& row : rows) {
        Driver driver;
        driver.error = row.error;
        driver.addresses = {ipv4Record()};
        NetService::DriverScope use(driver);
        kit::SystemLog::Capture log;
        Delegate delegate;
        NetService service("local.", "_ipp._tcp.", "Office Fax");
        service.setDelegate(&delegate);
        service.resolveWithTimeout(5.0);
        EXPECT_TRUE(delegate.answers.isEmpty()) << row.name;
        EXPECT_TRUE(service.isResolving()) << row.name;
        QCoreApplication::processEvents();
        EXPECT_EQ(delegate.answers, QStringList{row.expected}) << row.name;
        EXPECT_FALSE(service.isResolving()) << row.name;
        // Only a failure is logged, with the service and the reason.
        EXPECT_EQ(log.lines(),
                  row.error.isEmpty()
                      ? QStringList()
                      : QStringList{"NetService: \"Office Fax\" of type _ipp._tcp. in local.: " +
                                    row.error})
            << row.name;
    }
}

TEST(NetService, NoAnswerEndsAtTheTimeOut) {
    Driver silent;
    NetService::DriverScope use(silent);
    Delegate delegate;
    NetService service("local.", "_ipp._tcp.", "Nobody");
    service.setDelegate(&delegate);
    delegate.clock.start();
    service.resolveWithTimeout(0.2);
    ASSERT_TRUE(waitFor(delegate, 3000));
    EXPECT_EQ(delegate.answers, QStringList{"failed: no answer within 0.2 s"});
    EXPECT_GE(delegate.elapsed, 195);
    EXPECT_EQ(service.timeout(), 0.2);
}

TEST(NetService, StoppedOrDestroyedServiceTellsNobody) {
    Driver driver;
    driver.addresses = {ipv4Record()};
    NetService::DriverScope use(driver);
    Delegate delegate;
    {
        NetService stopped("local.", "_ipp._tcp.", "A");
        stopped.setDelegate(&delegate);
        stopped.resolveWithTimeout(0.05);
        stopped.stop();
        QTest::qWait(100); // neither the queued answer nor the time-out may come
        EXPECT_FALSE(stopped.isResolving());
    }
    {
        auto* destroyed = new NetService("local.", "_ipp._tcp.", "B");
        destroyed->setDelegate(&delegate);
        destroyed->resolveWithTimeout(0.05);
        delete destroyed;
        QTest::qWait(100);
    }
    EXPECT_TRUE(delegate.answers.isEmpty()) << delegate.answers.join(';').toStdString();
}

TEST(NetService, DelegateMayDestroyTheServiceInsideItsAnswer) {
    Driver driver;
    driver.addresses = {ipv4Record()};
    NetService::DriverScope use(driver);
    Delegate delegate;
    delegate.deleteService = true;
    QPointer<NetService> service = new NetService("local.", "_ipp._tcp.", "A");
    service->setDelegate(&delegate);
    service->resolveWithTimeout(5.0);
    QCoreApplication::processEvents();
    EXPECT_EQ(delegate.answers, QStringList{"resolved 1"});
    EXPECT_TRUE(service.isNull());
}

TEST(NetService, UnreachableDaemonFailsAtOnceWithTheReason) {
    vextel_test::EnvironmentScope bus("DBUS_SYSTEM_BUS_ADDRESS",
                                      "unix:path=/nonexistent/vextel-test-bus");
    kit::SystemLog::Capture log;
    Delegate delegate;
    NetService service("local.", "_ipp._tcp.", "Office Fax");
    service.setDelegate(&delegate);
    delegate.clock.start();
    service.resolveWithTimeout(5.0);
    EXPECT_TRUE(delegate.answers.isEmpty());
    ASSERT_TRUE(waitFor(delegate, 2000));
    ASSERT_EQ(delegate.answers.size(), 1);
    EXPECT_TRUE(
        delegate.answers.constFirst().startsWith("failed: the DNS-SD daemon cannot be reached ("))
        << delegate.answers.constFirst().toStdString();
    EXPECT_LT(delegate.elapsed, 1000);
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines().constFirst().contains("cannot be reached"));
}
