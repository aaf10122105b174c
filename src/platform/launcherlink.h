#pragma once

#include <QString>

/// The link to the suite's launcher: a local socket named like the launcher's
/// window class. A message is one line of text, "<number> <wParam> <lParam>\n"
/// in decimal, written and then the connection is closed.
namespace LauncherLink {

/// Name of the local socket the launcher listens on.
QString serverName();
/// Sends one message when the launcher listens; false (and nothing sent) when
/// none does.
bool send(int message, qint64 wParam = 0, qint64 lParam = 0);
/// The line that carries one message (with its line feed).
QByteArray messageLine(int message, qint64 wParam, qint64 lParam);

} // namespace LauncherLink
