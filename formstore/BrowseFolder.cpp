#include "formstore/BrowseFolder.h"

#include "formstore/FileUtil.h"
#include "platform/gui/FolderDialog.h"
#include "platform/gui/Forms.h"

#include <cstdlib>

namespace formstore {

namespace {

AnsiString HomeFolder() {
    const char* Home = std::getenv("HOME");
    return Home && *Home && DirExists(Home) ? AnsiString(Home) : AnsiString("/");
}

// One trailing '/' removed, except from the root.
AnsiString WithoutTrailingSlash(AnsiString Path) {
    if (Path.size() > 1 && Path.back() == '/') Path.pop_back();
    return Path;
}

} // namespace

bool TBrowseFolderDlg::Browse() {
    if (FBrowseKind == bfComputers) return false;
    TFolderDialogRequest Request;
    Request.Title = FDialogText;
    Request.Root = FDesktopRoot ? HomeFolder() : AnsiString("/");
    Request.Folder = DirExists(FFolderName) ? FFolderName : Request.Root;
    Request.ScreenCenter = FPosition == dpScreenCenter;
    Request.OnInitialized = [this] {
        if (OnInitialized) OnInitialized(this);
    };
    Request.OnSelChanged = [this](const AnsiString& Path) {
        FSelectedName = DirExists(Path) ? Path : AnsiString();
        if (OnSelChanged) OnSelChanged(this);
    };
    TCustomForm* Main = Application->MainForm();
    if (!SelectFolder(Main, Request)) return false;
    FFolderName = WithoutTrailingSlash(Request.Folder);
    FSelectedName = FFolderName;
    return true;
}

bool BrowseDirectory(AnsiString& AFolderName, const AnsiString& DlgText, int AHelpContext) {
    TBrowseFolderDlg Dialog(nullptr);
    Dialog.SetBrowseKind(bfFolders);
    Dialog.SetFolderName(AFolderName);
    Dialog.SetDialogText(DlgText);
    Dialog.SetHelpContext(AHelpContext);
    if (!Dialog.Browse()) return false;
    AFolderName = Dialog.FolderName();
    return true;
}

bool BrowseComputer(AnsiString& ComputerName, const AnsiString& DlgText, int AHelpContext) {
    TBrowseFolderDlg Dialog(nullptr);
    Dialog.SetBrowseKind(bfComputers);
    Dialog.SetFolderName(ComputerName);
    Dialog.SetDialogText(DlgText);
    Dialog.SetHelpContext(AHelpContext);
    if (!Dialog.Browse()) return false;
    ComputerName = Dialog.FolderName();
    return true;
}

} // namespace formstore
