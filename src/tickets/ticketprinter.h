#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QObject>

#include <functional>

class QEventLoop;
class SerialLink;

/// The ticket printer on a serial link: the status request and the wait for
/// its answer. The latest piece the printer sent is the received status text;
/// while it waits the user interface keeps running.
class TicketPrinter : public QObject
{
    Q_OBJECT

public:
    static constexpr int StatusTimeoutMs = 5000;
    /// How long a cancelled wait still takes an answer already on its way.
    static constexpr int CancelGraceMs = 1000;

    explicit TicketPrinter(SerialLink *link, QObject *parent = nullptr);

    /// A piece from the printer replaces the received status text.
    void takePiece(const QByteArray &piece);
    QByteArray received() const { return m_received; }

    enum class Answer {
        Ready,
        NotReady,  ///< another byte came: its message is the receive handler's
        Silent,    ///< nothing came in time
        Failed,    ///< the port would not open, the request could not be sent, or the line went
        Cancelled, ///< cancelWait() ended the wait
    };
    /// Opens the port when closed, empties the received text, sends the status
    /// request and waits for the first byte of an answer.
    Answer requestStatus();

    /// Ends a wait for an answer at once (Esc during a run).
    void cancelWait();

    /// True when the line went away since the last request.
    bool lineLost() const { return m_lineLost; }

    void setStatusTimeoutMs(int ms) { m_statusTimeoutMs = ms; }
    int statusTimeoutMs() const { return m_statusTimeoutMs; }

private:
    SerialLink *m_link;
    QByteArray m_received;
    QEventLoop *m_waiting = nullptr;
    bool m_lineLost = false;
    bool m_cancelled = false;
    QDeadlineTimer m_cancelDeadline;
    int m_statusTimeoutMs = StatusTimeoutMs;
};
