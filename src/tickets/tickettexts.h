#pragma once

#include <QString>
#include <QStringList>

/// The texts of the ticket designer ("\r" is a line break). The coupon screen
/// words the same situations differently: keep the two apart.
namespace TicketText {

inline QString caption()
{
    return QStringLiteral("보카 출력");
}

// Printer status.
inline QString jammed()
{
    return QStringLiteral("프린터 티켓이 걸렸습니다.");
}
inline QString transferFailed()
{
    return QStringLiteral("프린터에 자료 전송을 하지 못했습니다.");
}
inline QString outOfTickets()
{
    return QStringLiteral("프린터 티켓이 없습니다.");
}
inline QString offLine()
{
    return QStringLiteral("프린터 오프라인 상태입니다.");
}
inline QString cutter()
{
    return QStringLiteral("프린터 커터 에러입니다.");
}
inline QString noAnswer()
{
    return QStringLiteral("프린터 전원이 꺼져 있거나 응답이 없습니다.");
}
inline QString unknownError()
{
    return QStringLiteral("프린터에서 알 수 없는 에러가 발생했습니다.");
}
inline QString cannotOpenPort()
{
    return QStringLiteral("프린터 포트를 열 수 없습니다.");
}
inline QString completed()
{
    return QStringLiteral("출력이 완료되었습니다.");
}

// The run.
inline QString running()
{
    return QStringLiteral("출력 중입니다. Esc를 누르면 다음 티켓 전에 멈춥니다.");
}
inline QString stopping()
{
    return QStringLiteral("지금 출력 중인 티켓까지 출력하고 멈춥니다.");
}
inline QString closeRefused()
{
    return QStringLiteral("출력 중에는 닫을 수 없습니다. Esc를 눌러 출력을 멈추십시오.");
}
/// A run that ended early: the last number sent and the last one the printer
/// confirmed (empty: none). Unnumbered runs name the tickets by their count.
inline QString stopped(const QString &lastSent, const QString &lastConfirmed)
{
    const QString none = QStringLiteral("없음");
    return QStringLiteral("출력을 멈췄습니다. 마지막으로 보낸 번호: %1, 프린터가 확인한 번호: %2")
            .arg(lastSent.isEmpty() ? none : lastSent,
                 lastConfirmed.isEmpty() ? none : lastConfirmed);
}
inline QString stoppedUnnumbered(int sent, int confirmed)
{
    return QStringLiteral("출력을 멈췄습니다. 보낸 티켓 %1장, 프린터가 확인한 티켓 %2장")
            .arg(sent)
            .arg(confirmed);
}

// The designer.
inline QString latinFontQuestion(const QString &text)
{
    return QStringLiteral("영문 글꼴에서 한글을 입력하면 한글 출력이 되지 않습니다.\r"
                          "계속 하시겠습니까?\r\r\"")
           + text + QLatin1Char('"');
}
inline QString designNote()
{
    return QStringLiteral(
            "상기 화면은 티켓 디자인 참고용으로, 실제 인쇄되는 글꼴, 크기, 위치 등과는 "
            "다릅니다.\r\n"
            "디자인 후 샘플 티켓을 인쇄해 보고 샘플에 이상이 없을 경우, 정식 인쇄를 하시기 "
            "바랍니다.");
}
inline QString layoutFilter()
{
    return QStringLiteral("환경 파일 (*.ini);;모든 파일 (*.*)");
}
inline QString cannotWriteLayout(const QString &path)
{
    return QStringLiteral("티켓 환경 파일을 저장할 수 없습니다.\r") + path;
}
inline QString cannotReadLayout(const QString &path)
{
    return QStringLiteral("티켓 환경 파일을 읽을 수 없습니다.\r") + path;
}
inline QString nextNumberProposed(const QString &number)
{
    return QStringLiteral("이 환경 파일로 마지막으로 발행된 번호 다음인 %1부터 출력합니다.")
            .arg(number);
}
// Numbers and the ledger.
inline QString pastLargest(const QString &largest)
{
    return QStringLiteral("일련번호는 %1까지만 출력할 수 있습니다. 범위를 줄이십시오.").arg(largest);
}
inline QString reprintQuestion(const QString &first, qint64 count)
{
    return QStringLiteral("이미 발행된 번호가 %1장 있습니다 (첫 번호 %2).\r"
                          "다시 출력하시겠습니까?")
            .arg(count)
            .arg(first);
}
inline QString numberTaken(const QString &number)
{
    return QStringLiteral("번호 %1은(는) 다른 곳에서 발행되었습니다. 출력을 멈췄습니다.").arg(number);
}
inline QString ledgerUnreadable(const QString &reason)
{
    return QStringLiteral("발행 기록을 읽을 수 없어 다음 번호를 제안하지 못했습니다. ") + reason;
}
inline QString ledgerFailed(const QString &reason)
{
    return QStringLiteral("발행 기록을 남길 수 없어 출력을 멈췄습니다.\r") + reason;
}
/// Appended to the stop text: numbers sent that the printer never confirmed.
inline QString checkByHand(const QStringList &numbers)
{
    return QStringLiteral(" 출력 여부를 직접 확인할 번호: %1")
            .arg(numbers.join(QStringLiteral(", ")));
}
inline QString notATicketLayout(const QString &path)
{
    return QStringLiteral("티켓 환경 파일이 아닙니다.\r") + path;
}
inline QString cannotEncode(const QString &label)
{
    return QStringLiteral("%1의 글자를 프린터 문자로 바꿀 수 없습니다.").arg(label);
}

} // namespace TicketText
