// Date-time cells dropping down (or popping up) the calendar of the
// definition that applies to them, driven by the mouse on a shown grid.
#include "DropDownFixture.h"
#include "StubDateTimeDef.h"
#include "grid/model/CellButtons.h"
#include "grid/model/GridLinks.h"
#include "grid/view/DateTimeDropDownCalendar.h"
#include "grid/view/DropDownForm.h"
#include "platform/classes/Publish.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/DateTimeFormat.h"

#include <QTimer>

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

using namespace grid;

namespace {

class OtherCalendarDef : public TgxCalendarDateTimeDef {
public:
    using TgxCalendarDateTimeDef::TgxCalendarDateTimeDef;
    AnsiString ClassName() const override { return "OtherCalendarDef"; }
};
const TPublished<OtherCalendarDef, TComponent> OtherCalendarDefClass("OtherCalendarDef",
                                                                     [](auto&) {});

class NoControlDef : public StubDateTimeDef {
public:
    using StubDateTimeDef::StubDateTimeDef;
    AnsiString ClassName() const override { return "NoControlDef"; }
    void Assign(TPersistent*) override {}
};
const TPublished<NoControlDef, TComponent> NoControlDefClass("NoControlDef", [](auto&) {});

class DateTimeDropDownReading : public DropDownFixture {
protected:
    void SetUp() override {
        DropDownFixture::SetUp();
        Def = new TgxCalendarDateTimeDef(Form);
        Grid->SetStoreData(true);
        Grid->OnDateTimeInit = [this](TObject*, TgxDateTimeDefComponent*, int C, const Variant& R) {
            Calls.push_back("init " + AnsiString(std::to_string(C)) + "," + R.AsString());
        };
        Grid->OnDateTimeDropDown = [this](TObject*, TgxDateTimeDefComponent* I, int C,
                                          const Variant& R) {
            Calls.push_back("drop " + AnsiString(std::to_string(C)) + "," + R.AsString());
            if (DropValue) I->SetDateTime(*DropValue);
        };
        Grid->OnDateTimeRollUp = [this](TObject*, TgxDateTimeDefComponent*, int C,
                                        const Variant& R) {
            Calls.push_back("up " + AnsiString(std::to_string(C)) + "," + R.AsString());
        };
    }
    // Column DataCol drops down (pops up) a calendar of Definition.
    void DateColumn(int DataCol, TgxButtonType Type, TgxDateTimeDefComponent* Definition) {
        Grid->GetCol(DataCol)->SetButtonType(Type);
        Grid->GetCol(DataCol)->SetDateTimeDef(Definition);
    }
    // A click on the button at the right edge of a data cell.
    void ClickButton(int DataCol, int DataRow) {
        const TRect R = Grid->CellRect(Grid->GetDisplayCol(DataCol), Grid->GetDisplayRow(DataRow));
        ClickAt(Grid->Widget(), QPoint(R.Right - 4, (R.Top + R.Bottom) / 2));
        QApplication::processEvents();
    }
    TgxDropDownForm* DropForm() { return Grid->GetDateTimeForm(); }

