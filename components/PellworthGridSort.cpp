// Sorting by display order and the list of selected rows.
#include "components/PellworthGrid.h"

#include "grid/model/Rows.h"
#include "platform/rtl/DateTimeFormat.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <vector>

namespace components {

namespace {

// What a sort column holds: numbers when every non-blank cell is a number,
// dates when every one is a date, else text.
enum class TSortKind : std::uint8_t { Number, Date, Text };

// One cell's part of a row's key. Blank cells sort before everything else.
struct TSortPart {
    bool Blank = true;
    double Number = 0;
    AnsiString Text;
};

bool IsNumberType(TVarType T) {
    switch (T & varTypeMask) {
    case varSmallint:
    case varInteger:
    case varSingle:
    case varDouble:
    case varCurrency:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64:
    case varBoolean:
        return true;
    default:
        return false;
    }
}

// One sort column's cells read once, and the kind they share.
struct TSortColumn {
    std::vector<Variant> Values;
    std::vector<AnsiString> Texts;
    TSortKind Kind = TSortKind::Text;
};

TSortKind KindOf(const TSortColumn& Column) {
    bool Numbers = true;
    bool Dates = true;
    for (std::size_t I = 0; I < Column.Values.size() && (Numbers || Dates); ++I) {
        const Variant& V = Column.Values[I];
        const AnsiString& Text = Column.Texts[I];
        if (Text.empty()) continue;
        const TVarType T = V.Type() & varTypeMask;
        double Number = 0;
        TDateTime Date;
        if (Numbers && !IsNumberType(T) && !(T == varString && TryStrToFloat(Text, Number)))
            Numbers = false;
        if (Dates && T != varDate && !(T == varString && TryStrToDateTime(Text, Date)))
            Dates = false;
    }
    if (Numbers) return TSortKind::Number;
    if (Dates) return TSortKind::Date;
    return TSortKind::Text;
}

TSortPart PartOf(const Variant& V, const AnsiString& Text, TSortKind Kind, bool Upper) {
    TSortPart Part;
    if (Text.empty()) return Part;
    Part.Blank = false;
    switch (Kind) {
    case TSortKind::Number:
        Part.Number = (V.Type() & varTypeMask) == varString ? StrToFloat(Text) : V.AsDouble();
        break;
    case TSortKind::Date: {
        TDateTime Date;
        if ((V.Type() & varTypeMask) == varDate)
            Part.Number = V.AsDouble();
        else if (TryStrToDateTime(Text, Date))
            Part.Number = Date.Val;
        break;
    }
    case TSortKind::Text:
        Part.Text = Upper ? AnsiUpperCase(Text) : Text;
        break;
    }
    return Part;
}

int CompareParts(const TSortPart& A, const TSortPart& B, TSortKind Kind) {
    if (A.Blank || B.Blank) return static_cast<int>(!A.Blank) - static_cast<int>(!B.Blank);
    if (Kind == TSortKind::Text) {
        // Plain byte order, each byte unsigned.
        const int C = A.Text.compare(B.Text);
        return (C > 0) - (C < 0);
    }
    return (A.Number > B.Number) - (A.Number < B.Number);
}

// Repainting is off while display numbers are rewritten; the grid is
// repainted once when the guard goes.
class TRedrawGuard {
public:
    explicit TRedrawGuard(grid::TgxBaseGrid& Grid) : FGrid(Grid) { FGrid.SetFastAssign(true); }
    ~TRedrawGuard() { FGrid.SetFastAssign(false); }
    TRedrawGuard(const TRedrawGuard&) = delete;
    TRedrawGuard& operator=(const TRedrawGuard&) = delete;

private:
    grid::TgxBaseGrid& FGrid;
};

} // namespace

void TPellworthGrid::Sort(const int* Cols, int ColCount, tagSortOrder Order, tagCaseMode CaseMode) {
    const int Rows = GetGridRowCount();
    const auto RowCount = static_cast<std::size_t>(std::max(Rows, 0));
    const auto Width = static_cast<std::size_t>(std::max(ColCount, 0));
    // Every key is built before any display row moves: a cell that cannot
    // be read as text stops the sort with the grid as it was.
    std::vector<TSortKind> Kinds(Width);
    std::vector<TSortPart> Parts(RowCount * Width);
    for (std::size_t C = 0; C < Width; ++C) {
        TSortColumn Column;
        Column.Values.reserve(RowCount);
        Column.Texts.reserve(RowCount);
        for (int Row = 1; Row <= Rows; ++Row) {
            Column.Values.push_back(GetCellValue(Cols[C], Row));
            Column.Texts.push_back(Column.Values.back().AsString());
        }
        Kinds[C] = KindOf(Column);
        for (std::size_t R = 0; R < RowCount; ++R)
            Parts[R * Width + C] =
                PartOf(Column.Values[R], Column.Texts[R], Kinds[C], CaseMode == 1);
    }
    const auto Compare = [&](int A, int B) {
        for (std::size_t C = 0; C < Width; ++C) {
            const int Result =
                CompareParts(Parts[static_cast<std::size_t>(A) * Width + C],
                             Parts[static_cast<std::size_t>(B) * Width + C], Kinds[C]);
            if (Result != 0) return Result;
        }
        return 0;
    };
    std::vector<int> Order0(RowCount);
    std::iota(Order0.begin(), Order0.end(), 0);
    // Stable both ways: rows with equal keys keep their data order.
    if (Order == 0)
        std::stable_sort(Order0.begin(), Order0.end(),
                         [&](int A, int B) { return Compare(A, B) < 0; });
    else
        std::stable_sort(Order0.begin(), Order0.end(),
                         [&](int A, int B) { return Compare(A, B) > 0; });

    for (int& Row : Order0)
        ++Row;
    ShowRowsInOrder(Order0);
}

void TPellworthGrid::Unsort() {
    std::vector<int> Natural(static_cast<std::size_t>(std::max(GetGridRowCount(), 0)));
    std::iota(Natural.begin(), Natural.end(), 1);
    ShowRowsInOrder(Natural);
}

void TPellworthGrid::ShowRowsInOrder(const std::vector<int>& DataRows) {
    // The whole order is applied in one pass. Moving the rows one by one
    // shifts every row between the old and the new place each time, which
    // makes a sort of many rows cost the square of their number.
    const int Count = static_cast<int>(DataRows.size());
    if (Count != GetGridRowCount()) return;
    std::vector<int> OldPosition(DataRows.size() + 1);
    std::vector<int> OldHeight(DataRows.size() + 1);
    std::vector<int> SelectedRows;
    bool Moved = false;
    for (int P = 1; P <= Count; ++P) {
        const int Data = GetDataRow(P);
        OldPosition[static_cast<std::size_t>(Data)] = P;
        OldHeight[static_cast<std::size_t>(P)] = RowHeights(P);
        Moved = Moved || DataRows[static_cast<std::size_t>(P) - 1] != Data;
    }
    if (!Moved) return;
    grid::TgxSelection& Selected = RowSelection();
    for (int P = Selected.Next(0); P > 0; P = Selected.Next(P))
        SelectedRows.push_back(GetDataRow(P));
    const int CurrentData = Row() >= 1 && Row() <= Count ? GetDataRow(Row()) : 0;

    const TRedrawGuard Guard(*this);
    GridRows()->CreateDisplayRowNumber();
    std::vector<int> Visible;
    for (int P = 1; P <= Count; ++P) {
        const int Data = DataRows[static_cast<std::size_t>(P) - 1];
        SetDataRow(P, Data);
        GridRows()->SetDisplayRowNumber(Data, P);
        if (GetRowVisible(Data)) Visible.push_back(P);
    }
    if (VisibleRows().Active()) VisibleRows().SetItems(Visible);
    // Heights, selection marks and the current row go with their data rows.
    for (int P = 1; P <= Count; ++P) {
        const int Height = OldHeight[static_cast<std::size_t>(
            OldPosition[static_cast<std::size_t>(DataRows[static_cast<std::size_t>(P) - 1])])];
        if (RowHeights(P) != Height) SetRowHeights(P, Height);
    }
    Selected.Reset();
    for (const int Data : SelectedRows)
        Selected.SetSelected(GetDisplayRow(Data), true);
    if (CurrentData > 0) ChangeCurrentRowPosition(Row(), GetDisplayRow(CurrentData));
    DoRowMoved(1, Count, false);
    UpdateScrollRange();
    CheckTopLeftNow();
}

void TPellworthGrid::BuildSelectedRowsList() {
    FSelectedRowsList.clear();
    grid::TgxSelection& Selected = RowSelection();
    for (int Row = Selected.Next(0); Row > 0; Row = Selected.Next(Row))
        FSelectedRowsList.push_back(Row);
    if (static_cast<std::size_t>(Selected.Count()) != FSelectedRowsList.size()) {
        std::fprintf(stderr,
                     "Assertion failed: SelectedRows->Count == FSelectedRowsList.size(), "
                     "file TPellworthGrid, line %d\n",
                     __LINE__);
        std::abort();
    }
}

} // namespace components
