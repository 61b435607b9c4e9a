#include "platform/gui/FolderDialog.h"

#include "platform/gui/Controls.h"
#include "platform/gui/QtApp.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

#include <iostream>

namespace {

TFolderDialogAnswerer& CurrentAnswerer() {
    static TFolderDialogAnswerer Answerer;
    return Answerer;
}

bool ShowQtDialog(HWND Owner, TFolderDialogRequest& Request) {
    QWidget* Parent = nullptr;
    if (Owner && Owner->WidgetAllocated()) Parent = Owner->Widget()->window();
    const AnsiString Start =
        QFileInfo(ToQString(Request.Folder)).isDir() ? Request.Folder : Request.Root;
    QFileDialog Dialog(Parent, ToQString(Request.Title), ToQString(Start));
    Dialog.setFileMode(QFileDialog::Directory);
    Dialog.setOption(QFileDialog::ShowDirsOnly, true);
    // Qt's own dialog, so that its selection can be followed.
    Dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (Request.OnSelChanged)
        QObject::connect(&Dialog, &QFileDialog::currentChanged, [&](const QString& Path) {
            SafeCall(nullptr, [&] { Request.OnSelChanged(FromQString(Path)); });
        });
    if (Request.ScreenCenter) {
        if (QScreen* S = QGuiApplication::primaryScreen()) {
            Dialog.adjustSize();
            QRect Frame = Dialog.frameGeometry();
            Frame.moveCenter(S->availableGeometry().center());
            Dialog.move(Frame.topLeft());
        }
    }
    if (Request.OnInitialized) Request.OnInitialized();
    if (Dialog.exec() != QDialog::Accepted || Dialog.selectedFiles().isEmpty()) return false;
    Request.Folder = FromQString(Dialog.selectedFiles().front());
    return true;
}

} // namespace

bool SelectFolder(HWND Owner, TFolderDialogRequest& Request) {
    if (TFolderDialogAnswerer& Answerer = CurrentAnswerer()) return Answerer(Request);
    EnsureQtApplication();
    if (IsHeadlessPlatform()) {
        std::cerr << "Select folder: " << Request.Title << " (cancelled: no display)" << std::endl;
        return false;
    }
    return ShowQtDialog(Owner, Request);
}

ScopedFolderDialogAnswerer::ScopedFolderDialogAnswerer(TFolderDialogAnswerer Answerer)
    : FPrevious(std::move(CurrentAnswerer())) {
    CurrentAnswerer() = std::move(Answerer);
}

ScopedFolderDialogAnswerer::~ScopedFolderDialogAnswerer() {
    CurrentAnswerer() = std::move(FPrevious);
}
