#pragma once
// Common controls: the date-time picker and the progress bar.
#include "platform/gui/Controls.h"
#include "platform/rtl/TDateTime.h"

enum class TDateTimeKind : std::uint8_t { dtkDate, dtkTime };
using enum TDateTimeKind;

enum class TDTDateMode : std::uint8_t { dmComboBox, dmUpDown };
using enum TDTDateMode;

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
    TDateTime DateTime() const { return FDateTime; }
    void SetDateTime(TDateTime Value);
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
