// Column auto-size, navigation over hidden rows, check-box input, the
// published properties and the palette registration.
#include "components/PellworthGrid.h"

#include "components/Palette.h"
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/PropDefaults.h"
#include "platform/classes/DesignRegistry.h"
#include "platform/classes/Publish.h"
#include "platform/gui/Colors.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/PublishedProps.h"
#include "platform/rtl/StringList.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace components {

namespace {

// The grid canvas measures in a font for a while and gets its own font back.
class TMeasuringFont {
public:
    explicit TMeasuringFont(TCanvas& Canvas) : FCanvas(Canvas) { FSaved.Assign(Canvas.Font()); }
    ~TMeasuringFont() { FCanvas.Font()->Assign(&FSaved); }
    TMeasuringFont(const TMeasuringFont&) = delete;
    TMeasuringFont& operator=(const TMeasuringFont&) = delete;
    int WidestLine(TFont* Font, const AnsiString& Text) {
        FCanvas.Font()->Assign(Font);
        // Lines end at CR, LF or CR LF, as a string list splits them.
        FLines.SetText(Text);
        int Widest = 0;
        for (int Line = 0; Line < FLines.Count(); ++Line)
            Widest = std::max(Widest, FCanvas.TextWidth(FLines.Strings(Line)));
        return Widest;
    }

private:
    TCanvas& FCanvas;
    TFont FSaved;
    TStringList FLines;
};

} // namespace

// ---- auto-size ---------------------------------------------------------------------------------

TFont* TPellworthGrid::CellPaintFont(int DataCol, int DataRow) {
    if (!GetCellParentFont(DataCol, DataRow)) return GetCellFont(DataCol, DataRow);
    return GetRowParentFont(DataRow) ? Font() : GetRowFont(DataRow);
}

void TPellworthGrid::AutoSizeCol(int DataCol) {
    // No such column: GetCol has raised, or the grid keeps quiet about it.
    grid::TgxCol* Column = GetCol(DataCol);
    if (!Column) return;
    TMeasuringFont Measure(*Canvas());
    int Width = 0;
    for (int Row = 1; Row <= GetGridRowCount(); ++Row) {
        if (!GetRowVisible(Row)) continue;
        if (OnGetCellMinimumWidth) {
            int Minimum = 0;
            bool Handled = false;
            OnGetCellMinimumWidth(this, DataCol, Row, Minimum, Handled);
            if (Handled) {
                Width = std::max(Width, Minimum);
                continue;
            }
        }
        Width = std::max(Width, Measure.WidestLine(CellPaintFont(DataCol, Row),
                                                   FormattedCellValue(DataCol, Row)));
    }
    Width += 7;
    if (Column->ButtonType() == grid::btCombo) Width += 13;
    TFont* Heading = Column->HeadingParentFont() || !Column->HeadingFontObject()
                         ? HeadingFont()
                         : Column->HeadingFontObject();
    Width = std::max(Width, Measure.WidestLine(Heading, Column->Heading()) + 7);
    Column->SetWidth(Width);
}

void TPellworthGrid::AutoSizeColumns() {
    for (int Col = 1; Col <= GetGridColCount(); ++Col) {
        grid::TgxCol* Column = GetCol(Col);
        if (Column->Visible() && Column->ControlType() != grid::ctCheck) AutoSizeCol(Col);
    }
}

// ---- navigation ----------------------------------------------------------------------------

int TPellworthGrid::WindowRows() const {
    return static_cast<int>(GetVisibleRows());
}

bool TPellworthGrid::DisplayRowVisible(int P) const {
    return IsRowVisible(GetDataRownr(P));
}

void TPellworthGrid::Scroll(int Lines) {
    const int Top = TopRow();
    // Compared, not negated: the smallest int has no positive counterpart.
    if (Lines < 0 && Top > 1)
        SetTopRow(Lines < 1 - Top ? 1 : Top + Lines);
    else if (Lines > 0 && Top < GetGridRowCount())
        SetTopRow(Top + std::min(Lines, GetGridRowCount() - Top));
}

