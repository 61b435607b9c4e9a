#include "grid/foundation/TextMask.h"

#include "grid/foundation/MaskMatcher.h"
#include "grid/foundation/PictureParser.h"

namespace grid {

namespace {

// Any text, the empty one included: what an empty picture stands for.
const char* const AnyTextPicture = "[*@]";

} // namespace

void TgxTextCase::SetCaseType(TgxCaseType Value) {
    if (Value == FCaseType) return;
    FCaseType = Value;
    Changed();
}

void TgxTextCase::SetOptional(bool Value) {
    if (Value == FOptional) return;
    FOptional = Value;
    Changed();
}

void TgxTextCase::Assign(TPersistent* Source) {
    if (auto* Other = dynamic_cast<TgxTextCase*>(Source)) {
        SetCaseType(Other->FCaseType);
        SetOptional(Other->FOptional);
        return;
    }
    TPersistent::Assign(Source);
}

void TgxTextCase::Changed() {
    if (FOwner) FOwner->Changed();
}

TgxTextMask::TgxTextMask(TgxMaskOwner* AMask) : FMask(AMask) {}

TgxTextMask::~TgxTextMask() = default;

std::unique_ptr<TgxPictureList> TgxTextMask::ParsePicture() {
    FPictureValid = true;
    TgxMaskOwner* Owner = FMask;
    TgxPictureParser Parser(FPicture, Owner ? Owner->GetName() : AnsiString(),
                            [Owner](const AnsiString& Message) {
                                if (Owner) Owner->InvalidOp(Message);
                                throw EgxMaskError(Message);
                            });
    return Parser.Parse();
}

void TgxTextMask::SetPicture(const AnsiString& Value) {
    if (Value == FPicture) return;
    FPictureList.reset();
    FPicture = Value;
    try {
        ParsePicture(); // syntax check only; the tree is built when first used
    } catch (const EgxMaskError& E) {
        FPictureValid = false;
        bool Raise = true;
        if (FMask) FMask->DoParseError(E.Message, Raise);
        if (Raise) throw;
    }
}

TgxPictureList* TgxTextMask::GetPictureList() {
    if (FPictureValid && !FPictureList) FPictureList = ParsePicture();
    return FPictureValid ? FPictureList.get() : nullptr;
}

void TgxTextMask::UseDefaultPicture() {
    if (FPicture.empty()) SetPicture(AnyTextPicture);
}

bool TgxTextMask::ValidText(const AnsiString& Text, bool FullCompare) {
    UseDefaultPicture();
    TgxPictureList* List = GetPictureList();
    if (!List) return true;
    TgxMaskMatcher Matcher(FPicture, *List, GetTextCase());
    TgxMaskInput Input;
    Input.Text = Text;
    TgxMaskOptions Options;
    if (FullCompare) Options << moFullCompare;
    AnsiString Result;
    return Matcher.CheckInput(Input, Options, Result);
}

bool TgxTextMask::ValidInput(const AnsiString& Text, AnsiString& Input, int Caret, bool FullCompare,
                             bool InsertLiterals) {
    UseDefaultPicture();
    TgxPictureList* List = GetPictureList();
    if (!List) return true;
    const int Len = static_cast<int>(Text.size());
    if (Caret < 1) Caret = 1;
    if (Caret > Len + 1) Caret = Len + 1;

    TgxMaskOptions Base;
    if (FullCompare) Base << moFullCompare;
    std::vector<TgxMaskOptions> Runs{Base, Base + TgxMaskOptions{moConvertInput}};
    if (InsertLiterals) {
        Runs.push_back(Base + TgxMaskOptions{moInsertLiteral, moCheckUnique});
        Runs.push_back(Base + TgxMaskOptions{moConvertInput, moInsertLiteral, moCheckUnique});
    }

    TgxMaskMatcher Matcher(FPicture, *List, GetTextCase());
    TgxMaskInput Record;
    Record.Text = Text.substr(0, Caret - 1) + Input;
    Record.InputPos = Caret;
    Record.InputLen = static_cast<int>(Input.size());
    AnsiString Result;
    if (!Matcher.CheckRuns(Record, Runs, Result)) return false;
    Input = Result;
    return true;
}

} // namespace grid
