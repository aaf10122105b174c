#pragma once

#include "linesettings.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

/// The printer's end of a pseudo-terminal. The terminal is kept raw (the
/// program's serial port restores what it found when it closes, so a cooked
/// terminal would swallow 0x11 and turn CR into LF between runs), and one
/// descriptor of the program's end stays open so that the printer's end does
/// not report hang-ups while the program has the port closed.
class PtyEndpoint : public QObject
{
    Q_OBJECT

public:
    explicit PtyEndpoint(QObject *parent = nullptr);
    ~PtyEndpoint() override;

    /// Opens a new terminal; with a link path, a symbolic link to it is made
    /// (or re-pointed). False with errorString() on failure.
    bool open(const QString &linkPath = QString());
    /// Closes both ends: the program sees its line go away.
    void close();
    bool isOpen() const { return m_master >= 0; }

    /// The program's end: /dev/pts/N.
    QString path() const { return m_path; }
    QString errorString() const { return m_error; }

    /// Writes the bytes at once, as one piece; false when the line stays full
    /// for a second (nobody reads the other end) or is gone.
    bool write(const QByteArray &bytes);
    /// What the program set on its end.
    bool lineSettings(LineSettings &settings) const;

Q_SIGNALS:
    void received(const QByteArray &bytes);

private:
    void readMaster();

    int m_master = -1;
    int m_slave = -1;
    QString m_path;
    QString m_error;
    QSocketNotifier *m_notifier = nullptr;
};
