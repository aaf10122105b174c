#pragma once

#include <QString>

/// Directory of the running program file (symbolic links resolved), always
/// ending with '/'.
QString programDirectory();
/// Appends the platform separator unless the text already ends with one.
QString withTrailingSeparator(const QString &directory);
