#include "components/MonthCalendar.h"

#include "platform/classes/Publish.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/PublishedProps.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/DateTimeFormat.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/Format.h"

#include <algorithm>

namespace components {

const std::array<const char*, 7> DayOfWeekNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

namespace {

constexpr int Columns = 7;
constexpr int Rows = 7;
constexpr int PatternSize = 8;
constexpr const char* NoDateMessage = "Cell does not contain a date";

} // namespace

TPWCalendar::TPWCalendar(TComponent* AOwner) : TWinControl(AOwner) {
    MakePatterns();
    TWinControl::SetBounds(Left(), Top(), CalendarWidth, CalendarHeight);

    FPanel = new TPanel(this);
    FPanel->SetName("Panel");
    FPanel->SetParent(this);
    FPanel->SetCaption("");
    FPanel->SetBounds(0, 0, CalendarWidth, CalendarHeight);
    FPanel->SetBevelOuter(bvLowered);
    FPanel->SetAnchors({akLeft, akTop, akRight, akBottom});
    FPanel->SetTabOrder(0);

    FLabel = new TLabel(this);
    FLabel->SetName("Label");
    FLabel->SetParent(FPanel);
    FLabel->SetAutoSize(false);
    FLabel->SetBounds(3, 2, 197, 15);
    FLabel->SetAlignment(taCenter);
    FLabel->SetCaption("");
    FLabel->Font()->SetName("Arial");
    FLabel->SetAnchors({akLeft, akTop, akRight});

    FStringGrid = new grid::TStringGrid_ts(this);
    FStringGrid->SetName("StringGrid");
    // Every cell shows at once: nothing to scroll.
    FStringGrid->SetScrollBars(ssNone);
    FStringGrid->SetParent(FPanel);
    FStringGrid->SetBounds(3, 17, 197, 183);
    FStringGrid->SetColCount(Columns);
    FStringGrid->SetRowCount(Rows);
    FStringGrid->SetFixedCols(0);
    FStringGrid->SetFixedRows(0);
    FStringGrid->SetDefaultColWidth(27);
    FStringGrid->SetDefaultRowHeight(27);
    FStringGrid->SetRowHeights(0, 13);
    FStringGrid->SetDefaultDrawing(false);
    FStringGrid->SetCtl3D(false);
    FStringGrid->SetTabStop(true);
    FStringGrid->SetTabOrder(1);
    FStringGrid->SetAnchors({akLeft, akTop, akRight, akBottom});
    FStringGrid->OnDrawCell = [this](TObject* Sender, int ACol, int ARow, TRect Rect,
                                     grid::TGridDrawState State) {
        GridDrawCell(Sender, ACol, ARow, Rect, State);
    };
    FStringGrid->OnMouseDown = [this](TObject* Sender, TMouseButton Button, TShiftState Shift,
                                      int X, int Y) { GridMouseDown(Sender, Button, Shift, X, Y); };
    FStringGrid->OnMouseMove = [this](TObject* Sender, TShiftState Shift, int X, int Y) {
        GridMouseMove(Sender, Shift, X, Y);
    };
    FStringGrid->OnMouseUp = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                                    int Y) { GridMouseUp(Sender, Button, Shift, X, Y); };
    FStringGrid->OnKeyDown = [this](TObject* Sender, Word& Key, TShiftState Shift) {
        GridKeyDown(Sender, Key, Shift);
    };

    FScrollBar = new TScrollBar(this);
    FScrollBar->SetName("VertScrollBar");
    FScrollBar->SetParent(FPanel);
    FScrollBar->SetKind(sbVertical);
    FScrollBar->SetBounds(202, 3, 16, 197);
    FScrollBar->SetPageSize(0);
    FScrollBar->SetTabStop(false);
    FScrollBar->SetTabOrder(2);
    FScrollBar->SetAnchors({akTop, akRight, akBottom});
    FScrollBar->SetParams(FirstMonth, FirstMonth, LastMonth);
    FScrollBar->SetSmallChange(1);
    FScrollBar->SetLargeChange(12);
    FScrollBar->OnChange = [this](TObject* Sender) { ScrollChange(Sender); };

    Loaded();
}

TPWCalendar::~TPWCalendar() = default;

