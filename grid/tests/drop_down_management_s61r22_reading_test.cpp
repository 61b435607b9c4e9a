// Which drop-down a grid has open, closing it, its set-up per cell, and
// where a drop-down form goes on the screen.
#include "DropDownFixture.h"
#include "grid/view/DateTimeDropDownCalendar.h"
#include "platform/rtl/DateTime.h"

#include <string>
#include <vector>

namespace {

using DropDownManagement = DropDownFixture;

TEST_F(DropDownManagement, NothingOpenReadsClosedAndClosingRaisesNoRollUp) {
    int RollUps = 0;
    Grid->OnComboRollUp = [&](TObject*, grid::TgxComboGrid*, int, int) { ++RollUps; };
    Grid->OnDateTimeRollUp = [&](auto&&...) { ++RollUps; };
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_FALSE(Grid->DateTimeVisible());
    EXPECT_FALSE(Grid->DropDownVisible());
    EXPECT_FALSE(Grid->ComboCreated());
    Grid->CheckDropDownOff(true);
    EXPECT_EQ(RollUps, 0);
    EXPECT_FALSE(Grid->ComboCreated());
}

TEST_F(DropDownManagement, AnOpenListClosesOnceWithOneRollUp) {
    GiveColumnList(1, {"one", "two"});
    std::vector<std::string> Log;
    Grid->OnComboRollUp = [&](TObject*, grid::TgxComboGrid*, int C, int R) {
        Log.push_back("up " + std::to_string(C) + "," + std::to_string(R));
    };
    GoTo(1, 1);
    Grid->ShowCombo();
    ASSERT_TRUE(Grid->ComboVisible());
    EXPECT_TRUE(Grid->DropDownVisible());
    Grid->CheckDropDownOff(false);
    EXPECT_FALSE(Grid->ComboVisible());
    Grid->CheckDropDownOff(false);
    EXPECT_EQ(Log, std::vector<std::string>{"up 1,1"});
}

TEST_F(DropDownManagement, TheListIsSetUpAgainAfterMovingToAnotherCell) {
    GiveColumnList(1, {"one", "two"});
    std::vector<std::string> Inits;
    Grid->OnComboInit = [&](TObject*, grid::TgxComboGrid*, int C, int R) {
        Inits.push_back(std::to_string(C) + "," + std::to_string(R));
    };
    GoTo(1, 1);
    Grid->ShowCombo();
    Grid->HideCombo();
    Grid->ShowCombo();
    Grid->HideCombo();
    const size_t InSameCell = Inits.size();
    ASSERT_GE(InSameCell, 1u);
    GoTo(1, 2);
    Grid->ShowCombo();
    Grid->HideCombo();
    ASSERT_EQ(Inits.size(), InSameCell + 1);
    EXPECT_EQ(Inits.back(), "1,2");
    GoTo(1, 1);
    Grid->ShowCombo();
    ASSERT_EQ(Inits.size(), InSameCell + 2);
    EXPECT_EQ(Inits.back(), "1,1");
}

TEST_F(DropDownManagement, ADropDownFormStaysInsideTheWorkArea) {
    const TRect Work = Screen->WorkAreaRect();
    const int Row = Grid->GetDisplayRow(1);
    const int RowHeight = Grid->GetRowHeight(1);
    const int W = Work.Width();
    const int H = Work.Height();
    struct Case {
        const char* Name;
        TPoint Size;
        TPoint Pos;
        TPoint Expected;
    };
    const Case Cases[] = {
        {"fits", {100, 100}, {50, 50}, {50, 50}},
        {"leaves the right", {200, 100}, {W - 50, 50}, {W - 200, 50}},
        {"wider than the screen", {W + 40, 100}, {10, 50}, {Work.Left, 50}},
        {"leaves the bottom", {100, 200}, {50, H - 50},
         {50, H - 50 + Grid->VertLineWidth() - RowHeight - 200}},
        {"taller than the screen", {100, H + 10}, {50, 100}, {50, Work.Top}},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        TPoint Pos = C.Pos;
        Grid->PositionDropDownForm(Grid->GetDisplayCol(1), Row, C.Size, Pos);
        EXPECT_EQ(Pos.X, C.Expected.X);
        EXPECT_EQ(Pos.Y, C.Expected.Y);
    }
    TPoint Pos{3, 3};
    Grid->PositionPopupForm(1, Row, TPoint{101, 51}, Pos);
    EXPECT_EQ(Pos.X, (W - 101) / 2);
    EXPECT_EQ(Pos.Y, (H - 51) / 2);
}

TEST_F(DropDownManagement, APickedDateBecomesTextByTheDisplayKind) {
    auto* Def = new grid::TgxCalendarDateTimeDef(Form);
    Grid->GetCol(1)->SetButtonType(grid::btDateTimeDropDown);
    Grid->GetCol(1)->SetDateTimeDef(Def);
    Grid->CheckCreateDateTime(1, 1);
    grid::TgxDateTimeDefComponent* Instance = Grid->DateTimeInstance();
    ASSERT_NE(Instance, nullptr);
    Variant Picked;
    Grid->OnDateTimeGetValue = [&](TObject*, grid::TgxDateTimeDefComponent*, int, int,
                                   Variant& Value) { Value = Picked; };
    auto Shown = [&](grid::TgxDateTimeDisplay Kind, const Variant& V) {
        Instance->SetDateTimeDisplay(Kind);
        Picked = V;
        Variant Out;
        Grid->GetDateTimeValue(1, 1, Out);
        return Out;
    };
    const TDateTime Day = EncodeDate(2024, 3, 5);
    const Variant DateOnly = Shown(grid::dtDate, Variant(Day));
    ASSERT_EQ(DateOnly.Type(), varString);
    const std::string DateText = DateOnly.AsString().c_str();
    EXPECT_NE(DateText.find("2024"), std::string::npos) << DateText;
    // Milliseconds alone do not make a time worth showing.
    const TDateTime WithMs{Day.Val + EncodeTime(0, 0, 0, 250).Val};
    EXPECT_EQ(Shown(grid::dtDateTime, Variant(WithMs)).AsString(), DateOnly.AsString());
    const TDateTime WithSec{Day.Val + EncodeTime(0, 0, 7, 0).Val};
    const std::string Both = Shown(grid::dtDateTime, Variant(WithSec)).AsString().c_str();
    EXPECT_GT(Both.size(), DateText.size()) << Both;
    EXPECT_NE(Both.find(":07"), std::string::npos) << Both;
    const std::string Time = Shown(grid::dtTime, Variant(WithSec)).AsString().c_str();
    EXPECT_EQ(Time.find("2024"), std::string::npos) << Time;
    EXPECT_NE(Time.find(":07"), std::string::npos) << Time;
    // Anything else passes through untouched.
    EXPECT_EQ(Shown(grid::dtDate, Variant(AnsiString("soon"))).AsString(), "soon");
    EXPECT_EQ(Shown(grid::dtDate, Variant(7)).Type(), Variant(7).Type());
}

} // namespace
