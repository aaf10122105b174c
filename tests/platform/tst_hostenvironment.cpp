#include "platform/localip.h"
#include "platform/programdir.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkInterface>
#include <QtTest>

class TestHostEnvironment : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void programDirectoryIsTheExecutablesFolder();
    void withTrailingSeparator_data();
    void withTrailingSeparator();
    void firstIPv4AddressOf_data();
    void firstIPv4AddressOf();
    void localAddressIsNeverLoopback();
    void chooseLocalIPv4_data();
    void chooseLocalIPv4();
    void hostNameOnLoopbackTakesAnInterfaceAddress();
};

void TestHostEnvironment::programDirectoryIsTheExecutablesFolder()
{
    QCOMPARE(programDirectory(), QCoreApplication::applicationDirPath() + QLatin1Char('/'));
}

void TestHostEnvironment::withTrailingSeparator_data()
{
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QString>("expected");

    QTest::newRow("appended") << "/opt/kesa"
                              << "/opt/kesa/";
    QTest::newRow("already there") << "/opt/kesa/"
                                   << "/opt/kesa/";
    QTest::newRow("root gets no second one") << "/"
                                             << "/";
}

void TestHostEnvironment::withTrailingSeparator()
{
    QFETCH(QString, directory);
    QFETCH(QString, expected);

    QCOMPARE(::withTrailingSeparator(directory), expected);
}

void TestHostEnvironment::firstIPv4AddressOf_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("expected");

    QTest::newRow("address text") << "192.0.2.7"
                                  << "192.0.2.7";
    QTest::newRow("localhost is loopback only") << "localhost"
                                                << "";
    QTest::newRow("Debian's host name address") << "127.0.1.1"
                                                << "";
    QTest::newRow("unresolvable") << "no-such-host.invalid"
                                  << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestHostEnvironment::firstIPv4AddressOf()
{
    QFETCH(QString, host);
    QFETCH(QString, expected);

    QCOMPARE(::firstIPv4AddressOf(host), expected);
}

void TestHostEnvironment::localAddressIsNeverLoopback()
{
    // Whatever the host name resolves to here: empty, or a real IPv4 address.
    const QString text = localIPv4Address();
    if (text.isEmpty())
        return;
    const QHostAddress address(text);
    QCOMPARE(address.protocol(), QAbstractSocket::IPv4Protocol);
    QVERIFY2(!address.isLoopback(), qPrintable(text));
    QCOMPARE(address.toString(), text);
}

void TestHostEnvironment::chooseLocalIPv4_data()
{
    QTest::addColumn<QStringList>("host");
    QTest::addColumn<QStringList>("interfaces");
    QTest::addColumn<QString>("expected");

    const QStringList interfaces{"127.0.0.1", "::1", "fe80::1", "192.0.2.2", "10.0.0.5"};
    QTest::newRow("the name's own address")
            << QStringList{"127.0.1.1", "198.51.100.9"} << interfaces << "198.51.100.9";
    QTest::newRow("Debian's loopback name: the first interface address")
            << QStringList{"127.0.1.1"} << interfaces << "192.0.2.2";
    QTest::newRow("loopback everywhere")
            << QStringList{"127.0.0.1"} << QStringList{"127.0.0.1", "::1"} << "";
    QTest::newRow("name does not resolve") << QStringList{} << interfaces << "";
}

void TestHostEnvironment::chooseLocalIPv4()
{
    QFETCH(QStringList, host);
    QFETCH(QStringList, interfaces);
    QFETCH(QString, expected);
    // IPv4 only, as the interfaces are asked: an IPv6 entry is never taken.
    const auto addresses = [](const QStringList &texts) {
        QList<quint32> result;
        for (const QString &text : texts) {
            bool ipv4 = false;
            const quint32 address = QHostAddress(text).toIPv4Address(&ipv4);
            if (ipv4)
                result.append(address);
        }
        return result;
    };
    QCOMPARE(::chooseLocalIPv4(addresses(host), addresses(interfaces)), expected);
}

void TestHostEnvironment::hostNameOnLoopbackTakesAnInterfaceAddress()
{
    // On this machine as it is: where the host name resolves to loopback only
    // and an interface has an IPv4 address, that address is taken.
    const QString host = QHostInfo::localHostName();
    if (!::firstIPv4AddressOf(host).isEmpty())
        QSKIP("the host name resolves to an address of its own here");
    const QHostInfo info = QHostInfo::fromName(host);
    if (info.addresses().isEmpty())
        QSKIP("the host name does not resolve here");
    QString interfaceAddress;
    const auto all = QNetworkInterface::allAddresses();
    for (const QHostAddress &address : all) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback()) {
            interfaceAddress = address.toString();
            break;
        }
    }
    if (interfaceAddress.isEmpty())
        QSKIP("no interface has an IPv4 address here");
    QVERIFY(!localIPv4Address().isEmpty());
    QVERIFY(!QHostAddress(localIPv4Address()).isLoopback());
}

QTEST_GUILESS_MAIN(TestHostEnvironment)
#include "tst_hostenvironment.moc"
