#pragma once

#include <QString>

/// The program's own folders under the user's data and cache folders
/// (~/.local/share/kesa_z, ~/.cache/kesa_z), named after the program file.
///
/// Earlier versions named them after the main window's class (TfrmZ0Main).
/// prepare() moves such a folder to its new name once, before anything is read
/// from it; where the move fails, the old folder stays in use and nothing in it
/// is lost.
namespace ProgramFolders {

/// Moves the old folders to their new names where needed (start-up calls it
/// once; nothing is left to do the next time); returns a text for the user
/// when a move failed, else an empty text.
QString prepare();

/// Where settings, per-screen INI files and the ticket ledger live.
QString data();
/// Where pictures drawn for the screens are kept.
QString cache();

/// A screen's settings file, "<screen id>.ini" in the data folder.
QString screenSettings(const QString &screenId);

/// The folder a screen's file dialog opens in: the folder of the file last
/// chosen there, else the user's documents folder (else home).
QString dialogFolder(const QString &screenId);
/// Keeps the folder of a file chosen in a screen's dialog; false when the
/// settings file cannot be written.
bool rememberDialogFile(const QString &screenId, const QString &filePath);

/// Tests put the folders elsewhere (empty: the user's own again).
void setDataFolder(const QString &folder);
void setCacheFolder(const QString &folder);

} // namespace ProgramFolders
