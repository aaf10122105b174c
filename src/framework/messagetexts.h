#pragma once

#include <QString>

/// The texts every screen of the framework shares ("\r" is a line break).
namespace MessageText {

// Captions and hints of the frame.
inline QString closeCaption()
{
    return QStringLiteral("종료(F12)");
}
inline QString searchCaption()
{
    return QStringLiteral("조회(F3)");
}
inline QString saveCaption()
{
    return QStringLiteral("저장(F2)");
}
inline QString cancelCaption()
{
    return QStringLiteral("취소(F8)");
}
inline QString addCaption()
{
    return QStringLiteral("신규(F4)");
}
inline QString deleteCaption()
{
    return QStringLiteral("삭제(F9)");
}
inline QString firstHint()
{
    return QStringLiteral("처음 자료");
}
inline QString priorHint()
{
    return QStringLiteral("앞 자료");
}
inline QString nextHint()
{
    return QStringLiteral("다음 자료");
}
inline QString lastHint()
{
    return QStringLiteral("마지막 자료");
}

// Status bar.
inline QString userPrefix()
{
    return QStringLiteral("사용자 : ");
}
inline QString businessSitePrefix()
{
    return QStringLiteral("사업장 - ");
}
inline QString teamPrefix()
{
    return QStringLiteral("팀 - ");
}
inline QString salesOutletPrefix()
{
    return QStringLiteral("영업장 - ");
}

// Edit screens.
/// Follows the caption of a field's label.
inline QString enterCorrectly()
{
    return QStringLiteral("을(를) 정확히 입력하십시오.");
}
inline QString duplicateKey()
{
    return QStringLiteral("기존 등록된 키와 값이 중복됩니다.\r다시 입력하십시오.");
}
inline QString saved()
{
    return QStringLiteral("자료를 정상적으로 저장했습니다.");
}
inline QString nothingChanged()
{
    return QStringLiteral("변경된 자료가 없습니다.");
}
/// Followed by the error text.
inline QString saveFailed()
{
    return QStringLiteral("자료를 저장하지 못했습니다.\r\r에러내용:\r");
}
inline QString cancelQuestion()
{
    return QStringLiteral("변경된 자료가 있습니다.\r정말 취소할까요?");
}
inline QString closeQuestion()
{
    return QStringLiteral("변경된 자료가 있습니다.\r변경된 자료를 저장하시겠습니까?");
}

// Inquiry screens and lookups.
inline QString nothingToShow()
{
    return QStringLiteral("조회할 내용이 없습니다.");
}

} // namespace MessageText
