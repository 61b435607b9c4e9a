#pragma once
// The platform's folder chooser, and the seam through which a test answers
// it: with an answerer installed no window opens, the answerer sees the
// request, may call its notifications as a user's clicks would, and says
// whether a folder was chosen. Without a display (the offscreen platform)
// nobody could choose, so the request is written to standard error and
// cancelled.
#include "platform/gui/Messages.h"
#include "platform/rtl/AnsiString.h"

#include <functional>

struct TFolderDialogRequest {
    // Shown above the folders.
    AnsiString Title;
    // In: the folder selected at start (browsing starts at Root when it
    // doesn't exist). Out: the folder chosen.
    AnsiString Folder;
    AnsiString Root;
    // Centred on the screen rather than placed by the window system.
    bool ScreenCenter = true;
    // Once the dialog is up, before the user acts.
    std::function<void()> OnInitialized;
    // With each folder the user selects.
    std::function<void(const AnsiString& Path)> OnSelChanged;
};

// Shows the chooser owned by Owner (nullptr: no owner window); true when
// the user confirmed a folder, which is then in Request.Folder.
bool SelectFolder(HWND Owner, TFolderDialogRequest& Request);

using TFolderDialogAnswerer = std::function<bool(TFolderDialogRequest& Request)>;

// Installs an answerer for its lifetime; the previous one comes back after.
class ScopedFolderDialogAnswerer {
public:
    explicit ScopedFolderDialogAnswerer(TFolderDialogAnswerer Answerer);
    ~ScopedFolderDialogAnswerer();
    ScopedFolderDialogAnswerer(const ScopedFolderDialogAnswerer&) = delete;
    ScopedFolderDialogAnswerer& operator=(const ScopedFolderDialogAnswerer&) = delete;

private:
    TFolderDialogAnswerer FPrevious;
};
