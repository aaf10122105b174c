#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class QSocketNotifier;

/// Local (Unix-domain) stream sockets at the paths Qt's QLocalServer and
/// QLocalSocket use, so that programs built on those talk to these, without
/// loading Qt Network and what it brings (Kerberos, the proxy library) into
/// every start of the program.
namespace LocalSocket {

/// The socket file of a server name: a name without a slash lives in the
/// temporary folder, as QLocalServer places it.
QString pathOf(const QString &name);

/// Connects to the server listening under `name`, writes `data` whole and
/// closes. False, and nothing or part of it sent, when nobody listens or the
/// server takes nothing within `timeoutMs`.
bool sendOnce(const QString &name, const QByteArray &data, int timeoutMs);

} // namespace LocalSocket

/// A server on a local socket that reads lines from its clients; the socket
/// file is open to its owner only.
class LocalLineServer : public QObject
{
    Q_OBJECT

public:
    explicit LocalLineServer(QObject *parent = nullptr);
    ~LocalLineServer() override;

    /// Listens under `name` (see LocalSocket::pathOf); a file already there is
    /// not removed. False with errorString() when the socket cannot be had.
    bool listen(const QString &name);
    bool isListening() const { return m_fd >= 0; }
    QString errorString() const { return m_error; }
    /// Stops listening, drops every client and removes the socket file.
    void close();

    /// The longest line a client may send; a client that sends more is dropped.
    static constexpr int MaxLineBytes = 4096;

Q_SIGNALS:
    /// One line of a client, with its line feed.
    void lineReceived(const QByteArray &line);

private:
    struct Client;
    void acceptClients();
    void readClient(Client *client);
    void dropClient(Client *client);

    int m_fd = -1;
    QString m_path;
    QString m_error;
    QSocketNotifier *m_notifier = nullptr;
    std::vector<std::unique_ptr<Client>> m_clients;
};
