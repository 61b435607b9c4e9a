#include "alert/app/GeneratedAlertsGrid.h"

#include "alert/store/ShopOptions.h"
#include "components/PellworthGrid.h"
#include "grid/model/Columns.h"
#include "platform/gui/Colors.h"
#include "platform/rtl/DateTimeFormat.h"

#include <iterator>

namespace {

struct Column {
    const char* Heading;
    int Width;
};

constexpr Column Columns[] = {{"HistoryString", 221},   {"Alert Id", 46},
                              {"Date Triggered", 148},  {"Triggered By", 102},
                              {"Alert Recipient", 103}, {"Priority", 39}};

} // namespace

void SetUpGeneratedAlertsGrid(components::TPellworthGrid& Grid) {
    Grid.SetGridColCount(static_cast<int>(std::size(Columns)));
    Grid.SetGridRowCount(0);
    for (int C = 1; C <= Grid.GetGridColCount(); ++C) {
        grid::TgxCol* Col = Grid.GetCol(C);
        Col->SetHeading(Columns[C - 1].Heading);
        Col->SetWidth(Columns[C - 1].Width);
    }
    Grid.SetGridMode(grid::gmBrowse);
    Grid.SetWordWrap(grid::uiOn);
    Grid.SetCellSelectMode(grid::cmNone);
    Grid.SetResizeRows(grid::rrNone);
    Grid.SetRowMoving(false);
    Grid.SetSelectionType(grid::sltColor);
    Grid.SetThumbTracking(true);
    Grid.SetLineColor(clTeal);
    Grid.SetEditColor(clYellow);
    Grid.SetFocusColor(clYellow);
    Grid.SetStoreData(true);
    Grid.SetExportDelimiter(",");
}

GeneratedAlertsGrid::GeneratedAlertsGrid(components::TPellworthGrid& Grid,
                                         const ShopOptions& Options)
    : FGrid(Grid), FOptions(Options) {}

void GeneratedAlertsGrid::AddAlert(const AlertTransaction& Alert) {
    static const AnsiString MonthFirst = "h:nn AM/PM mm/dd/yy";
    static const AnsiString DayFirst = "h:nn AM/PM dd/mm/yy";
    const AnsiString& Format = FOptions.DT_PREF == 1 ? MonthFirst : DayFirst;
    const int Row = FGrid.GetGridRowCount() + 1;
    FGrid.SetGridRowCount(Row);
    FGrid.SetCellValue(1, Row, Variant(Alert.MessageText));
    FGrid.SetCellValue(2, Row, Variant(Alert.AlertNbr));
    FGrid.SetCellValue(3, Row, Variant(FormatDateTime(Format, Alert.EventTimeStamp)));
    FGrid.SetCellValue(4, Row, Variant(Alert.EmpNbrGeneratedTrans));
    FGrid.SetCellValue(5, Row, Variant(Alert.RecipientNbr));
    FGrid.SetCellValue(6, Row, Variant(static_cast<int>(Alert.Priority)));
    FGrid.SetRowHeight(Row, FGrid.GetCellTextLines(1, Row) * LineHeight);
}

void GeneratedAlertsGrid::Clear() {
    FGrid.SetGridRowCount(0);
}
