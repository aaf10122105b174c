#pragma once

#include <QString>

/// One line of a coupon as the operator set it up.
struct CouponLine
{
    QString text;
    bool doubleHeight = false; ///< "세로"
    bool doubleWidth = false;  ///< "가로"
    bool enabled = true; ///< disabled lines keep their text but are neither previewed nor printed

    friend bool operator==(const CouponLine &, const CouponLine &) = default;
};
