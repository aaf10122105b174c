#include "platform/localip.h"
#include "platform/programdir.h"

#include <QCoreApplication>
#include <QHostAddress>
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

QTEST_GUILESS_MAIN(TestHostEnvironment)
#include "tst_hostenvironment.moc"