void TPWCalendar::MakePatterns() {
    for (int Mode = 0; Mode < CellModeCount; ++Mode) {
        auto Bitmap = std::make_unique<TBitmap>();
        Bitmap->SetPixelFormat(pf24bit);
        Bitmap->SetSize(PatternSize, PatternSize);
        TCanvas* C = Bitmap->Canvas();
        for (int Y = 0; Y < PatternSize; ++Y)
            for (int X = 0; X < PatternSize; ++X) {
                TColor Colour = clWhite;
                switch (Mode) {
                case 0:
                    // Only the left half is painted; the rest stays as a new
                    // bitmap comes, which is white here as well.
                    if (X >= 4) continue;
                    break;
                case 1:
                    Colour = (X % 2 == Y % 2) ? clSilver : clWhite;
                    break;
                default: {
                    static constexpr TColor LineColours[] = {clSilver, clLime, clRed};
                    if ((X + 7 * Y + 1) % 4 == 0) Colour = LineColours[Mode - 2];
                }
                }
                C->SetPixels(X, Y, Colour);
            }
        auto Inverted = std::make_unique<TBitmap>();
        Inverted->Assign(Bitmap.get());
        TCanvas* IC = Inverted->Canvas();
        for (int Y = 0; Y < PatternSize; ++Y)
            for (int X = 0; X < PatternSize; ++X)
                IC->SetPixels(X, Y, ColorToRGB(C->Pixels(X, Y)) ^ 0xFFFFFF);
        FPatterns[Mode] = std::move(Bitmap);
        FInvertedPatterns[Mode] = std::move(Inverted);
    }
}

TBitmap* TPWCalendar::Pattern(int Mode) const {
    if (Mode < 0 || Mode >= CellModeCount) throw ERangeError(Format("Invalid cell mode: %d", Mode));
    return FPatterns[Mode].get();
}

// ---- cells ----------------------------------------------------------------------

void TPWCalendar::CheckCell(int ACol, int ARow) const {
    if (ACol < 0 || ACol >= Columns || ARow < 0 || ARow >= Rows)
        throw ERangeError(Format("Calendar cell out of range: column %d, row %d", ACol, ARow));
}

TPWCalendar::TCellState& TPWCalendar::Cell(int ACol, int ARow) {
    CheckCell(ACol, ARow);
    return FCells[CellIndex(ACol, ARow)];
}

const TPWCalendar::TCellState& TPWCalendar::Cell(int ACol, int ARow) const {
    CheckCell(ACol, ARow);
    return FCells[CellIndex(ACol, ARow)];
}

bool TPWCalendar::HasText(int ACol, int ARow) const {
    return ACol >= 0 && ACol < Columns && ARow >= 0 && ARow < Rows &&
           !FStringGrid->Cells(ACol, ARow).empty();
}

bool TPWCalendar::IsCellSelected(int ACol, int ARow) const {
    return Cell(ACol, ARow).Selected;
}

TDateTime TPWCalendar::GetCellDate(int ACol, int ARow) const {
    if (ARow < 1 || !HasText(ACol, ARow)) throw Exception(NoDateMessage);
    return EncodeDate(FYear, FMonth, std::stoi(FStringGrid->Cells(ACol, ARow)));
}

bool TPWCalendar::IsCellEmpty(int ACol, int ARow) const {
    try {
        GetCellDate(ACol, ARow);
        return false;
    } catch (const Exception&) {
        return true;
    }
}

int TPWCalendar::GetCellMode(int ACol, int ARow) const {
    return Cell(ACol, ARow).Mode;
}

void TPWCalendar::SetCellMode(int ACol, int ARow, int Mode) {
    if (Mode < 0 || Mode >= CellModeCount) throw ERangeError(Format("Invalid cell mode: %d", Mode));
    Cell(ACol, ARow).Mode = static_cast<std::uint8_t>(Mode);
    FStringGrid->Invalidate();
}

void TPWCalendar::ClearSelection() {
    for (TCellState& C : FCells)
        C.Selected = false;
    FStringGrid->Invalidate();
}

// ---- dates ----------------------------------------------------------------------

int TPWCalendar::DaysInMonth(int AYear, int AMonth) {
    static constexpr int Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (AMonth < 1 || AMonth > 12) throw ERangeError(Format("Invalid month: %d", AMonth));
    return Days[AMonth - 1] + (AMonth == 2 && IsLeapYear(AYear) ? 1 : 0);
}

void TPWCalendar::DecodeDate(TDateTime Date, int& AYear, int& AMonth, int& ADay) {
    Word Y = 0;
    Word M = 0;
    Word D = 0;
    ::DecodeDate(Date, Y, M, D);
    AYear = Y;
    AMonth = M;
    ADay = D;
}

