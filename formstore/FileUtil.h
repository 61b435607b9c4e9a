#pragma once
// File and directory helpers: existence, directory chains, copying with
// progress, moving, deleting by mask, clearing a directory, file times and
// attributes, byte-range locks.
//
// RemoveBackSlash and ValidFileName are rules on path texts with drive
// letters and backslashes and keep that text behaviour. Everything that
// touches the file system works on Linux paths: '/' separators, no drives,
// case-sensitive names; each routine says how it maps.
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/TDateTime.h"

#include <cstdint>
#include <span>

class TComponent;

namespace formstore {

// Attribute bits for HasAttr. On Linux: read-only is a file without its
// owner's write permission, hidden a name starting with '.', directory a
// directory, archive a regular file; system and volume label never hold.
inline constexpr int faReadOnly = 0x01;
inline constexpr int faHidden = 0x02;
inline constexpr int faSysFile = 0x04;
inline constexpr int faVolumeID = 0x08;
inline constexpr int faDirectory = 0x10;
inline constexpr int faArchive = 0x20;

// The path exists and is a directory (a link to a directory counts).
bool DirExists(const AnsiString& Name);
// One trailing backslash removed, except from a drive root such as "C:\" and
// from a one-character name.
AnsiString RemoveBackSlash(const AnsiString& DirName);
// Creates every missing directory of the path, parents first; the root ends
// the chain as a drive did. A directory that cannot be made is not reported.
void ForceDirectories(AnsiString Dir);

// CopyFileEx without replacing a read-only destination.
void CopyFile(const AnsiString& FileName, const AnsiString& DestName, TComponent* ProgressControl);
// Copies the file's bytes and its modification time. A destination that is
// a directory receives the file under its own name; missing directories of
// the destination are made. A destination that is a symbolic link is
// written through to the file it names; an existing destination keeps its
// mode and owner. The copy is written beside the destination under a
// temporary name and renamed over it at the end, so a failure leaves no
// partial destination and an existing one untouched; where no temporary
// file can be made (a folder without write permission), where it cannot
// take the destination's owner, or where the destination has further hard
// links, it is written in place instead. A destination without write
// permission is replaced only with OverwriteReadOnly, and is then left
// writable by its owner (its read-only attribute cleared). The progress control (when
// its class is registered, see ProgressList.h) gets the size as maximum and
// the bytes copied as position, and its position goes back to 0 at the
// end, failures included. With ShellDialog the file-operation component
// copies instead (FileOperator.h), asking before it replaces a file unless
// OverwriteReadOnly is set; when it fails (it shows why) or the user stops
// it, a silent EAbort is raised. Errors: EFOpenError "Cannot open file %s",
// EFCreateError "Cannot create file %s", EReadError "Stream read error",
// EWriteError "Stream write error". Only regular files are copied: a source
// that is none (a pipe, a device) raises EFOpenError, a destination that is
// none EFCreateError, each saying so; a destination that is the source
// under another name (a hard or symbolic link, another spelling) raises
// EFCreateError naming both, and both keep the source's bytes.
void CopyFileEx(const AnsiString& FileName, const AnsiString& DestName, bool OverwriteReadOnly,
                bool ShellDialog, TComponent* ProgressControl);
// Renames the file; across file systems copies it and deletes the source.
// A missing source does nothing; a source that cannot be deleted raises.
void MoveFile(const AnsiString& FileName, const AnsiString& DestName);
// MoveFile; with ShellDialog the file-operation component moves (renames
// within one folder) without asking before it replaces a file, and a
// failure or a stop by the user raises a silent EAbort.
void MoveFileEx(const AnsiString& FileName, const AnsiString& DestName, bool ShellDialog);

// The file's size; -1 when it is absent or a directory.
std::int64_t GetFileSize(const AnsiString& FileName);
// The file's modification time in local time; NullDate when it is absent.
TDateTime FileDateTime(const AnsiString& FileName);
// The file exists and has every attribute of Attr.
bool HasAttr(const AnsiString& FileName, int Attr);

// Deletes the files of the mask's folder whose names match its last part
// ('*' any run, '?' one UTF-8 character, "*.*" every name; case counts). Names
// starting with '.' and directories are skipped; a link is deleted, never
// what it points to. The result is false when nothing matched, and false at
// the first file that cannot be deleted, which ends the deleting.
bool DeleteFiles(const AnsiString& FileMask);
// DeleteFiles for each mask in order, stopping at the first that fails.
bool DeleteFilesEx(std::span<const AnsiString> FileMasks);
// Deletes everything in the directory, subdirectories included, and with
// Delete the directory itself when all of that succeeded; false when the
// directory does not exist or anything could not be deleted. Names starting
// with '.' are left in place (so a directory holding one is not removed).
// Symbolic links are deleted as links: nothing outside the tree is touched.
// The root directory is never removed. Works through open directory
// handles, so trees deeper than PATH_MAX are cleared too.
bool ClearDir(const AnsiString& Path, bool Delete);

// Linux has one name per file: a name is its own short and long name. The
// name itself when something (a dangling link included) has it, else empty.
AnsiString ShortToLongFileName(const AnsiString& ShortName);
AnsiString LongToShortFileName(const AnsiString& LongName);
// The path itself when it exists, else empty.
AnsiString ShortToLongPath(const AnsiString& ShortName);
AnsiString LongToShortPath(const AnsiString& LongName);

// $TMPDIR when it names a directory, else /tmp; with a trailing '/'.
AnsiString GetTempDir();
// Not empty, none of < > " [ ] |, and no backslash in its file-name part.
bool ValidFileName(const AnsiString& FileName);

// Lock or unlock a byte range of an open file (open-file-description locks,
// so two handles of one process exclude each other as on the original
// system). 0 on success, else the system's error number.
int FileLock(int Handle, std::int64_t Offset, std::int64_t LockSize);
int FileUnlock(int Handle, std::int64_t Offset, std::int64_t UnlockSize);

} // namespace formstore
