#pragma once

#include <functional>
#include <QString>

/// Saving a layout file whole or not at all, for both printing screens.
namespace LayoutFile {

/// Runs `write` on a copy of the file (empty when there is none) in the same
/// folder and renames the copy over the file only when `write` returned
/// true: a save that fails half-way leaves the file as it was.
bool replace(const QString &path, const std::function<bool(const QString &copyPath)> &write);

} // namespace LayoutFile