void TPWCalendar::ShowInvalidDate() const {
    MessageBox(nullptr, "Invalid date", "Error", MB_ICONSTOP);
}

// The scroll bar can't show a month outside its range, and the day cells
// would then disagree with it; such dates are refused like impossible ones.
bool TPWCalendar::AcceptDate(int AYear, int AMonth, int ADay, TDateTime& Date) const {
    const int Position = AYear * 12 + AMonth - 1;
    if (!TryEncodeDate(AYear, AMonth, ADay, Date) || Position < FirstMonth ||
        Position > LastMonth) {
        ShowInvalidDate();
        return false;
    }
    return true;
}

AnsiString TPWCalendar::GetDate() const {
    return FormatDateTime("m/d/yyyy", FDate);
}

void TPWCalendar::SetDate(const AnsiString& Value) {
    TDateTime NewDate;
    if (!TryStrToDateTime(Value, NewDate)) {
        ShowInvalidDate();
        return;
    }
    AssignDate(NewDate);
}

void TPWCalendar::AssignDate(TDateTime Value) {
    int Y = 0;
    int M = 0;
    int D = 0;
    DecodeDate(Value, Y, M, D);
    TDateTime Checked;
    if (!AcceptDate(Y, M, D, Checked)) return;
    FDate = Value;
    FYear = Y;
    FMonth = M;
    FDay = D;
    // The scroll bar's change would run the date change for a new month
    // as well; the date is already taken, so it is run once, here.
    FAssigningDate = true;
    try {
        FScrollBar->SetPosition(FYear * 12 + FMonth - 1);
    } catch (...) {
        FAssigningDate = false;
        throw;
    }
    FAssigningDate = false;
    DateChange();
}

void TPWCalendar::SetDay(int Value) {
    TDateTime NewDate;
    if (!AcceptDate(FYear, FMonth, Value, NewDate)) return;
    if (Value == FDay) return;
    FDay = Value;
    FDate = NewDate;
    DateChange();
}

void TPWCalendar::SetMonth(int Value) {
    TDateTime NewDate;
    if (!AcceptDate(FYear, Value, FDay, NewDate)) return;
    if (Value == FMonth) return;
    FMonth = Value;
    FScrollBar->SetPosition(FYear * 12 + FMonth - 1);
}

void TPWCalendar::SetYear(int Value) {
    TDateTime NewDate;
    if (!AcceptDate(Value, FMonth, FDay, NewDate)) return;
    if (Value == FYear) return;
    FYear = Value;
    FScrollBar->SetPosition(FYear * 12 + FMonth - 1);
}

void TPWCalendar::SetDateFormat(const AnsiString& Value) {
    FDateFormat = Value;
    FLabel->SetCaption(FormatDateTime(FDateFormat, FDate));
}

void TPWCalendar::SetStartOfWeek(DayOfWeek_t Value) {
    if (Value == FStartOfWeek) return;
    FStartOfWeek = Value;
    // The days move to other cells: the focus and the selection follow the
    // date instead of staying on a cell that now holds another day.
    ClearSelection();
    Rebuild();
    MarkFocusCell();
}

void TPWCalendar::DateChange() {
    FLabel->SetCaption(FormatDateTime(FDateFormat, FDate));
    ClearSelection();
    Rebuild();
    MarkFocusCell();
    if (OnDateChange) OnDateChange(this, FDate);
}

void TPWCalendar::Rebuild() {
    const int Start = static_cast<int>(FStartOfWeek);
    for (int C = 0; C < Columns; ++C)
        FStringGrid->SetCells(C, 0, DayOfWeekNames[(Start + C) % 7]);
    for (int R = 1; R < Rows; ++R)
        for (int C = 0; C < Columns; ++C)
            FStringGrid->SetCells(C, R, "");
    TDateTime First;
    if (TryEncodeDate(FYear, FMonth, 1, First)) {
        int Index = DayOfWeek(First) - 1 - Start;
        if (Index < 0) Index += 7;
        Index += Columns; // row 1
        const int Last = DaysInMonth(FYear, FMonth);
        for (int D = 1; D <= Last; ++D, ++Index)
            FStringGrid->SetCells(Index % Columns, Index / Columns, IntToStr(D));
    }
    FStringGrid->Invalidate();
}

