// How many columns and rows the client area shows, the direct resizing of
// one column or row, and the scaling of sizes and fonts with the form.
#include "grid/foundation/GridCommonCheckBox.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/CellProps.h"
#include "grid/model/CheckBox.h"
#include "grid/model/Combo.h"
#include "grid/model/Columns.h"
#include "grid/model/InplaceControl.h"
#include "grid/model/PropDefaults.h"
#include "grid/model/Rows.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace grid {

namespace {

// Whole items that fit from First on, the sum starting at Used. An item's
// own line may hang over the edge (an empty item has no line).
template <class Extent>
int CountWhole(int First, int Count, int Used, int Room, int Line, Extent Size) {
    int Result = 0;
    for (int I = First; I < Count && Used < Room; ++I) {
        const int S = Size(I);
        Used += S;
        if (Room >= Used - (S > 0 ? Line : 0)) ++Result;
    }
    return Result;
}

} // namespace

// The running sum starts at the whole fixed width (row bar and frozen
// columns): starting at the row bar alone would count frozen widths twice
// short and call a cut-off column whole.
int TgxBaseGrid::GetVisibleColCount() const {
    if (!HandleAllocated()) return 0;
    return CountWhole(LeftCol(), ColCount(), FFixedWidth, ClientWidth(), FVertLineWidth,
                      [this](int C) { return ColWidths(C); });
}

int TgxBaseGrid::GetVisibleRowCount() const {
    if (!HandleAllocated()) return 0;
    return CountWhole(TopRow(), RowCount(), FFixedHeight, ClientHeight(), FHorzLineWidth,
                      [this](int R) { return RowHeights(R); });
}

namespace {

// Visible items that fit wholly, then the fraction of the next visible one.
template <class Extent, class Visible>
double CountWithFraction(int Start, int FixedEnd, int ScrollFrom, int Count, int Room, Extent Size,
                         Visible IsVisible) {
    int Used = Start;
    int Whole = 0;
    auto Fraction = [&](int From) {
        for (int I = From; I < Count; ++I)
            if (IsVisible(I) && Size(I) > 0)
                return Used < Room ? double(Room - Used) / Size(I) : 0.0;
        return 0.0;
    };
    int I = 1;
    for (; I < FixedEnd && I < Count; ++I) {
        if (Used + Size(I) > Room) return Whole + Fraction(I);
        Used += Size(I);
        if (IsVisible(I)) ++Whole;
    }
    for (I = std::max(ScrollFrom, FixedEnd); I < Count; ++I) {
        if (Used + Size(I) > Room) break;
        Used += Size(I);
        if (IsVisible(I)) ++Whole;
    }
    return Whole + Fraction(I);
}

} // namespace

double TgxBaseGrid::GetVisibleCols() const {
    if (!HandleAllocated()) return 0;
    return CountWithFraction(
        GetRowBarOn() ? ColWidths(0) : 0, FixedCols(), LeftCol(), ColCount(), ClientWidth(),
        [this](int C) { return ColWidths(C); },
        [this](int C) {
            const int Data = GetDataCol(C);
            return Data >= 0 && Data < FCols->Count() && FCols->Item(Data)->Visible();
        });
}

double TgxBaseGrid::GetVisibleRows() const {
    if (!HandleAllocated()) return 0;
    return CountWithFraction(
        GetHeadingOn() ? RowHeights(0) : 0, FixedRows(), TopRow(), RowCount(), ClientHeight(),
        [this](int R) { return RowHeights(R); },
        [this](int R) { return IsRowVisible(GetDataRow(R)); });
}

int TgxBaseGrid::GetGridRowHeights(int DisplayRow) const {
    return DisplayRow >= 0 && DisplayRow < RowCount() ? RowHeights(DisplayRow) : 0;
}

bool TgxBaseGrid::ResizeCol(int DisplayCol, int Width) {
    if (DisplayCol < 0 || DisplayCol >= ColCount() || ColWidths(DisplayCol) == Width) return false;
    SetColPixelWidth(DisplayCol, Width);
    return true;
}

