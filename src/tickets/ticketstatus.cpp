#include "ticketstatus.h"

#include "tickettexts.h"

bool TicketStatus::isReady(const QByteArray &piece)
{
    return !piece.isEmpty() && static_cast<unsigned char>(piece.at(0)) == ReadyByte;
}

QString TicketStatus::message(const QByteArray &piece)
{
    if (piece.isEmpty())
        return QString();
    switch (static_cast<unsigned char>(piece.at(0))) {
    case 0x03:
    case 0x04:
    case 0x18:
    case 0xFC:
        return TicketText::jammed();
    case 0x08:
    case 0x15:
    case 0x19:
        return TicketText::transferFailed();
    case 0x0A:
    case 0x0B:
    case 0x0C:
    case 0x0D:
    case 0x10:
        return TicketText::outOfTickets();
    case 0x13:
        return TicketText::offLine();
    case 0x1D:
        return TicketText::cutter();
    default:
        return QString();
    }
}