void TPWCalendar::MarkFocusCell() {
    const AnsiString DayText = IntToStr(FDay);
    for (int R = 1; R < Rows; ++R)
        for (int C = 0; C < Columns; ++C)
            if (FStringGrid->Cells(C, R) == DayText) {
                FFocusCol = FSelEndCol = C;
                FFocusRow = FSelEndRow = R;
                Cell(C, R).Selected = true;
                FStringGrid->Invalidate();
                return;
            }
}

// The cell's date goes in as a value: a round trip through the short date
// format would fail for formats the date reader can't read back.
void TPWCalendar::SetDateFromCell(int ACol, int ARow) {
    AssignDate(GetCellDate(ACol, ARow));
}

void TPWCalendar::ScrollChange(TObject*) {
    if (!FAssigningDate) {
        const int Position = FScrollBar->Position();
        FYear = Position / 12;
        FMonth = Position % 12 + 1;
        const int Last = DaysInMonth(FYear, FMonth);
        if (FDay < 1 || FDay > Last) FDay = Last;
        FDate = EncodeDate(FYear, FMonth, FDay);
        DateChange();
    }
    if (ComponentState().Contains(csDesigning)) return;
    const auto* OwnerControl = dynamic_cast<const TControl*>(Owner());
    if (OwnerControl && OwnerControl->Visible() && FStringGrid->Visible() &&
        FStringGrid->CanFocus() && !FStringGrid->Focused())
        FStringGrid->SetFocus();
}

// ---- selection ------------------------------------------------------------------

void TPWCalendar::RecomputeSelection() {
    if (FFocusRow >= 1 && FSelEndRow >= 1) {
        const int A = CellIndex(FFocusCol, FFocusRow);
        const int B = CellIndex(FSelEndCol, FSelEndRow);
        for (int I = 0; I < Columns * Rows; ++I)
            FCells[I].Selected = I >= std::min(A, B) && I <= std::max(A, B);
    } else if (FFocusRow == 0 && FSelEndRow == 0 && FHeadingSelect) {
        for (TCellState& C : FCells)
            C.Selected = false;
        for (int C = std::min(FFocusCol, FSelEndCol); C <= std::max(FFocusCol, FSelEndCol); ++C)
            for (int R = 0; R < Rows; ++R)
                if (HasText(C, R)) Cell(C, R).Selected = true;
    }
}

bool TPWCalendar::GetFirstSelectedDate(TDateTime& Date) {
    FCursorCol = -1;
    FCursorRow = 1;
    return GetNextSelectedDate(Date);
}

bool TPWCalendar::GetNextSelectedDate(TDateTime& Date) {
    for (;;) {
        if (++FCursorCol >= Columns) {
            FCursorCol = 0;
            ++FCursorRow;
        }
        if (FCursorRow < 1) FCursorRow = 1;
        if (FCursorRow >= Rows) return false;
        if (HasText(FCursorCol, FCursorRow) && Cell(FCursorCol, FCursorRow).Selected) {
            Date = GetCellDate(FCursorCol, FCursorRow);
            return true;
        }
    }
}

TDateTime TPWCalendar::GetStartDate() {
    TDateTime Date;
    return GetFirstSelectedDate(Date) ? Date : TDateTime(0);
}

TDateTime TPWCalendar::GetEndDate() {
    TDateTime Date;
    if (!GetFirstSelectedDate(Date)) return 0;
    TDateTime Next;
    while (GetNextSelectedDate(Next))
        Date = Next;
    return Date;
}

// ---- mouse ----------------------------------------------------------------------

void TPWCalendar::GridMouseDown(TObject*, TMouseButton Button, TShiftState, int X, int Y) {
    if (Button != mbLeft) return;
    int C = 0;
    int R = 0;
    FStringGrid->MouseToCell(X, Y, C, R);
    if (!HasText(C, R) || (R == 0 && !FHeadingSelect)) return;
    FFocusCol = FSelEndCol = C;
    FFocusRow = FSelEndRow = R;
    RecomputeSelection();
    FStringGrid->Invalidate();
    if (FMultiSelect) FDragging = true;
    if (R >= 1) SetDateFromCell(C, R);
}

void TPWCalendar::GridMouseMove(TObject*, TShiftState, int X, int Y) {
    if (!FDragging) return;
    int C = 0;
    int R = 0;
    FStringGrid->MouseToCell(X, Y, C, R);
    if (C < 0) return;
    // A run of headings stays a run of headings, and a run of days one of days.
    if (FFocusRow == 0) R = 0;
    if (R == 0 && FFocusRow != 0) return;
    if (!HasText(C, R)) return;
    FSelEndCol = C;
    FSelEndRow = R;
    RecomputeSelection();
    FStringGrid->Invalidate();
}

