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

/// The answer in what arrived after a request: the newest bytes are the
/// answer, whatever stale or unsolicited bytes came before them. It is the
/// last whole answer whose first byte (a header) announces its length, seven
/// or more; without such a header, the last seven bytes. Empty below seven bytes.
QByteArray answerIn(const QByteArray &received);

/// Decodes the third to sixth bytes of answerIn(received).
State decode(const QByteArray &received);

/// The error box text of a state; empty for Ready and Incomplete.
QString message(State state);

} // namespace CouponStatus
