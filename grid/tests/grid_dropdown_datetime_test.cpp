// A date-time cell's calendar: dropped under the cell from the grid's one
// working instance of the cell's definition, closed by a second press, and
// a picked day written into the cell in the grid's edit format.
#include "DropDownFixture.h"

#include "grid/foundation/GridCommonDate.h"
#include "grid/view/DateTimeDropDownCalendar.h"
#include "grid/view/DropDownForm.h"
#include "platform/classes/Publish.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"

#include <QTimer>

#include <vector>

using namespace grid;

namespace {

// A definition of another class, showing no control of its own.
class TBareDateTimeDef : public TgxCalendarDateTimeDef {
public:
    using TgxCalendarDateTimeDef::TgxCalendarDateTimeDef;
    AnsiString ClassName() const override { return "TBareDateTimeDef"; }
    TWinControl* GetControl() const override { return nullptr; }
};

const TPublished<TBareDateTimeDef, TComponent> BareDefClass("TBareDateTimeDef", [](auto&) {});

class DateTimeDropDown : public DropDownFixture {
protected:
    void SetUp() override {
        DropDownFixture::SetUp();
        FormatSettings().ShortDateFormat = "yyyy/mm/dd";
        Def = new TgxCalendarDateTimeDef(Form);
        Grid->GetCol(2)->SetButtonType(btDateTimeDropDown);
        Grid->GetCol(2)->SetDateTimeDef(Def);
        Grid->SetStoreData(true);
        Grid->SetCellValue(2, 1, Variant(AnsiString("2026/03/14")));
        Grid->OnDateTimeDropDown = [&](TObject*, TgxDateTimeDefComponent*, int Col,
                                       const Variant& Row) {
            Events.push_back("down " + std::to_string(Col) + "," + Row.AsString());
        };
        Grid->OnDateTimeRollUp = [&](TObject*, TgxDateTimeDefComponent*, int Col,
                                     const Variant& Row) {
            Events.push_back("up " + std::to_string(Col) + "," + Row.AsString());
        };
        GoTo(2, 1);
    }
    void TearDown() override {
        DropDownFixture::TearDown();
        ResetFormatSettings();
    }
    TgxMonthCalendar* Calendar() {
        return static_cast<TgxCalendarDateTimeDef*>(Grid->DateTimeInstance())->Calendar();
    }
    void ClickDay(int Year, int Month, int Day) {
        const TRect R = Calendar()->DayRect(EncodeDate(Year, Month, Day));
        ClickAt(Calendar()->Widget(), QPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
    }

    TgxCalendarDateTimeDef* Def = nullptr;
    std::vector<std::string> Events;
};

} // namespace

TEST_F(DateTimeDropDown, ACellDropsItsCalendarAndTakesAPickedDay) {
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(Grid->DateTimeVisible());
    EXPECT_TRUE(GridHooksRegistered(Grid));
    // The calendar starts from the cell's value, on its own copy of the
    // definition, under the cell.
    ASSERT_NE(Grid->DateTimeInstance(), nullptr);
    EXPECT_NE(Grid->DateTimeInstance(), Def);
    EXPECT_EQ(Calendar()->Date(), EncodeDate(2026, 3, 14));
    const TRect Cell = Grid->CellRect(Grid->GetDisplayCol(2), Grid->GetDisplayRow(1));
    EXPECT_EQ(Grid->GetDateTimeForm()->Top(), Grid->ClientToScreen(TPoint{0, Cell.Bottom}).Y);

    ClickDay(2026, 3, 20);
    EXPECT_FALSE(Grid->DateTimeVisible());
    EXPECT_FALSE(GridHooksInstalled());
    EXPECT_EQ(CurrentText(), "2026/03/20");
    EXPECT_EQ(Events, (std::vector<std::string>{"down 2,1", "up 2,1"}));
}

TEST_F(DateTimeDropDown, KeysGoOnToTheCalendarWhileItIsDown) {
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(Grid->DateTimeVisible());
    Key(Qt::Key_Right);
    Key(Qt::Key_Down);
    EXPECT_EQ(Calendar()->Date(), EncodeDate(2026, 3, 22));
    Key(Qt::Key_Return);
    EXPECT_FALSE(Grid->DateTimeVisible());
    EXPECT_EQ(CurrentText(), "2026/03/22");

    // Escape leaves the cell as it was.
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(Grid->DateTimeVisible());
    Key(Qt::Key_Left);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(Grid->DateTimeVisible());
    EXPECT_FALSE(GridHooksInstalled());
    EXPECT_EQ(CurrentText(), "2026/03/22");
    EXPECT_EQ(Events.size(), 4u);
}

TEST_F(DateTimeDropDown, ASecondPressClosesItAndAPressElsewhereToo) {
    EXPECT_TRUE(Grid->DateTimeButtonDown(2, 1));
    EXPECT_TRUE(Grid->DateTimeVisible());
    EXPECT_TRUE(Grid->DateTimeButtonDown(2, 1));
    EXPECT_FALSE(Grid->DateTimeVisible());
    EXPECT_EQ(Events, (std::vector<std::string>{"down 2,1", "up 2,1"}));

    Grid->DateTimeButtonDown(2, 1);
    ClickAt(Elsewhere->Widget(), QPoint(4, 4));
    EXPECT_FALSE(Grid->DateTimeVisible());
    EXPECT_FALSE(GridHooksInstalled());
    EXPECT_EQ(Events.size(), 4u);
    EXPECT_EQ(CurrentText(), "2026/03/14");
}

TEST_F(DateTimeDropDown, DefinitionsOfOneClassShareTheInstance) {
    auto* Other = new TgxCalendarDateTimeDef(Form);
    Grid->GetCol(3)->SetButtonType(btDateTimeDropDown);
    Grid->GetCol(3)->SetDateTimeDef(Other);
    Grid->CheckCreateDateTime(2, 1);
    TgxDateTimeDefComponent* Instance = Grid->DateTimeInstance();
    Grid->CheckCreateDateTime(3, 1);
    EXPECT_EQ(Grid->DateTimeInstance(), Instance);
    // A cell without any definition has none.
    Grid->CheckCreateDateTime(4, 1);
    EXPECT_EQ(Grid->DateTimeInstance(), nullptr);
    // The grid's own definition serves every cell left without one.
    Grid->SetDateTimeDef(Other);
    EXPECT_EQ(Grid->GiveCellDateTime(4, 1), Other);
    EXPECT_EQ(Grid->GiveCellDateTime(2, 1), Def);
    delete Other;
    EXPECT_EQ(Grid->DateTimeDef(), nullptr);
    EXPECT_EQ(Grid->GiveCellDateTime(3, 1), nullptr);
}

TEST_F(DateTimeDropDown, ADefinitionOfAnotherClassReplacesTheInstance) {
    auto* Bare = new TBareDateTimeDef(Form);
    Grid->GetCol(3)->SetButtonType(btDateTimeDropDown);
    Grid->GetCol(3)->SetDateTimeDef(Bare);
    Grid->CheckCreateDateTime(2, 1);
    EXPECT_EQ(Grid->DateTimeInstance()->ClassName(), "TgxCalendarDateTimeDef");
    GoTo(3, 1);
    // Without a control the drop-down is as wide as the column and 15 high.
    EXPECT_TRUE(Grid->DateTimeButtonDown(3, 1));
    EXPECT_EQ(Grid->DateTimeInstance()->ClassName(), "TBareDateTimeDef");
    const TgxDropDownForm* Form = Grid->GetDateTimeForm();
    EXPECT_EQ(Form->Width(), Grid->ColWidths(Grid->GetDisplayCol(3)));
    EXPECT_EQ(Form->Height(), 15);
    Grid->HideDateTime();
    EXPECT_FALSE(Grid->DateTimeVisible());
}

TEST_F(DateTimeDropDown, APickedValueIsWrittenInTheGridsFormat) {
    FormatSettings().LongTimeFormat = "h:nn:ss";
    FormatSettings().TimeAMString = "";
    FormatSettings().TimePMString = "";
    Grid->CheckCreateDateTime(2, 1);
    TgxDateTimeDefComponent* Instance = Grid->DateTimeInstance();
    const TDateTime Day = EncodeDate(2026, 3, 14);
    struct Case {
        TgxDateTimeDisplay Display;
        Variant Value;
        const char* Text;
    };
    const Case Cases[] = {
        {dtDate, Variant(TDateTime(Day + EncodeTime(9, 5, 0, 0))), "2026/03/14"},
        {dtTime, Variant(TDateTime(Day + EncodeTime(9, 5, 0, 0))), "9:05:00"},
        {dtDateTime, Variant(TDateTime(Day + EncodeTime(9, 5, 0, 0))), "2026/03/14 9:05:00"},
        {dtDateTime, Variant(TDateTime(Day + EncodeTime(0, 0, 0, 250))), "2026/03/14"},
        {dtDateTime, Variant(static_cast<double>(Day)), "2026/03/14"},
        {dtDate, Variant(AnsiString("as typed")), "as typed"},
    };
    for (const Case& C : Cases) {
        Instance->SetDateTimeDisplay(C.Display);
        Instance->SetDateTime(C.Value);
        Variant Value;
        Grid->GetDateTimeValue(2, 1, Value);
        EXPECT_EQ(Value.AsString(), C.Text);
    }
    // With AM and PM the hours stay as the time format writes them.
    FormatSettings().TimeAMString = "AM";
    FormatSettings().LongTimeFormat = "hh:nn";
    Instance->SetDateTimeDisplay(dtTime);
    Instance->SetDateTime(Variant(TDateTime(Day + EncodeTime(9, 5, 0, 0))));
    Variant Value;
    Grid->OnDateTimeGetValue = [](TObject*, TgxDateTimeDefComponent*, int, int, Variant& V) {
        V = Variant(TDateTime(static_cast<double>(V.AsDateTime()) + 1.0 / 24));
    };
    Grid->GetDateTimeValue(2, 1, Value);
    EXPECT_EQ(Value.AsString(), "10:05");
}

TEST_F(DateTimeDropDown, APopUpCalendarRunsModallyAndTakesThePick) {
    Grid->GetCol(2)->SetButtonType(btDateTimePopup);
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(Grid->GetDateTimeForm()->Visible());
        EXPECT_FALSE(Grid->GetDateTimeForm()->DropDown());
        ClickDay(2026, 3, 2);
    });
    EXPECT_TRUE(Grid->DateTimeButtonDown(2, 1));
    EXPECT_FALSE(Grid->DateTimeVisible());
    EXPECT_EQ(CurrentText(), "2026/03/02");
    EXPECT_EQ(Events, (std::vector<std::string>{"down 2,1", "up 2,1"}));
}