void TPWCalendar::GridMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                              int Y) {
    if (Button != mbLeft) return;
    GridMouseMove(Sender, Shift, X, Y);
    FDragging = false;
}

// ---- keys -----------------------------------------------------------------------

// The row Up (Step -1) or Down (Step +1) reaches from row From in column
// ACol, going no further than row Edge; -1 when there is none.
int TPWCalendar::SearchRow(int ACol, int From, int Step, int Edge) const {
    // The nearest row with a day: from the heading, Down lands on the
    // column's first day, not its last.
    for (int R = From + Step; Step < 0 ? R >= Edge : R <= Edge; R += Step)
        if (HasText(ACol, R)) return R;
    return -1;
}

void TPWCalendar::MoveFocus(Word Key, bool Ctrl, bool& Handled) {
    int C = FFocusCol;
    int R = FFocusRow;
    switch (Key) {
    case VK_LEFT:
        if (C > 0 && HasText(C - 1, R)) --C;
        break;
    case VK_RIGHT:
        if (C < Columns - 1 && HasText(C + 1, R)) ++C;
        break;
    case VK_UP:
        R = SearchRow(C, R, -1, FHeadingSelect ? 0 : 1);
        break;
    case VK_DOWN:
        R = SearchRow(C, R, +1, Rows - 1);
        break;
    case VK_HOME:
    case VK_END: {
        const bool Home = Key == VK_HOME;
        if (Ctrl) {
            const AnsiString Target = IntToStr(Home ? 1 : DaysInMonth(FYear, FMonth));
            for (int Row = 1; Row < Rows; ++Row)
                for (int Col = 0; Col < Columns; ++Col)
                    if (FStringGrid->Cells(Col, Row) == Target) {
                        C = Col;
                        R = Row;
                    }
        } else {
            for (int Col = Home ? 0 : Columns - 1; Col >= 0 && Col < Columns; Col += Home ? 1 : -1)
                if (HasText(Col, R)) {
                    C = Col;
                    break;
                }
        }
        break;
    }
    default:
        return;
    }
    if (R < 0) {
        Handled = false;
        return;
    }
    FFocusCol = FSelEndCol = C;
    FFocusRow = FSelEndRow = R;
    if (FFocusRow >= 1) SetDateFromCell(FFocusCol, FFocusRow);
    Handled = true;
}

void TPWCalendar::MoveSelectionEnd(Word Key, bool Ctrl, bool& Handled) {
    int C = FSelEndCol;
    int R = FSelEndRow;
    switch (Key) {
    case VK_LEFT:
        if (C > 0 && HasText(C - 1, R)) --C;
        break;
    case VK_RIGHT:
        if (C < Columns - 1 && HasText(C + 1, R)) ++C;
        break;
    case VK_UP:
        R = FFocusRow == 0 ? -1 : SearchRow(C, R, -1, 1);
        break;
    case VK_DOWN:
        R = FFocusRow == 0 ? -1 : SearchRow(C, R, +1, Rows - 1);
        break;
    case VK_HOME:
    case VK_END: {
        const bool Home = Key == VK_HOME;
        if (Ctrl) {
            const AnsiString Target = IntToStr(Home ? 1 : DaysInMonth(FYear, FMonth));
            for (int Row = 1; Row < Rows; ++Row)
                for (int Col = 0; Col < Columns; ++Col)
                    if (FStringGrid->Cells(Col, Row) == Target) {
                        C = Col;
                        R = Row;
                    }
        } else if (const int Edge = Home ? 0 : Columns - 1; HasText(Edge, R)) {
            C = Edge;
        }
        break;
    }
    default:
        return;
    }
    if (R < 0) {
        Handled = false;
        return;
    }
    FSelEndCol = C;
    FSelEndRow = R;
    Handled = true;
}

void TPWCalendar::GridKeyDown(TObject*, Word& Key, TShiftState Shift) {
    const bool Ctrl = Shift.Contains(ssCtrl);
    if (Key == VK_PRIOR || Key == VK_NEXT) {
        const int Step = Ctrl ? FScrollBar->LargeChange() : FScrollBar->SmallChange();
        FScrollBar->SetPosition(FScrollBar->Position() + (Key == VK_PRIOR ? -Step : Step));
        return;
    }
    bool Handled = false;
    if (Shift.Contains(ssShift))
        MoveSelectionEnd(Key, Ctrl, Handled);
    else
        MoveFocus(Key, Ctrl, Handled);
    if (!Handled) return;
    RecomputeSelection();
    FStringGrid->Invalidate();
    Key = 0;
}

