#pragma once

#include <QObject>
#include <QString>

class LocalLineServer;

/// The guard that keeps one instance of a program per user: a lock file plus a
/// local server of the same name. The first instance holds both; a later one
/// finds the lock taken, asks the holder to raise its main window and ends.
/// Both live in the user's runtime directory, so that every user of a host has
/// his own guard. The lock is an advisory lock (flock) on the file, which the
/// system drops when its process ends, however it ends: a crashed holder
/// leaves no lock behind, whatever the file says.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(const QString &name, QObject *parent = nullptr);
    ~SingleInstance() override;

    /// The employee this process runs for, recorded with the guard when it is
    /// taken (set before acquire()).
    void setOwner(const QString &empNo, const QString &empName);
    /// Takes the guard; false when another process holds it.
    bool acquire();
    /// The employee the holder runs for, as it recorded it: number and name.
    /// A holder that has not written it yet is waited for up to `timeoutMs`;
    /// `known` is false when nothing could be read.
    struct Owner
    {
        QString empNo;
        QString empName;
        bool known = false;
    };
    Owner holderOwner(int timeoutMs = 2000) const;
    bool isHolder() const { return m_server != nullptr; }
    /// Second instance: asks the holder to bring its main window to the front.
    /// False when no holder answered.
    bool notifyHolder(int timeoutMs = 2000);
    /// Releases the guard (also done by the destructor).
    void release();

    QString name() const { return m_name; }
    /// The local socket and the lock file of a guard name, for the current user.
    static QString serverPath(const QString &name);
    static QString lockFilePath(const QString &name);

Q_SIGNALS:
    /// A second instance asked for the main window.
    void activationRequested();

private:
    QString m_name;
    QString m_serverPath;
    QString m_lockPath;
    QString m_empNo;
    QString m_empName;
    int m_lockFd = -1;
    LocalLineServer *m_server = nullptr;
};
