#pragma once

#include "couponline.h"

#include <QByteArray>
#include <QList>
#include <QString>

/// The command stream of the coupon printer, built without touching the port.
namespace CouponCommands {

/// Lines sent per write; the rest goes in a last write.
constexpr int LinesPerWrite = 20;

/// The status request (ESC ACK SOH); the printer answers seven status bytes.
QByteArray statusRequest();

/// A line's text with every serial-number placeholder replaced.
QString withSerial(const QString &text, const QString &serial);

/// The coupon text for one serial number: every enabled line in order (empty
/// ones included), wrapped in its size marks ({Z}, {Y}, {X} … {S}) and ended by CR.
QString couponText(const QList<CouponLine> &lines, qint64 serial);

/// The writes that print one coupon text: ESC "@" + text + ESC "d3" with the
/// size marks turned into their commands, in cp949, cut into lines at CR, LF or
/// CR LF, each line but the last (the closing command) ended by LF,
/// LinesPerWrite lines a write.
QList<QByteArray> couponWrites(const QString &couponText);

} // namespace CouponCommands
