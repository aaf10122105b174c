#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

class QEventLoop;
class SerialLink;

/// The coupon printer on an open serial link during a run: status checks and
/// coupons, every failure reported in its own error box. While it waits for
/// the printer it keeps the user interface running.
class CouponPrinter : public QObject
{
    Q_OBJECT

public:
    static constexpr int StatusTimeoutMs = 8000;
    static constexpr int AfterSendMs = 900;
    static constexpr int StatusAttempts = 3;

    explicit CouponPrinter(SerialLink *link, QObject *parent = nullptr);

    /// A piece the printer sent: joined to what came since the last request.
    void takePiece(const QByteArray &piece);
    /// Bytes received since the last status request.
    QByteArray received() const { return m_received; }

    /// Asks the status and waits for the answer: true when the printer is ready.
    /// A closed port fails without a word; anything else that fails is reported.
    bool statusCheck();
    /// Prints one coupon text: up to StatusAttempts checks before, the writes,
    /// the wait, one check after. True only when the check after succeeds.
    bool sendCoupon(const QString &couponText);

    /// Time-outs; tests shorten them.
    void setStatusTimeoutMs(int ms) { m_statusTimeoutMs = ms; }
    void setAfterSendMs(int ms) { m_afterSendMs = ms; }
    int statusTimeoutMs() const { return m_statusTimeoutMs; }
    int afterSendMs() const { return m_afterSendMs; }
    /// How long the line stays quiet before an answer counts as complete:
    /// a few byte times at the line's rate, unless set (0 goes back to that).
    int quietMs() const;
    void setQuietMs(int ms) { m_quietMs = ms; }

private:
    /// Runs the event loop for at most ms, or until a piece arrives or the line is lost.
    void pause(qint64 ms);
    /// Runs the event loop for ms whatever arrives; false when the line was lost.
    bool pauseFully(qint64 ms);

    SerialLink *m_link;
    QByteArray m_received;
    QElapsedTimer m_sinceLastPiece;
    QEventLoop *m_waiting = nullptr;
    bool m_lineLost = false;
    int m_statusTimeoutMs = StatusTimeoutMs;
    int m_afterSendMs = AfterSendMs;
    int m_quietMs = 0;
};
