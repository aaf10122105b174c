#pragma once

#include "couponline.h"

#include <QImage>
#include <QList>
#include <QString>

/// The preview picture of a coupon as the screen shows it.
namespace CouponPreview {

constexpr int Width = 320;
constexpr int Height = 338;
/// Where the dotted tear line runs.
constexpr int TearLineY = 220;
/// Where the first line starts.
constexpr int FirstLineY = 35;

/// The sky blue of the picture.
QColor fillColour();
/// Height of a normal line: the height of "A" in the preview font + 2.
int lineHeight();

/// Draws the enabled lines, every serial-number placeholder shown as `serial`.
QImage draw(const QList<CouponLine> &lines, const QString &serial);

} // namespace CouponPreview
