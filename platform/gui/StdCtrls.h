#pragma once
// The standard controls: label, button, edit, memo, combo box, check box,
// group box and scroll bar. Each wraps its Qt widget. Events follow the
// framework: a value set in code fires the change event where the
// framework's control does (an edit's or memo's OnChange, a check box's
// OnClick) and not where it doesn't (a combo box's ItemIndex).
#include "platform/gui/Controls.h"
#include "platform/rtl/StringList.h"

#include <memory>

class TCustomForm;
enum class TFormBorderStyle : std::uint8_t;

// ---- label ------------------------------------------------------------------------

class TCustomLabel : public TControl {
public:
    explicit TCustomLabel(TComponent* AOwner);
    AnsiString ClassName() const override { return "TCustomLabel"; }

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout Value);
    // With AutoSize the label takes the size of its text (the height only
    // when it wraps words).
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    // '&' marks the next character as the accelerator ("&&" is one '&').
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool Value);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);

protected:
    QWidget* CreateWidget() override;
    void WidgetCreated() override;
    void SetTextValue(const AnsiString& Value) override;
    void FontChanged() override;
    TColor EffectiveBackground() const override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void AdjustBounds();

private:
    void UpdateLabel();

    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    TWinControl* FFocusControl = nullptr;
    bool FAutoSize = true;
    bool FWordWrap = false;
    bool FTransparent = false;
    bool FShowAccelChar = true;
};

class TLabel : public TCustomLabel {
public:
    explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
    AnsiString ClassName() const override { return "TLabel"; }
};

// ---- buttons ------------------------------------------------------------------------

class TButtonControl : public TWinControl {
public:
    explicit TButtonControl(TComponent* AOwner);
    AnsiString ClassName() const override { return "TButtonControl"; }
};

class TButton : public TButtonControl {
public:
    explicit TButton(TComponent* AOwner);
    AnsiString ClassName() const override { return "TButton"; }

    // Sets the form's ModalResult (when not mrNone), then fires OnClick.
    void Click() override;

    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    // The button Enter presses / Escape presses on its form.
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }

protected:
    QWidget* CreateWidget() override;
    void WidgetCreated() override;
    void SetTextValue(const AnsiString& Value) override;
    // Enter presses the focused button, and the default one on its form;
    // Escape the cancel one.
    void Dispatch(TMessage& Message) override;
    bool WantsKey(Word Key) const override { return Key == VK_RETURN; }

private:
    TModalResult FModalResult = mrNone;
    bool FDefault = false;
    bool FCancel = false;
};

enum class TCheckBoxState : std::uint8_t { cbUnchecked, cbChecked, cbGrayed };
using enum TCheckBoxState;

class TCustomCheckBox : public TButtonControl {
public:
    explicit TCustomCheckBox(TComponent* AOwner);
    AnsiString ClassName() const override { return "TCustomCheckBox"; }

    bool Checked() const { return FState == cbChecked; }
    // A change fires OnClick, from code as from the user.
    void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState Value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);

protected:
    QWidget* CreateWidget() override;
    void WidgetCreated() override;
    void SetTextValue(const AnsiString& Value) override;
    // The user toggled the box.
    virtual void Toggle();

private:
    void ApplyState();

    TCheckBoxState FState = cbUnchecked;
    TAlignment FAlignment = taRightJustify;
    bool FAllowGrayed = false;
};

class TCheckBox : public TCustomCheckBox {
public:
    explicit TCheckBox(TComponent* AOwner) : TCustomCheckBox(AOwner) {}
    AnsiString ClassName() const override { return "TCheckBox"; }
};

// ---- edit ----------------------------------------------------------------------------

enum class TEditCharCase : std::uint8_t { ecNormal, ecUpperCase, ecLowerCase };
using enum TEditCharCase;

class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* AOwner);
    AnsiString ClassName() const override { return "TCustomEdit"; }

    // 0: no limit.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    // '\0': the text shows as typed.
    char PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase Value);
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool Value) { FAutoSelect = Value; }
    bool Modified() const;
    void SetModified(bool Value);
    // bsSingle draws the edit's frame, bsNone leaves it out (an edit laid
    // over something that frames it already).
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);

    // The selection, in bytes of the text.
    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    AnsiString SelText() const;
    // Replaces the selection (inserts at the caret when there is none).
    void SetSelText(const AnsiString& Value);
    void SelectAll();
    void ClearSelection();
    void Clear();
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    void Undo();

    // Fires after every change of the text, by the user or by code.
    TNotifyEvent OnChange;

protected:
    QWidget* CreateWidget() override;
    void WidgetCreated() override;
    AnsiString GetText() const override;
    void SetTextValue(const AnsiString& Value) override;
    void TextChanged() override;
    void DefaultHandler(TMessage& Message) override;
    virtual void Change();
    TColor EffectiveBackground() const override { return Color(); }
    void UpdateWidgetColor() override;

private:
    int FMaxLength = 0;
    char FPasswordChar = '\0';
    bool FReadOnly = false;
    TEditCharCase FCharCase = ecNormal;
    bool FAutoSelect = true;
    TFormBorderStyle FBorderStyle{1};
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
    AnsiString ClassName() const override { return "TEdit"; }
};

