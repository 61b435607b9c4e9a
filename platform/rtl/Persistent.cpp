#include "platform/rtl/Persistent.h"

#include "platform/rtl/Exceptions.h"

void TPersistent::Assign(TPersistent* Source) {
    if (Source == nullptr) AssignError(nullptr);
    Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* Dest) {
    Dest->AssignError(this);
}

void TPersistent::DefineProperties(TFiler*) {}

void TPersistent::AssignError(const TPersistent* Source) const {
    const AnsiString SourceName = Source != nullptr ? Source->ClassName() : AnsiString("nil");
    throw EConvertError("Cannot assign a " + SourceName + " to a " + ClassName());
}

AnsiString TPersistent::GetNamePath() const {
    AnsiString Result = ClassName();
    if (const TPersistent* Owner = GetOwner()) {
        const AnsiString OwnerPath = Owner->GetNamePath();
        if (!OwnerPath.empty()) Result = OwnerPath + "." + Result;
    }
    return Result;
}
