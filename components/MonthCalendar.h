#pragma once
// TPWCalendar: one month as a grid of day numbers under a row of weekday
// names, the month's name above and a scroll bar beside it that steps
// through the months from January 1990 to December 2049. Days are picked
// with the mouse or the arrow keys; with MultiSelect a run of days (and,
// with HeadingSelect, whole weekday columns) can be marked.
#include "platform/gui/Controls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Graphics.h"
#include "grid/foundation/StringGrid.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/TDateTime.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

namespace components {

enum class DayOfWeek_t : std::uint8_t { Sun, Mon, Tue, Wed, Thu, Fri, Sat };

// "Sun" .. "Sat", indexed by DayOfWeek_t.
extern const std::array<const char*, 7> DayOfWeekNames;

using TDateChangeEvent = std::function<void(TObject* Sender, TDateTime NewDate)>;

class TPWCalendar : public TWinControl {
public:
    static constexpr int CalendarWidth = 221;
    static constexpr int CalendarHeight = 203;
    // Scroll positions count months: year * 12 + month - 1.
    static constexpr int FirstMonth = 1990 * 12;
    static constexpr int LastMonth = 2049 * 12 + 11;
    static constexpr int CellModeCount = 5;

    explicit TPWCalendar(TComponent* AOwner);
    ~TPWCalendar() override;
    AnsiString ClassName() const override { return "TPWCalendar"; }

    // The date as "m/d/yyyy". Setting reads the text with the process-wide
    // date format; a text that isn't a date (or lies outside the months the
    // scroll bar covers) shows "Invalid date" and changes nothing.
    AnsiString GetDate() const;
    void SetDate(const AnsiString& Value);
    TDateTime DateValue() const { return FDate; }

    int Day() const { return FDay; }
    void SetDay(int Value);
    int Month() const { return FMonth; }
    void SetMonth(int Value);
    int Year() const { return FYear; }
    void SetYear(int Value);

    // FormatDateTime pattern of the month caption.
    const AnsiString& DateFormat() const { return FDateFormat; }
    void SetDateFormat(const AnsiString& Value);

    DayOfWeek_t StartOfWeek() const { return FStartOfWeek; }
    void SetStartOfWeek(DayOfWeek_t Value);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool Value) { FMultiSelect = Value; }
    bool HeadingSelect() const { return FHeadingSelect; }
    void SetHeadingSelect(bool Value) { FHeadingSelect = Value; }

    // The date of a day cell; the heading row or an empty cell raises
    // "Cell does not contain a date".
    TDateTime GetCellDate(int ACol, int ARow) const;
    bool IsCellEmpty(int ACol, int ARow) const;
    TDateTime GetFocusDate() const { return GetCellDate(FFocusCol, FFocusRow); }
    int FocusCol() const { return FFocusCol; }
    int FocusRow() const { return FFocusRow; }
    bool IsCellSelected(int ACol, int ARow) const;

    // Which of the five cell patterns a day cell is painted with.
    int GetCellMode(int ACol, int ARow) const;
    void SetCellMode(int ACol, int ARow, int Mode);

    void ClearSelection();
    // Walk over the selected day cells in row-major order; false when no
    // (further) selected day is left.
    bool GetFirstSelectedDate(TDateTime& Date);
    bool GetNextSelectedDate(TDateTime& Date);
    // The first and last selected date; 0 when nothing is selected.
    TDateTime GetStartDate();
    TDateTime GetEndDate();

    static int DaysInMonth(int AYear, int AMonth);
    static void DecodeDate(TDateTime Date, int& AYear, int& AMonth, int& ADay);

    // Focus and tab stop belong to the day grid.
    void SetFocus() override;
    bool Focused() const override;
    bool GetTabStop() const;
    void SetTabStop(bool Value);

    // While designed the calendar keeps its own size.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // Shows today and marks the focus cell.
    void Loaded() override;

    TPanel* Panel() const { return FPanel; }
    TLabel* Label() const { return FLabel; }
    grid::TStringGrid_ts* StringGrid() const { return FStringGrid; }
    TScrollBar* VertScrollBar() const { return FScrollBar; }
    TBitmap* Pattern(int Mode) const;

    TDateChangeEvent OnDateChange;

private:
    struct TCellState {
        bool Selected = false;
        std::uint8_t Mode = 0;
    };

    static int CellIndex(int ACol, int ARow) { return ARow * 7 + ACol; }
    TCellState& Cell(int ACol, int ARow);
    const TCellState& Cell(int ACol, int ARow) const;
    bool HasText(int ACol, int ARow) const;
    void CheckCell(int ACol, int ARow) const;
    // An encodable date within the scroll bar's months; else the
    // "Invalid date" box and false.
    bool AcceptDate(int AYear, int AMonth, int ADay, TDateTime& Date) const;
    void ShowInvalidDate() const;
    // Takes a date as SetDate does once the text is read.
    void AssignDate(TDateTime Value);

    void MakePatterns();
    void DateChange();
    void Rebuild();
    void MarkFocusCell();
    void RecomputeSelection();
    void SetDateFromCell(int ACol, int ARow);
    int SearchRow(int ACol, int From, int Step, int Edge) const;

    void ScrollChange(TObject* Sender);
    void GridMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void GridMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void GridMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void GridKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    void MoveFocus(Word Key, bool Ctrl, bool& Handled);
    void MoveSelectionEnd(Word Key, bool Ctrl, bool& Handled);
    void GridDrawCell(TObject* Sender, int ACol, int ARow, TRect Rect,
                      grid::TGridDrawState State);

    std::array<std::unique_ptr<TBitmap>, CellModeCount> FPatterns;
    // The patterns with their colours inverted, for selected cells.
    std::array<std::unique_ptr<TBitmap>, CellModeCount> FInvertedPatterns;
    TPanel* FPanel = nullptr;
    TLabel* FLabel = nullptr;
    grid::TStringGrid_ts* FStringGrid = nullptr;
    TScrollBar* FScrollBar = nullptr;
    TDateTime FDate = 0;
    int FDay = 0;
    int FMonth = 0;
    int FYear = 0;
    AnsiString FDateFormat = "mmmm yyyy";
    std::array<TCellState, 49> FCells{};
    DayOfWeek_t FStartOfWeek = DayOfWeek_t::Sun;
    bool FMultiSelect = false;
    bool FHeadingSelect = false;
    bool FDragging = false;
    // AssignDate is moving the scroll bar to the date's month.
    bool FAssigningDate = false;
    int FFocusCol = 0;
    int FFocusRow = 1;
    int FSelEndCol = 0;
    int FSelEndRow = 1;
    int FCursorCol = 0;
    int FCursorRow = 1;
};

} // namespace components
