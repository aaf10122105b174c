#pragma once

#include "printersim.h"

/// The coupon printer: 80 mm paper, 576 printable dots, 12 × 24 dots a byte
/// (a Hangul character takes two), cp949 text.
///
/// Commands: ESC ACK SOH asks the status (7 bytes back); ESC "@" starts a
/// coupon at normal size; ESC "i" h w sets the size (digits '0'…'5' or bytes
/// 0…5: height × (h+1), width × (w+1)); LF prints the line; CR is ignored;
/// ESC "d" n feeds n lines and cuts, which finishes the coupon. Other ESC
/// commands and control bytes are logged as UNKNOWN. A line feed sent after
/// the cut prints an empty first line on the next coupon, as on paper.
///
/// Status: [0F, 00, S3, S4, S5, S6, 00], all zero when ready. Every fault sets
/// the off-line bit (S3 08) and its own: cover S3 20, cutter and jam S4 08,
/// serious and data error S4 20, head S4 40, buffer S5 40, paper out S6 08.
class CouponSim : public PrinterSim
{
    Q_OBJECT

public:
    explicit CouponSim(QObject *parent = nullptr);

    static QByteArray statusFor(Fault fault);

protected:
    void consume(const QByteArray &bytes) override;
    QByteArray statusBytes(Fault fault) const override { return statusFor(fault); }
    QString itemWord() const override { return QStringLiteral("coupon"); }
    void resetParser() override;

private:
    struct Segment
    {
        QByteArray bytes;
        int height = 1;
        int width = 1;
    };
    using Line = QList<Segment>;

    void addByte(char byte);
    void endLine();
    void finishCoupon(int feedLines);

    QByteArray m_pending;
    QByteArray m_itemBytes;
    QList<Line> m_lines;
    Line m_line;
    int m_height = 1;
    int m_width = 1;
};
