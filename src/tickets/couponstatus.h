#pragma once

#include <QByteArray>
#include <QString>

/// The seven status bytes the coupon printer answers to a status request.
namespace CouponStatus {

constexpr int AnswerLength = 7;

/// What an answer says, in the order the bits are tested.
enum class State {
    Incomplete, ///< fewer than seven bytes so far
    Ready,
    CoverOpen,
    Cutter,
    SeriousFault,
    HeadTemperature,
    BufferFull,
    PaperOut,
    OffLine,
};

/// Decodes the last seven bytes of what arrived after the request: the newest
/// bytes are the answer, whatever stale or unsolicited bytes came before them.
State decode(const QByteArray &received);

/// The error box text of a state; empty for Ready and Incomplete.
QString message(State state);

} // namespace CouponStatus
