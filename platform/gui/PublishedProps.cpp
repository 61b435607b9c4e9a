#include "platform/gui/PublishedProps.h"

#include "platform/classes/Filer.h"
#include "platform/classes/Publish.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Controls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Streams.h"

#include <atomic>

namespace {

const TTypeInfo& FontStyleType() {
    static const TTypeInfo Info =
        MakeEnumType("TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"});
    return Info;
}
const TTypeInfo& FontPitchType() {
    static const TTypeInfo Info =
        MakeEnumType("TFontPitch", {"fpDefault", "fpVariable", "fpFixed"});
    return Info;
}
const TTypeInfo& AnchorKindType() {
    static const TTypeInfo Info =
        MakeEnumType("TAnchorKind", {"akLeft", "akTop", "akRight", "akBottom"});
    return Info;
}
const TTypeInfo& AnchorsType() {
    static const TTypeInfo Info = MakeSetType("TAnchors", AnchorKindType());
    return Info;
}
const TTypeInfo& AlignmentType() {
    static const TTypeInfo Info =
        MakeEnumType("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});
    return Info;
}
const TTypeInfo& TextLayoutType() {
    static const TTypeInfo Info = MakeEnumType("TTextLayout", {"tlTop", "tlCenter", "tlBottom"});
    return Info;
}
const TTypeInfo& EditCharCaseType() {
    static const TTypeInfo Info =
        MakeEnumType("TEditCharCase", {"ecNormal", "ecUpperCase", "ecLowerCase"});
    return Info;
}
const TTypeInfo& ScrollStyleType() {
    static const TTypeInfo Info =
        MakeEnumType("TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"});
    return Info;
}
const TTypeInfo& ComboBoxStyleType() {
    static const TTypeInfo Info =
        MakeEnumType("TComboBoxStyle", {"csDropDown", "csSimple", "csDropDownList",
                                        "csOwnerDrawFixed", "csOwnerDrawVariable"});
    return Info;
}
const TTypeInfo& BevelCutType() {
    static const TTypeInfo Info =
        MakeEnumType("TBevelCut", {"bvNone", "bvLowered", "bvRaised", "bvSpace"});
    return Info;
}
const TTypeInfo& PositionType() {
    static const TTypeInfo Info =
        MakeEnumType("TPosition", {"poDesigned", "poDefault", "poDefaultPosOnly",
                                   "poDefaultSizeOnly", "poScreenCenter", "poDesktopCenter",
                                   "poMainFormCenter", "poOwnerFormCenter"});
    return Info;
}
const TTypeInfo& FormBorderStyleType() {
    static const TTypeInfo Info =
        MakeEnumType("TFormBorderStyle", {"bsNone", "bsSingle", "bsSizeable", "bsDialog",
                                          "bsToolWindow", "bsSizeToolWin"});
    return Info;
}
const TTypeInfo& BorderIconType() {
    static const TTypeInfo Info =
        MakeEnumType("TBorderIcon", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"});
    return Info;
}
const TTypeInfo& BorderIconsType() {
    static const TTypeInfo Info = MakeSetType("TBorderIcons", BorderIconType());
    return Info;
}
const TTypeInfo& FormStyleType() {
    static const TTypeInfo Info =
        MakeEnumType("TFormStyle", {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"});
    return Info;
}

// The controls a windowed control streams inside itself: its own children
// that belong to the root being written.
void WinControlChildren(TWinControl& Self, const std::function<void(TComponent*)>& Proc,
                        TComponent* Root) {
    for (int I = 0; I < Self.ControlCount(); ++I) {
        TControl* Child = Self.Controls(I);
        if (Child->Owner() == Root) Proc(Child);
    }
}

// The Caption of the classes that show one.
template <class B> void Caption(B& C) {
    C.Property("Caption", &TControl::Caption, &TControl::SetCaption);
}

constexpr int MaxExtent = 32767;

int Extent(const char* Name, int Value, int Min) {
    if (Value < Min || Value > MaxExtent)
        throw ERangeError(
            Format("%d is out of range for %s (%d to %d)", Value, Name, Min, MaxExtent));
    return Value;
}

TComponent* FindOpenForm(const AnsiString& Name) {
    if (!Screen) return nullptr;
    for (int I = 0; I < Screen->FormCount(); ++I)
        if (AnsiSameText(Screen->Forms(I)->Name(), Name)) return Screen->Forms(I);
    return nullptr;
}

// A bitmap's pixels in a stream: the size of the BMP image, then the image.
void WriteBitmapData(TBitmap& Bitmap, TStream* Stream) {
    TMemoryStream Image;
    Bitmap.SaveToStream(&Image);
    const auto Size = static_cast<std::int32_t>(Image.GetSize());
    Stream->WriteBuffer(&Size, 4);
    Image.SetPosition(0);
    Stream->CopyFrom(&Image, Size);
}

// A size that runs past the stored bytes is refused before anything is
// read; the bitmap keeps its picture on any failure. Size 0 is an empty
// bitmap.
void ReadBitmapData(TBitmap& Bitmap, TStream* Stream) {
    std::int32_t Size = 0;
    Stream->ReadBuffer(&Size, 4);
    const std::int64_t Left = Stream->GetSize() - Stream->GetPosition();
    if (Size < 0 || Size > Left)
        throw EReadError(
            Format("Bitmap data of %d bytes where %d are stored", Size, static_cast<int>(Left)));
    if (Size == 0) {
        Bitmap.Assign(nullptr);
        return;
    }
    TMemoryStream Image;
    Image.CopyFrom(Stream, Size);
    Image.SetPosition(0);
    Bitmap.LoadFromStream(&Image);
}

void Publish() {
    PublishNow<TFont>("TFont", [](auto& C) {
        C.template Inherits<TPersistent>();
        C.Property("Charset", &TFont::Charset, &TFont::SetCharset);
        C.Property("Color", &TFont::Color, &TFont::SetColor);
        C.Property("Height", &TFont::Height, &TFont::SetHeight);
        C.Property("Name", &TFont::Name, &TFont::SetName).Default("MS Sans Serif");
        C.Property("Pitch", &TFont::Pitch, &TFont::SetPitch, FontPitchType()).Default(fpDefault);
        C.Property("Size", &TFont::Size, &TFont::SetSize).Stored(false);
        C.Property("Style", &TFont::Style, &TFont::SetStyle, FontStylesType())
            .Default(TFontStyles{});
    });

    // A bitmap property (a button's glyph) streams its pixels as Data; an
    // empty bitmap writes nothing.
    PublishNow<TBitmap>("TBitmap", [](auto& C) {
        C.template Inherits<TPersistent>();
        C.DefineProperties([](TBitmap& Self, TFiler* Filer) {
            Filer->DefineBinaryProperty(
                "Data", [&Self](TStream* Stream) { ReadBitmapData(Self, Stream); },
                [&Self](TStream* Stream) { WriteBitmapData(Self, Stream); }, !Self.Empty());
        });
    });

    PublishNow<TSizeConstraints>("TSizeConstraints", [](auto& C) {
        C.template Inherits<TPersistent>();
        C.Property("MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight)
            .Default(0);
        C.Property("MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth)
            .Default(0);
        C.Property("MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight)
            .Default(0);
        C.Property("MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth)
            .Default(0);
    });

    PublishNow<TControl>("TControl", [](auto& C) {
        C.template Inherits<TComponent>();
        // Bounds from outside (a stream, a stored property) stay within what
        // a screen can show: a control's backing image follows its size.
        C.Property("Left", &TControl::Left,
                   [](TControl& Self, int V) { Self.SetLeft(Extent("Left", V, -MaxExtent)); });
        C.Property("Top", &TControl::Top,
                   [](TControl& Self, int V) { Self.SetTop(Extent("Top", V, -MaxExtent)); });
        C.Property("Width", &TControl::Width,
                   [](TControl& Self, int V) { Self.SetWidth(Extent("Width", V, 0)); });
        C.Property("Height", &TControl::Height,
                   [](TControl& Self, int V) { Self.SetHeight(Extent("Height", V, 0)); });
        C.Property("Align", &TControl::Align, &TControl::SetAlign, AlignType()).Default(alNone);
        C.Property("Anchors", &TControl::Anchors, &TControl::SetAnchors, AnchorsType())
            .Default(TAnchors{akLeft, akTop});
        C.Property("Color", &TControl::Color, &TControl::SetColor).Stored([](const TControl& Self) {
            return !Self.ParentColor();
        });
        C.Property("Cursor", &TControl::Cursor, &TControl::SetCursor).Default(0);
        C.Property("Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(true);
        C.Property("Font", &TControl::Font, &TControl::SetFont).Stored([](const TControl& Self) {
            return !Self.ParentFont();
        });
        C.Property("Hint", &TControl::Hint, &TControl::SetHint);
        C.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(true);
        C.Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(true);
        C.Property("ShowHint", &TControl::ShowHint, &TControl::SetShowHint).Default(false);
        C.Property("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint)
            .Default(true);
        C.Property("HelpContext", &TControl::HelpContext, &TControl::SetHelpContext).Default(0);
        C.Property("Constraints", &TControl::Constraints,
                   [](TControl& Self, TSizeConstraints* Value) { Self.Constraints()->Assign(Value); });
        C.Property("Visible", &TControl::Visible, &TControl::SetVisible).Default(true);
        C.SetParentProc([](TControl& Self, TComponent* Parent) {
            if (auto* WinParent = dynamic_cast<TWinControl*>(Parent)) Self.SetParent(WinParent);
        });
    });

    PublishNow<TWinControl>("TWinControl", [](auto& C) {
        C.template Inherits<TControl>();
        C.Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder);
        C.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop);
        C.Property("ParentCtl3D", &TWinControl::ParentCtl3D, &TWinControl::SetParentCtl3D)
            .Default(true);
        C.Children(&WinControlChildren);
    });

    PublishNow<TCustomForm>("TCustomForm", [](auto& C) {
        C.template Inherits<TWinControl>();
        Caption(C);
        C.Property("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons,
                   BorderIconsType())
            .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
        C.Property("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle,
                   FormBorderStyleType())
            .Default(bsSizeable);
        C.Property("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle,
                   FormStyleType())
            .Default(fsNormal);
        C.Property("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview)
            .Default(false);
        C.Property("Position", &TCustomForm::Position, &TCustomForm::SetPosition, PositionType())
            .Default(poDesigned);
        // A form streams the components it owns that no parent streams (its
        // form storage, timers), then its controls.
        C.Children(
            [](TCustomForm& Self, const std::function<void(TComponent*)>& Proc, TComponent* Root) {
                if (&Self == Root)
                    for (int I = 0; I < Self.ComponentCount(); ++I)
                        if (!Self.Components(I)->HasParent()) Proc(Self.Components(I));
                WinControlChildren(Self, Proc, Root);
            });
        // A form has no parent control.
        C.SetParentProc([](TCustomForm&, TComponent*) {});
    });
    PublishNow<TForm>("TForm", [](auto& C) { C.template Inherits<TCustomForm>(); });

    PublishNow<TCustomLabel>("TCustomLabel", [](auto& C) {
        C.template Inherits<TControl>();
        Caption(C);
        C.Property("Alignment", &TCustomLabel::Alignment, &TCustomLabel::SetAlignment,
                   AlignmentType())
            .Default(taLeftJustify);
        C.Property("AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize).Default(true);
        C.Property("FocusControl", &TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl);
        C.Property("Layout", &TCustomLabel::Layout, &TCustomLabel::SetLayout, TextLayoutType())
            .Default(tlTop);
        C.Property("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar)
            .Default(true);
        C.Property("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent)
            .Default(false);
        C.Property("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap).Default(false);
    });
    PublishNow<TLabel>("TLabel", [](auto& C) { C.template Inherits<TCustomLabel>(); });

    PublishNow<TButtonControl>("TButtonControl",
                               [](auto& C) { C.template Inherits<TWinControl>(); });
    PublishNow<TButton>("TButton", [](auto& C) {
        C.template Inherits<TButtonControl>();
        Caption(C);
        C.Property("Cancel", &TButton::Cancel, &TButton::SetCancel).Default(false);
        C.Property("Default", &TButton::Default, &TButton::SetDefault).Default(false);
        C.Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult).Default(0);
    });

    PublishNow<TCustomCheckBox>("TCustomCheckBox", [](auto& C) {
        C.template Inherits<TButtonControl>();
        Caption(C);
        C.Property("Alignment", &TCustomCheckBox::Alignment, &TCustomCheckBox::SetAlignment,
                   AlignmentType())
            .Default(taRightJustify);
        C.Property("AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed)
            .Default(false);
        // Checked and State are one value: only State is written.
        C.Property("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked)
            .Stored(false);
        C.Property("State", &TCustomCheckBox::State, &TCustomCheckBox::SetState,
                   CheckBoxStateType())
            .Default(cbUnchecked);
    });
    PublishNow<TCheckBox>("TCheckBox", [](auto& C) { C.template Inherits<TCustomCheckBox>(); });

    PublishNow<TCustomEdit>("TCustomEdit", [](auto& C) {
        C.template Inherits<TWinControl>();
        C.Property("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect)
            .Default(true);
        C.Property("CharCase", &TCustomEdit::CharCase, &TCustomEdit::SetCharCase,
                   EditCharCaseType())
            .Default(ecNormal);
        C.Property("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength).Default(0);
        C.Property("PasswordChar", &TCustomEdit::PasswordChar, &TCustomEdit::SetPasswordChar)
            .Default('\0');
        C.Property("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly).Default(false);
        C.Property("Text", &TControl::Text, &TControl::SetText);
    });
    PublishNow<TEdit>("TEdit", [](auto& C) { C.template Inherits<TCustomEdit>(); });

    PublishNow<TCustomMemo>("TCustomMemo", [](auto& C) {
        C.template Inherits<TWinControl>();
        C.Property("Lines", &TCustomMemo::Lines, &TCustomMemo::SetLines);
        C.Property("MaxLength", &TCustomMemo::MaxLength, &TCustomMemo::SetMaxLength).Default(0);
        C.Property("ReadOnly", &TCustomMemo::ReadOnly, &TCustomMemo::SetReadOnly).Default(false);
        C.Property("ScrollBars", &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars,
                   ScrollStyleType())
            .Default(ssNone);
        C.Property("WantReturns", &TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns)
            .Default(true);
        C.Property("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap).Default(true);
    });
    PublishNow<TMemo>("TMemo", [](auto& C) { C.template Inherits<TCustomMemo>(); });

    PublishNow<TCustomComboBox>("TCustomComboBox", [](auto& C) {
        C.template Inherits<TWinControl>();
        C.Property("DropDownCount", &TCustomComboBox::DropDownCount,
                   &TCustomComboBox::SetDropDownCount)
            .Default(8);
        C.Property("Items", &TCustomComboBox::Items, &TCustomComboBox::SetItems);
        C.Property("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex)
            .Default(-1);
        C.Property("Style", &TCustomComboBox::Style, &TCustomComboBox::SetStyle,
                   ComboBoxStyleType())
            .Default(csDropDown);
        C.Property("Text", &TControl::Text, &TControl::SetText);
    });
    PublishNow<TComboBox>("TComboBox", [](auto& C) { C.template Inherits<TCustomComboBox>(); });

    PublishNow<TCustomGroupBox>("TCustomGroupBox", [](auto& C) {
        C.template Inherits<TWinControl>();
        Caption(C);
    });
    PublishNow<TGroupBox>("TGroupBox", [](auto& C) { C.template Inherits<TCustomGroupBox>(); });

    PublishNow<TCustomPanel>("TCustomPanel", [](auto& C) {
        C.template Inherits<TWinControl>();
        Caption(C);
        C.Property("Alignment", &TCustomPanel::Alignment, &TCustomPanel::SetAlignment,
                   AlignmentType())
            .Default(taCenter);
        C.Property("BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner,
                   BevelCutType())
            .Default(bvNone);
        C.Property("BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter,
                   BevelCutType())
            .Default(bvRaised);
        C.Property("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth)
            .Default(1);
    });
    PublishNow<TPanel>("TPanel", [](auto& C) { C.template Inherits<TCustomPanel>(); });

    PublishNow<TCustomRadioGroup>("TCustomRadioGroup", [](auto& C) {
        C.template Inherits<TWinControl>();
        Caption(C);
        C.Property("Columns", &TCustomRadioGroup::Columns, &TCustomRadioGroup::SetColumns)
            .Default(1);
        C.Property("Items", &TCustomRadioGroup::Items, &TCustomRadioGroup::SetItems);
        C.Property("ItemIndex", &TCustomRadioGroup::ItemIndex, &TCustomRadioGroup::SetItemIndex)
            .Default(-1);
    });
    PublishNow<TRadioGroup>("TRadioGroup",
                            [](auto& C) { C.template Inherits<TCustomRadioGroup>(); });

    for (const char* Name : {"TForm", "TLabel", "TButton", "TCheckBox", "TEdit", "TMemo",
                             "TComboBox", "TGroupBox", "TPanel", "TRadioGroup"})
        RegisterClass(FindPublishedClass(Name));

    SetFindGlobalComponent(&FindOpenForm);
}

} // namespace

const TTypeInfo& FontStylesType() {
    static const TTypeInfo Info = MakeSetType("TFontStyles", FontStyleType());
    return Info;
}

const TTypeInfo& CheckBoxStateType() {
    static const TTypeInfo Info =
        MakeEnumType("TCheckBoxState", {"cbUnchecked", "cbChecked", "cbGrayed"});
    return Info;
}

const TTypeInfo& AlignType() {
    static const TTypeInfo Info = MakeEnumType(
        "TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"});
    return Info;
}

bool QueueGuiClasses() {
    static std::atomic<bool> Queued{false};
    if (!Queued.exchange(true)) AddPublisher(&Publish);
    return true;
}

void PublishGuiClasses() {
    QueueGuiClasses();
    // Any lookup runs the queued publishers.
    (void)FindPublishedClass("TControl");
}
