#include "components/ColorBitBtn.h"

#include "components/ButtonGlyphText.h"
#include "components/ColorBitBtnKinds.h"
#include "components/Palette.h"
#include "platform/classes/DesignRegistry.h"
#include "platform/classes/Publish.h"
#include "platform/gui/Forms.h"
#include "platform/gui/PublishedProps.h"

namespace components {

namespace {

TRect Shrunk(const TRect& R, int By) {
    return Rect(R.Left + By, R.Top + By, R.Right - By, R.Bottom - By);
}

// Unbinds the drawing canvas from the item's device context, also when
// drawing fails.
class TCanvasBinding {
public:
    TCanvasBinding(TCanvas& Canvas, HDC Dc) : FCanvas(Canvas) { FCanvas.SetHandle(Dc); }
    ~TCanvasBinding() { FCanvas.SetHandle(nullptr); }
    TCanvasBinding(const TCanvasBinding&) = delete;
    TCanvasBinding& operator=(const TCanvasBinding&) = delete;

private:
    TCanvas& FCanvas;
};

} // namespace

bool FontsEqual(const TFont& A, const TFont& B) {
    return A.Charset() == B.Charset() && A.Color() == B.Color() && A.Height() == B.Height() &&
           A.Name() == B.Name() && A.Pitch() == B.Pitch() && A.Size() == B.Size() &&
           A.Style() == B.Style();
}

TColorBitBtn::TColorBitBtn(TComponent* AOwner)
    : TPaintedControl<TBitBtn>(AOwner), FCanvas(std::make_unique<TCanvas>()) {
    // The widget is a painted one: the control itself captures the mouse
    // and turns a press and release over it into a click.
    ControlStyle << csCaptureMouse << csClickEvents;
    Font()->SetColor(clBtnText);
    FFocusFont = std::make_unique<TFont>();
    FFocusFont->Assign(Font());
    FFocusFont->OnChange = [this](TObject* Sender) { FontChange(Sender); };
    FFontsEqual = FontsEqual(*Font(), *FFocusFont);
    FGlyph = std::make_unique<TButtonGlyph>();
    FGlyph->SetFaceColor(FColor);
    FGlyph->OnChange = [this](TObject* Sender) { GlyphChanged(Sender); };
    FSavedGlyph = std::make_unique<TBitmap>();
    FGlyph2 = std::make_unique<TBitmap>();
}

TColorBitBtn::~TColorBitBtn() {
    FFocusFont->OnChange = nullptr;
    FGlyph->OnChange = nullptr;
}

// ---- properties ---------------------------------------------------------------------

void TColorBitBtn::SetColor(TColor Value) {
    FColor = Value;
    FGlyph->SetFaceColor(Value);
    Invalidate();
}

void TColorBitBtn::SetFocusColor(TColor Value) {
    FFocusColor = Value;
    Invalidate();
}

void TColorBitBtn::SetFocusFont(TFont* Value) {
    FFocusFont->Assign(Value);
}

void TColorBitBtn::FontChanged() {
    TPaintedControl<TBitBtn>::FontChanged();
    if (FFocusFont) FontChange(Font());
}

void TColorBitBtn::FontChange(TObject* Sender) {
    if (Sender == Font() && FFontsEqual) FFocusFont->Assign(Font());
    FFontsEqual = FontsEqual(*Font(), *FFocusFont);
    Invalidate();
}

void TColorBitBtn::SetTextValue(const AnsiString& Value) {
    TPaintedControl<TBitBtn>::SetTextValue(Value);
    Invalidate();
}

TBitmap* TColorBitBtn::Glyph() const {
    return FGlyph->Glyph();
}

void TColorBitBtn::ChangeGlyph(TBitmap* Value) {
    FGlyph->SetGlyph(Value);
    FModifiedGlyph = true;
    Invalidate();
}

void TColorBitBtn::SetGlyph(TBitmap* Value) {
    ChangeGlyph(Value);
    // Set while the hover glyph shows: leaving returns to this one, not to
    // the glyph it replaced.
    if (FHoverSaved) FSavedGlyph->Assign(Value);
}

void TColorBitBtn::SetGlyph2(TBitmap* Value) {
    FGlyph2->Assign(Value);
}

int TColorBitBtn::NumGlyphs() const {
    return FGlyph->NumGlyphs();
}

void TColorBitBtn::SetNumGlyphs(int Value) {
    if (Value < 0)
        Value = 1;
    else if (Value > 4)
        Value = 4;
    if (Value != FGlyph->NumGlyphs()) {
        FGlyph->SetNumGlyphs(Value);
        Invalidate();
    }
}

void TColorBitBtn::GlyphChanged(TObject*) {
    Invalidate();
}

// ---- kind -------------------------------------------------------------------------------

TBitBtnKind TColorBitBtn::Kind() {
    if (FKind != bkCustom &&
        (Default() || Cancel() || ModalResult() != BitBtnModalResult(FKind) || FModifiedGlyph))
        FKind = bkCustom;
    return FKind;
}

void TColorBitBtn::SetKind(TBitBtnKind Value) {
    if (Value == Kind()) return;
    if (Value != bkCustom) {
        SetDefault(false);
        SetCancel(false);
        if (!(ComponentState().Contains(csLoading) && !Caption().empty()))
            SetCaption(BitBtnCaption(Value));
        SetModalResult(BitBtnModalResult(Value));
        FGlyph->SetGlyph(BitBtnGlyph(Value));
        // Chosen while the hover glyph shows: leaving returns to the kind's.
        if (FHoverSaved) FSavedGlyph->Assign(BitBtnGlyph(Value));
        SetNumGlyphs(2);
        FModifiedGlyph = false;
    }
    FKind = Value;
    Invalidate();
}

// ---- activity and mouse -------------------------------------------------------------------

void TColorBitBtn::SetButtonStyle(bool ADefault) {
    if (ADefault == FIsFocused) return;
    FIsFocused = ADefault;
    Refresh();
}

void TColorBitBtn::SetDrawnDown(bool Value) {
    if (Value == FDrawnDown) return;
    FDrawnDown = Value;
    Invalidate();
}

void TColorBitBtn::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    FPressed = true;
    if (Button == mbLeft) {
        FLeftDown = true;
        SetDrawnDown(true);
    }
    TPaintedControl<TBitBtn>::MouseDown(Button, Shift, X, Y);
}

