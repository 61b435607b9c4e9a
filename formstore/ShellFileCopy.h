#pragma once
// Copying and moving one file the way the desktop's file manager does,
// through the file-operation component, for the file routines asked to
// show the shell's dialog.
#include "platform/rtl/AnsiString.h"

namespace formstore {

// Copies (or moves) Source to Dest with the operator's progress window and
// questions; a move within one folder is a rename. NoConfirmation replaces
// without asking. Nothing is kept for undoing. When the operation failed
// (the operator has shown why) or the user stopped it, raises a silent
// EAbort.
void ShellCopyOrMove(const AnsiString& Source, const AnsiString& Dest, bool Move,
                     bool NoConfirmation);

} // namespace formstore
