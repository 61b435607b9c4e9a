// The debug grid's row for a generated alert: its six cells, the date in the
// options' order and a height of 14 pixels per text line.
#include "alert/app/GeneratedAlertsGrid.h"
#include "alert/store/ShopOptions.h"
#include "components/PellworthGrid.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/DateTime.h"

#include <gtest/gtest.h>

namespace {

struct RowCase {
    const char* Title;
    int DtPref;
    const char* Text;
    const char* Shown;
    int Height;
};

TEST(GeneratedAlertsGrid, AddsOneRowPerAlertWithItsCellsDateOrderAndHeight) {
    Application->Initialize();
    TForm Form(nullptr);
    auto* Grid = new components::TPellworthGrid(&Form);
    Grid->SetParent(&Form);
    SetUpGeneratedAlertsGrid(*Grid);
    ShopOptions Options;
    GeneratedAlertsGrid View(*Grid, Options);

    const RowCase Cases[] = {
        {"month first", 1, "one line", "9:05 AM 12/31/24", 14},
        {"day first", 2, "first\nsecond\nthird", "9:05 AM 31/12/24", 42},
        {"anything else is day first", 0, "x", "9:05 AM 31/12/24", 14},
    };
    int Row = 0;
    for (const RowCase& C : Cases) {
        SCOPED_TRACE(C.Title);
        Options.DT_PREF = C.DtPref;
        AlertTransaction Alert;
        Alert.MessageText = C.Text;
        Alert.AlertNbr = 17;
        Alert.EventTimeStamp = EncodeDate(2024, 12, 31) + EncodeTime(9, 5, 0, 0);
        Alert.EmpNbrGeneratedTrans = 4;
        Alert.RecipientNbr = 9;
        Alert.Priority = -2;
        View.AddAlert(Alert);
        ++Row;
        ASSERT_EQ(Grid->GetGridRowCount(), Row);
        EXPECT_EQ(Grid->GetCellValue(1, Row).AsString(), C.Text);
        EXPECT_EQ(Grid->GetCellValue(2, Row).AsString(), "17");
        EXPECT_EQ(Grid->GetCellValue(3, Row).AsString(), C.Shown);
        EXPECT_EQ(Grid->GetCellValue(4, Row).AsString(), "4");
        EXPECT_EQ(Grid->GetCellValue(5, Row).AsString(), "9");
        EXPECT_EQ(Grid->GetCellValue(6, Row).AsString(), "-2");
        EXPECT_EQ(Grid->GetRowHeight(Row), C.Height);
    }
    View.Clear();
    EXPECT_EQ(Grid->GetGridRowCount(), 0);
}

} // namespace
