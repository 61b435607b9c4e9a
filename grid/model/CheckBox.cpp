#include "grid/model/CheckBox.h"

#include "grid/foundation/GridCommonCheckBox.h"
#include "platform/gui/Blit.h"
#include "platform/gui/Forms.h"
#include "platform/gui/WindowScroll.h"

#include <algorithm>

namespace grid {

namespace {

int Slot(TCheckBoxState State) {
    switch (State) {
    case cbChecked:
        return 0;
    case cbUnchecked:
        return 1;
    case cbGrayed:
        break;
    }
    return 2;
}

// A number read as a state: 0, 1 and 2 are the states, a Boolean is
// checked or not, anything else is grayed.
TCheckBoxState StateOf(const Variant& Value) {
    if (Value.Type() == varBoolean) return Value.AsBoolean() ? cbChecked : cbUnchecked;
    const int N = Value.AsInteger();
    return N >= 0 && N <= 2 ? static_cast<TCheckBoxState>(N) : cbGrayed;
}

} // namespace

TgxGridCheckBox::TgxGridCheckBox(TComponent* AOwner) : TgxGridControl(AOwner) {
    FDblClickEmulation = false;
    SetCursor(crDefault);
    CheckBoxImageStrip();
}

TgxGridCheckBox::~TgxGridCheckBox() = default;

// ---- value ----------------------------------------------------------------------------------

void TgxGridCheckBox::SetValue(const Variant& Value) {
    if (CheckCanChange(false)) AssignValue(Value, false, false);
}

void TgxGridCheckBox::SetEditValue(const Variant& Value, bool Flag) {
    if (CheckCanEdit(false)) AssignValue(Value, true, Flag);
}

void TgxGridCheckBox::SetCheckBoxState(TCheckBoxState State) {
    SetValue(Variant(static_cast<int>(State)));
}

void TgxGridCheckBox::SetEditCheckBoxState(TCheckBoxState State, bool Flag) {
    SetEditValue(Variant(static_cast<int>(State)), Flag);
}

void TgxGridCheckBox::AssignValue(const Variant& Value, bool Edit, bool Flag) {
    FOldStateSaved = false;
    if (Value.IsNull() || Value.IsEmpty() || Value.Type() == varString) {
        FValue = Value;
        FState = VariantToCheckBox(Value, CheckBoxValues);
    } else {
        const TCheckBoxState State = StateOf(Value);
        FValue = CheckBoxValues.empty() ? Value : CheckBoxToVariant(State, CheckBoxValues);
        FState = State;
    }
    Invalidate();
    if (OnNotifyChanged) OnNotifyChanged(this, true);
    if (OnChanged) OnChanged(this, Edit, false, Flag);
}

void TgxGridCheckBox::ToggleCheckBoxState() {
    if (!FOldStateSaved) {
        FOldState = FState;
        FOldValue = FValue;
        FOldStateSaved = true;
    }
    TCheckBoxState Next = cbChecked;
    switch (FState) {
    case cbUnchecked:
        Next = cbChecked;
        break;
    case cbChecked:
        Next = AllowGrayed ? cbGrayed : cbUnchecked;
        break;
    case cbGrayed:
        Next = cbUnchecked;
        break;
    }
    if (!CheckBoxValues.empty()) {
        FValue = CheckBoxToVariant(Next, CheckBoxValues);
        FState = VariantToCheckBox(FValue, CheckBoxValues);
    } else {
        FValue = static_cast<int>(Next);
        FState = Next;
    }
}

bool TgxGridCheckBox::Undo() {
    if (!FOldStateSaved) return false;
    bool Cancel = false;
    if (OnUndoChanged) OnUndoChanged(this, true, Cancel);
    if (Cancel) return false;
    const Variant Old = FOldValue;
    AssignValue(Old, false, false);
    return true;
}

void TgxGridCheckBox::Toggled() {
    if (OnNotifyChanged) OnNotifyChanged(this, true);
    if (OnChanged) OnChanged(this, true, false, true);
}

// ---- looks ------------------------------------------------------------------------------------

int& TgxGridCheckBox::ImageIndex(TCheckBoxState State) {
    switch (State) {
    case cbChecked:
        return FCheckedImage;
    case cbUnchecked:
        return FUncheckedImage;
    case cbGrayed:
        break;
    }
    return FGrayedImage;
}

void TgxGridCheckBox::SetCheckBoxStyle(TgxGridCheckBoxStyle Value) {
    const int Base = Value == cbFlat ? FFlatBase : Value == cbWin95 ? FWin95Base : FWinNTBase;
    for (TCheckBoxState State : {cbChecked, cbUnchecked, cbGrayed})
        if (!FStateBitmaps[static_cast<std::size_t>(Slot(State))])
            ImageIndex(State) = Base + Slot(State);
    FCheckBoxStyle = Value;
    Invalidate();
}

void TgxGridCheckBox::SetCheckBoxBitmap(TCheckBoxState State, TBitmap* Bitmap) {
    const int Index = Slot(State);
    auto& Held = FStateBitmaps[static_cast<std::size_t>(Index)];
    Held.reset();
    if (!Bitmap || Bitmap->Empty()) {
        SetCheckBoxStyle(FCheckBoxStyle);
        return;
    }
    // The upper half as given, the lower half its pressed copy.
    const int W = Bitmap->Width();
    const int H = Bitmap->Height();
    auto Copy = std::make_unique<TBitmap>();
    Copy->SetPixelFormat(pf32bit);
    Copy->SetSize(W, 2 * H);
    TCanvas* C = Copy->Canvas();
    C->SetCopyMode(cmSrcCopy);
    C->CopyRect(Rect(0, 0, W, H), Bitmap->Canvas(), Rect(0, 0, W, H));
    C->Brush()->SetColor(CheckBoxMaskToColor);
    C->BrushCopy(Rect(0, H, W, 2 * H), Bitmap, Rect(0, 0, W, H), CheckBoxMaskColor);
    Held = std::move(Copy);
    ImageIndex(State) = Index;
    Invalidate();
}

bool TgxGridCheckBox::Pressed() const {
    return FMousePressing ? FPressedInside : FSpaceDown;
}

TBitmap* TgxGridCheckBox::GetCheckBoxBitmap(TCheckBoxState State, TCopyMode& Mode, bool UsePressed,
                                            TRect& Source) {
    const int Index = ImageIndex(State);
    const bool Down = UsePressed && Pressed();
    Mode = cmSrcCopy;
    if (Index >= 0 && Index <= 2) {
        if (TBitmap* User = FStateBitmaps[static_cast<std::size_t>(Index)].get()) {
            const int H = User->Height() / 2;
            Source = Rect(0, Down ? H : 0, User->Width(), Down ? 2 * H : H);
            return User;
        }
    }
    const int N = Index + (Down ? 9 : 0);
    Source = Rect(0, N * gxCheckImageSize, gxCheckImageSize, (N + 1) * gxCheckImageSize);
    // The flat images' white takes the cell's brush colour.
    if (Index >= 6 && Index <= 8) Mode = cmMergeCopy;
    return CheckBoxImageStrip();
}

void TgxGridCheckBox::DrawCheck(TCanvas* ACanvas, const TRect& R, bool FocusedLook) {
    const int W = R.Width();
    const int H = R.Height();
    if (W <= 0 || H <= 0) return;
    TBitmap Off;
    Off.SetPixelFormat(pf32bit);
    Off.SetSize(W, H);
    TCanvas* C = Off.Canvas();
    C->SetBrush(ACanvas->Brush());
    C->SetPen(ACanvas->Pen());
    C->FillRect(Rect(0, 0, W, H));

    TCopyMode Mode = cmSrcCopy;
    TRect Source;
    TBitmap* Image = GetCheckBoxBitmap(FState, Mode, true, Source);
    const int IW = Source.Width();
    const int IH = Source.Height();
    const int Left = (W - IW) / 2 - 1;
    const int Top = (H - IH) / 2 + (FCtl3D ? 1 : 0);

    if (FocusedLook) {
        TRect F = Rect(std::max(Left - 5, 0), std::max(Top - 2, 0), std::min(Left + IW + 5, W),
                       std::min(Top + IH + 2, H));
        if (FCtl3D) {
            if (F.Left == 0) F.Left = 1;
            if (F.Top == 0) F.Top = 1;
        }
        // Even margins on both sides of the image.
        const int ML = Left - F.Left, MR = F.Right - (Left + IW);
        if (ML > MR)
            F.Left += ML - MR;
        else
            F.Right -= MR - ML;
        const int MT = Top - F.Top, MB = F.Bottom - (Top + IH);
        if (MT > MB)
            F.Top += MT - MB;
        else
            F.Bottom -= MB - MT;
        C->DrawFocusRect(F);
    }

    TRect To = Rect(Left, Top, Left + IW, Top + IH);
    TRect From = Source;
    if (To.Left < 0) {
        From.Left -= To.Left;
        To.Left = 0;
    }
    if (To.Top < 0) {
        From.Top -= To.Top;
        To.Top = 0;
    }
    if (To.Right > W) {
        From.Right -= To.Right - W;
        To.Right = W;
    }
    if (To.Bottom > H) {
        From.Bottom -= To.Bottom - H;
        To.Bottom = H;
    }
    if (To.Width() > 0 && To.Height() > 0) {
        C->SetCopyMode(Mode);
        C->CopyRect(To, Image->Canvas(), From);
    }
    BitBlt(ACanvas, R.Left, R.Top, W, H, C, 0, 0, SRCCOPY);
    if (FCtl3D) {
        // A raised inner edge along the top.
        const TColor Saved = ACanvas->Brush()->Color();
        ACanvas->Brush()->SetColor(clBtnHighlight);
        ACanvas->FillRect(Rect(R.Left, R.Top, R.Right, R.Top + 1));
        ACanvas->Brush()->SetColor(Saved);
    }
}

void TgxGridCheckBox::ResetSelectState() {
    FPressedInside = false;
    Invalidate();
}

void TgxGridCheckBox::Paint() {
    Canvas()->Brush()->SetColor(Color());
    DrawCheck(Canvas(), ClientRect(), ShowsFocus());
}

// ---- mouse
// ---------------------------------------------------------------------------------------

void TgxGridCheckBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (!ComponentState().Contains(csDesigning) && !Focused() && CanFocus()) SetFocus();
    if (Button == mbLeft && FKeyEdit) {
        FMousePressing = MouseCapture();
        if (FMousePressing) {
            if (CheckCanEdit(true)) {
                FPressedInside = true;
                Invalidate();
            } else {
                FMouseRefused = true;
                FMousePressing = false;
                SetMouseCapture(false);
            }
        }
    }
    TgxGridControl::MouseDown(Button, Shift, X, Y);
}