int TPellworthGrid::GetBottomRow() {
    const int Top = TopRow();
    const int Shown = WindowRows();
    int Walked = 0;
    for (int P = Top, Seen = 0; P <= GetGridRowCount() && Seen < Shown; ++P, ++Walked)
        if (DisplayRowVisible(P)) ++Seen;
    return Top + Walked - 1;
}

void TPellworthGrid::SetBottomRow(int Row) {
    const int Shown = WindowRows();
    int Walked = 0;
    for (int P = Row, Seen = 0; P >= 1 && Seen < Shown; --P, ++Walked)
        if (DisplayRowVisible(P)) ++Seen;
    SetTopRow(Row - Walked + 1);
}

int TPellworthGrid::NextVisibleRow(int Row, bool Inclusive) {
    for (int P = Inclusive ? Row : Row + 1; P <= GetGridRowCount(); ++P)
        if (P >= 1 && DisplayRowVisible(P)) return P;
    return Row;
}

int TPellworthGrid::PrevVisibleRow(int Row, bool Inclusive) {
    for (int P = std::min(Inclusive ? Row : Row - 1, GetGridRowCount()); P >= 1; --P)
        if (DisplayRowVisible(P)) return P;
    return Row;
}

void TPellworthGrid::MakeDataRowVisible(int DataRow) {
    const int Display = GetDisplayRownr(DataRow);
    if (Display < 1) return;
    const int Top = TopRow();
    const int Shown = WindowRows();
    if (Display < Top)
        SetTopRow(Display < Shown ? 1 : Display);
    else if (Display >= Top + Shown)
        SetTopRow(Display);
    SetCurrentCell(std::max(Col(), 1), Display);
}

void TPellworthGrid::SetColList(int DataCol, const char* List) {
    grid::TgxCol* Column = GetCol(DataCol);
    if (!Column) return;
    Column->SetParentCombo(false);
    grid::TgxComboGrid* Entries = Column->GetCombo()->GetGrid();
    Entries->SetStoreData(true);
    Entries->SetGridColCount(1);
    Entries->SetGridRowCount(0);
    const auto Append = [Entries](const AnsiString& Text) {
        const int Row = Entries->GetGridRowCount() + 1;
        Entries->SetGridRowCount(Row);
        Entries->SetCellValue(1, Row, Variant(Text));
    };
    const std::string_view Text = List ? List : "";
    if (!Text.empty() && Text.front() == '\t') Append(AnsiString());
    std::size_t Start = 0;
    while (Start < Text.size()) {
        Start = Text.find_first_not_of('\t', Start);
        if (Start == std::string_view::npos) break;
        const std::size_t End = std::min(Text.find('\t', Start), Text.size());
        Append(AnsiString(Text.substr(Start, End - Start)));
        Start = End;
    }
}

// ---- check-box input -------------------------------------------------------------------------

void TPellworthGrid::ToggleCurrentCheckCell() {
    if (!Edit()) return;
    const int DataCol = GetCurrentDataCol();
    const int DataRow = GetCurrentDataRow();
    bool Zero = false;
    try {
        Zero = GetCellValue(DataCol, DataRow) == 0;
    } catch (...) {
        // A text that is no number is not 0.
    }
    const Variant Toggled(Zero ? 1 : 0);
    SetCellValue(DataCol, DataRow, Toggled);
    // The edit ends by storing the current cell's value, which must be the
    // new one (the cell's editor may still show the old).
    CurrentCell()->SetBuffer(Toggled, false);
    EndEdit(false);
}

void TPellworthGrid::KeyPress(char& Key) {
    const int DataCol = GetDataColnr(Col());
    const int DataRow = GetDataRownr(Row());
    if (DataCol < 1 || DataRow < 1) return;
    if (Key == ' ' && GetCol(DataCol)->ControlType() == grid::ctCheck) {
        ToggleCurrentCheckCell();
        return;
    }
    grid::TgxGrid::KeyPress(Key);
}

void TPellworthGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    int DisplayCol = -1;
    int DisplayRow = -1;
    CellFromXY(X, Y, DisplayCol, DisplayRow);
    const bool DataCell = DisplayCol >= 1 && DisplayRow >= 1;
    const bool Left = Button == mbLeft;
    const auto ClearSelectedRows = [this] {
        grid::TgxSelection& Selected = RowSelection();
        for (int P = Selected.Next(0); P > 0; P = Selected.Next(P))
            SetRowSelected(GetDataRownr(P), false);
    };
    if (Left && DataCell && GetCol(GetDataColnr(DisplayCol))->ControlType() == grid::ctCheck) {
        // A click toggles the box at once and selects no row.
        ClearSelectedRows();
        SetCurrentCell(DisplayCol, DisplayRow);
        // The grid may refuse to leave the cell it edits: then the box was
        // not reached, and the cell that stays current is no box to toggle.
        if (Col() == DisplayCol && Row() == DisplayRow) ToggleCurrentCheckCell();
        return;
    }
    grid::TgxGrid::MouseDown(Button, Shift, X, Y);
    if (Left && FRowSelect && DataCell) {
        ClearSelectedRows();
        SetRowSelected(GetDataRownr(DisplayRow), true);
    }
}

// ---- published properties and registration -------------------------------------------------

namespace {

const TTypeInfo& RegistryRootType() {
    static const TTypeInfo Info =
        MakeEnumType("TRegistryRoot", {"rrCurrentUser", "rrLocalMachine", "rrCurrentConfig",
                                       "rrClassesRoot", "rrUsers", "rrDynData"});
    return Info;
}

template <class T> void PublishLayout(TClassBuilder<T>& C) {
    C.Property("RegRoot", &T::RegRoot, &T::SetRegRoot, RegistryRootType()).Default(rrCurrentUser);
    C.Property(
        "RegKey", [](const T& S) { return S.RegKey(); },
        [](T& S, const AnsiString& V) { S.SetRegKey(V); });
    C.Property(
        "RegSection", [](const T& S) { return S.RegSection(); },
        [](T& S, const AnsiString& V) { S.SetRegSection(V); });
    C.Property("Enabled", &T::Enabled, &T::SetEnabled).Default(false);
}

const TPublished<TSaveColumnWidths, TPersistent>
    SaveColumnWidthsClass("TSaveColumnWidths", [](auto& C) { PublishLayout(C); });
const TPublished<TSaveColumnPositions, TPersistent>
    SaveColumnPositionsClass("TSaveColumnPositions", [](auto& C) { PublishLayout(C); });

// The settings whose defaults the company grid changes are published again
// with the new defaults, so a form stores only what differs from them.
const TPublished<TPellworthGrid, grid::TgxGrid> PellworthGridClass(
    "TPellworthGrid",
    [](auto& C) {
        C.Property("AlwaysShowEditor", &TPellworthGrid::AlwaysShowEditor,
                   &TPellworthGrid::SetAlwaysShowEditor)
            .Default(false);
        C.Property("RowMoving", &TPellworthGrid::RowMoving, &TPellworthGrid::SetRowMoving)
            .Default(false);
        C.Property("ThumbTracking", &TPellworthGrid::ThumbTracking,
                   &TPellworthGrid::SetThumbTracking)
            .Default(true);
        C.Property("LineColor", &TPellworthGrid::LineColor, &TPellworthGrid::SetLineColor)
            .Default(clTeal);
        C.Property("EditColor", &TPellworthGrid::EditColor, &TPellworthGrid::SetEditColor)
            .Default(clYellow);
        C.Property("FocusColor", &TPellworthGrid::FocusColor, &TPellworthGrid::SetFocusColor)
            .Default(clYellow);
        C.Property("StoreData", &TPellworthGrid::StoreData, &TPellworthGrid::SetStoreData)
            .Default(true);
        C.Property("RowSelect", &TPellworthGrid::RowSelect, &TPellworthGrid::SetRowSelect)
            .Default(false);
        C.Property("SaveColumnWidths", &TPellworthGrid::SaveColumnWidths,
                   &TPellworthGrid::SetSaveColumnWidths);
        C.Property("SaveColumnPositions", &TPellworthGrid::SaveColumnPositions,
                   &TPellworthGrid::SetSaveColumnPositions);
    },
    true);

} // namespace

namespace tpellworthgrid {

void Register() {
    RegisterComponents(PalettePage, {GetClassInfo(typeid(TPellworthGrid))});
}

} // namespace tpellworthgrid

} // namespace components
