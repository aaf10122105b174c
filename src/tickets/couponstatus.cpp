#include "couponstatus.h"

#include "coupontexts.h"

namespace CouponStatus {

State decode(const QByteArray &received)
{
    if (received.size() < AnswerLength)
        return State::Incomplete;
    const QByteArray answer = received.right(AnswerLength);
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
