#pragma once

#include <functional>

class QWidget;
class TfrmZZMain;

/// What developers' scripts ask of a starting program through the environment:
///  KESA_OPEN_PROGRAMS  program IDs (blank or comma separated) chosen from the
///                      menu bar once the window is up, as a user would;
///  KESA_STARTUP_PROBE  "1": print "shown" on standard output once the main
///                      window has been painted for the first time (and the
///                      programs above opened); "quit": and then close the main
///                      window as a user would (exit code 3 when it refuses).
/// Nothing happens when none is set.
namespace StartupScript {

void run(TfrmZZMain *window);

/// Calls `then` from the event loop once `window` (or a widget in it) has
/// been painted for the first time: the user sees it from then on.
void afterFirstPaint(QWidget *window, std::function<void()> then);

} // namespace StartupScript
