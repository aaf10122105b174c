#pragma once

#include <QString>

/// The code heads of ZX010MS that this module reads. A head row carries the
/// one-blank DETAIL HeadRowDetail; code rows carry any other DETAIL.
namespace CodeHead {

/// Account display names: DETAIL is an upper-case database user.
inline QString accountNames()
{
    return QStringLiteral("Z9999");
}
/// Team roles of projects: DETAIL is the one-character TEAM_ROLE.
inline QString teamRoles()
{
    return QStringLiteral("Z1001");
}
/// Business sites (SAUP_CODE).
inline QString businessSites()
{
    return QStringLiteral("J0002");
}
/// Teams (TEAM_CODE).
inline QString teams()
{
    return QStringLiteral("J0003");
}
/// Holidays repeated every year: DETAIL is MMDD.
inline QString yearlyHolidays()
{
    return QStringLiteral("Z0012");
}
/// Holidays of one year only: DETAIL is YYYYMMDD.
inline QString oneYearHolidays()
{
    return QStringLiteral("Z0013");
}

/// DETAIL of a head row: one blank, never trimmed away.
inline QString headRowDetail()
{
    return QStringLiteral(" ");
}

} // namespace CodeHead
