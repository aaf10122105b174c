#pragma once

#include <QString>

/// The texts of the coupon screen ("\r" is a line break). The ticket screen
/// words the same situations differently: keep the two apart.
namespace CouponText {

inline QString caption()
{
    return QStringLiteral("할인쿠폰 출력");
}

// Printer status.
inline QString coverOpen()
{
    return QStringLiteral("프린터 덮개가 열려 있습니다.");
}
inline QString cutter()
{
    return QStringLiteral("프린터 커터에 문제가 있습니다.");
}
inline QString seriousFault()
{
    return QStringLiteral("프린터에 심각한 문제가 있습니다.\r전원을 껐다 다시 켜십시오.");
}
inline QString headTemperature()
{
    return QStringLiteral("프린터 헤드 온도가 높습니다.\r전원을 끄고 10분 후 다시 시도하십시오.");
}
inline QString bufferFull()
{
    return QStringLiteral("프린터 버퍼가 꽉 찼습니다.\r잠시 후 다시 시도하십시오.");
}
inline QString paperOut()
{
    return QStringLiteral("프린터 용지가 없거나 잘못 끼워져 있습니다.");
}
inline QString offLine()
{
    return QStringLiteral("프린터가 Off Line 상태입니다.");
}
inline QString noAnswer()
{
    return QStringLiteral("프린터 전원이 꺼져있거나 응답이 없습니다.");
}
inline QString cannotSendRequest()
{
    return QStringLiteral("프린터에 자료를 전송할 수 없습니다.");
}

// The run.
inline QString cannotPrint()
{
    return QStringLiteral("인쇄를 할 수 없습니다.");
}
inline QString cannotSendCoupon()
{
    return QStringLiteral("프린터로 인쇄 자료를 전송하지 못했습니다.");
}
inline QString nothingToPrint()
{
    return QStringLiteral("출력할 내용이 없습니다.");
}
inline QString cannotOpenPort(const QString &port)
{
    return QStringLiteral("프린터 포트(") + port + QStringLiteral(")를 열 수 없습니다.");
}
inline QString serialLabel()
{
    return QStringLiteral("일련번호");
}
inline QString completed()
{
    return QStringLiteral("출력이 완료되었습니다.");
}
inline QString running()
{
    return QStringLiteral("출력 중입니다. Esc를 누르면 다음 쿠폰 전에 멈춥니다.");
}
inline QString stopping()
{
    return QStringLiteral("지금 출력 중인 쿠폰까지 출력하고 멈춥니다.");
}
inline QString closeRefused()
{
    return QStringLiteral("출력 중에는 닫을 수 없습니다. Esc를 눌러 출력을 멈추십시오.");
}
/// A run that ended early: the last coupon the printer confirmed (empty when
/// none), the one sent that it did not confirm and the one the run did not
/// send because the checks before it failed (empty: none).
inline QString stopped(const QString &lastConfirmed,
                       const QString &unconfirmed,
                       const QString &notSent = QString())
{
    QString text = lastConfirmed.isEmpty()
                           ? QStringLiteral("출력을 멈췄습니다. 출력을 확인한 쿠폰이 없습니다.")
                           : QStringLiteral(
                                     "출력을 멈췄습니다. 일련번호 %1까지 출력을 확인했습니다.")
                                     .arg(lastConfirmed);
    if (!unconfirmed.isEmpty())
        text += QStringLiteral(" 일련번호 %1의 출력은 확인하지 못했습니다. 직접 확인하십시오.")
                        .arg(unconfirmed);
    if (!notSent.isEmpty())
        text += QStringLiteral(" 일련번호 %1부터는 보내지 않았습니다.").arg(notSent);
    return text;
}
inline QString pastLargest(const QString &largest)
{
    return QStringLiteral("일련번호는 %1까지만 출력할 수 있습니다.").arg(largest);
}
inline QString reprintQuestion(const QString &first, qint64 count)
{
    return QStringLiteral("이미 발행된 일련번호가 %1장 있습니다 (첫 번호 %2).\r"
                          "다시 출력하시겠습니까?")
            .arg(count)
            .arg(first);
}
inline QString numberTaken(const QString &number)
{
    return QStringLiteral("일련번호 %1은(는) 다른 곳에서 발행되었습니다. 출력을 멈췄습니다.")
            .arg(number);
}
inline QString ledgerFailed(const QString &reason)
{
    return QStringLiteral("발행 기록을 남길 수 없어 출력을 멈췄습니다.\r") + reason;
}
inline QString cannotEncode(int line)
{
    return QStringLiteral("%1번째 줄의 글자를 프린터 문자로 바꿀 수 없습니다.").arg(line);
}

// The layout file.
inline QString layoutFilter()
{
    return QStringLiteral("환경 파일 (*.ini);;모든 파일 (*.*)");
}
inline QString cannotWriteLayout(const QString &path)
{
    return QStringLiteral("환경 파일을 저장할 수 없습니다.\r") + path;
}
inline QString notALayout(const QString &path)
{
    return QStringLiteral("할인쿠폰 환경 파일이 아닙니다.\r") + path;
}

// Labels of the screen.
inline QString serialHint()
{
    return QStringLiteral(
            "할인쿠폰에 일련번호를 출력하려면\r\n'출력 내용'에 {일련번호}라고 입력하십시오.");
}
inline QString printerNote()
{
    return QStringLiteral("※ Star TSP700 프린터와 3인치 티켓 용지에 맞춘 화면입니다.");
}
/// Stands for the serial number in a line.
inline QString serialPlaceholder()
{
    return QStringLiteral("{일련번호}");
}

} // namespace CouponText
