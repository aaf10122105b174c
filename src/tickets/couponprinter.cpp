#include "couponprinter.h"

#include "couponcommands.h"
#include "couponstatus.h"
#include "coupontexts.h"

#include "common/commonroutines.h"
#include "platform/seriallink.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

CouponPrinter::CouponPrinter(SerialLink *link, QObject *parent)
    : QObject(parent)
    , m_link(link)
{
    connect(m_link, &SerialLink::lineLost, this, [this] {
        m_lineLost = true;
        if (m_waiting)
            m_waiting->quit();
    });
}

void CouponPrinter::takePiece(const QByteArray &piece)
{
    m_received += piece;
    m_sinceLastPiece.start();
    if (m_waiting)
        m_waiting->quit();
}

int CouponPrinter::quietMs() const
{
    if (m_quietMs > 0)
        return m_quietMs;
    // Pieces of one answer (or an unsolicited status and the answer behind it)
    // follow each other within a few byte times (10 bits a byte); the rest is
    // room for a busy machine to pass them on.
    const int byteMs = (10 * 1000 + m_link->baudRate() - 1) / m_link->baudRate();
    return 100 + 10 * byteMs;
}

void CouponPrinter::pause(qint64 ms)
{
    if (ms <= 0)
        return;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(int(std::min<qint64>(ms, INT_MAX)));
    m_waiting = &loop;
    loop.exec();
    m_waiting = nullptr;
}

bool CouponPrinter::pauseFully(qint64 ms)
{
    const QDeadlineTimer deadline(ms);
    while (!m_lineLost && !deadline.hasExpired())
        pause(deadline.remainingTime());
    return !m_lineLost;
}

void CouponPrinter::cancelWait()
{
    if (m_cancelled)
        return;
    m_cancelled = true;
    m_cancelDeadline = QDeadlineTimer(CancelGraceMs);
    if (m_waiting)
        m_waiting->quit();
}

bool CouponPrinter::statusCheck()
{
    if (!m_link->isOpen())
        return false;
    // What the printer sent before this request answers nothing asked now.
    QCoreApplication::processEvents();
    m_received.clear();
    m_lineLost = false;
    if (!m_link->write(CouponCommands::statusRequest())) {
        ShowErrorMessage(CouponText::cannotSendRequest());
        return false;
    }

    const QDeadlineTimer deadline(m_statusTimeoutMs);
    if (m_cancelled)
        m_cancelDeadline = QDeadlineTimer(CancelGraceMs);
    for (;;) {
        if (m_lineLost) {
            ShowErrorMessage(CouponText::cannotSendRequest());
            return false;
        }
        const bool answered = !CouponStatus::answerIn(m_received).isEmpty();
        if (!answered && m_cancelled && m_cancelDeadline.hasExpired())
            return false; // Esc: no box, the run stops
        if (deadline.hasExpired()) {
            if (answered)
                break;
            ShowErrorMessage(CouponText::noAnswer());
            return false;
        }
        if (answered) {
            // Decode once the line is quiet: the newest answer counts.
            const qint64 quietLeft = quietMs() - m_sinceLastPiece.elapsed();
            if (quietLeft <= 0) {
                // A busy event loop may not have read what is already waiting.
                const qsizetype before = m_received.size();
                QCoreApplication::processEvents();
                if (m_received.size() == before)
                    break;
                continue;
            }
            pause(std::min(quietLeft, deadline.remainingTime()));
        } else {
            pause(m_cancelled ? std::min(deadline.remainingTime(), m_cancelDeadline.remainingTime())
                              : deadline.remainingTime());
        }
    }

    const CouponStatus::State state = CouponStatus::decode(m_received);
    if (state == CouponStatus::State::Ready)
        return true;
    ShowErrorMessage(CouponStatus::message(state));
    return false;
}

bool CouponPrinter::readyForCoupon()
{
    bool ready = false;
    for (int attempt = 0; attempt < StatusAttempts && !ready && !m_cancelled; ++attempt)
        ready = statusCheck();
    if (!ready && !m_cancelled)
        ShowErrorMessage(CouponText::cannotPrint());
    return ready;
}

bool CouponPrinter::printCoupon(const QString &couponText)
{
    bool sent = true;
    for (const QByteArray &bytes : CouponCommands::couponWrites(couponText)) {
        if (!m_link->write(bytes)) {
            sent = false;
            break;
        }
    }
    if (!sent || !pauseFully(m_afterSendMs)) {
        ShowErrorMessage(CouponText::cannotSendCoupon());
        return false;
    }
    return statusCheck();
}