void TColorBitBtn::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (FPressed && FHoverSaved) ChangeGlyph(FSavedGlyph.get());
    FPressed = false;
    if (Button == mbLeft) {
        FLeftDown = false;
        SetDrawnDown(false);
    }
    TPaintedControl<TBitBtn>::MouseUp(Button, Shift, X, Y);
}

void TColorBitBtn::MouseMove(TShiftState Shift, int X, int Y) {
    if (FLeftDown) {
        const TRect R = ClientRect();
        SetDrawnDown(X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom);
    }
    TPaintedControl<TBitBtn>::MouseMove(Shift, X, Y);
}

void TColorBitBtn::CMMouseEnter(TMessage&) {
    if (FPressed) return;
    // A repeated enter finds the hover glyph showing: the button's own is
    // already saved.
    if (!FHoverSaved) FSavedGlyph->Assign(Glyph());
    FHoverSaved = true;
    if (!FGlyph2->Empty()) ChangeGlyph(FGlyph2.get());
}

void TColorBitBtn::CMMouseLeave(TMessage&) {
    // A leave without an enter before it has no glyph to return to.
    if (FPressed || !FHoverSaved) return;
    ChangeGlyph(FSavedGlyph.get());
    FHoverSaved = false;
}

void TColorBitBtn::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_MOUSEENTER:
        CMMouseEnter(Message);
        return;
    case CM_MOUSELEAVE:
        CMMouseLeave(Message);
        return;
    case CN_DRAWITEM:
        DrawItem(*TWMDrawItem(Message).DrawItemStruct());
        return;
    case CM_ENTER:
        SetButtonStyle(true);
        break;
    case CM_FOCUSCHANGED: {
        // Another button with the focus is the active one; a control that
        // is no button leaves the default button active.
        auto* Focused = reinterpret_cast<TWinControl*>(Message.LParam);
        SetButtonStyle(dynamic_cast<TButton*>(Focused) ? Focused == this : Default());
        break;
    }
    case CM_EXIT: {
        // The focus has moved on by now: a default button stays active
        // unless another button took the focus.
        TCustomForm* Form = GetParentForm(this);
        TWinControl* Next = Form ? Form->ActiveControl() : nullptr;
        SetButtonStyle(Default() && dynamic_cast<TButton*>(Next) == nullptr);
        break;
    }
    default:
        break;
    }
    TPaintedControl<TBitBtn>::Dispatch(Message);
}

// ---- painting ---------------------------------------------------------------------------

void TColorBitBtn::Paint() {
    TDrawItemStruct Item;
    Item.CtlType = ODT_BUTTON;
    Item.itemAction = ODA_DRAWENTIRE;
    if (FDrawnDown) Item.itemState |= ODS_SELECTED;
    if (Focused()) Item.itemState |= ODS_FOCUS;
    if (!Enabled()) Item.itemState |= ODS_DISABLED;
    Item.hwndItem = this;
    Item.hDC = Canvas()->Handle();
    Item.rcItem = ClientRect();
    Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&Item));
}

