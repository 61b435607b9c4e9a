#pragma once
// The file-operation component: copies, moves, renames or deletes lists
// of files and folders the way the desktop's file manager does, asking
// before it replaces or deletes anything (unless told not to) and showing
// its progress on a progress bar in a window of its own.
//
// Names are Linux paths. Source and Destination hold one name or several
// separated by ';' or '|'; a source's last part may hold the wildcards '*'
// and '?' ("*.*" matches every name). There is no recycle bin to undo
// from, so flAllowUndo changes nothing, and flConfirmMouse has no meaning.
#include "platform/classes/Component.h"
#include "platform/classes/SmallSet.h"
#include "platform/rtl/AnsiString.h"

#include <cstdint>

namespace formstore {

enum class TFileOperation : std::uint8_t { foCopy, foDelete, foMove, foRename };
using enum TFileOperation;

enum class TFileOperFlag : std::uint8_t {
    flAllowUndo,
    flConfirmMouse,
    // Wildcards match files only, not folders.
    flFilesOnly,
    // Destination holds one name for each source, in order.
    flMultiDest,
    // Replace and delete without asking.
    flNoConfirmation,
    // Create a missing destination folder without asking.
    flNoConfirmMkDir,
    // A name already taken gets "Copy of ..." instead of being replaced.
    flRenameOnCollision,
    // No progress window.
    flSilent,
    // The progress window leaves out the file names.
    flSimpleProgress,
    // Failures are not shown in a message box.
    flNoErrorUI
};
using enum TFileOperFlag;
using TFileOperFlags = SmallSet<TFileOperFlag>;

class TFsFileOperator : public TComponent {
public:
    explicit TFsFileOperator(TComponent* AOwner) : TComponent(AOwner) {}
    AnsiString ClassName() const override { return "TFsFileOperator"; }

    // Carries out the operation on every source; true when all of it was
    // done. A failure stops it (reported in a box unless flNoErrorUI); the
    // user's "Cancel" or "No" to a question that guards the whole operation
    // stops it with Aborted set; "No" to replacing one file skips that
    // file, goes on with the others and sets Aborted at the end. Either way
    // the result is false, and what was done stays done.
    virtual bool RunOperation();
    // Whether the user stopped the last run.
    bool Aborted() const { return FAborted; }

    const AnsiString& Destination() const { return FDestination; }
    void SetDestination(const AnsiString& Value) { FDestination = Value; }
    TFileOperation Operation() const { return FOperation; }
    void SetOperation(TFileOperation Value) { FOperation = Value; }
    TFileOperFlags Options() const { return FOptions; }
    void SetOptions(TFileOperFlags Value) { FOptions = Value; }
    // The progress window's caption.
    const AnsiString& ProgressTitle() const { return FProgressTitle; }
    void SetProgressTitle(const AnsiString& Value) { FProgressTitle = Value; }
    const AnsiString& Source() const { return FSource; }
    void SetSource(const AnsiString& Value) { FSource = Value; }

private:
    friend class TFileOperationRun;

    AnsiString FDestination;
    TFileOperation FOperation = foCopy;
    TFileOperFlags FOptions{flAllowUndo, flNoConfirmMkDir};
    AnsiString FProgressTitle;
    AnsiString FSource;
    bool FAborted = false;
};

} // namespace formstore