void TgxGridCheckBox::MouseMove(TShiftState Shift, int X, int Y) {
    if (FMousePressing && !FMouseRefused) {
        if (!MouseCapture()) {
            FMousePressing = false;
            FPressedInside = false;
            Invalidate();
        } else {
            const bool Inside = X >= -3 && X <= Width() - 1 && Y >= 0 && Y <= Height() - 1;
            if (Inside != FPressedInside) {
                FPressedInside = Inside;
                Invalidate();
            }
        }
    }
    TgxGridControl::MouseMove(Shift, X, Y);
}

void TgxGridCheckBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    bool DidToggle = false;
    if (Button == mbLeft) {
        if (FMousePressing) {
            FMousePressing = false;
            if (FPressedInside) {
                FPressedInside = false;
                if (!FMouseRefused) {
                    ToggleCheckBoxState();
                    DidToggle = true;
                }
                Invalidate();
            }
        }
        if (MouseCapture()) SetMouseCapture(false);
        FMouseRefused = false;
    }
    if (DidToggle) Toggled();
    TgxGridControl::MouseUp(Button, Shift, X, Y);
}

void TgxGridCheckBox::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_SETCURSOR) {
        const TCursor ScreenCursor = Screen->Cursor();
        SetWindowCursor(this, ScreenCursor != crDefault ? ScreenCursor : Cursor());
        Message.Result = 1;
        return;
    }
    TgxGridControl::Dispatch(Message);
}

