#include "ticketcommands.h"

#include "ticketdesign.h"

#include "platform/cp949.h"

namespace {

QByteArray number(qint64 value)
{
    return QByteArray::number(value);
}

} // namespace

QByteArray TicketCommands::statusRequest()
{
    return QByteArrayLiteral("<S1>");
}

QByteArray TicketCommands::startTicket()
{
    return QByteArrayLiteral("<CB>");
}

QByteArray TicketCommands::printTicket()
{
    return QByteArrayLiteral("<p>");
}

QByteArray TicketCommands::rotation(int direction)
{
    switch (direction) {
    case 1:
        return QByteArrayLiteral("<RR>");
    case 2:
        return QByteArrayLiteral("<RU>");
    case 3:
        return QByteArrayLiteral("<RL>");
    default:
        return QByteArrayLiteral("<NR>");
    }
}

QString TicketCommands::fontCode(int fontIndex)
{
    if (fontIndex < 1 || fontIndex > 12)
        return QStringLiteral("SF1");
    // The printer has no F5: from index 5 on the codes run one above the index.
    return QStringLiteral("F%1").arg(fontIndex < 5 ? fontIndex : fontIndex + 1);
}

QByteArray TicketCommands::positionCommand(
        int direction, int leftPx, int topPx, int widthMm, int heightMm)
{
    const qint64 x = leftPx / PixelsPerMm;
    const qint64 y = topPx / PixelsPerMm;
    qint64 row = 0;
    qint64 column = 0;
    // The printer's origin and axes turn with the direction; the millimetre
    // offsets are the printer's unprintable margins in each direction.
    switch (direction) {
    case 1:
        row = x - 2;
        column = heightMm - 1 - y;
        break;
    case 2:
        row = heightMm - 2 - y;
        column = widthMm - 1 - x;
        break;
    case 3:
        row = widthMm - 2 - x;
        column = y - 3;
        break;
    default:
        row = y - 2;
        column = x - 2;
        break;
    }
    return "<RC" + number(row * DotsPerMm) + ',' + number(column * DotsPerMm) + '>';
}

QByteArray TicketCommands::fontCommand(int fontIndex, int multiplier)
{
    const int m = std::max(multiplier, 1);
    return '<' + fontCode(fontIndex).toLatin1() + "><HW" + number(m) + ',' + number(m) + '>';
}

QByteArray TicketCommands::barcodeCommand(int direction,
                                          int widthPx,
                                          int heightPx,
                                          const QByteArray &data)
{
    const bool upsideDown = direction == 2 || direction == 3;
    const bool lying = direction == 1 || direction == 3;
    return QByteArray(upsideDown ? "<RU>" : "<NR>") + "<o" + (lying ? 'L' : 'P')
           + number(heightPx / PixelsPerMm) + "><X" + number(widthPx / PixelsPerMm / 11) + "><BI>^"
           + data + '^';
}

QString TicketCommands::sequenceText(qint64 first, qint64 i)
{
    if (first < 1)
        return QString();
    return QStringLiteral("%1").arg(first + i, 10, 10, QLatin1Char('0'));
}

QList<QByteArray> TicketCommands::ticketWrites(const TicketDesign &design, const QString &sequence)
{
    QList<QByteArray> writes{startTicket(), rotation(design.direction)};
    for (const TicketLabel &label : design.labels) {
        const QString text = TicketDesign::isSequenceMark(label.text) ? sequence : label.text;
        writes.append(positionCommand(design.direction,
                                      label.leftPx,
                                      label.topPx,
                                      design.widthMm,
                                      design.heightMm)
                      + fontCommand(label.fontIndex, label.multiplier) + Cp949::fromUnicode(text));
    }
    if (design.barcodeVisible && !sequence.isEmpty()) {
        writes.append(positionCommand(design.direction,
                                      design.barcodeLeftPx,
                                      design.barcodeTopPx,
                                      design.widthMm,
                                      design.heightMm)
                      + barcodeCommand(design.direction,
                                       design.barcodeWidthPx,
                                       design.barcodeHeightPx,
                                       sequence.toLatin1()));
    }
    writes.append(printTicket());
    return writes;
}
