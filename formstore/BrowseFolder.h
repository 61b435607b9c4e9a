#pragma once
// The folder-browse dialog component and the two one-call browsers built
// on it, over the GUI layer's folder chooser.
//
// Folders are Linux paths: browsing starts at the folder given when it
// exists, else at the home folder (the desktop root) or at "/" (the
// computer root). There is no network neighbourhood to pick a computer
// from, so browsing for computers shows nothing and gives false.
#include "platform/classes/Component.h"
#include "platform/rtl/AnsiString.h"

#include <cstdint>

namespace formstore {

enum class TBrowseKind : std::uint8_t { bfFolders, bfComputers };
using enum TBrowseKind;

enum class TDialogPosition : std::uint8_t { dpDefault, dpScreenCenter };
using enum TDialogPosition;

class TBrowseFolderDlg : public TComponent {
public:
    explicit TBrowseFolderDlg(TComponent* AOwner) : TComponent(AOwner) {}
    AnsiString ClassName() const override { return "TBrowseFolderDlg"; }

    // Runs the dialog; true when the user chose a folder, which is then
    // FolderName (without a trailing '/', except for the root).
    bool Browse();

    TBrowseKind BrowseKind() const { return FBrowseKind; }
    void SetBrowseKind(TBrowseKind Value) { FBrowseKind = Value; }
    bool DesktopRoot() const { return FDesktopRoot; }
    void SetDesktopRoot(bool Value) { FDesktopRoot = Value; }
    const AnsiString& DialogText() const { return FDialogText; }
    void SetDialogText(const AnsiString& Value) { FDialogText = Value; }
    const AnsiString& FolderName() const { return FFolderName; }
    void SetFolderName(const AnsiString& Value) { FFolderName = Value; }
    // There is no help system to open, so it adds no help button.
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }
    TDialogPosition Position() const { return FPosition; }
    void SetPosition(TDialogPosition Value) { FPosition = Value; }

    // The folder selected in the open dialog (empty while the selection is
    // not an existing folder); after a confirmed browse, FolderName.
    const AnsiString& SelectedName() const { return FSelectedName; }

    TNotifyEvent OnInitialized;
    TNotifyEvent OnSelChanged;

private:
    TBrowseKind FBrowseKind = bfFolders;
    bool FDesktopRoot = true;
    AnsiString FDialogText;
    AnsiString FFolderName;
    int FHelpContext = 0;
    TDialogPosition FPosition = dpScreenCenter;
    AnsiString FSelectedName;
};

// A folder browse starting at AFolderName; true and AFolderName updated
// when the user confirms.
bool BrowseDirectory(AnsiString& AFolderName, const AnsiString& DlgText, int AHelpContext);
// Browsing for a computer: always false, ComputerName unchanged.
bool BrowseComputer(AnsiString& ComputerName, const AnsiString& DlgText, int AHelpContext);

} // namespace formstore
