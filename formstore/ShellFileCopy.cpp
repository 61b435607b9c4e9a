#include "formstore/ShellFileCopy.h"

#include "formstore/FileOperator.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"

namespace formstore {

namespace {

AnsiString FolderPart(const AnsiString& Path) {
    const auto Slash = Path.rfind('/');
    return Slash == AnsiString::npos ? AnsiString() : Path.substr(0, Slash + 1);
}

} // namespace

void ShellCopyOrMove(const AnsiString& Source, const AnsiString& Dest, bool Move,
                     bool NoConfirmation) {
    TFsFileOperator Operator(nullptr);
    Operator.SetSource(Source);
    Operator.SetDestination(Dest);
    if (!Move)
        Operator.SetOperation(foCopy);
    else if (AnsiCompareText(FolderPart(Source), FolderPart(Dest)) == 0)
        Operator.SetOperation(foRename);
    else
        Operator.SetOperation(foMove);
    TFileOperFlags Options = Operator.Options();
    Options.Exclude(flAllowUndo);
    if (NoConfirmation) Options.Include(flNoConfirmation);
    Operator.SetOptions(Options);
    if (!Operator.RunOperation()) Abort();
}

} // namespace formstore
