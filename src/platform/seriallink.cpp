#include "seriallink.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPort>
#include <QSerialPortInfo>

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// A ttyS device exists for every UART the kernel might have; one with nothing
// behind it fails to open or reports its port type unknown. A terminal that
// does not know the serial request (a pseudo-terminal) answers all the same.
bool answers(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    termios settings{};
    bool result = ::tcgetattr(fd, &settings) == 0;
    serial_struct serial{};
    if (result && ::ioctl(fd, TIOCGSERIAL, &serial) == 0)
        result = serial.type != PORT_UNKNOWN;
    ::close(fd);
    return result;
}

// ttyUSB2 before ttyUSB10: by the name without its number, then by the number.
QStringList sortedNatural(QStringList names)
{
    static const QRegularExpression tail(QStringLiteral("^(.*?)([0-9]*)$"));
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const QRegularExpressionMatch ma = tail.match(a);
        const QRegularExpressionMatch mb = tail.match(b);
        if (ma.captured(1) != mb.captured(1))
            return ma.captured(1) < mb.captured(1);
        if (ma.captured(2).size() != mb.captured(2).size())
            return ma.captured(2).size() < mb.captured(2).size();
        return ma.captured(2) < mb.captured(2);
    });
    return names;
}

} // namespace

SerialLink::SerialLink(QObject *parent)
    : QObject(parent)
    , m_port(new QSerialPort(this))
{
    connect(m_port, &QSerialPort::readyRead, this, &SerialLink::readPieces);
    connect(m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        handleError(e);
    });
}

SerialLink::~SerialLink()
{
    close();
}

void SerialLink::setPortName(const QString &name)
{
    m_portName = name.trimmed();
}

void SerialLink::setBaudRate(int rate)
{
    m_baudRate = rate > 0 ? rate : 9600;
}

void SerialLink::setRateName(const QString &name)
{
    bool ok = false;
    const int rate = name.toInt(&ok);
    setBaudRate(ok ? rate : 9600);
}

QString SerialLink::devicePath(const QString &portName)
{
    static const QRegularExpression com(QStringLiteral("^COM([1-9][0-9]*)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = com.match(portName);
    if (m.hasMatch())
        return QStringLiteral("/dev/ttyS%1").arg(m.captured(1).toInt() - 1);
    if (portName.contains(QLatin1Char('/')))
        return portName;
    return QStringLiteral("/dev/") + portName;
}

QStringList SerialLink::availablePorts()
{
    QStringList names;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports)
        names.append(info.portName());
    names.sort();
    return names;
}

QList<SerialLink::Device> SerialLink::devices(const QString &deviceFolder)
{
    QList<Device> result;
    const QDir dir(deviceFolder);
    const QDir::Filters filters = QDir::System | QDir::Files | QDir::NoDotAndDotDot;
    for (const QString &name : sortedNatural(dir.entryList({QStringLiteral("ttyS*")}, filters))) {
        if (answers(dir.filePath(name)))
            result.append({dir.filePath(name), QString()});
    }
    for (const QString &name : sortedNatural(
                 dir.entryList({QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")}, filters)))
        result.append({dir.filePath(name), QString()});
    const QDir byId(dir.filePath(QStringLiteral("serial/by-id")));
    for (const QString &name : sortedNatural(byId.entryList(filters))) {
        const QString path = byId.filePath(name);
        result.append({path, QFileInfo(QFileInfo(path).symLinkTarget()).fileName()});
    }
    return result;
}

QStringList SerialLink::rateNames()
{
    return {QStringLiteral("Custom"),
            QStringLiteral("110"),
            QStringLiteral("300"),
            QStringLiteral("600"),
            QStringLiteral("1200"),
            QStringLiteral("2400"),
            QStringLiteral("4800"),
            QStringLiteral("9600"),
            QStringLiteral("14400"),
            QStringLiteral("19200"),
            QStringLiteral("38400"),
            QStringLiteral("56000"),
            QStringLiteral("57600"),
            QStringLiteral("115200"),
            QStringLiteral("128000"),
            QStringLiteral("256000")};
}

int SerialLink::writeTimeoutMs(qsizetype byteCount)
{
    return int(qMin<qsizetype>(byteCount * 100 + 1000, INT_MAX));
}

bool SerialLink::isOpen() const
{
    return m_port->isOpen();
}

bool SerialLink::open()
{
    if (m_port->isOpen())
        return true;
    m_error.clear();
    m_port->setPortName(devicePath(m_portName));
    m_port->setReadBufferSize(1024);
    if (!m_port->open(QIODevice::ReadWrite)) {
        m_error = QStringLiteral("cannot open %1").arg(m_port->portName());
        return false;
    }
    const bool configured = m_port->setBaudRate(m_baudRate)
                            && m_port->setDataBits(QSerialPort::Data8)
                            && m_port->setParity(QSerialPort::NoParity)
                            && m_port->setStopBits(QSerialPort::OneStop)
                            && m_port->setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        m_error = QStringLiteral("cannot set %1 to %2 bit/s").arg(m_port->portName()).arg(m_baudRate);
        m_port->close();
        return false;
    }
    // Pseudo-terminals have no modem lines and refuse these; real ports obey.
    m_port->setDataTerminalReady(false);
    m_port->setRequestToSend(false);
    m_port->clear(QSerialPort::Input);
    m_port->clearError();
    return true;
}

void SerialLink::close()
{
    if (m_port->isOpen())
        m_port->close();
}

bool SerialLink::write(const QByteArray &bytes)
{
    if (!m_port->isOpen()) {
        m_error = QStringLiteral("port not open");
        return false;
    }
    if (bytes.isEmpty())
        return true;
    if (m_port->write(bytes) != bytes.size()) {
        m_error = QStringLiteral("write failed");
        return false;
    }
    // A line that went away during the wait has closed the port meanwhile.
    if (!m_port->waitForBytesWritten(writeTimeoutMs(bytes.size())) || !m_port->isOpen()) {
        m_error = QStringLiteral("write timed out");
        return false;
    }
    return true;
}

void SerialLink::readPieces()
{
    // A handler that shows a modal box runs a nested event loop, inside which
    // the port signals nothing new: pick up what came meanwhile once it returns.
    if (m_reading)
        return;
    m_reading = true;
    while (m_port->isOpen() && m_port->bytesAvailable() > 0) {
        const QByteArray piece = m_port->readAll();
        if (piece.isEmpty())
            break;
        Q_EMIT pieceReceived(piece);
    }
    m_reading = false;
}

void SerialLink::handleError(int error)
{
    switch (error) {
    case QSerialPort::ReadError:
    case QSerialPort::ResourceError:
        // An unplugged line reports this in a busy loop until the port closes.
        if (m_port->isOpen()) {
            m_port->close();
            m_error = QStringLiteral("line lost");
            Q_EMIT lineLost();
        }
        break;
    default:
        // Modem-line requests refused by a pseudo-terminal and the like: the
        // failing call reports what matters.
        break;
    }
}