void TColorBitBtn::DrawItem(const TDrawItemStruct& DrawItemStruct) {
    TCanvasBinding Binding(*FCanvas, DrawItemStruct.hDC);
    TCanvas* C = FCanvas.get();
    TRect R = ClientRect();
    const bool IsDown = (DrawItemStruct.itemState & ODS_SELECTED) != 0;
    const bool IsDefault = (DrawItemStruct.itemState & ODS_FOCUS) != 0;
    const TButtonState State = !Enabled() ? bsDisabled : IsDown ? bsDown : bsUp;

    unsigned Flags = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT;
    if (IsDown) Flags |= DFCS_PUSHED;
    if (DrawItemStruct.itemState & ODS_DISABLED) Flags |= DFCS_INACTIVE;

    if (FIsFocused || IsDefault) {
        C->Pen()->SetColor(clWindowFrame);
        C->Pen()->SetWidth(1);
        C->Brush()->SetStyle(bsClear);
        C->Rectangle(R);
        R = Shrunk(R, 1);
    }

    const TColor Face = FIsFocused && FFocusColor != clNone ? FFocusColor : FColor;
    if (IsDown) {
        C->Pen()->SetColor(clBtnShadow);
        C->Pen()->SetWidth(1);
        C->Brush()->SetColor(Face);
        C->Rectangle(R);
        R = Shrunk(R, 1);
    } else {
        C->Brush()->SetColor(Face);
        DrawFrameControl(C, R, DFC_BUTTON, Flags);
        C->FillRect(R);
    }

    if (FIsFocused) R = Shrunk(ClientRect(), 1);
    C->SetFont(FIsFocused ? FFocusFont.get() : Font());
    if (IsDown) R = Rect(R.Left + 1, R.Top + 1, R.Right + 1, R.Bottom + 1);

    FGlyph->SetFaceColor(Face);
    FGlyph->Draw(C, R, Point(0, 0), Caption(), Layout(), Margin(), Spacing(), State, false,
                 DrawTextBiDiModeFlags(0));

    if (FIsFocused && IsDefault) {
        R = Shrunk(ClientRect(), 4);
        C->Pen()->SetColor(clWindowFrame);
        C->Brush()->SetColor(Face);
        C->DrawFocusRect(R);
    }
}

// ---- published properties and registration -----------------------------------------

namespace {

const TTypeInfo& BitBtnKindType() {
    static const TTypeInfo Info =
        MakeEnumType("TBitBtnKind", {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo",
                                     "bkClose", "bkAbort", "bkRetry", "bkIgnore", "bkAll"});
    return Info;
}
const TTypeInfo& ButtonLayoutType() {
    static const TTypeInfo Info = MakeEnumType(
        "TButtonLayout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"});
    return Info;
}

// Kind drops to bkCustom as it is read once the button no longer matches
// its kind; reading it that way is what decides what is stored.
TBitBtnKind CurrentKind(const TColorBitBtn& Button) {
    return const_cast<TColorBitBtn&>(Button).Kind();
}
bool IsCustomKind(const TColorBitBtn& Button) {
    return CurrentKind(Button) == bkCustom;
}

// The GUI layer publishes the push button but not the bit button, so the
// bit button's layout settings are published here with the colour button's
// own properties. Kind comes after Default, Cancel and ModalResult, so a
// stored kind settles them as it is read; Caption comes after Kind, so a
// stored caption stays.
const TPublished<TColorBitBtn, TButton> ColorBitBtnClass(
    "TColorBitBtn",
    [](auto& C) {
        C.Property("Layout", &TColorBitBtn::Layout, &TColorBitBtn::SetLayout, ButtonLayoutType())
            .Default(blGlyphLeft);
        C.Property("Margin", &TColorBitBtn::Margin, &TColorBitBtn::SetMargin).Default(-1);
        C.Property("Spacing", &TColorBitBtn::Spacing, &TColorBitBtn::SetSpacing).Default(4);
        C.Property("Color", &TColorBitBtn::Color, &TColorBitBtn::SetColor).Default(clBtnFace);
        C.Property("FocusColor", &TColorBitBtn::FocusColor, &TColorBitBtn::SetFocusColor)
            .Default(clNone);
        C.Property("Glyph2", &TColorBitBtn::Glyph2, &TColorBitBtn::SetGlyph2);
        C.Property("FocusFont", &TColorBitBtn::FocusFont, &TColorBitBtn::SetFocusFont);
        C.Property("Glyph", &TColorBitBtn::Glyph, &TColorBitBtn::SetGlyph).Stored(&IsCustomKind);
        C.Property("NumGlyphs", &TColorBitBtn::NumGlyphs, &TColorBitBtn::SetNumGlyphs)
            .Default(1)
            .Stored(&IsCustomKind);
        C.Property("Kind", &CurrentKind, &TColorBitBtn::SetKind, BitBtnKindType())
            .Default(bkCustom);
        C.Property("Caption", &TControl::Caption, &TControl::SetCaption);
    },
    true);

} // namespace

namespace tcolorbitbtn {

void Register() {
    RegisterComponents(PalettePage, {GetClassInfo(typeid(TColorBitBtn))});
}

} // namespace tcolorbitbtn

} // namespace components