    TgxCalendarDateTimeDef* Def = nullptr;
    std::vector<AnsiString> Calls;
    std::unique_ptr<Variant> DropValue;
};

TEST_F(DateTimeDropDownReading, TheButtonOpensAndASecondPressClosesWithOneRollUp) {
    DateColumn(2, btDateTimeDropDown, Def);
    GoTo(2, 2);
    ClickButton(2, 2);
    ASSERT_TRUE(Grid->DateTimeVisible());
    EXPECT_EQ(Grid->DateTimeDataCol(), 2);
    EXPECT_EQ(Grid->DateTimeDataRow(), 2);
    ClickButton(2, 2);
    EXPECT_FALSE(Grid->DateTimeVisible());
    EXPECT_EQ(Grid->DateTimeDataCol(), -1);
    EXPECT_EQ(Grid->DateTimeDataRow(), -1);
    EXPECT_EQ(Calls, (std::vector<AnsiString>{"init 2,2", "drop 2,2", "up 2,2"}));
    // Opened again on the same cell: no second initialisation.
    Calls.clear();
    ClickButton(2, 2);
    ClickButton(2, 2);
    EXPECT_EQ(Calls, (std::vector<AnsiString>{"drop 2,2", "up 2,2"}));
}

TEST_F(DateTimeDropDownReading, TheCalendarStartsFromTheCellsValueUnlessAHandlerGivesOne) {
    DateColumn(2, btDateTimeDropDown, Def);
    const TDateTime Cell = EncodeDate(2024, 3, 15);
    Grid->SetCellValue(2, 2, Variant(Cell));
    GoTo(2, 2);
    ClickButton(2, 2);
    ASSERT_TRUE(Grid->DateTimeVisible());
    auto* Instance = dynamic_cast<TgxCalendarDateTimeDef*>(Grid->DateTimeInstance());
    ASSERT_NE(Instance, nullptr);
    EXPECT_NE(Instance, Def) << "the grid works on an instance of its own";
    EXPECT_DOUBLE_EQ(Instance->GetDateTime().AsDouble(), double(Cell));
    EXPECT_DOUBLE_EQ(double(Instance->Calendar()->Date()), double(Cell));
    ClickButton(2, 2);
    DropValue = std::make_unique<Variant>(Variant(EncodeDate(2020, 1, 2)));
    ClickButton(2, 2);
    EXPECT_DOUBLE_EQ(Instance->GetDateTime().AsDouble(), double(EncodeDate(2020, 1, 2)));
}

TEST_F(DateTimeDropDownReading, PickingADayWritesItToTheCell) {
    DateColumn(2, btDateTimeDropDown, Def);
    Grid->SetCellValue(2, 2, Variant(EncodeDate(2024, 3, 15)));
    GoTo(2, 2);
    ClickButton(2, 2);
    auto* Instance = dynamic_cast<TgxCalendarDateTimeDef*>(Grid->DateTimeInstance());
    ASSERT_NE(Instance, nullptr);
    TgxMonthCalendar* Calendar = Instance->Calendar();
    const TRect Day = Calendar->DayRect(EncodeDate(2024, 3, 20));
    ClickAt(Calendar->Widget(), QPoint((Day.Left + Day.Right) / 2, (Day.Top + Day.Bottom) / 2));
    QApplication::processEvents();
    EXPECT_FALSE(Grid->DateTimeVisible());
    const Variant V = Grid->CurrentCell()->GetValue();
    ASSERT_FALSE(V.IsEmpty());
    EXPECT_EQ(V.AsString(), DateToStr(EncodeDate(2024, 3, 20)));
}

TEST_F(DateTimeDropDownReading, WhichDefinitionACellUses) {
    auto* RowDef = new TgxCalendarDateTimeDef(Form);
    auto* ColDef = new TgxCalendarDateTimeDef(Form);
    auto* CellDef = new TgxCalendarDateTimeDef(Form);
    Grid->SetDateTimeDef(Def);
    Grid->GetCol(2)->SetDateTimeDef(ColDef);
    Grid->SetRowDateTimeDef(2, RowDef);
    Grid->SetCellDateTimeDef(2, 2, CellDef);
    struct Case {
        const char* Name;
        TgxButtonType CellType, RowType, ColType;
        TgxDrawOverlap Overlap;
        TgxDateTimeDefComponent* Expected;
    } Cases[] = {
        {"cell's own", btDateTimePopup, btNone, btNone, doDrawRowOnTop, CellDef},
        {"row on top", btNone, btDateTimeDropDown, btDateTimeDropDown, doDrawRowOnTop, RowDef},
        {"row not date-time", btNone, btCombo, btDateTimeDropDown, doDrawRowOnTop, ColDef},
        {"column on top", btNone, btDateTimeDropDown, btDateTimePopup, doDrawColOnTop, ColDef},
        {"column not date-time", btNone, btDateTimeDropDown, btNormal, doDrawColOnTop, RowDef},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->SetCellButtonType(2, 2, C.CellType);
        Grid->SetRowButtonType(2, C.RowType);
        Grid->GetCol(2)->SetButtonType(C.ColType);
        Grid->SetDrawOverlap(C.Overlap);
        EXPECT_EQ(Grid->GiveCellDateTime(2, 2), C.Expected);
    }
    // Nothing below: the grid's own.
    Grid->SetCellButtonType(2, 2, btNone);
    Grid->GetCol(1)->SetButtonType(btDateTimeDropDown);
    EXPECT_EQ(Grid->GiveCellDateTime(1, 1), Def);
    for (const auto& [Col, Row] : {std::pair{0, 1}, std::pair{1, 0}, std::pair{5, 1},
                                   std::pair{1, Grid->GetGridRowCount() + 1}})
        EXPECT_EQ(Grid->GiveCellDateTime(Col, Row), nullptr);
}

TEST_F(DateTimeDropDownReading, OneInstancePerDefinitionClass) {
    auto* Same = new TgxCalendarDateTimeDef(Form);
    auto* Other = new OtherCalendarDef(Form);
    DateColumn(1, btDateTimeDropDown, Def);
    DateColumn(2, btDateTimeDropDown, Same);
    DateColumn(3, btDateTimeDropDown, Other);
    GoTo(1, 1);
    ClickButton(1, 1);
    TgxDateTimeDefComponent* First = Grid->DateTimeInstance();
    ASSERT_NE(First, nullptr);
    Grid->HideDateTime();
    GoTo(2, 1);
    ClickButton(2, 1);
    EXPECT_EQ(Grid->DateTimeInstance(), First);
    Grid->HideDateTime();
    GoTo(3, 1);
    ClickButton(3, 1);
    ASSERT_NE(Grid->DateTimeInstance(), nullptr);
    EXPECT_EQ(Grid->DateTimeInstance()->ClassName(), "OtherCalendarDef");
    EXPECT_TRUE(Grid->DateTimeVisible());
    Grid->HideDateTime();
}

TEST_F(DateTimeDropDownReading, ACellWithoutADefinitionShowsNothing) {
    Grid->GetCol(2)->SetButtonType(btDateTimeDropDown);
    GoTo(2, 2);
    ClickButton(2, 2);
    Grid->ShowDateTime();
    EXPECT_FALSE(Grid->DateTimeVisible());
    EXPECT_TRUE(Calls.empty());
}

TEST_F(DateTimeDropDownReading, WithoutAControlTheDropDownIsAsWideAsTheColumnAndFifteenHigh) {
    auto* Bare = new NoControlDef(Form);
    DateColumn(2, btDateTimeDropDown, Bare);
    Grid->SetColWidths(2, 90);
    GoTo(2, 2);
    Grid->ShowDateTime();
    ASSERT_TRUE(Grid->DateTimeVisible());
    EXPECT_FALSE(Grid->DateTimeControlAssigned());
    TgxDropDownForm* F = DropForm();
    EXPECT_EQ(F->ClientWidth(), 90);
    EXPECT_EQ(F->ClientHeight(), 15);
    const TRect Cell = Grid->CellRect(2, 2);
    const TPoint BottomLeft = Grid->ClientToScreen(Point(Cell.Left, Cell.Bottom));
    EXPECT_EQ(F->Left(), BottomLeft.X);
    EXPECT_EQ(F->Top(), BottomLeft.Y);
}

TEST_F(DateTimeDropDownReading, ANarrowCalendarEndsAtTheCellsRightEdge) {
    DateColumn(2, btDateTimeDropDown, Def);
    Grid->SetColWidths(2, 300);
    GoTo(2, 2);
    ClickButton(2, 2);
    ASSERT_TRUE(Grid->DateTimeVisible());
    TgxDropDownForm* F = DropForm();
    const int Wide = Def->Calendar()->Width();
    ASSERT_LT(Wide, 300);
    const TRect Cell = Grid->CellRect(2, 2);
    const TPoint BottomLeft = Grid->ClientToScreen(Point(Cell.Left, Cell.Bottom));
    EXPECT_EQ(F->Left(), BottomLeft.X + 300 - F->Width());
    EXPECT_EQ(F->Top(), BottomLeft.Y);
}

// The pop-up runs modally; the day is picked from inside its loop.
TEST_F(DateTimeDropDownReading, APopupTakesTheDayPickedInItsLoop) {
    DateColumn(2, btDateTimePopup, Def);
    Grid->SetCellValue(2, 2, Variant(EncodeDate(2024, 3, 15)));
    GoTo(2, 2);
    bool SawModal = false;
    Grid->OnDateTimeDropDown = [&](TObject*, TgxDateTimeDefComponent* I, int, const Variant&) {
        auto* Instance = static_cast<TgxCalendarDateTimeDef*>(I);
        QTimer::singleShot(0, [&, Instance] {
            SawModal = DropForm()->Visible();
            TgxMonthCalendar* Calendar = Instance->Calendar();
            const TRect Day = Calendar->DayRect(EncodeDate(2024, 3, 21));
            ClickAt(Calendar->Widget(),
                    QPoint((Day.Left + Day.Right) / 2, (Day.Top + Day.Bottom) / 2));
        });
    };
    ClickButton(2, 2);
    EXPECT_TRUE(SawModal);
    EXPECT_FALSE(Grid->DateTimeVisible());
    EXPECT_EQ(Grid->DateTimeDataCol(), -1);
    const Variant V = Grid->CurrentCell()->GetValue();
    ASSERT_FALSE(V.IsEmpty());
    EXPECT_EQ(V.AsString(), DateToStr(EncodeDate(2024, 3, 21)));
}


TEST_F(DateTimeDropDownReading, TheFormSwitchesBetweenDropDownAndPopup) {
    DateColumn(1, btDateTimePopup, Def);
    DateColumn(2, btDateTimeDropDown, Def);
    GoTo(1, 1);
    TBorderStyle PopupStyle = bsNone;
    bool PopupDropDown = true;
    Grid->OnDateTimeDropDown = [&](TObject*, TgxDateTimeDefComponent*, int, const Variant&) {
        QTimer::singleShot(0, [&] {
            PopupStyle = DropForm()->BorderStyle();
            PopupDropDown = DropForm()->DropDown();
            TypeKey(DropForm()->Widget(), Qt::Key_Escape);
            if (DropForm()->Visible()) Grid->HideDateTime();
        });
    };
    ClickButton(1, 1);
    EXPECT_EQ(PopupStyle, bsToolWindow);
    EXPECT_FALSE(PopupDropDown);
    EXPECT_FALSE(Grid->DateTimeVisible());
    Grid->OnDateTimeDropDown = nullptr;
    GoTo(2, 1);
    ClickButton(2, 1);
    ASSERT_TRUE(Grid->DateTimeVisible());
    EXPECT_EQ(DropForm()->BorderStyle(), bsNone);
    EXPECT_TRUE(DropForm()->DropDown());
    const TRect Cell = Grid->CellRect(2, 1);
    EXPECT_EQ(DropForm()->Top(), Grid->ClientToScreen(Point(Cell.Left, Cell.Bottom)).Y);
}

TEST_F(DateTimeDropDownReading, ShowingWhatIsShownAlreadyDoesNothing) {
    DateColumn(2, btDateTimeDropDown, Def);
    GoTo(2, 2);
    Grid->ShowDateTime();
    Grid->ShowDateTime();
    EXPECT_TRUE(Grid->DateTimeVisible());
    Grid->HideDateTime();
    Grid->HideDateTime();
    EXPECT_EQ(Calls, (std::vector<AnsiString>{"init 2,2", "drop 2,2", "up 2,2"}));
}


// Each place that names a definition holds one reference through the
// grid's link; places that go give theirs back.
TEST_F(DateTimeDropDownReading, EveryPlaceHoldsOneReferenceAndGivesItBack) {
    TgxGridDateTimeLink* Link = Grid->DateTimeLink();
    Grid->SetDateTimeDef(Def);
    Grid->SetDateTimeDef(Def);
    Grid->GetCol(1)->SetDateTimeDef(Def);
    Grid->GetCol(3)->SetDateTimeDef(Def);
    Grid->SetRowDateTimeDef(2, Def);
    Grid->SetCellDateTimeDef(2, 2, Def);
    EXPECT_EQ(Def->LinkCount(Link), 5);
    Grid->SetCellDateTimeDef(2, 2, nullptr);
    Grid->SetDateTimeDef(nullptr);
    EXPECT_EQ(Def->LinkCount(Link), 3);
    Grid->DeleteCols(3, 3);
    EXPECT_EQ(Def->LinkCount(Link), 2);
    Grid->DeleteRows(2, 2);
    EXPECT_EQ(Def->LinkCount(Link), 1);
    Grid->SetGridColCount(0);
    EXPECT_EQ(Def->LinkCount(Link), 0);
    EXPECT_EQ(Def->LinkEntries(), 0);
}

// The definition may go while its calendar is down: the grid works on an
// instance of its own, so the pick still lands.
TEST_F(DateTimeDropDownReading, ADefinitionDeletedWhileDownLeavesTheInstanceWorking) {
    DateColumn(2, btDateTimeDropDown, Def);
    Grid->SetCellValue(2, 2, Variant(EncodeDate(2024, 3, 15)));
    GoTo(2, 2);
    ClickButton(2, 2);
    ASSERT_TRUE(Grid->DateTimeVisible());
    delete Def;
    Def = nullptr;
    EXPECT_EQ(Grid->GetCol(2)->DateTimeDef(), nullptr);
    auto* Instance = dynamic_cast<TgxCalendarDateTimeDef*>(Grid->DateTimeInstance());
    ASSERT_NE(Instance, nullptr);
    TgxMonthCalendar* Calendar = Instance->Calendar();
    const TRect Day = Calendar->DayRect(EncodeDate(2024, 3, 22));
    ClickAt(Calendar->Widget(), QPoint((Day.Left + Day.Right) / 2, (Day.Top + Day.Bottom) / 2));
    QApplication::processEvents();
    EXPECT_FALSE(Grid->DateTimeVisible());
    EXPECT_EQ(Grid->CurrentCell()->GetValue().AsString(), DateToStr(EncodeDate(2024, 3, 22)));
    // A new definition of the class is copied in afresh.
    auto* Next = new TgxCalendarDateTimeDef(Form);
    Next->SetDateTimeDisplay(dtDateTime);
    DateColumn(2, btDateTimeDropDown, Next);
    GoTo(2, 3);
    ClickButton(2, 3);
    ASSERT_NE(Grid->DateTimeInstance(), nullptr);
    EXPECT_EQ(Grid->DateTimeInstance()->GetDateTimeDisplay(), dtDateTime);
}


// A definition made where a deleted one lived (the allocator reuses
// memory) is a new definition: the calendar takes its settings.
TEST_F(DateTimeDropDownReading, ADefinitionInTheMemoryOfADeletedOneIsCopiedAfresh) {
    alignas(TgxCalendarDateTimeDef) unsigned char Storage[sizeof(TgxCalendarDateTimeDef)];
    auto* First = new (Storage) TgxCalendarDateTimeDef(nullptr);
    First->SetDateTimeDisplay(dtTime);
    DateColumn(2, btDateTimeDropDown, First);
    GoTo(2, 2);
    ClickButton(2, 2);
    ASSERT_NE(Grid->DateTimeInstance(), nullptr);
    ASSERT_EQ(Grid->DateTimeInstance()->GetDateTimeDisplay(), dtTime);
    Grid->HideDateTime();
    First->~TgxCalendarDateTimeDef();
    auto* Second = new (Storage) TgxCalendarDateTimeDef(nullptr);
    Second->SetDateTimeDisplay(dtDate);
    DateColumn(2, btDateTimeDropDown, Second);
    GoTo(2, 3);
    ClickButton(2, 3);
    ASSERT_NE(Grid->DateTimeInstance(), nullptr);
    EXPECT_EQ(Grid->DateTimeInstance()->GetDateTimeDisplay(), dtDate);
    Grid->HideDateTime();
    Grid->GetCol(2)->SetDateTimeDef(nullptr);
    Second->~TgxCalendarDateTimeDef();
}


// A pop-up left without a pick, by Escape or by closing its window, leaves
// the cell as it was and rolls up once.
TEST_F(DateTimeDropDownReading, APopupLeftWithoutAPickChangesNothing) {
    DateColumn(2, btDateTimePopup, Def);
    Grid->SetCellValue(2, 2, Variant(EncodeDate(2024, 3, 15)));
    GoTo(2, 2);
    const AnsiString Before = Grid->CurrentCell()->GetValue().AsString();
    ASSERT_NE(Before, AnsiString());
    for (const bool ByClose : {false, true}) {
        SCOPED_TRACE(ByClose ? "closed" : "escape");
        Calls.clear();
        GoTo(2, 2);
        Grid->OnDateTimeDropDown = [&](TObject*, TgxDateTimeDefComponent* I, int, const Variant&) {
            auto* Instance = static_cast<TgxCalendarDateTimeDef*>(I);
            QTimer::singleShot(0, [&, Instance, ByClose] {
                if (ByClose)
                    DropForm()->Close();
                else
                    TypeKey(Instance->Calendar()->Widget(), Qt::Key_Escape);
            });
        };
        ClickButton(2, 2);
        EXPECT_FALSE(Grid->DateTimeVisible());
        EXPECT_FALSE(DropForm()->Visible());
        EXPECT_EQ(Grid->DateTimeDataCol(), -1);
        EXPECT_EQ(Grid->CurrentCell()->GetValue().AsString(), Before);
        EXPECT_EQ(std::count(Calls.begin(), Calls.end(), AnsiString("up 2,2")), 1);
    }
}

} // namespace
