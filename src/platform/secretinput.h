#pragma once

#include <optional>
#include <QString>

/// Reads one line of standard input that holds a secret (a password): on a
/// terminal without echo, after `prompt` on standard error. A trailing CR is
/// dropped; the line is UTF-8, or cp949 where it is not valid UTF-8 (scripts
/// written on a Windows workstation). Nothing when the input ends before a
/// character is read.
std::optional<QString> readSecretLine(const char *prompt);
