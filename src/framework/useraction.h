#pragma once

#include <exception>
#include <functional>
#include <QString>

/// Runs one user action: the entry point of every button, hot key and grid
/// event. A SilentAbort ends the action without a word; any other failure is
/// shown once in the default error box (ShowErrorMessage with its text).
/// Nothing escapes, so exceptions never travel through Qt's own frames.
/// Returns true when the action ran to its end.
bool RunUserAction(const std::function<void()> &action) noexcept;

/// The text the default error box shows for a failure (the server's message of
/// a DbError); empty for a SilentAbort.
QString FailureText(const std::exception_ptr &failure);