// ---- painting -------------------------------------------------------------------

void TPWCalendar::GridDrawCell(TObject*, int ACol, int ARow, TRect R, grid::TGridDrawState) {
    TCanvas* Canvas = FStringGrid->Canvas();
    const TCellState& State = Cell(ACol, ARow);
    const bool IsFocus = ACol == FFocusCol && ARow == FFocusRow;
    const bool Inverted = State.Selected && !IsFocus;
    if (ARow == 0) {
        Canvas->Brush()->SetColor(State.Selected ? clBtnShadow : clBtnFace);
        Canvas->FillRect(R);
        Canvas->Brush()->SetColor(clBlack);
        Canvas->FrameRect(Rect(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1));
    } else {
        Canvas->Brush()->SetBitmap(Inverted ? FInvertedPatterns[State.Mode].get()
                                            : FPatterns[State.Mode].get());
        Canvas->FillRect(R);
        Canvas->Brush()->SetBitmap(nullptr);
        if (IsFocus) {
            Canvas->Brush()->SetColor(clBlack);
            Canvas->FrameRect(R);
            Canvas->FrameRect(Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1));
        }
    }
    const AnsiString Text = FStringGrid->Cells(ACol, ARow);
    if (Text.empty()) return;
    Canvas->Font()->Assign(FStringGrid->Font());
    Canvas->Font()->SetColor(Inverted ? clWhite : clBlack);
    Canvas->Brush()->SetStyle(bsClear);
    const TSize Size = Canvas->TextExtent(Text);
    Canvas->TextOut(R.Left + (R.Width() - Size.cx) / 2, R.Top + (R.Height() - Size.cy) / 2, Text);
    Canvas->Brush()->SetStyle(bsSolid);
}

// ---- focus, bounds, loading -----------------------------------------------------

void TPWCalendar::SetFocus() {
    FStringGrid->SetFocus();
}

bool TPWCalendar::Focused() const {
    return FStringGrid->Focused();
}

bool TPWCalendar::GetTabStop() const {
    return FStringGrid->TabStop();
}

void TPWCalendar::SetTabStop(bool Value) {
    FStringGrid->SetTabStop(Value);
}

void TPWCalendar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (ComponentState().Contains(csDesigning)) {
        AWidth = CalendarWidth;
        AHeight = CalendarHeight;
    }
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

// Today goes in as a value, not as text: text written month first would be
// misread or refused under a day-first date format.
void TPWCalendar::Loaded() {
    // The framework's part ends the loading state of a streamed calendar.
    TWinControl::Loaded();
    AssignDate(::Date());
    MarkFocusCell();
}

// ---- published properties -------------------------------------------------------------

namespace {

const TTypeInfo& DayOfWeekType() {
    static const TTypeInfo Info =
        MakeEnumType("DayOfWeek_t", {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"});
    return Info;
}

// Focus and tab stop are the day grid's, so TabStop and TabOrder are
// published again over the windowed control's. The date a stream holds is
// replaced by today's when the calendar has been loaded.
const TPublished<TPWCalendar, TWinControl> CalendarClass(
    "TPWCalendar",
    [](auto& C) {
        C.Property("Date", &TPWCalendar::GetDate, &TPWCalendar::SetDate);
        C.Property("Day", &TPWCalendar::Day, &TPWCalendar::SetDay);
        C.Property("Month", &TPWCalendar::Month, &TPWCalendar::SetMonth);
        C.Property("Year", &TPWCalendar::Year, &TPWCalendar::SetYear);
        C.Property("DateFormat", &TPWCalendar::DateFormat, &TPWCalendar::SetDateFormat);
        C.Property("StartOfWeek", &TPWCalendar::StartOfWeek, &TPWCalendar::SetStartOfWeek,
                   DayOfWeekType())
            .Default(DayOfWeek_t::Sun);
        C.Property("MultiSelect", &TPWCalendar::MultiSelect, &TPWCalendar::SetMultiSelect)
            .Default(false);
        C.Property("HeadingSelect", &TPWCalendar::HeadingSelect, &TPWCalendar::SetHeadingSelect)
            .Default(false);
        C.Property("TabStop", &TPWCalendar::GetTabStop, &TPWCalendar::SetTabStop).Default(true);
        C.Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder);
    },
    true);

} // namespace

} // namespace components
