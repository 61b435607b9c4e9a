// The edit box's text and selection: setting the text, the selection in
// characters, inserting and deleting under the length limit and the mask,
// undo and the clipboard.
#include "grid/foundation/TextChars.h"
#include "grid/model/EditBox.h"

#include "platform/gui/Clipboard.h"

#include <algorithm>

namespace grid {

// ---- the selection ------------------------------------------------------------------------

void TgxGridEditBox::SetSelection(int Start, int Length) {
    const int Len = static_cast<int>(FText.size());
    Start = std::clamp(Start, 0, Len);
    Length = std::clamp(Length, 0, Len - Start);
    if (Start == FSelByteStart && Length == FSelByteLength) return;
    FSelByteStart = Start;
    FSelByteLength = Length;
    FSelStartChars = 0;
    FSelLengthChars = 0;
}

bool TgxGridEditBox::WholeSelected() const {
    return FText.empty() ||
           (FSelByteStart == 0 && FSelByteLength == static_cast<int>(FText.size()));
}

void TgxGridEditBox::SelectAll() {
    const int Len = static_cast<int>(FText.size());
    const bool ToEnd = FAlignment == taRightJustify && !IsMultiLine();
    SetTextPosition(ToEnd ? Len : 0, true);
    SetSelection(0, Len);
    MoveCaretIntoView(false, 0);
    Invalidate();
}

int TgxGridEditBox::CharLength(int From, int To) const {
    From = std::clamp(From, 0, static_cast<int>(FText.size()));
    To = std::clamp(To, From, static_cast<int>(FText.size()));
    const std::string_view Part = std::string_view(FText).substr(static_cast<std::size_t>(From));
    return PByteToCharLen(Part, To - From, To - From);
}

int TgxGridEditBox::GetSelStart() {
    if (FSelByteStart == 0) return 0;
    if (FSelStartChars == 0) FSelStartChars = CharLength(0, FSelByteStart);
    return FSelStartChars;
}

int TgxGridEditBox::GetSelLength() {
    if (FSelByteLength == 0) return 0;
    if (FSelLengthChars == 0)
        FSelLengthChars = CharLength(FSelByteStart, FSelByteStart + FSelByteLength);
    return FSelLengthChars;
}

void TgxGridEditBox::SetSelStart(int Value) {
    const int Len = static_cast<int>(FText.size());
    if (Value < 0 || Value > CharLength(0, Len)) return;
    const int Bytes = PCharToByteLen(FText, Value, Len, false);
    if (Bytes == FSelByteStart && FSelByteLength == 0) return;
    FSelByteStart = Bytes;
    FSelByteLength = 0;
    FSelStartChars = 0;
    FSelLengthChars = 0;
    Invalidate();
    if (OnNotifyChanged) OnNotifyChanged(this, false);
}

void TgxGridEditBox::SetSelLength(int Value) {
    if (Value < 0) return;
    const int Len = static_cast<int>(FText.size());
    const std::string_view Rest =
        std::string_view(FText).substr(static_cast<std::size_t>(FSelByteStart));
    const int Bytes = PCharToByteLen(Rest, Value, Len - FSelByteStart, false);
    if (Bytes == FSelByteLength) return;
    FSelByteLength = Bytes;
    FSelLengthChars = 0;
    Invalidate();
    if (OnNotifyChanged) OnNotifyChanged(this, false);
}

AnsiString TgxGridEditBox::GetSelText() const {
    return FText.substr(static_cast<std::size_t>(FSelByteStart),
                        static_cast<std::size_t>(FSelByteLength));
}

void TgxGridEditBox::TextPosToSelStart() {
    if (FTextPos == FSelByteStart) return;
    SetTextPosition(FSelByteStart, true);
    MoveCaretIntoView(true, 0.25);
}

void TgxGridEditBox::SetSelText(const AnsiString& Value) {
    if (Value.empty() && FSelByteLength == 0) return;
    if (!CheckCanEdit(false)) return;
    SaveUndo();
    ReplaceSelection(Value);
    if (OnNotifyChanged) OnNotifyChanged(this, true);
    if (OnChanged) OnChanged(this, true, false, false);
}

// ---- the mask ------------------------------------------------------------------------------

void TgxGridEditBox::SetMaskDefs(TgxMaskDefsComponent* Value) {
    if (FMaskLink->MaskDefs() == Value) return;
    FMaskLink->SetMaskDefs(Value);
    FEditMask = nullptr;
}

void TgxGridEditBox::SetMaskName(const AnsiString& Value) {
    if (FMaskName == Value) return;
    FMaskName = Value;
    FEditMask = nullptr;
}

TgxMaskItem* TgxGridEditBox::GetEditMask() {
    if (!FEditMask) FEditMask = FMaskLink->GetMask(FMaskName);
    return FEditMask;
}

// ---- setting the text ------------------------------------------------------------------------

void TgxGridEditBox::SetText(const AnsiString& Value) {
    if (!CheckCanChange(false)) return;
    FOldTextSaved = false;
    AssignText(Value, false, false);
}

void TgxGridEditBox::SetEditText(const AnsiString& Value, bool Flag) {
    if (!CheckCanEdit(false)) return;
    if (Flag && (FKeyEdit || FMouseSelect)) {
        SaveUndo();
    } else {
        FOldTextSaved = false;
    }
    AssignText(Value, true, Flag);
}

void TgxGridEditBox::AssignText(const AnsiString& Value, bool Edit, bool Flag) {
    FText = Value;
    FLeadBytes.clear();
    FTopLine = 0;
    LayoutLines();
    SetSelection(0, 0);
    FSelStartChars = 0;
    FSelLengthChars = 0;
    if (Edit && EditTextResized(Flag)) LayoutLines();
    const int Len = static_cast<int>(FText.size());
    FScrollPos = FAlignment == taRightJustify ? Len : 0;
    SetTextPosition(FAlignment == taRightJustify && !IsMultiLine() ? Len : 0, true);
    // The empty selection stays with the caret, so what is pasted goes in
    // where the caret shows.
    SetSelection(FTextPos, 0);
    MoveCaretIntoView(false, 0);
    Invalidate();
    if (OnNotifyChanged) OnNotifyChanged(this, true);
    if (OnChanged) OnChanged(this, Edit, false, Flag);
}

bool TgxGridEditBox::EditTextResized(bool Flag) {
    const int Before = Height();
    if (OnNotifyChanged) OnNotifyChanged(this, true);
    if (OnEditTextResized) OnEditTextResized(this, Flag);
    return Height() != Before;
}

void TgxGridEditBox::SaveUndo() {
    if (FOldTextSaved) return;
    FOldText = FText;
    FOldTextSaved = true;
}

// ---- the rules an insertion must pass ----------------------------------------------------------

// The length limit counts characters; an inserted lone CR counts two, for
// the LF that comes with it.
bool TgxGridEditBox::LengthAllows(const AnsiString& Input) const {
    if (FMaxLength <= 0) return true;
    const int Current = CharLength(0, static_cast<int>(FText.size()));
    int Inserted =
        PByteToCharLen(Input, static_cast<int>(Input.size()), static_cast<int>(Input.size()));
    if (Input == "\r") ++Inserted;
    const int Selected = CharLength(FSelByteStart, FSelByteStart + FSelByteLength);
    return Current + Inserted - Selected <= FMaxLength;
}

// Whether the mask lets Input in at the byte offset At of the text without
// its selection; Input becomes what the mask makes of it (literals first).
// A refusal is offered to OnInvalidKeys.
bool TgxGridEditBox::MaskAllows(AnsiString& Input, int At) {
    TgxMaskItem* Mask = GetEditMask();
    if (!Mask || !Mask->GetEvaluate().Contains(mcOnEdit)) return true;
    AnsiString Remaining = FText;
    Remaining.erase(static_cast<std::size_t>(FSelByteStart),
                    static_cast<std::size_t>(FSelByteLength));
    AnsiString Converted = Input;
    if (Mask->ValidInput(Remaining, Converted, At + 1, false,
                         Mask->GetAutoFill().Contains(mcOnEdit))) {
        Input = Converted;
        return true;
    }
    bool Accept = false;
    if (OnInvalidKeys) OnInvalidKeys(this, Input, Accept);
    return Accept;
}

void TgxGridEditBox::DeleteBytes(int From, int Count) {
    if (Count <= 0) return;
    FText.erase(static_cast<std::size_t>(From), static_cast<std::size_t>(Count));
    if (FScrollPos > From) FScrollPos = std::max(From, FScrollPos - Count);
}

void TgxGridEditBox::AfterEdit(int CaretPos) {
    LayoutLines();
    SetTextPosition(CaretPos, true);
    SetSelection(CaretPos, 0);
    if (EditTextResized(true)) {
        LayoutLines();
        SetTextPosition(CaretPos, true);
    }
    MoveCaretIntoView(false, 0.25);
    Invalidate();
}

bool TgxGridEditBox::AddCharToText(const AnsiString& Input) {
    if (!LengthAllows(Input) || !CheckCanEdit(true)) return false;
    const int At = FSelByteLength > 0 ? FSelByteStart : FTextPos;
    AnsiString Converted = Input;
    if (!MaskAllows(Converted, At)) return false;
    // What the mask added must still fit.
    if (Converted != Input && !LengthAllows(Converted)) return false;
    SaveUndo();
    if (FSelByteLength > 0) {
        DeleteBytes(FSelByteStart, FSelByteLength);
        FSelByteLength = 0;
    }
    AnsiString Inserted;
    for (char C : Converted) {
        Inserted += C;
        if (C == '\r') Inserted += '\n';
    }
    FText.insert(static_cast<std::size_t>(At), Inserted);
    if (FScrollPos > At) FScrollPos += static_cast<int>(Inserted.size());
    AfterEdit(At + static_cast<int>(Inserted.size()));
    return true;
}

bool TgxGridEditBox::DeleteForward() {
    const int Len = static_cast<int>(FText.size());
    if (FSelByteLength == 0 && FTextPos >= Len) return false;
    if (!CheckCanEdit(true)) return false;
    SaveUndo();
    int At = FTextPos;
    if (FSelByteLength > 0) {
        At = FSelByteStart;
        DeleteBytes(FSelByteStart, FSelByteLength);
    } else {
        DeleteBytes(FTextPos, NextCharCount(FText, FTextPos));
    }
    AfterEdit(At);
    return true;
}

bool TgxGridEditBox::DeleteBack() {
    if (FSelByteLength == 0 && FTextPos <= 0) return false;
    if (!CheckCanEdit(true)) return false;
    SaveUndo();
    int At = FSelByteStart;
    if (FSelByteLength > 0) {
        DeleteBytes(FSelByteStart, FSelByteLength);
    } else {
        const int Count = PrevCharCount(FText, FTextPos);
        At = FTextPos - Count;
        DeleteBytes(At, Count);
    }
    AfterEdit(At);
    return true;
}

void TgxGridEditBox::ReplaceSelection(const AnsiString& Value) {
    // At the selection's start, also where the selection is empty.
    const int Start = FSelByteStart;
    const int Length = FSelByteLength;
    FText.erase(static_cast<std::size_t>(Start), static_cast<std::size_t>(Length));
    FText.insert(static_cast<std::size_t>(Start), Value);
    const int Inserted = static_cast<int>(Value.size());
    if (Start < FScrollPos)
        FScrollPos = Start + Length <= FScrollPos ? FScrollPos + Inserted - Length : Start;
    FSelByteLength = 0;
    AfterEdit(Start + Inserted);
}

bool TgxGridEditBox::Undo() {
    if (!FOldTextSaved) return false;
    // The saved text is no way past the current limits.
    if (FMaxLength > 0 && PByteToCharLen(FOldText, static_cast<int>(FOldText.size()),
                                         static_cast<int>(FOldText.size())) > FMaxLength)
        return false;
    if (TgxMaskItem* Mask = GetEditMask();
        Mask && Mask->GetEvaluate().Contains(mcOnEdit) && !Mask->ValidText(FOldText, false))
        return false;
    bool Cancel = false;
    if (OnUndoChanged) OnUndoChanged(this, true, Cancel);
    if (Cancel) return false;
    const AnsiString Old = FOldText;
    FOldTextSaved = false;
    AssignText(Old, false, false);
    EditTextResized(true);
    return true;
}

// ---- the clipboard ------------------------------------------------------------------------------

void TgxGridEditBox::CopyToClipboard() {
    if (FSelByteLength > 0) Clipboard()->SetAsText(GetSelText());
}

void TgxGridEditBox::CutToClipboard(bool ByKey) {
    if (FSelByteLength == 0 || !CheckCanEdit(ByKey)) return;
    CopyToClipboard();
    SaveUndo();
    ReplaceSelection(AnsiString());
    if (OnNotifyChanged) OnNotifyChanged(this, true);
    if (OnChanged) OnChanged(this, true, false, ByKey);
}

void TgxGridEditBox::PasteFromClipboard(bool ByKey) {
    if (!Clipboard()->HasFormat(CF_TEXT)) return;
    AnsiString Text = Clipboard()->AsText();
    if (Text.empty()) return;
    // A text longer than the room left is refused whole, never cut.
    if (!CheckCanEdit(ByKey)) return;
    if (!MaskAllows(Text, FSelByteStart) || !LengthAllows(Text)) return;
    SaveUndo();
    ReplaceSelection(Text);
    if (OnNotifyChanged) OnNotifyChanged(this, true);
    if (OnChanged) OnChanged(this, true, true, ByKey);
}

} // namespace grid
