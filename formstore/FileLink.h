#pragma once
// Links to a file in the user's own folders, by the special-folder numbers
// of the original system: on the desktop and in the documents folder a
// symbolic link named by the display name; in the applications menu and
// the start-up folder (which read only desktop entries) a desktop entry
// "<display name>.desktop" that starts an executable target or opens any
// other file.
#include "platform/rtl/AnsiString.h"

namespace formstore {

inline constexpr int CSIDL_DESKTOP = 0x0000;
inline constexpr int CSIDL_PROGRAMS = 0x0002;
inline constexpr int CSIDL_PERSONAL = 0x0005;
inline constexpr int CSIDL_STARTUP = 0x0007;
inline constexpr int CSIDL_STARTMENU = 0x000B;
inline constexpr int CSIDL_DESKTOPDIRECTORY = 0x0010;

// The folder a special-folder number stands for: desktop $XDG_DESKTOP_DIR
// (else ~/Desktop), documents $XDG_DOCUMENTS_DIR (else ~/Documents),
// programs and start menu ${XDG_DATA_HOME:-~/.local/share}/applications,
// start-up ${XDG_CONFIG_HOME:-~/.config}/autostart. Raises EInOutError for
// another number.
AnsiString SpecialFolderPath(int Folder);

// Makes the link to Target named DisplayName in the folder, making the
// folder when it is missing. The link names the target from the root (a
// relative Target is taken from the current folder). It goes only where
// nothing has its name or over a link: a symbolic link on the desktop and
// in the documents folder, a desktop entry this unit made (it carries the
// line "X-Beaconmill-Link=true") in the other folders. Raises EInOutError
// naming the place when anything else is there, for a display name that
// is empty or holds '/' or a control character, or when the link cannot be
// written.
void CreateFileLink(const AnsiString& Target, const AnsiString& DisplayName, int Folder);
// Removes that link; nothing when there is none. Anything there that is no
// such link is left alone and raises EInOutError naming it.
void DeleteFileLink(const AnsiString& DisplayName, int Folder);

} // namespace formstore