bool TgxBaseGrid::ResizeRow(int DisplayRow, int Height, bool Silent) {
    if (DisplayRow < 0 || DisplayRow >= RowCount() || RowHeights(DisplayRow) == Height)
        return false;
    if (!Silent) {
        SetRowPixelHeight(DisplayRow, Height);
        return true;
    }
    TModelSizing Sizing(*this);
    SetRowHeights(DisplayRow, Height);
    return true;
}

namespace {

// A * B / C rounded half away from zero, as the platform scales.
int MulDiv(int A, int B, int C) {
    return static_cast<int>(std::lround(static_cast<double>(A) * B / C));
}

void ScaleFont(TFont* Font, int M, int D) {
    if (Font) Font->SetSize(MulDiv(Font->Size(), M, D));
}

// A column's, row's or cell's own list scales with the grid that owns it.
void ScaleComboList(TgxCombo* Combo, int M, int D, TScalingFlags Flags) {
    if (!Combo) return;
    TgxComboGrid* List = Combo->GetGrid();
    List->ScaleRows(M, D, Flags);
    List->ScaleCols(M, D, Flags);
    List->ScaleCells(M, D, Flags);
}

} // namespace

void TgxBaseGrid::ScaleRows(int M, int D, TScalingFlags Flags) {
    if (M == D || D == 0) return;
    const bool Heights = Flags.Contains(sfHeight);
    try {
        if (Heights) {
            // A new default resets every height; the heading keeps its own.
            const int Heading = RowHeights(0);
            TModelSizing Sizing(*this);
            SetDefaultRowHeight(MulDiv(DefaultRowHeight(), M, D));
            SetRowPixelHeight(0, Heading);
            FDropDownRowHeight = MulDiv(FDropDownRowHeight, M, D);
        }
        // Data rows only: the heading row is scaled with HeadingHeight.
        for (int R = 1; R < FRows->Count(); ++R) {
            TgxRow* Row = FRows->Item(R);
            if (!Row) continue;
            if (Heights) Row->SetHeight(MulDiv(Row->Height(), M, D));
            if (Flags.Contains(sfFont) && !Row->ParentFont()) ScaleFont(Row->Font(), M, D);
            ScaleComboList(Row->GetCombo(), M, D, Flags);
        }
    } catch (...) {
        if (Heights) RowHeightsChanged();
        throw;
    }
    if (Heights) RowHeightsChanged();
}

void TgxBaseGrid::ScaleCols(int M, int D, TScalingFlags Flags) {
    if (M == D || D == 0) return;
    const bool Widths = Flags.Contains(sfWidth);
    try {
        if (Widths) {
            // A new default resets every width; the row bar keeps its own.
            const int RowBar = ColWidths(0);
            TModelSizing Sizing(*this);
            SetDefaultColWidth(MulDiv(DefaultColWidth(), M, D));
            SetColPixelWidth(0, RowBar);
        }
        // Data columns only: the row bar is scaled with RowBarWidth.
        for (int C = 1; C < FCols->Count(); ++C) {
            TgxCol* Col = FCols->Item(C);
            if (Widths) Col->SetWidth(MulDiv(Col->Width(), M, D));
            if (Flags.Contains(sfFont) && !Col->ParentFont()) ScaleFont(Col->GetFont(), M, D);
            ScaleComboList(Col->GetCombo(), M, D, Flags);
        }
    } catch (...) {
        if (Widths) ColWidthsChanged();
        throw;
    }
    if (Widths) ColWidthsChanged();
}

void TgxBaseGrid::ScaleCells(int M, int D, TScalingFlags Flags) {
    if (M == D || D == 0) return;
    for (TgxCellElement* Element : FCellProps->Elements()) {
        if (Flags.Contains(sfFont) && !Element->ParentFont()) ScaleFont(Element->Font(), M, D);
        ScaleComboList(Element->GetCombo(), M, D, Flags);
    }
}

