#pragma once
// Whole-file reads and crash-safe replacement for the settings files, and the
// lock that keeps two processes from losing each other's changes. Failures
// raise EInOutError with a message that names the file and the reason; the
// callers turn it into their own exception class.
#include "platform/rtl/AnsiString.h"

#include <cstddef>
#include <sys/types.h>

struct TFileSnapshot {
    bool Exists = false;
    AnsiString Data;
};

// Reads the whole file. A missing file gives Exists false. A file larger than
// MaxSize, a folder, or any failure to read raises EInOutError.
TFileSnapshot ReadWholeFile(const AnsiString& Path, std::size_t MaxSize);

// The path a write must replace: the target of a symbolic link, so the link survives.
AnsiString WriteTarget(const AnsiString& Path);

// An exclusive lock for changing Path, held on a hidden companion file beside
// it (the file itself is replaced on every write, so it cannot carry the lock).
class TFileLock {
public:
    explicit TFileLock(const AnsiString& Path);
    ~TFileLock();
    TFileLock(const TFileLock&) = delete;
    TFileLock& operator=(const TFileLock&) = delete;

private:
    int FHandle = -1;
};

// Writes Data to a temporary file beside Path, flushes it to disk and renames
// it over Path, so a reader sees either the old or the new file, never a part.
// An existing file keeps its permissions; a new one gets NewFileMode (less the umask).
void ReplaceFile(const AnsiString& Path, const AnsiString& Data, mode_t NewFileMode);
