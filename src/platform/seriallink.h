#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

class QSerialPort;

/// The serial line to a ticket printer: 8 data bits, no parity, one stop bit,
/// no flow control of any kind, DTR and RTS off. The port name and rate are
/// kept while closed and take effect at the next open. What arrives is handed
/// on as pieces (one per read) on the thread that owns the link.
///
/// The link opens for one print run and closes at its end. Input waiting in
/// the driver when it opens is dropped: a printer may have sent status bytes
/// while nobody listened, and they are not the answer to anything asked now.
class SerialLink : public QObject
{
    Q_OBJECT

public:
    explicit SerialLink(QObject *parent = nullptr);
    ~SerialLink() override;

    /// "COM1" until another is chosen. Accepts "COMn" (the n-th serial device,
    /// /dev/ttyS(n-1)), a device name such as "ttyUSB0", or a device path (a
    /// pseudo-terminal or a symbolic link to one).
    void setPortName(const QString &name);
    QString portName() const { return m_portName; }
    /// 9600 until another is chosen.
    void setBaudRate(int rate);
    int baudRate() const { return m_baudRate; }
    /// Sets the rate from an entry of rateNames(); "Custom" is 9600.
    void setRateName(const QString &name);

    /// Opens the port and applies the settings; does nothing when already
    /// open. False, with errorString() set, when it cannot be opened or set up.
    bool open();
    /// Closes the port; harmless when closed.
    void close();
    bool isOpen() const;

    /// Sends every byte as given and waits until the driver has taken them,
    /// at most writeTimeoutMs(). False, with errorString() set, on failure.
    bool write(const QByteArray &bytes);
    /// 100 ms a byte plus 1000 ms.
    static int writeTimeoutMs(qsizetype byteCount);

    /// Why the last open or write failed, for logs (the screens show their own texts).
    QString errorString() const { return m_error; }

    /// The device path a port name stands for ("COM3" is /dev/ttyS2).
    static QString devicePath(const QString &portName);
    /// The serial ports of this machine by their system names (ttyS0, ttyUSB0…).
    static QStringList availablePorts();

    /// A serial device as the port chooser offers it: its path and, for a
    /// device of /dev/serial/by-id, the device it stands for.
    struct Device
    {
        QString path;
        QString target;
        bool operator==(const Device &) const = default;
    };
    /// The serial devices under a device folder (/dev): ttyS* that answer
    /// (a device without a UART behind it does not open, or reports none),
    /// every ttyUSB* and ttyACM*, and the named links of serial/by-id, in
    /// that order, each group sorted by number or name.
    static QList<Device> devices(const QString &deviceFolder = QStringLiteral("/dev"));
    /// The rate chooser's list, "Custom" first.
    static QStringList rateNames();

Q_SIGNALS:
    /// Bytes that arrived together; the link has already taken them off the line.
    void pieceReceived(const QByteArray &piece);
    /// The line went away while open (a read or resource error, an unplugged
    /// adapter). Emitted once; the port is closed by then.
    void lineLost();

private:
    void readPieces();
    void handleError(int error);

    QSerialPort *m_port = nullptr;
    QString m_portName = QStringLiteral("COM1");
    int m_baudRate = 9600;
    QString m_error;
    bool m_reading = false;
};