void TgxBaseGrid::ChangeScale(int M, int D) {
    if (M == D || D == 0 || !GetAutoScale()) return;
    if (!FHeadingParentFont) ScaleFont(FHeadingFont.get(), M, D);
    SetHeadingHeight(MulDiv(GetHeadingHeight(), M, D));
    if (!ComponentState().Contains(csDesigning)) {
        SetDefaultButtonWidth(MulDiv(FDefaultButtonWidth, M, D));
        SetDefaultButtonHeight(MulDiv(FDefaultButtonHeight, M, D));
    }
    SetRowBarWidth(MulDiv(GetRowBarWidth(), M, D));
    const TScalingFlags Flags{sfWidth, sfHeight, sfFont};
    ScaleCols(M, D, Flags);
    ScaleRows(M, D, Flags);
    ScaleCells(M, D, Flags);
    RedisplayControl(false);
}

bool TgxBaseGrid::GetAutoScale() const {
    if (FIsComboGrid)
        if (const TgxBaseGrid* Parent = GetParentGrid()) return Parent->GetAutoScale();
    return FAutoScale;
}

void TgxBaseGrid::SetAutoScale(bool Value) {
    if (!FIsComboGrid) FAutoScale = Value;
}

// ---- settings ---------------------------------------------------------------------------------

void TgxBaseGrid::SetCheckBoxValues(const AnsiString& Value) {
    if (Value == FCheckBoxValues) return;
    if (!CheckBoxValuesOk(Value))
        InvalidOp("Invalid CheckBoxValues. CheckBoxValues have the format "
                  "'Checked|Unchecked|Grayed'. The Grayed value is optional");
    FCheckBoxValues = Value;
    if (TgxCustomGridControl* Holder = GridCellControl(ctCheck))
        if (auto* Box = dynamic_cast<TgxGridCheckBox*>(Holder->Control()))
            Box->CheckBoxValues = Value;
    InvalidateGridNow();
}

namespace {

// The colour's name where it has one, else "$" and eight hex digits.
AnsiString ColorText(TColor Color) {
    struct TName {
        TColor Color;
        const char* Name;
    };
    static const TName Names[] = {
        {clBlack, "clBlack"}, {clMaroon, "clMaroon"},   {clGreen, "clGreen"},
        {clOlive, "clOlive"}, {clNavy, "clNavy"},       {clPurple, "clPurple"},
        {clTeal, "clTeal"},   {clGray, "clGray"},       {clSilver, "clSilver"},
        {clRed, "clRed"},     {clLime, "clLime"},       {clYellow, "clYellow"},
        {clBlue, "clBlue"},   {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"},
        {clWhite, "clWhite"}};
    for (const TName& N : Names)
        if (N.Color == Color) return N.Name;
    char Buffer[16];
    std::snprintf(Buffer, sizeof Buffer, "$%08X", static_cast<unsigned>(Color));
    return Buffer;
}

void ReplaceFirst(AnsiString& Text, const char* What, const AnsiString& By) {
    const auto At = Text.find(What);
    if (At != AnsiString::npos) Text.replace(At, std::char_traits<char>::length(What), By);
}

} // namespace

AnsiString TgxBaseGrid::HTMLFont() {
    AnsiString Text = " style=\"font-family: 'FONTNAME'; font-size: FNSIZE; background: BGCOLOR; "
                      "color: FNCOLOR; font-weight: FNBOLD; height: HDHEIGHTpx;\"";
    TFont* F = Font();
    ReplaceFirst(Text, "FONTNAME", F->Name());
    ReplaceFirst(Text, "BGCOLOR", ColorText(TranslateColor(FHeadingColor)));
    ReplaceFirst(Text, "FNCOLOR", ColorText(TranslateColor(F->Color())));
    ReplaceFirst(Text, "FNSIZE", std::to_string(F->Size()));
    ReplaceFirst(Text, "FNBOLD", F->Style().Contains(fsBold) ? "BOLD" : "NORMAL");
    ReplaceFirst(Text, "HDHEIGHT", std::to_string(GetHeadingHeight()));
    return Text;
}

} // namespace grid
