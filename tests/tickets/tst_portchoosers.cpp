// The printer port choosers of ZXS090 and ZXS095: the serial devices of a
// device folder the test fills, the choice each screen keeps in its own
// settings file, and room for a by-id path.
#include "recordingmessageservice.h"
#include "screentest.h"

#include "platform/inifile.h"
#include "platform/seriallink.h"
#include "tickets/ZXS090.h"
#include "tickets/ZXS095.h"
#include "tickets/portchoosers.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

const QString ById = QStringLiteral("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");

void touch(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

} // namespace

class tst_PortChoosers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void devicesOfTheFolder();
    void choiceKeptPerScreen();
    void emptySettingsStartAtTheFirstDevice();

private:
    QString dev() const { return m_dir.filePath(QStringLiteral("dev")); }
    QString settings() const { return m_dir.filePath(QStringLiteral("settings")); }

    QTemporaryDir m_dir;
    int m_pty = -1;
    QString m_ptyPath;
};

void tst_PortChoosers::init()
{
    // ttyS0 and ttyS2 have no UART behind them (a plain file does not answer
    // as a terminal); ttyS10 is a terminal (a pseudo-terminal here).
    QVERIFY(QDir().mkpath(dev() + QStringLiteral("/serial/by-id")));
    m_pty = ::posix_openpt(O_RDWR | O_NOCTTY);
    QVERIFY(m_pty >= 0);
    QVERIFY(::grantpt(m_pty) == 0 && ::unlockpt(m_pty) == 0);
    m_ptyPath = QString::fromLocal8Bit(::ptsname(m_pty));
    touch(dev() + QStringLiteral("/ttyS0"));
    touch(dev() + QStringLiteral("/ttyS2"));
    QVERIFY(QFile::link(m_ptyPath, dev() + QStringLiteral("/ttyS10")));
    QVERIFY(QFile::link(m_ptyPath, dev() + QStringLiteral("/ttyUSB10")));
    QVERIFY(QFile::link(m_ptyPath, dev() + QStringLiteral("/ttyUSB2")));
    touch(dev() + QStringLiteral("/ttyACM0"));
    touch(dev() + QStringLiteral("/tty1"));
    QVERIFY(QFile::link(QStringLiteral("../../ttyACM0"),
                        dev() + QStringLiteral("/serial/by-id/") + ById));
    PortChoosers::setDeviceFolder(dev());
    PortChoosers::setSettingsFolder(settings());
}

void tst_PortChoosers::cleanup()
{
    PortChoosers::setDeviceFolder(QString());
    PortChoosers::setSettingsFolder(QString());
    if (m_pty >= 0)
        ::close(m_pty);
    m_pty = -1;
    QDir(dev()).removeRecursively();
    QDir(settings()).removeRecursively();
}

void tst_PortChoosers::devicesOfTheFolder()
{
    const QList<SerialLink::Device> expected{{dev() + QStringLiteral("/ttyS10"), QString()},
                                             {dev() + QStringLiteral("/ttyACM0"), QString()},
                                             {dev() + QStringLiteral("/ttyUSB2"), QString()},
                                             {dev() + QStringLiteral("/ttyUSB10"), QString()},
                                             {dev() + QStringLiteral("/serial/by-id/") + ById,
                                              QStringLiteral("ttyACM0")}};
    const QList<SerialLink::Device> found = SerialLink::devices(dev());
    QStringList paths;
    for (const auto &device : found)
        paths << device.path + QLatin1Char('>') + device.target;
    QVERIFY2(found == expected, qPrintable(paths.join(QLatin1Char(' '))));
    QVERIFY(SerialLink::devices(m_dir.filePath(QStringLiteral("none"))).isEmpty());
}

void tst_PortChoosers::choiceKeptPerScreen()
{
    RecordingMessageService boxes;
    const QString byId = dev() + QStringLiteral("/serial/by-id/") + ById;
    {
        TfrmZXS090 screen;
        screen.resize(1280, 900);
        activate(&screen);
        QCOMPARE(screen.cbbComPort->count(), 5);
        // A by-id path shows whole in the chooser's edit of a screen 1280
        // pixels wide, and in its list.
        const QString machineById = QStringLiteral("/dev/serial/by-id/") + ById;
        QTRY_VERIFY_WITH_TIMEOUT(screen.cbbComPort->lineEdit()->width()
                                         > screen.cbbComPort->fontMetrics().horizontalAdvance(
                                                 machineById),
                                 PatienceMs);
        QVERIFY(screen.cbbComPort->view()->minimumWidth()
                > screen.cbbComPort->fontMetrics().horizontalAdvance(byId));
        screen.cbbComPort->setCurrentIndex(4);
        screen.cbbComRate->setCurrentText(QStringLiteral("19200"));
        screen.prn(1)->setText(QStringLiteral("A"));
        // The device is no printer: the run ends at once, the choice is kept.
        QTest::mouseClick(screen.bbtPrint, Qt::LeftButton);
        QVERIFY(!screen.isRunning());
    }
    {
        TfrmZXS095 ticket;
        ticket.cbbComPort->setEditText(m_ptyPath);
        ticket.cbbComRate->setCurrentText(QStringLiteral("38400"));
        QVERIFY(ticket.portChoosers().remember());
    }
    TfrmZXS090 again;
    QCOMPARE(again.cbbComPort->currentText(), byId);
    QCOMPARE(again.cbbComRate->currentText(), QStringLiteral("19200"));
    QCOMPARE(again.comComPort->portName(), byId);
    QCOMPARE(again.comComPort->baudRate(), 19200);
    TfrmZXS095 ticket;
    QCOMPARE(ticket.cbbComPort->currentText(), m_ptyPath);
    QCOMPARE(ticket.comComPort->baudRate(), 38400);
    QCOMPARE(IniFile(PortChoosers::settingsPath(QStringLiteral("ZXS090")))
                     .readString(QStringLiteral("Printer"), QStringLiteral("Port")),
             byId);
}

void tst_PortChoosers::emptySettingsStartAtTheFirstDevice()
{
    TfrmZXS090 coupon;
    QCOMPARE(coupon.cbbComPort->currentText(), dev() + QStringLiteral("/ttyS10"));
    QCOMPARE(coupon.comComPort->portName(), dev() + QStringLiteral("/ttyS10"));
    QCOMPARE(coupon.cbbComRate->currentText(), QStringLiteral("9600"));
    // An unreadable remembered rate falls back to 9600; a typed port stays.
    QDir().mkpath(settings());
    IniFile file(PortChoosers::settingsPath(QStringLiteral("ZXS095")));
    QVERIFY(file.writeString(QStringLiteral("Printer"),
                             QStringLiteral("Rate"),
                             QStringLiteral("fast")));
    QVERIFY(file.writeString(QStringLiteral("Printer"),
                             QStringLiteral("Port"),
                             QStringLiteral("/tmp/sim-port")));
    TfrmZXS095 ticket;
    QCOMPARE(ticket.cbbComPort->currentText(), QStringLiteral("/tmp/sim-port"));
    QCOMPARE(ticket.cbbComRate->currentText(), QStringLiteral("9600"));
}

QTEST_MAIN(tst_PortChoosers)
#include "tst_portchoosers.moc"
