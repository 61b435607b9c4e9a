#include "grid/view/DateTimeDropDownCalendar.h"

#include "platform/classes/Publish.h"
#include "platform/gui/Colors.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"

#include <cmath>

namespace grid {

namespace {

constexpr int TitleRows = 2; // the month and the day names

TDateTime FirstOfMonth(TDateTime Day) {
    Word Y = 0, M = 0, D = 0;
    DecodeDate(Day, Y, M, D);
    return EncodeDate(Y, M, 1);
}

} // namespace

TgxMonthCalendar::TgxMonthCalendar(TComponent* AOwner) : TCustomControl(AOwner) {
    SetBounds(0, 0, 7 * CellWidth, (TitleRows + 6) * CellHeight);
    SetDate(::Date());
}

void TgxMonthCalendar::SetDate(TDateTime Value) {
    FDate = std::floor(Value);
    FMonth = FirstOfMonth(FDate);
    Invalidate();
}

void TgxMonthCalendar::ShowMonth(int Year, int Month) {
    FMonth = EncodeDate(Year, Month, 1);
    Invalidate();
}

int TgxMonthCalendar::FirstColumn() const {
    return DayOfWeek(FMonth) - 1;
}

bool TgxMonthCalendar::DayAt(int X, int Y, TDateTime& Day) const {
    if (X < 0 || Y < TitleRows * CellHeight || X >= 7 * CellWidth) return false;
    const int Row = Y / CellHeight - TitleRows;
    const int Col = X / CellWidth;
    if (Row >= 6) return false;
    const int Index = Row * 7 + Col - FirstColumn();
    if (Index < 0 || Index >= DaysInMonth(FMonth)) return false;
    Day = FMonth + Index;
    return true;
}

TRect TgxMonthCalendar::DayRect(TDateTime Day) const {
    const int Index = static_cast<int>(std::floor(Day) - FMonth);
    if (Index < 0 || Index >= DaysInMonth(FMonth)) return TRect();
    const int Cell = Index + FirstColumn();
    const int Left = (Cell % 7) * CellWidth;
    const int Top = (Cell / 7 + TitleRows) * CellHeight;
    return TRect{Left, Top, Left + CellWidth, Top + CellHeight};
}

void TgxMonthCalendar::Paint() {
    TCanvas* C = Canvas();
    C->Brush()->SetColor(clWindow);
    C->FillRect(ClientRect());
    C->Font()->Assign(Font());
    Word Y = 0, M = 0, D = 0;
    DecodeDate(FMonth, Y, M, D);
    const AnsiString Title =
        FormatSettings().LongMonthNames[M - 1] + " " + std::to_string(static_cast<int>(Y));
    C->TextOut((Width() - C->TextWidth(Title)) / 2, 2, Title);
    C->TextOut(4, 2, "<");
    C->TextOut(Width() - 4 - C->TextWidth(">"), 2, ">");
    for (int Col = 0; Col < 7; ++Col) {
        const AnsiString Name = FormatSettings().ShortDayNames[Col].substr(0, 2);
        C->TextOut(Col * CellWidth + (CellWidth - C->TextWidth(Name)) / 2, CellHeight + 2, Name);
    }
    for (int I = 0; I < DaysInMonth(FMonth); ++I) {
        const TRect R = DayRect(FMonth + I);
        const bool Marked = FMonth + I == FDate;
        if (Marked) {
            C->Brush()->SetColor(clHighlight);
            C->FillRect(R);
        }
        C->Font()->SetColor(Marked ? clHighlightText : clWindowText);
        const AnsiString Text = std::to_string(I + 1);
        C->TextOut(R.Left + (CellWidth - C->TextWidth(Text)) / 2, R.Top + 2, Text);
        if (Marked) C->Brush()->SetColor(clWindow);
    }
}

void TgxMonthCalendar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    if (Y < CellHeight) {
        // The title: its left third goes back a month, its right third on.
        if (X < Width() / 3) FMonth = IncMonth(FMonth, -1);
        if (X >= Width() * 2 / 3) FMonth = IncMonth(FMonth, 1);
        Invalidate();
        return;
    }
    TDateTime Day = 0;
    if (!DayAt(X, Y, Day)) return;
    SetDate(Day);
    Pick();
}

void TgxMonthCalendar::KeyDown(Word& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    switch (Key) {
    case VK_LEFT:
        SetDate(FDate - 1);
        break;
    case VK_RIGHT:
        SetDate(FDate + 1);
        break;
    case VK_UP:
        SetDate(FDate - 7);
        break;
    case VK_DOWN:
        SetDate(FDate + 7);
        break;
    case VK_PRIOR:
        SetDate(IncMonth(FDate, -1));
        break;
    case VK_NEXT:
        SetDate(IncMonth(FDate, 1));
        break;
    case VK_RETURN:
        Pick();
        break;
    case VK_ESCAPE:
        if (OnCancel) OnCancel(this);
        break;
    default:
        return;
    }
    Key = 0;
}

void TgxMonthCalendar::Pick() {
    if (OnSelect) OnSelect(this);
}

// ---- the definition -------------------------------------------------------------------------

TgxCalendarDateTimeDef::TgxCalendarDateTimeDef(TComponent* AOwner)
    : TgxDateTimeDefComponent(AOwner), FCalendar(new TgxMonthCalendar(this)) {
    FCalendar->OnSelect = [this](TObject*) { DayPicked(); };
    FCalendar->OnCancel = [this](TObject*) {
        if (FOnCancel) FOnCancel(this);
    };
}

TWinControl* TgxCalendarDateTimeDef::GetControl() const {
    return FCalendar;
}

void TgxCalendarDateTimeDef::Assign(TPersistent* Source) {
    if (auto* From = dynamic_cast<TgxCalendarDateTimeDef*>(Source)) {
        FDisplay = From->FDisplay;
        FPopupForm = From->FPopupForm;
        return;
    }
    TgxDateTimeDefComponent::Assign(Source);
}

void TgxCalendarDateTimeDef::InitializeDisplay() {
    TDateTime Day = ::Date();
    if (!FDateTime.IsEmpty() && !FDateTime.IsNull()) Day = FDateTime.AsDateTime();
    FCalendar->SetDate(Day);
}

void TgxCalendarDateTimeDef::InitializeFocus() {
    if (FPopupForm && FCalendar->CanFocus()) FCalendar->SetFocus();
}

void TgxCalendarDateTimeDef::DayPicked() {
    double Time = 0;
    if (!FDateTime.IsEmpty() && !FDateTime.IsNull()) {
        const double Old = FDateTime.AsDateTime();
        Time = Old - std::floor(Old);
    }
    FDateTime = Variant(TDateTime(FCalendar->Date() + Time));
    if (FOnSelect) FOnSelect(this);
}

namespace {

const TPublished<TgxCalendarDateTimeDef, TComponent> CalendarDefClass("TgxCalendarDateTimeDef",
                                                                      [](auto&) {});

} // namespace

} // namespace grid