// The current cell's own definition and button style take over from the
// column's at the next drop-down.
TEST_F(DateTimeDropDown, TheCurrentCellsOwnDefinitionAndStyleShowAtTheNextDropDown) {
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(Grid->DateTimeVisible());
    EXPECT_EQ(Grid->DateTimeInstance()->GetDateTimeDisplay(), dtDate);
    Key(Qt::Key_Escape);

    auto* Own = new TgxCalendarDateTimeDef(Form);
    Own->SetDateTimeDisplay(dtDateTime);
    Grid->SetCellDateTimeDef(2, 1, Own);
    Grid->SetCellButtonType(2, 1, btDateTimeDropDown);
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(Grid->DateTimeVisible());
    EXPECT_EQ(Grid->DateTimeInstance()->GetDateTimeDisplay(), dtDateTime);
    EXPECT_FALSE(Grid->DateTimeInstance()->GetPopupForm());
    Key(Qt::Key_Escape);

    // The pop-up runs modally: it is looked at, and a day picked, from inside.
    Grid->SetCellButtonType(2, 1, btDateTimePopup);
    bool Popup = false;
    QTimer::singleShot(0, [&] {
        Popup = Grid->DateTimeInstance()->GetPopupForm();
        EXPECT_FALSE(Grid->GetDateTimeForm()->DropDown());
        ClickDay(2026, 3, 2);
    });
    Key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_TRUE(Popup);
    EXPECT_FALSE(Grid->DateTimeVisible());
}
