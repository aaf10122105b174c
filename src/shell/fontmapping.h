#pragma once

#include <QString>

/// The Windows font names the screens ask for ("굴림", "바탕", "MS Sans Serif" …)
/// resolve to installed fonts that hold Hangul. Run once at start-up, after the
/// application object exists.
namespace FontMapping {

void install();
/// The installed family a Windows font name maps to; empty when no candidate is installed.
QString familyFor(const QString &windowsName);

} // namespace FontMapping