void TgxGridCheckBox::WMLButtonUp(TMessage& Message) {
    FClickPending = true;
    TgxGridControl::WMLButtonUp(Message);
}

// ---- keys
// ------------------------------------------------------------------------------------------

bool TgxGridCheckBox::Swallowing() const {
    return FPressedInside || FSpaceDown || FMouseRefused || FSpaceRefused;
}

void TgxGridCheckBox::KeyDown(Word& Key, TShiftState Shift) {
    if (Swallowing()) {
        Key = 0;
        return;
    }
    TgxGridControl::KeyDown(Key, Shift);
    const TShiftState Mods = Shift * TShiftState{ssShift, ssCtrl, ssAlt};
    bool Undone = false;
    if ((Key == VK_ESCAPE && Mods.Empty()) || (Key == VK_Z && Mods == TShiftState{ssCtrl})) {
        if (FOldStateSaved) {
            Key = 0;
            Undone = Undo();
        }
    }
    if (Key != 0 && OnEndKeyDown) OnEndKeyDown(this, Key, Shift);
    if (Undone && OnNotifyChanged) OnNotifyChanged(this, true);
}

void TgxGridCheckBox::KeyPress(char& Key) {
    if (Swallowing() && Key != ' ') {
        Key = 0;
        return;
    }
    TgxGridControl::KeyPress(Key);
    if (Key == ' ') {
        Key = 0;
        if (FSpaceDown || FSpaceRefused) return;
        if (CheckCanEdit(true)) {
            FSpaceDown = true;
            Invalidate();
        } else {
            FSpaceRefused = true;
        }
        return;
    }
    if (Key != 0 && OnEndKeyPress) OnEndKeyPress(this, Key);
}

void TgxGridCheckBox::KeyUp(Word& Key, TShiftState Shift) {
    TgxGridControl::KeyUp(Key, Shift);
    bool DidToggle = false;
    if (Key == VK_SPACE) {
        if (FSpaceDown) {
            FSpaceDown = false;
            if (!FSpaceRefused) {
                ToggleCheckBoxState();
                DidToggle = true;
            }
            Invalidate();
            Click();
        }
        FSpaceRefused = false;
    }
    if (Key != 0 && OnEndKeyUp) OnEndKeyUp(this, Key, Shift);
    if (DidToggle) Toggled();
}

// ---- focus
// ------------------------------------------------------------------------------------------

void TgxGridCheckBox::WMSetFocus(TMessage& Message) {
    TgxGridControl::WMSetFocus(Message);
    Invalidate();
    FSpaceRefused = false;
}

void TgxGridCheckBox::WMKillFocus(TMessage& Message) {
    if (Visible() && !Destroying()) Invalidate();
    TgxGridControl::WMKillFocus(Message);
}

} // namespace grid