// ---- memo ---------------------------------------------------------------------------

enum class TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
using enum TScrollStyle;

class TCustomMemo : public TWinControl {
public:
    explicit TCustomMemo(TComponent* AOwner);
    ~TCustomMemo() override;
    AnsiString ClassName() const override { return "TCustomMemo"; }

    // The lines of the text. Writing line 0 of an empty memo makes it.
    TStrings* Lines() const { return FLines.get(); }
    void SetLines(TStrings* Value);

    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool Value) { FWantReturns = Value; }
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value) { FMaxLength = Value; }
    void Clear();

    TNotifyEvent OnChange;

protected:
    QWidget* CreateWidget() override;
    void WidgetCreated() override;
    AnsiString GetText() const override;
    void SetTextValue(const AnsiString& Value) override;
    void TextChanged() override;
    virtual void Change();
    void UpdateWidgetColor() override;
    bool WantsKey(Word Key) const override { return Key == VK_RETURN && FWantReturns; }

private:
    friend class TMemoStrings;
    std::unique_ptr<TStrings> FLines;
    TScrollStyle FScrollBars = ssNone;
    int FMaxLength = 0;
    bool FReadOnly = false;
    bool FWordWrap = true;
    bool FWantReturns = true;
};

class TMemo : public TCustomMemo {
public:
    explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
    AnsiString ClassName() const override { return "TMemo"; }
};

// ---- combo box -------------------------------------------------------------------------

enum class TComboBoxStyle : std::uint8_t {
    csDropDown,
    csSimple,
    csDropDownList,
    csOwnerDrawFixed,
    csOwnerDrawVariable
};
using enum TComboBoxStyle;

class TCustomComboBox : public TWinControl {
public:
    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;
    AnsiString ClassName() const override { return "TCustomComboBox"; }

    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* Value);
    // Setting it in code fires no event; -1 for no item.
    int ItemIndex() const;
    void SetItemIndex(int Value);
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle Value);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value);
    bool DroppedDown() const;
    void SetDroppedDown(bool Value);
    void Clear();

    // The user chose an item or typed in the edit part.
    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;

protected:
    QWidget* CreateWidget() override;
    void WidgetCreated() override;
    AnsiString GetText() const override;
    void SetTextValue(const AnsiString& Value) override;
    virtual void Change();
    virtual void Select();
    void UpdateWidgetColor() override;

private:
    friend class TComboBoxStrings;
    std::unique_ptr<TStrings> FItems;
    TComboBoxStyle FStyle = csDropDown;
    int FDropDownCount = 8;
};

class TComboBox : public TCustomComboBox {
public:
    explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
    AnsiString ClassName() const override { return "TComboBox"; }
};

// ---- group box ----------------------------------------------------------------------------

class TCustomGroupBox : public TWinControl {
public:
    explicit TCustomGroupBox(TComponent* AOwner);
    AnsiString ClassName() const override { return "TCustomGroupBox"; }

protected:
    QWidget* CreateWidget() override;
    void SetTextValue(const AnsiString& Value) override;
    // Children align within the frame, below the caption.
    void AdjustClientRect(TRect& Rect) const override;
};

class TGroupBox : public TCustomGroupBox {
public:
    explicit TGroupBox(TComponent* AOwner) : TCustomGroupBox(AOwner) {}
    AnsiString ClassName() const override { return "TGroupBox"; }
};

// ---- scroll bar ---------------------------------------------------------------------------

enum class TScrollBarKind : std::uint8_t { sbHorizontal, sbVertical };
using enum TScrollBarKind;

enum class TScrollCode : std::uint8_t {
    scLineUp,
    scLineDown,
    scPageUp,
    scPageDown,
    scPosition,
    scTrack,
    scTop,
    scBottom,
    scEndScroll
};
using enum TScrollCode;

using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

class TScrollBar : public TWinControl {
public:
    explicit TScrollBar(TComponent* AOwner);
    AnsiString ClassName() const override { return "TScrollBar"; }

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind Value);
    int Min() const { return FMin; }
    int Max() const { return FMax; }
    int Position() const { return FPosition; }
    void SetMin(int Value) { SetParams(FPosition, Value, FMax); }
    void SetMax(int Value) { SetParams(FPosition, FMin, Value); }
    // Kept within Min..Max; a change fires OnChange.
    void SetPosition(int Value) { SetParams(Value, FMin, FMax); }
    // Raises EInvalidOperation "Scroll bar property out of range" when
    // AMax is below AMin.
    void SetParams(int APosition, int AMin, int AMax);
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int Value);
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int Value);
    int PageSize() const { return FPageSize; }
    void SetPageSize(int Value);

    TNotifyEvent OnChange;
    // The user scrolled; the handler may change the position to take.
    TScrollEvent OnScroll;

protected:
    QWidget* CreateWidget() override;
    void WidgetCreated() override;
    virtual void Change();
    virtual void Scroll(TScrollCode ScrollCode, int& ScrollPos);

private:
    void ApplyRange();
    void UserScrolled(TScrollCode Code, int Pos);

    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FSmallChange = 1;
    int FLargeChange = 1;
    int FPageSize = 0;
    bool FApplying = false;
};
