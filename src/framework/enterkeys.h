#pragma once

#include <functional>

class QWidget;

/// What Enter (Return or the keypad's Enter) does in an entry field. The key
/// is taken; what it does runs through the user-action guard. One rule per
/// field: a later call replaces the earlier one.
namespace EnterKeys {

/// Enter moves the focus to the next control that takes it, as Tab would.
void moveToNext(QWidget *field);
/// Enter moves the focus to the control `target` gives at that moment;
/// nullptr leaves the focus where it is.
void moveTo(QWidget *field, std::function<QWidget *()> target);
/// Enter runs an action (a search, for instance).
void run(QWidget *field, std::function<void()> action);

/// The next control after `from` in the focus chain that is enabled, visible
/// and takes the focus by Tab; nullptr when there is none.
QWidget *nextControl(QWidget *from);

} // namespace EnterKeys
