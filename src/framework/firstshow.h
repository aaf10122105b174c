#pragma once

#include <functional>

class QWidget;

/// Runs an action once, the first time a widget is shown, after its own show
/// handling (a dialog is on the screen and centred by then; a child widget is
/// visible, not merely shown inside a hidden parent); later shows, tab
/// switches and re-activations do not run it again. The action runs through the
/// user-action guard, so a box it shows cannot bring it back.
void RunOnFirstShow(QWidget *widget, std::function<void()> action);
