#pragma once

#include <QString>

/// Window-message numbers kept from the suite's protocol.
namespace ScreenMessage {
constexpr int Resize = 1124;        ///< host → screen: width, height of the tab page
constexpr int CloseTab = 1314;      ///< screen → host: remove the active tab
constexpr int OpenProgram = 1324;   ///< screen → host: caption, program ID
constexpr int LauncherClose = 1924; ///< host → launcher: the main window is closing
} // namespace ScreenMessage

/// What an embedded screen asks of the window that hosts it (the main window).
/// Calls are synchronous, like the messages they replace.
class ScreenHost
{
public:
    virtual ~ScreenHost() = default;

    /// Close-tab message: remove the active tab. The screen is destroyed only
    /// after the caller has returned (deleteLater).
    virtual void closeActiveTab() = 0;
    /// Open-program message: OpenProgram(caption, program ID).
    virtual bool openProgram(const QString &caption, const QString &programId) = 0;

    /// The host of embedded screens, or nullptr when none is installed.
    static ScreenHost *current();
    static void setCurrent(ScreenHost *host);
};
