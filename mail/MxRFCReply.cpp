#include "mail/MxRFCReply.h"

#include "platform/rtl/FloatFormat.h"

namespace mail {

TMxRFCReply::TMxRFCReply(TCollection* ACollection) : TCollectionItem(ACollection) {}

void TMxRFCReply::SetNumericCode(int AValue) {
    FNumericCode = AValue;
    if (AValue > 0) FTextCode = std::to_string(AValue);
}

void TMxRFCReply::SetTextCode(const AnsiString& AValue) {
    FTextCode = AValue;
    if (!AValue.empty()) FNumericCode = StrToIntDef(AValue, 0);
}

void TMxRFCReply::Clear() {
    FNumericCode = 0;
    FTextCode.clear();
    FText.Clear();
}

AnsiString TMxRFCReply::GetDisplayName() const {
    if (FText.GetCount() == 0) return FTextCode;
    return FTextCode + " " + FText.Get(0);
}

void TMxRFCReply::Assign(TPersistent* Source) {
    if (auto* source = dynamic_cast<TMxRFCReply*>(Source)) {
        Clear();
        FNumericCode = source->FNumericCode;
        FText.Assign(&source->FText);
        FTextCode = source->FTextCode;
        return;
    }
    TCollectionItem::Assign(Source);
}

} // namespace mail
