#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
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
    /// How long a cancelled wait still takes an answer already on its way.
    static constexpr int CancelGraceMs = 1000;

    explicit CouponPrinter(SerialLink *link, QObject *parent = nullptr);

    /// A piece the printer sent: joined to what came since the last request.
    void takePiece(const QByteArray &piece);
    /// Bytes received since the last status request.
    QByteArray received() const { return m_received; }

    /// Asks the status and waits for the answer: true when the printer is ready.
    /// A closed port fails without a word; anything else that fails is reported.
    bool statusCheck();
    /// Up to StatusAttempts checks before a coupon: true when one said ready.
    bool readyForCoupon();
    /// Sends one coupon text, waits, and checks the status after it: true
    /// when that check said ready. False leaves the coupon unconfirmed: a
    /// write that failed may still have put part of it on paper.
    bool printCoupon(const QString &couponText);

    /// Ends a wait for the printer at once (Esc during a run): the checks
    /// fail without a box until setCancelled(false).
    void cancelWait();
    void setCancelled(bool cancelled) { m_cancelled = cancelled; }

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
    bool m_cancelled = false;
    QDeadlineTimer m_cancelDeadline;
    int m_statusTimeoutMs = StatusTimeoutMs;
    int m_afterSendMs = AfterSendMs;
    int m_quietMs = 0;
};
