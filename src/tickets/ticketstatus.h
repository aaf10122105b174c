#pragma once

#include <QByteArray>
#include <QString>

/// The one status byte the ticket printer answers to "<S1>".
namespace TicketStatus {

constexpr unsigned char ReadyByte = 0x11;

/// The first byte of a piece says it: true for 11.
bool isReady(const QByteArray &piece);
/// The message of the piece's first byte; empty for ready, for a byte
/// outside the printer's table and for an empty piece.
QString message(const QByteArray &piece);

} // namespace TicketStatus
