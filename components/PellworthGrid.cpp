#include "components/PellworthGrid.h"

#include "components/Palette.h"
#include "grid/model/Columns.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/PropDefaults.h"
#include "grid/model/Rows.h"
#include "platform/classes/DesignRegistry.h"
#include "platform/classes/Publish.h"
#include "platform/gui/Colors.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/StringList.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace components {

namespace {

// A caller broke a precondition of the grid: a programming error, reported
// with its condition and where it sits, and the program stops.
[[noreturn]] void AssertFailed(const char* Condition, int Line) {
    std::fprintf(stderr, "Assertion failed: %s, file TPellworthGrid, line %d\n", Condition, Line);
    std::abort();
}

// The condition as the caller's contract states it.
#define PELLWORTH_CHECK_COL(DataCol)                                                               \
    do {                                                                                           \
        if (!((DataCol) > 0 && (DataCol) <= GetGridColCount()))                                    \
            AssertFailed("DataCol > 0 && DataCol <= Cols", __LINE__);                              \
    } while (false)

AnsiString StripNumberMarks(const AnsiString& Text) {
    AnsiString Rest;
    Rest.reserve(Text.size());
    for (const char C : Text)
        if (C != '$' && C != ',' && C != '%') Rest += C;
    return Rest;
}

bool IsBlank(const AnsiString& Text) {
    for (const char C : Text)
        if (C != ' ') return false;
    return true;
}

// The longest start of Text that is a decimal number in the locale's
// format: blanks, a sign, digits with the decimal separator, an exponent.
// Words ("Info", "nan") and hexadecimal are no numbers here.
AnsiString DecimalPrefix(const AnsiString& Text) {
    const char Separator = FormatSettings().DecimalSeparator;
    const auto Digit = [&Text](std::size_t I) {
        return I < Text.size() && Text[I] >= '0' && Text[I] <= '9';
    };
    std::size_t I = 0;
    while (I < Text.size() && Text[I] == ' ')
        ++I;
    if (I < Text.size() && (Text[I] == '+' || Text[I] == '-')) ++I;
    std::size_t Digits = 0;
    while (Digit(I)) {
        ++I;
        ++Digits;
    }
    if (I < Text.size() && Text[I] == Separator) {
        std::size_t After = I + 1;
        while (Digit(After)) {
            ++After;
            ++Digits;
        }
        if (Digits > 0) I = After;
    }
    if (Digits == 0) return AnsiString();
    if (I < Text.size() && (Text[I] == 'e' || Text[I] == 'E')) {
        std::size_t Exp = I + 1;
        if (Exp < Text.size() && (Text[Exp] == '+' || Text[Exp] == '-')) ++Exp;
        if (Digit(Exp)) {
            while (Digit(Exp))
                ++Exp;
            I = Exp;
        }
    }
    return Text.substr(0, I);
}

} // namespace

long double ParseGridNumber(const AnsiString& Text) {
    const AnsiString Rest = StripNumberMarks(Text);
    double Value = 0;
    if (TryStrToFloat(Rest, Value)) return Value;
    // A number too large for a double ("1e400") is no number either: the
    // program never gets an infinity or NaN from a cell.
    if (TryStrToFloat(DecimalPrefix(Rest), Value)) return Value;
    return 0;
}

TPellworthGrid::TPellworthGrid(TComponent* AOwner)
    : grid::TgxGrid(AOwner), FSaveColumnWidths(std::make_unique<TSaveColumnWidths>(this)),
      FSaveColumnPositions(std::make_unique<TSaveColumnPositions>(this)) {
    SetAlwaysShowEditor(false);
    SetEditColor(clYellow);
    SetFocusColor(clYellow);
    SetLineColor(clTeal);
    SetResizeRows(grid::rrNone);
    SetRowChangedIndicator(grid::riAutoReset);
    SetRowMoving(false);
    SetSelectFixed(false);
    SetSelectionType(grid::sltColor);
    SetStoreData(true);
    SetThumbTracking(true);
    SetCellSelectMode(grid::cmNone);
}

TPellworthGrid::~TPellworthGrid() {
    // The user's layout is kept when the grid goes, widths before positions.
    if (!GetInDesignMode()) {
        try {
            if (FSaveColumnWidths->Enabled()) FSaveColumnWidths->Save();
            if (FSaveColumnPositions->Enabled()) FSaveColumnPositions->Save();
        } catch (...) {
            // A destructor must not throw; the layout simply stays as stored.
        }
    }
}

void TPellworthGrid::Loaded() {
    grid::TgxGrid::Loaded();
    if (GetInDesignMode()) return;
    if (FSaveColumnWidths->Enabled()) FSaveColumnWidths->Restore();
    if (FSaveColumnPositions->Enabled()) FSaveColumnPositions->Restore();
}

// ---- column formats ------------------------------------------------------------------------

AnsiString TPellworthGrid::GetColFormat(int DataCol) {
    PELLWORTH_CHECK_COL(DataCol);
    const auto Found = FColFormat.find(DataCol);
    return Found == FColFormat.end() ? AnsiString() : Found->second;
}

void TPellworthGrid::SetColFormat(int DataCol, const AnsiString& Value) {
    PELLWORTH_CHECK_COL(DataCol);
    FColFormat[DataCol] = Value;
}

bool TPellworthGrid::GetColDisplayZero(int DataCol) {
    PELLWORTH_CHECK_COL(DataCol);
    const auto Found = FColDisplayZero.find(DataCol);
    return Found != FColDisplayZero.end() && Found->second;
}

void TPellworthGrid::SetColDisplayZero(int DataCol, bool Value) {
    PELLWORTH_CHECK_COL(DataCol);
    if (Value)
        FColDisplayZero[DataCol] = true;
    else
        FColDisplayZero.erase(DataCol);
}

