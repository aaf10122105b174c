#pragma once

#include <QFont>
#include <QString>

/// The Windows font names the screens ask for ("굴림", "바탕", "MS Sans Serif" …)
/// resolve to installed fonts that hold Hangul. Run once at start-up, after the
/// application object exists.
namespace FontMapping {

void install();
/// The installed family a Windows font name maps to; empty when no candidate is installed.
QString familyFor(const QString &windowsName);
/// A font of a Windows font name that asks for its Korean candidates first:
/// Qt finds an installed face at once, where a missing name first makes it
/// build a list of fallback fonts (a fontconfig sort of every installed font),
/// at start-up among other times. An unknown name is asked as it is.
QFont font(const QString &windowsName);

} // namespace FontMapping
