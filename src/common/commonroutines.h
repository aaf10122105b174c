#pragma once

#include <QString>

void ShowInfoMessage(const QString &text);
void ShowErrorMessage(const QString &text);
bool AskYesNo(const QString &text);

QString DigitsOnly(const QString &text);
QString FormatDateText(const QString &text);
bool IsDateText(const QString &text);
QString WeekdayName(const QString &text);
QString IntToTextSafe(qint64 value);
qint64 TextToInt64(const QString &text);
QString LocalIPAddress();
/// A menu or program name without its access-key suffix: the text before the first "(&".
QString CutAccessKey(const QString &caption);
