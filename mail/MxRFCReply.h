#pragma once
// A numeric server reply: its code as number and text, and its text lines
// without the codes.
#include "platform/classes/Collection.h"
#include "platform/rtl/StringList.h"

namespace mail {

class TMxRFCReply : public TCollectionItem {
public:
    explicit TMxRFCReply(TCollection* ACollection = nullptr);
    AnsiString ClassName() const override { return "TMxRFCReply"; }

    int NumericCode() const { return FNumericCode; }
    // A value above 0 also sets TextCode to its decimal text.
    void SetNumericCode(int AValue);
    const AnsiString& TextCode() const { return FTextCode; }
    // A non-empty value also sets NumericCode (0 when it is no number).
    void SetTextCode(const AnsiString& AValue);
    TStringList& Text() { return FText; }
    const TStringList& Text() const { return FText; }

    // Code 0 and both texts empty.
    void Clear();
    // TextCode, and a blank and the first text line when there is one.
    AnsiString GetDisplayName() const override;
    void Assign(TPersistent* Source) override;

private:
    int FNumericCode = 0;
    AnsiString FTextCode;
    TStringList FText;
};

} // namespace mail
