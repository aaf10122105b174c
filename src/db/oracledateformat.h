#pragma once

#include <QDateTime>
#include <QString>

/// Oracle's TO_CHAR date formats for the SQLite engine (PostgreSQL has its own).
namespace OracleDateFormat {

/// Formats with the elements YYYY YY MM DD HH24 HH12 HH MI SS, AM/PM (A.M./P.M.)
/// as the Korean marker "오전"/"오후", and "quoted" text; other characters are kept.
QString format(const QDateTime &value, const QString &format);

/// Reads the date texts the SQLite engine stores ("YYYY-MM-DD HH:MI:SS",
/// with a 'T' or fractions, a date alone, or YYYYMMDD[HHMISS]); invalid otherwise.
QDateTime parse(const QString &text);

} // namespace OracleDateFormat
