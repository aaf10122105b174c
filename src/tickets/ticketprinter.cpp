#include "ticketprinter.h"

#include "ticketcommands.h"
#include "ticketstatus.h"

#include "platform/seriallink.h"

#include <QDeadlineTimer>
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

void TicketPrinter::cancelWait()
{
    if (m_cancelled)
        return;
    m_cancelled = true;
    // An answer already on its way still counts: it arrives within the grace.
    m_cancelDeadline = QDeadlineTimer(CancelGraceMs);
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

    const QDeadlineTimer deadline(m_statusTimeoutMs);
    for (;;) {
        // The text before the clock: a box the receive handler keeps open
        // past the deadline has still answered.
        if (!m_received.isEmpty())
            return TicketStatus::isReady(m_received) ? Answer::Ready : Answer::NotReady;
        if (m_lineLost)
            return Answer::Failed;
        if (m_cancelled && m_cancelDeadline.hasExpired())
            return Answer::Cancelled;
        if (deadline.hasExpired())
            return Answer::Silent;
        qint64 remaining = deadline.remainingTime();
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
