#pragma once
// More controls: the panel, the image, the radio group, and the timer.
#include "platform/gui/Controls.h"
#include "platform/gui/CustomControl.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/TimerService.h"
#include "platform/rtl/StringList.h"

#include <exception>
#include <memory>

// ---- panel --------------------------------------------------------------------------

enum class TBevelCut : std::uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
using enum TBevelCut;

class TCustomPanel : public TWinControl {
public:
    explicit TCustomPanel(TComponent* AOwner);
    AnsiString ClassName() const override { return "TCustomPanel"; }

    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut Value);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut Value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);
    // The caption's place in the panel.
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);

protected:
    QWidget* CreateWidget() override;
    void SetTextValue(const AnsiString& Value) override;
    // Children align inside the bevels.
    void AdjustClientRect(TRect& Rect) const override;

private:
    friend class TPanelWidget;
    void UpdateFrame();

    TBevelCut FBevelOuter = bvRaised;
    TBevelCut FBevelInner = bvNone;
    int FBevelWidth = 1;
    TAlignment FAlignment = taCenter;
};

class TPanel : public TCustomPanel {
public:
    explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
    AnsiString ClassName() const override { return "TPanel"; }
};

// ---- image ----------------------------------------------------------------------------

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;
    AnsiString ClassName() const override { return "TImage"; }

    TPicture* Picture() const { return FPicture.get(); }
    void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
    // Stretch fills the control with the picture; Center centres an
    // unstretched one; Proportional keeps the picture's shape when it is
    // fitted into the control.
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value);
    bool Center() const { return FCenter; }
    void SetCenter(bool Value);
    bool Proportional() const { return FProportional; }
    void SetProportional(bool Value);
    // Draws a bitmap picture without its transparent colour.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    // With AutoSize the control takes the picture's size.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);

    // The rectangle the picture is drawn into, in client coordinates.
    TRect DestRect() const;

protected:
    void Paint() override;

private:
    void PictureChanged();

    std::unique_ptr<TPicture> FPicture;
    bool FStretch = false;
    bool FCenter = false;
    bool FProportional = false;
    bool FTransparent = false;
    bool FAutoSize = false;
};

// ---- radio group -------------------------------------------------------------------------

class TCustomRadioGroup : public TWinControl {
public:
    explicit TCustomRadioGroup(TComponent* AOwner);
    ~TCustomRadioGroup() override;
    AnsiString ClassName() const override { return "TCustomRadioGroup"; }

    // One radio button per item.
    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* Value) { FItems->Assign(Value); }
    // The chosen item, -1 for none. A change fires OnClick, from code as
    // from the user.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    int Columns() const { return FColumns; }
    // Raises EInvalidOperation "Value must be between 1 and 16" outside 1..16.
    void SetColumns(int Value);

    bool CanFocus() const override;
    void SetFocus() override;

protected:
    QWidget* CreateWidget() override;
    void WidgetCreated() override;
    void SetTextValue(const AnsiString& Value) override;
    void Resize() override;
    void FontChanged() override;

private:
    struct TQt;
    void ItemsChanged();
    void ArrangeButtons();
    void UpdateChecks();
    void ButtonClicked(int Index);

    std::unique_ptr<TStringList> FItems;
    std::unique_ptr<TQt> FQt;
    int FItemIndex = -1;
    int FColumns = 1;
};

class TRadioGroup : public TCustomRadioGroup {
public:
    explicit TRadioGroup(TComponent* AOwner) : TCustomRadioGroup(AOwner) {}
    AnsiString ClassName() const override { return "TRadioGroup"; }
};

// ---- timer -----------------------------------------------------------------------------------

// Fires OnTimer every Interval milliseconds while Enabled. Setting a
// different Interval, or enabling it, starts the countdown afresh; an equal
// Interval leaves the running countdown alone. A tick that falls due while
// OnTimer still runs (its handler showing a box, say) is dropped, not
// queued; an exception from OnTimer is shown by the application after the
// handler has ended, and the timer keeps running.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;
    AnsiString ClassName() const override { return "TTimer"; }

    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);

    TNotifyEvent OnTimer;

protected:
    virtual void Timer();

private:
    void UpdateTimer();
    void Tick();

    std::shared_ptr<bool> FAlive;
    // The service the running countdown is on.
    ITimerService* FService = nullptr;
    unsigned FInterval = 1000;
    int FTimerId = 0;
    bool FEnabled = true;
    bool FInTick = false;
};
