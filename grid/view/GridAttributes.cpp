// Which value of each look-and-behaviour attribute is in force for a cell.
// Four levels can set one: the cell, its row, its column and the grid; the
// grid's DrawOverlap decides whether the column or the row is asked first.
#include "grid/model/BaseGrid.h"
#include "grid/model/Columns.h"
#include "grid/model/Rows.h"

namespace grid {

namespace {

// The cell's value unless it is NotSet, then the first and the second of
// column and row in DrawOverlap order; NotSet when none says anything.
template <class T> T FirstSet(TgxDrawOverlap Overlap, T Cell, T ColValue, T RowValue, T NotSet) {
    if (Cell != NotSet) return Cell;
    const T First = Overlap == doDrawRowOnTop ? RowValue : ColValue;
    const T Second = Overlap == doDrawRowOnTop ? ColValue : RowValue;
    return First != NotSet ? First : Second;
}

TgxHorzAlignment FromAlignment(TAlignment Value) {
    switch (Value) {
    case taRightJustify:
        return htaRight;
    case taCenter:
        return htaCenter;
    default:
        return htaDefault;
    }
}

// Whether a data cell keeps properties of its own. Most cells keep none,
// and then their own level is skipped without reading a property default.
bool HasOwn(TgxBaseGrid& Grid, int DataCol, int DataRow) {
    return DataCol <= Grid.GetGridColCount() && DataRow <= Grid.GetGridRowCount() &&
           Grid.GetCellElement(DataCol, DataRow, false) != nullptr;
}

} // namespace

// The row and column objects of a cell; the row may have none.
#define GX_LEVELS(DataCol, DataRow)                                                                \
    const TgxRow* Row =                                                                            \
        (DataRow) >= 0 && (DataRow) < FRows->Count() ? FRows->Item(DataRow) : nullptr;             \
    const TgxCol* Col =                                                                            \
        (DataCol) >= 0 && (DataCol) < FCols->Count() ? FCols->Item(DataCol) : nullptr

TColor TgxBaseGrid::GiveCellColor(int DataCol, int DataRow, bool Is3D) {
    if (DataCol <= 0 || DataRow <= 0) {
        if (DataCol > 0 && DataCol < FCols->Count() &&
            FCols->Item(DataCol)->HeadingColor() != clNone)
            return FCols->Item(DataCol)->HeadingColor();
        return FHeadingColor;
    }
    GX_LEVELS(DataCol, DataRow);
    const TColor Own = HasOwn(*this, DataCol, DataRow) ? GetCellColor(DataCol, DataRow) : clNone;
    const TColor Found = FirstSet<TColor>(FDrawOverlap, Own, Col ? Col->Color() : clNone,
                                          Row ? Row->Color() : clNone, clNone);
    if (Found != clNone) return Found;
    if (Color() != clNone && Color() != clWindow) return Color();
    return Is3D ? clBtnFace : Color();
}

TFont* TgxBaseGrid::GiveHeadingFont(int DataCol) {
    if (DataCol >= 0 && DataCol < FCols->Count()) {
        const TgxCol* Col = FCols->Item(DataCol);
        if (!Col->HeadingParentFont() && Col->HeadingFontObject()) return Col->HeadingFontObject();
    }
    return FHeadingFont.get();
}

TgxWordWrap TgxBaseGrid::GiveHeadingWordWrap(int DataCol) {
    if (DataCol >= 0 && DataCol < FCols->Count() &&
        FCols->Item(DataCol)->HeadingWordWrap() != uiDefault)
        return FCols->Item(DataCol)->HeadingWordWrap();
    return FHeadingWordWrap;
}

TgxHorzAlignment TgxBaseGrid::GiveHeadingHorzAlignment(int DataCol) {
    TgxHorzAlignment Result = DataCol >= 0 && DataCol < FCols->Count()
                                  ? FCols->Item(DataCol)->HeadingHorzAlignment()
                                  : htaDefault;
    if (Result == htaDefault) Result = FHeadingHorzAlignment;
    if (Result == htaDefault) Result = FHorzAlignment;
    return Result;
}

TgxHorzAlignment TgxBaseGrid::GiveCellHorzAlignment(int DataCol, int DataRow) {
    TgxHorzAlignment Result = htaDefault;
    if (DataCol <= 0 || DataRow <= 0) {
        Result = GiveHeadingHorzAlignment(DataCol);
    } else {
        GX_LEVELS(DataCol, DataRow);
        const TgxHorzAlignment Own =
            HasOwn(*this, DataCol, DataRow) ? GetCellHorzAlignment(DataCol, DataRow) : htaDefault;
        Result = FirstSet(FDrawOverlap, Own, Col ? Col->HorzAlignment() : htaDefault,
                          Row ? Row->HorzAlignment() : htaDefault, htaDefault);
        if (Result == htaDefault && Col && Col->Alignment() != taLeftJustify)
            Result = FromAlignment(Col->Alignment());
        if (Result == htaDefault) Result = FHorzAlignment;
    }
    return Result == htaDefault ? htaLeft : Result;
}

TAlignment TgxBaseGrid::GiveCellAlignment(int DataCol, int DataRow) {
    switch (GiveCellHorzAlignment(DataCol, DataRow)) {
    case htaRight:
        return taRightJustify;
    case htaCenter:
        return taCenter;
    default:
        return taLeftJustify;
    }
}

TgxVertAlignment TgxBaseGrid::GiveHeadingVertAlignment(int DataCol) {
    TgxVertAlignment Result = DataCol >= 0 && DataCol < FCols->Count()
                                  ? FCols->Item(DataCol)->HeadingVertAlignment()
                                  : vtaDefault;
    if (Result == vtaDefault) Result = FHeadingVertAlignment;
    if (Result == vtaDefault) Result = FVertAlignment;
    return Result;
}

TgxVertAlignment TgxBaseGrid::GiveCellVertAlignment(int DataCol, int DataRow) {
    TgxVertAlignment Result = vtaDefault;
    if (DataCol <= 0 || DataRow <= 0) {
        Result = GiveHeadingVertAlignment(DataCol);
    } else {
        GX_LEVELS(DataCol, DataRow);
        const TgxVertAlignment Own =
            HasOwn(*this, DataCol, DataRow) ? GetCellVertAlignment(DataCol, DataRow) : vtaDefault;
        Result = FirstSet(FDrawOverlap, Own, Col ? Col->VertAlignment() : vtaDefault,
                          Row ? Row->VertAlignment() : vtaDefault, vtaDefault);
        if (Result == vtaDefault) Result = FVertAlignment;
    }
    return Result == vtaDefault ? vtaTop : Result;
}

bool TgxBaseGrid::GiveCell3D(int DataCol, int DataRow) {
    if (DataCol <= 0 || DataRow <= 0) return FHeading3D;
    if (FIs3D) return true;
    GX_LEVELS(DataCol, DataRow);
    if (Col && Col->Is3D()) return true;
    if (Row && Row->Is3D()) return true;
    return HasOwn(*this, DataCol, DataRow) && GetCellIs3D(DataCol, DataRow);
}

TgxButtonType TgxBaseGrid::GiveCellButton(int DataCol, int DataRow, TgxDropDownStyle& Style) {
    Style = ddDropDown;
    if (DataCol < 1 || DataRow < 1 || DataCol > GetGridColCount() || DataRow > GetGridRowCount())
        return btNone;
    if (!FReadOnlyButton && CellIsReadOnly(DataCol, DataRow)) return btNone;
    const TgxButtonType Own =
        HasOwn(*this, DataCol, DataRow) ? GetCellButtonType(DataCol, DataRow) : btDefault;
    if (Own != btDefault) {
        Style = GetCellDropDownStyle(DataCol, DataRow);
        return Own;
    }
    GX_LEVELS(DataCol, DataRow);
    const bool RowFirst = FDrawOverlap == doDrawRowOnTop;
    for (int Level = 0; Level < 2; ++Level) {
        const bool AskRow = (Level == 0) == RowFirst;
        if (AskRow && Row && Row->ButtonType() != btDefault) {
            Style = Row->DropDownStyle();
            return Row->ButtonType();
        }
        if (!AskRow && Col && Col->ButtonType() != btDefault) {
            Style = Col->DropDownStyle();
            return Col->ButtonType();
        }
    }
    return btNone;
}

TgxDropDownStyle TgxBaseGrid::GiveCellDropDownStyle(int DataCol, int DataRow) {
    TgxDropDownStyle Style = ddDropDown;
    GiveCellButton(DataCol, DataRow, Style);
    return Style;
}

bool TgxBaseGrid::GiveCellMaskName(int DataCol, int DataRow, AnsiString& Name) {
    Name.clear();
    if (DataCol < 1 || DataRow < 1 || DataCol > GetGridColCount() || DataRow > GetGridRowCount())
        return false;
    GX_LEVELS(DataCol, DataRow);
    // Asked for whenever the in-place control is placed again, which adding
    // a row does several times: the names are looked at where they are kept.
    if (HasOwn(*this, DataCol, DataRow)) Name = GetCellMaskName(DataCol, DataRow);
    if (Name.empty()) {
        static const AnsiString None;
        const AnsiString& ColName = Col ? Col->MaskName() : None;
        const AnsiString& RowName = Row ? Row->MaskName() : None;
        const AnsiString& First = FDrawOverlap == doDrawRowOnTop ? RowName : ColName;
        Name = !First.empty() ? First : FDrawOverlap == doDrawRowOnTop ? ColName : RowName;
    }
    return !Name.empty();
}

TgxSpinOptions TgxBaseGrid::GiveCellSpinOptions(int DataCol, int DataRow) {
    if (DataCol < 1 || DataRow < 1 || DataCol > GetGridColCount() || DataRow > GetGridRowCount())
        return {};
    if (IsSpinButton(GetCellButtonType(DataCol, DataRow)))
        return GetCellSpinOptions(DataCol, DataRow);
    GX_LEVELS(DataCol, DataRow);
    const bool RowSpin = Row && IsSpinButton(Row->ButtonType());
    const bool ColSpin = Col && IsSpinButton(Col->ButtonType());
    if (FDrawOverlap == doDrawRowOnTop ? RowSpin : !ColSpin && RowSpin) return Row->SpinOptions();
    if (ColSpin) return Col->SpinOptions();
    return {};
}

double TgxBaseGrid::GiveCellSpinIncrement(int DataCol, int DataRow) {
    if (DataCol < 1 || DataRow < 1 || DataCol > GetGridColCount() || DataRow > GetGridRowCount())
        return 0;
    if (IsSpinButton(GetCellButtonType(DataCol, DataRow)))
        return GetCellSpinIncrement(DataCol, DataRow);
    GX_LEVELS(DataCol, DataRow);
    const bool RowSpin = Row && IsSpinButton(Row->ButtonType());
    const bool ColSpin = Col && IsSpinButton(Col->ButtonType());
    if (FDrawOverlap == doDrawRowOnTop ? RowSpin : !ColSpin && RowSpin) return Row->SpinIncrement();
    if (ColSpin) return Col->SpinIncrement();
    return 0;
}

TgxDrawOption TgxBaseGrid::GiveCellStretchPicture(int DataCol, int DataRow) {
    return GiveCellPicture(DataCol, DataRow, 1);
}

TgxDrawOption TgxBaseGrid::GiveCellShrinkPicture(int DataCol, int DataRow) {
    return GiveCellPicture(DataCol, DataRow, 2);
}

TgxDrawOption TgxBaseGrid::GiveCellCenterPicture(int DataCol, int DataRow) {
    return GiveCellPicture(DataCol, DataRow, 3);
}

TgxDrawOption TgxBaseGrid::GiveCellKeepAspectRatio(int DataCol, int DataRow) {
    return GiveCellPicture(DataCol, DataRow, 4);
}

bool TgxBaseGrid::CanEditCol(int DataCol) const {
    if (DataCol < 0 || DataCol >= FCols->Count()) return false;
    const TgxCol* Col = FCols->Item(DataCol);
    return Col->Visible() && !Col->ReadOnly();
}

bool TgxBaseGrid::CanEditRow(int DataRow) const {
    return IsRowVisible(DataRow) && !IsRowReadOnly(DataRow);
}

bool TgxBaseGrid::CanEditCell(int DataCol, int DataRow) {
    if (DataCol < 0 || DataCol >= FCols->Count()) return false;
    const TgxCol* Col = FCols->Item(DataCol);
    const bool Visible = Col->Visible() && IsRowVisible(DataRow);
    if (GetInDesignMode() && FStoreData) return Visible;
    switch (HasOwn(*this, DataCol, DataRow) ? IsCellReadOnly(DataCol, DataRow) : roDefault) {
    case roOn:
        return false;
    case roOff:
        return Visible;
    default:
        return Visible && !Col->ReadOnly() && !IsRowReadOnly(DataRow);
    }
}

bool TgxBaseGrid::CellIsReadOnly(int DataCol, int DataRow) {
    if (DataCol < 1 || DataRow < 1 || DataCol > GetGridColCount() || DataRow > GetGridRowCount())
        return false;
    return !CanEditCell(DataCol, DataRow);
}

// ---- the current cell ------------------------------------------------------------------------

AnsiString TgxBaseGrid::CurCellMaskName() {
    AnsiString Name;
    GiveCellMaskName(GetDataCol(Col()), GetDataRow(Row()), Name);
    return Name;
}

TgxControlType TgxBaseGrid::CurCellControlType() {
    return GiveCellControlType(GetDataCol(Col()), GetDataRow(Row()));
}

bool TgxBaseGrid::CurCellReadOnly() {
    return CellIsReadOnly(GetDataCol(Col()), GetDataRow(Row()));
}

AnsiString TgxBaseGrid::CurCellCheckBoxValues() {
    return GiveCellCheckBoxValues(GetDataCol(Col()), GetDataRow(Row()));
}

bool TgxBaseGrid::CurCellSelected() {
    return CellPaintSelected(Col(), Row());
}

TgxControlType TgxBaseGrid::ActiveControlType(int DataCol, const Variant& DataRow) {
    const int Row = DataRow.AsInteger();
    if (!CheckIndex(itCol, DataCol, GetGridColCount(), 1) ||
        !CheckIndex(itRow, Row, GetGridRowCount(), 0))
        return ctNone;
    return GiveCellControlType(DataCol, Row);
}

// ---- grid-level looks --------------------------------------------------------------------------

namespace {

TAlignment ToAlignment(TgxHorzAlignment Value) {
    return Value == htaRight ? taRightJustify : Value == htaCenter ? taCenter : taLeftJustify;
}

} // namespace

void TgxBaseGrid::SetHeadingAlignment(TAlignment Value) {
    if (Value == FHeadingAlignment) return;
    FHeadingAlignment = Value;
    FHeadingHorzAlignment = Value == taLeftJustify ? htaDefault : FromAlignment(Value);
    if (GetHeadingOn()) CheckInvalidateRow(0);
}

void TgxBaseGrid::SetHeadingHorzAlignment(TgxHorzAlignment Value) {
    if (Value == FHeadingHorzAlignment) return;
    FHeadingHorzAlignment = Value;
    FHeadingAlignment = ToAlignment(Value);
    if (GetHeadingOn()) CheckInvalidateRow(0);
}

void TgxBaseGrid::SetHeadingVertAlignment(TgxVertAlignment Value) {
    if (Value == FHeadingVertAlignment) return;
    FHeadingVertAlignment = Value;
    if (GetHeadingOn()) CheckInvalidateRow(0);
}

void TgxBaseGrid::SetHeadingWordWrap(TgxWordWrap Value) {
    if (Value == FHeadingWordWrap) return;
    FHeadingWordWrap = Value;
    if (GetHeadingOn()) CheckInvalidateRow(0);
}

void TgxBaseGrid::SetHorzAlignment(TgxHorzAlignment Value) {
    if (Value == FHorzAlignment) return;
    FHorzAlignment = Value;
    InvalidateGridNow();
}

void TgxBaseGrid::SetVertAlignment(TgxVertAlignment Value) {
    if (Value == FVertAlignment) return;
    FVertAlignment = Value;
    InvalidateGridNow();
}

void TgxBaseGrid::SetRowBarAlignment(TgxVertAlignment Value) {
    if (Value == FRowBarAlignment) return;
    FRowBarAlignment = Value;
    CheckInvalidateCol(0);
}

#undef GX_LEVELS

} // namespace grid