void TPellworthGrid::FormatCellValue(AnsiString& Text, int DataCol) {
    const auto Found = FColFormat.find(DataCol);
    if (Found == FColFormat.end() || Found->second.empty()) return;
    if (Text.empty() || Text == "-") return;
    try {
        Text = FormatFloat(Found->second, static_cast<double>(ParseGridNumber(Text)));
    } catch (...) {
        // A format the formatter refuses leaves the text as it was.
    }
}

AnsiString TPellworthGrid::CellText(int DataCol, int DataRow) {
    return VarToStr(GetCellValue(DataCol, DataRow));
}

AnsiString TPellworthGrid::FormattedCellValue(int DataCol, int DataRow) {
    AnsiString Text = CellText(DataCol, DataRow);
    FormatCellValue(Text, DataCol);
    return Text;
}

void TPellworthGrid::DrawCellText(const AnsiString& Text, grid::TgxDrawData& Data, bool Selected) {
    AnsiString Shown = Text;
    FormatCellValue(Shown, Data.DataCol);
    if (OnDrawCellText) OnDrawCellText(this, Shown, Data, Selected);
    grid::TgxGrid::DrawCellText(Shown, Data, Selected);
}

// ---- typed cell access ---------------------------------------------------------------------

void TPellworthGrid::GetGridDataCell(char* Dest, int DataCol, int DataRow) {
    const AnsiString Text = CellText(DataCol, DataRow);
    std::memcpy(Dest, Text.c_str(), Text.size() + 1);
}

void TPellworthGrid::SetGridDataCell(const char* Source, int DataCol, int DataRow) {
    SetCellValue(DataCol, DataRow, Variant(AnsiString(Source ? Source : "")));
}

void TPellworthGrid::GetGridDataCell(int& Value, int DataCol, int DataRow) {
    try {
        Value = GetCellValue(DataCol, DataRow).AsInteger();
    } catch (...) {
        Value = 0;
    }
}

void TPellworthGrid::SetGridDataCell(const int& Value, int DataCol, int DataRow) {
    SetCellValue(DataCol, DataRow, Variant(Value));
}

void TPellworthGrid::GetGridDataCell(double& Value, int DataCol, int DataRow) {
    const AnsiString Text = CellText(DataCol, DataRow);
    Value = IsBlank(Text) ? 0.0 : static_cast<double>(ParseGridNumber(Text));
}

void TPellworthGrid::SetGridDataCell(const double& Value, int DataCol, int DataRow) {
    if (Value == 0.0 && !CellProvider && !GetColDisplayZero(DataCol))
        SetCellValue(DataCol, DataRow, Variant(AnsiString()));
    else
        SetCellValue(DataCol, DataRow, Variant(Value));
}

void TPellworthGrid::GetGridDataCell(float& Value, int DataCol, int DataRow) {
    double Wide = 0;
    GetGridDataCell(Wide, DataCol, DataRow);
    Value = static_cast<float>(Wide);
}

void TPellworthGrid::SetGridDataCell(const float& Value, int DataCol, int DataRow) {
    const double Wide = Value;
    SetGridDataCell(Wide, DataCol, DataRow);
}

void TPellworthGrid::GetGridDisplayCell(char* Dest, int DisplayCol, int DisplayRow) {
    GetGridDataCell(Dest, GetDataColnr(DisplayCol), GetDataRownr(DisplayRow));
}

void TPellworthGrid::SetGridDisplayCell(const char* Source, int DisplayCol, int DisplayRow) {
    SetGridDataCell(Source, GetDataColnr(DisplayCol), GetDataRownr(DisplayRow));
}

// ---- value overrides -----------------------------------------------------------------------

Variant TPellworthGrid::GetCellValue(int DataCol, int DataRow) {
    if (!CellProvider) return grid::TgxGrid::GetCellValue(DataCol, DataRow);
    Variant Value;
    CellProvider->GetValue(DataCol, DataRow, Value);
    return Value;
}

void TPellworthGrid::SetCellValue(int DataCol, int DataRow, const Variant& Value) {
    if (CellProvider)
        CellProvider->SetValue(DataCol, DataRow, Value);
    else
        grid::TgxGrid::SetCellValue(DataCol, DataRow, Value);
}

void TPellworthGrid::DoCellLoaded(int DataCol, int DataRow, Variant& Value) {
    grid::TgxGrid::DoCellLoaded(DataCol, DataRow, Value);
    if (CellProvider) CellProvider->GetValue(DataCol, DataRow, Value);
}

void TPellworthGrid::DoCellEdit(int DataCol, const Variant& DataRow, bool ByUser) {
    const int Row = DataRow.AsInteger();
    if (CellProvider && GetCol(DataCol)->ButtonType() == grid::btCombo)
        CellProvider->SetValue(DataCol, Row, CurrentCell()->GetValue());
    grid::TgxGrid::CellEdit(DataCol, Row, ByUser);
}

void TPellworthGrid::DoEndCellEdit(int DataCol, const Variant& DataRow, bool& Cancel) {
    // The provider has the value before an end-edit handler may cancel.
    if (CellProvider)
        CellProvider->SetValue(DataCol, DataRow.AsInteger(), CurrentCell()->GetValue());
    Cancel = !grid::TgxGrid::EndCellEdit();
}

void TPellworthGrid::CellEdit(int DataCol, int DataRow, bool ByUser) {
    DoCellEdit(DataCol, Variant(DataRow), ByUser);
}

bool TPellworthGrid::EndCellEdit() {
    bool Cancel = false;
    DoEndCellEdit(GetCurrentDataCol(), Variant(GetCurrentDataRow()), Cancel);
    return !Cancel;
}

} // namespace components
