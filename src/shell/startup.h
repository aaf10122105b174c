#pragma once

#include <QStringList>

class QCoreApplication;
class SingleInstance;

/// Steps of the process entry that come before and right after the
/// application object.
namespace Startup {

/// The launch parameters exactly as the launcher gave them (the command line
/// without the program). Read before the application object exists: Qt removes
/// its own options ("-reverse", "-style" …) from argv, and an employee name or a
/// database user may look like one.
QStringList launchParameters(int argc, const char *const *argv);

/// Loads Qt's own Korean translations (standard buttons, file dialogs) into the
/// application. False when they are not installed (Debian's qt6-translations-l10n).
bool installQtTranslations(QCoreApplication *app);

/// A start while another process of this user holds the guard. The same
/// employee's start brings the running main window forward and ends silently;
/// another employee's start is refused with a box naming the employee whose
/// program runs, and hands over nothing. The exit code of this process.
int secondStart(SingleInstance &guard, const QString &empNo);

/// The box of a start refused because another employee's program runs.
QString otherEmployeeRunningText(const QString &empNo, const QString &empName);

} // namespace Startup
