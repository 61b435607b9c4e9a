#pragma once
// Common controls: the date-time picker and the progress bar.
#include "platform/gui/Controls.h"
#include "platform/rtl/TDateTime.h"

enum class TDateTimeKind : std::uint8_t { dtkDate, dtkTime };
using enum TDateTimeKind;

enum class TDTDateMode : std::uint8_t { dmComboBox, dmUpDown };
using enum TDTDateMode;

// The header every WM_NOTIFY carries (LParam points at it): the window it
// comes from and what happened.
struct NMHDR {
    HWND hwndFrom = nullptr;
    std::uintptr_t idFrom = 0;
    unsigned code = 0;
};

// A step of an up-down arrow is about to happen: the position before it and
// the step. A receiver may change the step; a non-zero result stops it.
inline constexpr unsigned UDN_FIRST = 0u - 721u;
inline constexpr unsigned UDN_DELTAPOS = UDN_FIRST - 1u;

struct NMUPDOWN {
    NMHDR hdr;
    int iPos = 0;
    int iDelta = 0;
};

class TDateTimePicker : public TWinControl {
public:
    explicit TDateTimePicker(TComponent* AOwner);
    AnsiString ClassName() const override { return "TDateTimePicker"; }

    TDateTimeKind Kind() const { return FKind; }
    void SetKind(TDateTimeKind Value);
    TDTDateMode DateMode() const { return FDateMode; }
    void SetDateMode(TDTDateMode Value);
    // Whether typed text is handed to the program to interpret; the
    // picker itself only takes its own fields.
    bool ParseInput() const { return FParseInput; }
    void SetParseInput(bool Value) { FParseInput = Value; }

    // Setting the value in code fires no OnChange; the operator's change does.
    // Each step of the picker's up-down arrows (arrow keys, Page Up/Down,
    // the held arrow button) is first offered to the picker's WindowProc as
    // WM_NOTIFY with UDN_DELTAPOS; the step taken is the iDelta left there.
    // Fields wrap within their range (minute 59 steps up to 0, the hour
    // unchanged), as the native picker's do.
    TDateTime DateTime() const { return FDateTime; }
    virtual void SetDateTime(TDateTime Value);
    // The date part (the time kept) and the time part (the date kept).
    TDateTime Date() const;
    void SetDate(TDateTime Value);
    TDateTime Time() const;
    void SetTime(TDateTime Value);

    TNotifyEvent OnChange;

protected:
    QWidget* CreateWidget() override;
    void WidgetCreated() override;
    virtual void Change();
    void UpdateWidgetColor() override;

private:
    void ApplyValue();
    void ApplyKind();
    void UserChanged();

    TDateTime FDateTime;
    TDateTimeKind FKind = dtkDate;
    TDTDateMode FDateMode = dmComboBox;
    bool FParseInput = false;
    bool FApplying = false;
};

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* AOwner);
    AnsiString ClassName() const override { return "TProgressBar"; }

    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);
    // Kept within Min..Max.
    int Position() const { return FPosition; }
    void SetPosition(int Value);
    int Step() const { return FStep; }
    void SetStep(int Value) { FStep = Value; }
    void StepIt() { StepBy(FStep); }
    // Past Max the position starts again from Min.
    void StepBy(int Delta);

protected:
    QWidget* CreateWidget() override;
    void WidgetCreated() override;

private:
    void Apply();

    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FStep = 10;
};
