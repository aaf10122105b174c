#include "couponstatus.h"

#include "coupontexts.h"

namespace {

/// The number of bytes an answer starting with this byte announces, or 0 when
/// it is no header: a header has bit 0 set and bits 4 and 7 clear (no status
/// byte has bit 0 set); bits 1–3 and 5 count the bytes.
int announcedLength(unsigned char byte)
{
    if ((byte & 0x91) != 0x01)
        return 0;
    return ((byte >> 1) & 0x07) | ((byte >> 2) & 0x08);
}

} // namespace

namespace CouponStatus {

QByteArray answerIn(const QByteArray &received)
{
    // The newest whole answer its header announces: after a stale byte or an
    // unsolicited status, and also when a printer answers more than seven bytes.
    for (qsizetype p = received.size() - AnswerLength; p >= 0; --p) {
        const int length = announcedLength(static_cast<unsigned char>(received.at(p)));
        if (length >= AnswerLength && p + length == received.size())
            return received.mid(p);
    }
    return received.size() >= AnswerLength ? received.right(AnswerLength) : QByteArray();
}

State decode(const QByteArray &received)
{
    const QByteArray answer = answerIn(received);
    if (answer.isEmpty())
        return State::Incomplete;
    // Bytes counted from 1, as the printer's manual counts them.
    const auto bit = [&answer](int byte, unsigned char mask) {
        return (static_cast<unsigned char>(answer.at(byte - 1)) & mask) != 0;
    };
    if (!bit(3, 0x08))
        return State::Ready;
    if (bit(3, 0x20))
        return State::CoverOpen;
    if (bit(4, 0x08))
        return State::Cutter;
    if (bit(4, 0x20))
        return State::SeriousFault;
    if (bit(4, 0x40))
        return State::HeadTemperature;
    if (bit(5, 0x40))
        return State::BufferFull;
    if (bit(6, 0x08))
        return State::PaperOut;
    return State::OffLine;
}

QString message(State state)
{
    switch (state) {
    case State::Incomplete:
    case State::Ready:
        return QString();
    case State::CoverOpen:
        return CouponText::coverOpen();
    case State::Cutter:
        return CouponText::cutter();
    case State::SeriousFault:
        return CouponText::seriousFault();
    case State::HeadTemperature:
        return CouponText::headTemperature();
    case State::BufferFull:
        return CouponText::bufferFull();
    case State::PaperOut:
        return CouponText::paperOut();
    case State::OffLine:
        return CouponText::offLine();
    }
    return QString();
}

} // namespace CouponStatus
