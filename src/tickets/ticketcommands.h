#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

struct TicketDesign;

/// The command stream of the ticket printer (8 dots a millimetre), built
/// without touching the port. Positions come from the designer's picture at
/// 4 pixels a millimetre.
namespace TicketCommands {

constexpr int DotsPerMm = 8;
constexpr int PixelsPerMm = 4;

QByteArray statusRequest();
QByteArray startTicket();
QByteArray printTicket();
/// "<NR>", "<RR>", "<RU>", "<RL>" for directions 0 … 3.
QByteArray rotation(int direction);
/// The printer's font code of a font-list index ("SF1", "F1" … "F13", never F5).
QString fontCode(int fontIndex);

/// "<RCrow,column>" in dots for an item at these pixels of the picture, on a
/// ticket of widthMm × heightMm printed in this direction. Not clamped: an item
/// near an edge may give a negative value.
QByteArray positionCommand(int direction, int leftPx, int topPx, int widthMm, int heightMm);
/// The font and magnification of a label ("<SF1><HW2,2>"); a multiplier below 1 is 1.
QByteArray fontCommand(int fontIndex, int multiplier);
/// A barcode of the given data, its picture widthPx × heightPx.
QByteArray barcodeCommand(int direction, int widthPx, int heightPx, const QByteArray &data);

/// The number of ticket i of a run from `first`: at least ten digits,
/// zero-padded; empty when the run is not numbered (first below 1).
QString sequenceText(qint64 first, qint64 i);

/// The writes of one ticket after the ready answer: start, rotation, one per
/// label (the text "{sequence}" replaced by the number), the barcode when it
/// is shown and the ticket has a number, print. Texts in cp949, as held.
QList<QByteArray> ticketWrites(const TicketDesign &design, const QString &sequence);

} // namespace TicketCommands
