// One resolution of a printer's DNS-SD device URI by the fax panel, against the Avahi daemon the
// harness (dnssd-harness.sh) started in this network namespace. The harness says what to expect:
//   VEXTEL_DNSSD_URI      the device URI
//   VEXTEL_DNSSD_ADDRESS  a regular expression the whole address must match, or "none"
#include "kit/Environment.h"
#include "kit/SystemLog.h"
#include "vextelpde/PanelTestSupport.h"
#include "vextelpde/VextelPdeInterface.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>
#include <iostream>

using tarvik_pde_m40vextel::VextelPdeInterface;

TEST(DnssdResolution, PanelGetsTheAddressTheNamespaceNeighbourPublishes) {
    const QString uri = qEnvironmentVariable("VEXTEL_DNSSD_URI");
    const QString expected = qEnvironmentVariable("VEXTEL_DNSSD_ADDRESS");
    ASSERT_FALSE(uri.isEmpty()) << "run through dnssd-harness.sh";
    ASSERT_FALSE(expected.isEmpty()) << "run through dnssd-harness.sh";

    kit::Environment::sandboxCache() = 0;
    kit::SystemLog::Capture log;
    panel_test::FakeHost host(nullptr);
    host.printer.setDeviceURI(uri);
    QElapsedTimer clock;
    clock.start();
    VextelPdeInterface panel(&host, nullptr);
    ASSERT_NE(panel.pendingNetService(), nullptr);
    const QString name = panel.pendingNetService()->name();
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.pendingNetService() == nullptr; }, 8000));
    const qint64 elapsed = clock.elapsed();

    if (expected == QLatin1String("none")) {
        EXPECT_FALSE(panel.printerAddress()) << panel.printerAddress()->toStdString();
        EXPECT_TRUE(log.contains(QStringLiteral("Failed to resolve the Bonjour service ") + name))
            << log.lines().join('\n').toStdString();
        EXPECT_GE(elapsed, 4500);
        EXPECT_LE(elapsed, 5500);
    } else {
        ASSERT_TRUE(panel.printerAddress()) << log.lines().join('\n').toStdString();
        EXPECT_TRUE(QRegularExpression(QRegularExpression::anchoredPattern(expected))
                        .match(*panel.printerAddress())
                        .hasMatch())
            << panel.printerAddress()->toStdString() << " does not match "
            << expected.toStdString();
        EXPECT_LT(elapsed, 3000);
    }
    std::cout << "resolved " << uri.toStdString() << " to "
              << panel.printerAddress().value_or("(none)").toStdString() << " in " << elapsed
              << " ms" << std::endl;
}
