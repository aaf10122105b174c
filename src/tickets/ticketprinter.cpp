#include "ticketprinter.h"

#include "ticketcommands.h"
#include "ticketstatus.h"

#include "platform/seriallink.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

TicketPrinter::TicketPrinter(SerialLink *link, QObject *parent)
    : QObject(parent)
    , m_link(link)
{
    connect(m_link, &SerialLink::lineLost, this, [this] {
        m_lineLost = true;
        if (m_waiting)
            m_waiting->quit();
    });
}

void TicketPrinter::takePiece(const QByteArray &piece)
{
    m_received = piece;
    if (m_waiting)
        m_waiting->quit();
}

void TicketPrinter::setStatusTimeoutMs(int ms)
{
    m_statusTimeoutMs = ms;
    if (m_waiting)
        m_waiting->quit();
}

void TicketPrinter::cancelWait()
{
    if (m_cancelled)
        return;
    m_cancelled = true;
    // An answer already on its way still counts: it arrives within the grace.
    m_cancelDeadline = QDeadlineTimer(m_cancelGraceMs);
    if (m_waiting)
        m_waiting->quit();
}

TicketPrinter::Answer TicketPrinter::requestStatus()
{
    m_lineLost = false;
    m_cancelled = false;
    if (!m_link->isOpen() && !m_link->open())
        return Answer::Failed;
    m_received.clear();
    if (!m_link->write(TicketCommands::statusRequest()))
        return Answer::Failed;

    // The time-out is read afresh on every pass: a change reaches this wait.
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        // The text before the clock: a box the receive handler keeps open
        // past the deadline has still answered.
        if (!m_received.isEmpty())
            return TicketStatus::isReady(m_received) ? Answer::Ready : Answer::NotReady;
        if (m_lineLost)
            return Answer::Failed;
        if (m_cancelled && m_cancelDeadline.hasExpired())
            return Answer::Cancelled;
        qint64 remaining = m_statusTimeoutMs - waited.elapsed();
        if (remaining <= 0)
            return Answer::Silent;
        if (m_cancelled)
            remaining = std::min(remaining, m_cancelDeadline.remainingTime());
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        timer.start(int(std::max<qint64>(remaining, 1)));
        m_waiting = &loop;
        loop.exec();
        m_waiting = nullptr;
    }
}
