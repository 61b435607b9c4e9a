// The month calendar on a shown form: built as it is laid out, driven by
// real key and mouse events on its day grid, and its painting read back
// from the grid's pixels.
#include "components/MonthCalendar.h"
#include "components/MonthCalendarEditor.h"
#include "platform/gui/Colors.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/tests/GuiTestSupport.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

#include <QImage>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace components {
namespace {

class MonthCalendarReading : public ::testing::Test {
protected:
    MonthCalendarReading() : Today(EncodeDate(2004, 5, 12) + 0.5), UseToday(Today) {}
    void SetUp() override {
        EnsureQtApplication();
        ResetFormatSettings();
        FormatSettings().ShortDateFormat = "m/d/yyyy";
        FormatSettings().DateSeparator = '/';
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 300, 260);
        Cal = new TPWCalendar(Form.get());
        Cal->SetParent(Form.get());
        Cal->SetBounds(5, 5, 221, 203);
        Cal->OnDateChange = [this](TObject*, TDateTime D) { Changes.push_back(D); };
        ShowActive(*Form);
        Cal->SetFocus();
    }
    void TearDown() override { ResetFormatSettings(); }

    QWidget* Grid() const { return Cal->StringGrid()->Widget(); }
    QPoint CellCentre(int Col, int Row) const {
        const TRect R = Cal->StringGrid()->CellRect(Col, Row);
        return QPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    }
    void Key(int K, Qt::KeyboardModifiers Mods = Qt::NoModifier) { TypeKey(Grid(), K, {}, Mods); }
    std::set<std::pair<int, int>> Selected() const {
        std::set<std::pair<int, int>> S;
        for (int R = 0; R < 7; ++R)
            for (int C = 0; C < 7; ++C)
                if (Cal->IsCellSelected(C, R)) S.insert({C, R});
        return S;
    }
    // The cell that shows day D.
    std::pair<int, int> CellOf(int D) const {
        for (int R = 1; R < 7; ++R)
            for (int C = 0; C < 7; ++C)
                if (Cal->StringGrid()->Cells(C, R) == AnsiString(std::to_string(D))) return {C, R};
        return {-1, -1};
    }

    ManualClock Today;
    ScopedClock UseToday;
    std::unique_ptr<TForm> Form;
    TPWCalendar* Cal = nullptr;
    std::vector<TDateTime> Changes;
};

TEST_F(MonthCalendarReading, BuiltAsLaidOutAndShowingToday) {
    EXPECT_EQ(Cal->Width(), 221);
    EXPECT_EQ(Cal->Height(), 203);
    EXPECT_EQ(Cal->Panel()->Name(), "Panel");
    EXPECT_EQ(Cal->Label()->Name(), "Label");
    EXPECT_EQ(Cal->StringGrid()->Name(), "StringGrid");
    EXPECT_EQ(Cal->VertScrollBar()->Name(), "VertScrollBar");
    auto* G = Cal->StringGrid();
    EXPECT_EQ((std::vector<int>{G->Left(), G->Top(), G->Width(), G->Height()}),
              (std::vector<int>{3, 17, 197, 183}));
    EXPECT_EQ(G->ColCount(), 7);
    EXPECT_EQ(G->RowCount(), 7);
    EXPECT_EQ(G->RowHeights(0), 13);
    EXPECT_EQ(G->RowHeights(1), 27);
    EXPECT_EQ(G->ColWidths(3), 27);
    auto* S = Cal->VertScrollBar();
    EXPECT_EQ((std::vector<int>{S->Left(), S->Top(), S->Width(), S->Height()}),
              (std::vector<int>{202, 3, 16, 197}));
    EXPECT_EQ(S->Min(), 23880);
    EXPECT_EQ(S->Max(), 24599);
    EXPECT_EQ(S->SmallChange(), 1);
    EXPECT_EQ(S->LargeChange(), 12);
    EXPECT_EQ(S->Position(), 2004 * 12 + 4);
    EXPECT_EQ(Cal->DateFormat(), "mmmm yyyy");
    EXPECT_EQ(Cal->StartOfWeek(), DayOfWeek_t::Sun);
    EXPECT_FALSE(Cal->MultiSelect());
    EXPECT_FALSE(Cal->HeadingSelect());
    EXPECT_TRUE(Cal->GetTabStop());
    EXPECT_TRUE(Cal->StringGrid()->TabStop());
    Cal->SetTabStop(false);
    EXPECT_FALSE(Cal->StringGrid()->TabStop());
    Cal->SetTabStop(true);
    EXPECT_EQ(Cal->Label()->Font()->Name(), "Arial");
    EXPECT_EQ((std::vector<int>{Cal->Label()->Left(), Cal->Label()->Top(), Cal->Label()->Width(),
                                Cal->Label()->Height()}),
              (std::vector<int>{3, 2, 197, 15}));
    EXPECT_TRUE(Cal->Focused()) << "the focus is the day grid's";

    EXPECT_EQ(Cal->GetDate(), "5/12/2004");
    EXPECT_EQ(Cal->Label()->Caption(), "May 2004");
    EXPECT_EQ((std::pair{Cal->FocusCol(), Cal->FocusRow()}), (std::pair{3, 3}));
    EXPECT_EQ(Selected(), (std::set<std::pair<int, int>>{{3, 3}}));
}

TEST_F(MonthCalendarReading, DaysFollowTheStartOfTheWeek) {
    EXPECT_EQ(CellOf(1), (std::pair{6, 1}));
    EXPECT_EQ(CellOf(31), (std::pair{1, 6}));
    EXPECT_EQ(Cal->StringGrid()->Cells(0, 0), "Sun");
    EXPECT_EQ(Cal->StringGrid()->Cells(6, 0), "Sat");
    EXPECT_EQ(Cal->StringGrid()->Cells(2, 1), "");
    Cal->SetStartOfWeek(DayOfWeek_t::Mon);
    EXPECT_EQ(CellOf(1), (std::pair{5, 1}));
    EXPECT_EQ(Cal->StringGrid()->Cells(0, 0), "Mon");
    EXPECT_EQ(Cal->StringGrid()->Cells(6, 0), "Sun");
    EXPECT_EQ(Cal->GetCellDate(5, 1), EncodeDate(2004, 5, 1));
    EXPECT_TRUE(Cal->IsCellEmpty(0, 1));
    EXPECT_TRUE(Cal->IsCellEmpty(0, 0));
    EXPECT_FALSE(Cal->IsCellEmpty(5, 1));
    for (auto [C, R] : {std::pair{0, 0}, std::pair{0, 1}}) {
        try {
            Cal->GetCellDate(C, R);
            ADD_FAILURE() << "no error for " << C << "," << R;
        } catch (const Exception& E) {
            EXPECT_EQ(E.Message, "Cell does not contain a date");
        }
    }
}

TEST_F(MonthCalendarReading, DateSettersCheckAndReport) {
    TMessageBoxRecorder Boxes;
    Changes.clear();
    Cal->SetDate("2/31/2004");
    Cal->SetDate("not a date");
    Cal->SetMonth(13);
    Cal->SetYear(2004); // unchanged
    Cal->SetDay(12);    // unchanged
    ASSERT_EQ(Boxes.Boxes.size(), 3u);
    for (const auto& B : Boxes.Boxes) {
        EXPECT_EQ(B.Text, "Invalid date");
        EXPECT_EQ(B.Caption, "Error");
        EXPECT_EQ(B.Flags, 16u);
    }
    EXPECT_TRUE(Changes.empty());
    EXPECT_EQ(Cal->GetDate(), "5/12/2004");

    Cal->SetDate("1/31/2004");
    EXPECT_EQ(Cal->VertScrollBar()->Position(), 2004 * 12);
    ASSERT_FALSE(Changes.empty());
    EXPECT_EQ(Changes.back(), EncodeDate(2004, 1, 31));
    EXPECT_EQ(Cal->Label()->Caption(), "January 2004");

    // A month that lacks the day is refused.
    Cal->SetMonth(2);
    EXPECT_EQ(Boxes.Boxes.size(), 4u);
    EXPECT_EQ(Cal->GetDate(), "1/31/2004");
    Cal->SetDay(3);
    Cal->SetMonth(2);
    EXPECT_EQ(Cal->GetDate(), "2/3/2004");
    Cal->SetDay(30);
    EXPECT_EQ(Boxes.Boxes.size(), 5u);
    EXPECT_EQ(Cal->GetDate(), "2/3/2004");
    EXPECT_EQ(Selected(), (std::set<std::pair<int, int>>{CellOf(3)}));
    Cal->SetYear(2005);
    EXPECT_EQ(Cal->GetDate(), "2/3/2005");
    EXPECT_EQ(Cal->VertScrollBar()->Position(), 2005 * 12 + 1);

    Cal->SetDateFormat("yyyy-mm");
    EXPECT_EQ(Cal->Label()->Caption(), "2005-02");
}

TEST_F(MonthCalendarReading, TheScrollBarsMonthsBoundTheDates) {
    TMessageBoxRecorder Boxes;
    Cal->SetDate("1/15/1990");
    Changes.clear();
    Key(Qt::Key_PageUp);
    Key(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(Cal->GetDate(), "1/15/1990");
    EXPECT_TRUE(Changes.empty());
    Cal->SetDate("12/31/2049");
    EXPECT_EQ(Cal->GetDate(), "12/31/2049");
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Cal->GetDate(), "12/31/2049");
    EXPECT_TRUE(Boxes.Boxes.empty());
    Cal->SetDate("1/1/2050");
    Cal->SetDate("12/31/1989");
    Cal->SetYear(2050);
    EXPECT_EQ(Boxes.Boxes.size(), 3u);
    EXPECT_EQ(Cal->GetDate(), "12/31/2049");
}

TEST_F(MonthCalendarReading, PageKeysStepMonthsAndYears) {
    Cal->SetDate("1/31/2004");
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Cal->GetDate(), "2/29/2004");
    Key(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(Cal->GetDate(), "2/28/2005");
    Key(Qt::Key_PageUp);
    EXPECT_EQ(Cal->GetDate(), "1/28/2005");
    Key(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(Cal->GetDate(), "1/28/2004");
    EXPECT_EQ(Cal->Label()->Caption(), "January 2004");
}

TEST_F(MonthCalendarReading, ArrowKeysMoveTheFocusDay) {
    struct Case {
        int From;
        int Key;
        Qt::KeyboardModifiers Mods;
        int To;
    } Cases[] = {
        {12, Qt::Key_Right, Qt::NoModifier, 13},    {12, Qt::Key_Left, Qt::NoModifier, 11},
        {12, Qt::Key_Up, Qt::NoModifier, 5},        {12, Qt::Key_Down, Qt::NoModifier, 19},
        {12, Qt::Key_Home, Qt::NoModifier, 9},      {12, Qt::Key_End, Qt::NoModifier, 15},
        {12, Qt::Key_Home, Qt::ControlModifier, 1}, {12, Qt::Key_End, Qt::ControlModifier, 31},
        {1, Qt::Key_Right, Qt::NoModifier, 1},      {2, Qt::Key_Left, Qt::NoModifier, 2},
        {1, Qt::Key_Up, Qt::NoModifier, 1},         {2, Qt::Key_Up, Qt::NoModifier, 2},
        {24, Qt::Key_Down, Qt::NoModifier, 31},     {25, Qt::Key_Down, Qt::NoModifier, 25},
        {6, Qt::Key_Home, Qt::NoModifier, 2},       {30, Qt::Key_End, Qt::NoModifier, 31},
    };
    for (const Case& C : Cases) {
        Cal->SetDay(C.From);
        Key(C.Key, C.Mods);
        EXPECT_EQ(Cal->Day(), C.To) << "from " << C.From << " key " << std::hex << C.Key;
        EXPECT_EQ((std::pair{Cal->FocusCol(), Cal->FocusRow()}), CellOf(C.To));
        EXPECT_EQ(Selected(), (std::set<std::pair<int, int>>{CellOf(C.To)}));
    }
}

TEST_F(MonthCalendarReading, ShiftArrowsExtendTheSelection) {
    Changes.clear();
    for (int I = 0; I < 5; ++I)
        Key(Qt::Key_Right, Qt::ShiftModifier);
    // From Wednesday the 12th to the end of the row: 12 .. 15.
    std::set<std::pair<int, int>> Want;
    for (int D = 12; D <= 15; ++D)
        Want.insert(CellOf(D));
    EXPECT_EQ(Selected(), Want);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    for (int D = 16; D <= 22; ++D)
        Want.insert(CellOf(D));
    EXPECT_EQ(Selected(), Want);
    EXPECT_EQ(Cal->Day(), 12) << "the focus stays";
    EXPECT_TRUE(Changes.empty());
    EXPECT_EQ(Cal->GetStartDate(), EncodeDate(2004, 5, 12));
    EXPECT_EQ(Cal->GetEndDate(), EncodeDate(2004, 5, 22));
    TDateTime D = 0;
    std::vector<int> Walked;
    for (bool More = Cal->GetFirstSelectedDate(D); More; More = Cal->GetNextSelectedDate(D))
        Walked.push_back(static_cast<int>(D - EncodeDate(2004, 5, 1)) + 1);
    EXPECT_EQ(Walked, (std::vector<int>{12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22}));

    // Shift+Home and Shift+Up stay on day rows.
    Key(Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(Cal->GetEndDate(), EncodeDate(2004, 5, 16));
    Key(Qt::Key_Up, Qt::ShiftModifier);
    Key(Qt::Key_Up, Qt::ShiftModifier);
    Key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(Cal->GetStartDate(), EncodeDate(2004, 5, 2));
    EXPECT_EQ(Cal->GetEndDate(), EncodeDate(2004, 5, 12));

    Cal->ClearSelection();
    EXPECT_EQ(Cal->GetEndDate(), 0);
    EXPECT_EQ(Cal->GetStartDate(), 0);
    EXPECT_FALSE(Cal->GetFirstSelectedDate(D));
}

TEST_F(MonthCalendarReading, MousePicksAndDragsDays) {
    ClickAt(Grid(), CellCentre(CellOf(20).first, CellOf(20).second));
    EXPECT_EQ(Cal->GetDate(), "5/20/2004");
    ASSERT_FALSE(Changes.empty());
    EXPECT_EQ(Changes.back(), EncodeDate(2004, 5, 20));
    // An empty cell and, without HeadingSelect, a heading are not taken.
    ClickAt(Grid(), CellCentre(0, 1));
    ClickAt(Grid(), CellCentre(2, 0));
    EXPECT_EQ(Cal->GetDate(), "5/20/2004");
    EXPECT_EQ(Selected(), (std::set<std::pair<int, int>>{CellOf(20)}));

    // Without MultiSelect a drag marks nothing further.
    SendMouse(Grid(), QEvent::MouseButtonPress, CellCentre(CellOf(3).first, CellOf(3).second));
    SendMouse(Grid(), QEvent::MouseMove, CellCentre(CellOf(10).first, CellOf(10).second),
              Qt::NoButton, Qt::LeftButton);
    SendMouse(Grid(), QEvent::MouseButtonRelease, CellCentre(CellOf(10).first, CellOf(10).second));
    EXPECT_EQ(Selected(), (std::set<std::pair<int, int>>{CellOf(3)}));

    Cal->SetMultiSelect(true);
    SendMouse(Grid(), QEvent::MouseButtonPress, CellCentre(CellOf(3).first, CellOf(3).second));
    SendMouse(Grid(), QEvent::MouseMove, CellCentre(CellOf(10).first, CellOf(10).second),
              Qt::NoButton, Qt::LeftButton);
    // Into the heading row the drag does not follow.
    SendMouse(Grid(), QEvent::MouseMove, CellCentre(3, 0), Qt::NoButton, Qt::LeftButton);
    SendMouse(Grid(), QEvent::MouseButtonRelease, CellCentre(CellOf(10).first, CellOf(10).second));
    EXPECT_EQ(Cal->GetDate(), "5/3/2004");
    EXPECT_EQ(Cal->GetStartDate(), EncodeDate(2004, 5, 3));
    EXPECT_EQ(Cal->GetEndDate(), EncodeDate(2004, 5, 10));
    EXPECT_EQ(Selected().size(), 8u);

    // The release is a last move: the selection ends where the button is let go.
    SendMouse(Grid(), QEvent::MouseButtonPress, CellCentre(CellOf(3).first, CellOf(3).second));
    SendMouse(Grid(), QEvent::MouseMove, CellCentre(CellOf(5).first, CellOf(5).second),
              Qt::NoButton, Qt::LeftButton);
    SendMouse(Grid(), QEvent::MouseButtonRelease, CellCentre(CellOf(12).first, CellOf(12).second));
    EXPECT_EQ(Cal->GetEndDate(), EncodeDate(2004, 5, 12));
    // After the release moves select nothing more.
    SendMouse(Grid(), QEvent::MouseMove, CellCentre(CellOf(20).first, CellOf(20).second),
              Qt::NoButton);
    EXPECT_EQ(Cal->GetEndDate(), EncodeDate(2004, 5, 12));

    // The right button picks nothing.
    SendMouse(Grid(), QEvent::MouseButtonPress, CellCentre(CellOf(25).first, CellOf(25).second),
              Qt::RightButton);
    SendMouse(Grid(), QEvent::MouseButtonRelease, CellCentre(CellOf(25).first, CellOf(25).second),
              Qt::RightButton);
    EXPECT_EQ(Cal->GetDate(), "5/3/2004");
}

TEST_F(MonthCalendarReading, HeadingDragSelectsWholeColumns) {
    Cal->SetMultiSelect(true);
    Cal->SetHeadingSelect(true);
    Changes.clear();
    SendMouse(Grid(), QEvent::MouseButtonPress, CellCentre(1, 0));
    SendMouse(Grid(), QEvent::MouseMove, CellCentre(3, 0), Qt::NoButton, Qt::LeftButton);
    // A move onto a day cell is ignored while the drag began on a heading.
    SendMouse(Grid(), QEvent::MouseMove, CellCentre(5, 3), Qt::NoButton, Qt::LeftButton);
    SendMouse(Grid(), QEvent::MouseButtonRelease, CellCentre(3, 0));
    std::set<std::pair<int, int>> Want;
    for (int C = 1; C <= 3; ++C)
        for (int R = 0; R < 7; ++R)
            if (R == 0 || !Cal->IsCellEmpty(C, R)) Want.insert({C, R});
    EXPECT_EQ(Selected(), Want);
    EXPECT_EQ(Cal->GetDate(), "5/12/2004");
    EXPECT_TRUE(Changes.empty());
    EXPECT_EQ(Cal->GetStartDate(), EncodeDate(2004, 5, 3));
    EXPECT_EQ(Cal->GetEndDate(), EncodeDate(2004, 5, 31));
}

TEST_F(MonthCalendarReading, PatternsAndPainting) {
    // Mode 1: silver where row and column share parity; 2..4: diagonals.
    TBitmap* P1 = Cal->Pattern(1);
    EXPECT_EQ(P1->Canvas()->Pixels(0, 0), clSilver);
    EXPECT_EQ(P1->Canvas()->Pixels(1, 0), clWhite);
    EXPECT_EQ(P1->Canvas()->Pixels(3, 5), clSilver);
    const TColor Lines[] = {clSilver, clLime, clRed};
    for (int M = 2; M <= 4; ++M)
        for (int Y = 0; Y < 8; ++Y)
            for (int X = 0; X < 8; ++X)
                EXPECT_EQ(Cal->Pattern(M)->Canvas()->Pixels(X, Y),
                          (X + 7 * Y + 1) % 4 == 0 ? Lines[M - 2] : clWhite)
                    << M << ":" << X << "," << Y;
    for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 4; ++X)
            EXPECT_EQ(Cal->Pattern(0)->Canvas()->Pixels(X, Y), clWhite);

    // The grab holds the grid's border too; cell rectangles count from its
    // client area.
    const int Border = (Grid()->width() - Cal->StringGrid()->ClientWidth()) / 2;
    auto PixelAt = [&](const QImage& I, int X, int Y) {
        return I.pixelColor(X + Border, Y + Border).rgb() & 0xFFFFFF;
    };
    const auto [C20, R20] = CellOf(20);
    TRect Cell = Cal->StringGrid()->CellRect(C20, R20);
    QImage Before = Grid()->grab().toImage();
    Cal->SetCellMode(C20, R20, 4);
    EXPECT_EQ(Cal->GetCellMode(C20, R20), 4);
    QImage After = Grid()->grab().toImage();
    bool Red = false;
    for (int Y = Cell.Top; Y < Cell.Bottom; ++Y)
        for (int X = Cell.Left; X < Cell.Right; ++X)
            Red |= PixelAt(After, X, Y) == 0xFF0000;
    EXPECT_TRUE(Red) << "mode 4 paints red diagonals";

    // The focus cell: a black frame two pixels wide inside its rectangle.
    const TRect F = Cal->StringGrid()->CellRect(Cal->FocusCol(), Cal->FocusRow());
    const int MidX = (F.Left + F.Right) / 2, MidY = (F.Top + F.Bottom) / 2;
    for (auto [X, Y] :
         {std::pair{F.Left, MidY}, std::pair{F.Left + 1, MidY}, std::pair{MidX, F.Top},
          std::pair{MidX, F.Top + 1}, std::pair{F.Right - 1, MidY}, std::pair{F.Right - 2, MidY},
          std::pair{MidX, F.Bottom - 1}})
        EXPECT_EQ(PixelAt(After, X, Y), 0u) << X << "," << Y;
    EXPECT_NE(PixelAt(After, F.Left + 2, MidY + 1), 0u);
    // A heading cell is filled with the button face.
    const TRect H = Cal->StringGrid()->CellRect(0, 0);
    // Headings are framed in black one pixel outside their rectangle.
    const TRect H3 = Cal->StringGrid()->CellRect(3, 0);
    const int HMid = (H3.Top + H3.Bottom) / 2, HX = (H3.Left + H3.Right) / 2;
    for (auto [X, Y] :
         {std::pair{H3.Left - 1, HMid}, std::pair{H3.Right, HMid}, std::pair{HX, H3.Bottom}})
        EXPECT_EQ(PixelAt(After, X, Y), 0u) << X << "," << Y;
    const TColor Face = ColorToRGB(clBtnFace);
    EXPECT_EQ(PixelAt(After, H.Left + 2, H.Bottom - 2),
              QColor(Face & 0xFF, (Face >> 8) & 0xFF, (Face >> 16) & 0xFF).rgb() & 0xFFFFFF);
}

TEST_F(MonthCalendarReading, UpIntoTheHeadingsOnlyWithHeadingSelect) {
    Cal->SetDay(5);
    Key(Qt::Key_Up);
    EXPECT_EQ(Cal->FocusRow(), 2) << "no day above, no heading row without HeadingSelect";
    Cal->SetHeadingSelect(true);
    Changes.clear();
    Key(Qt::Key_Up);
    EXPECT_EQ((std::pair{Cal->FocusCol(), Cal->FocusRow()}), (std::pair{3, 0}));
    EXPECT_EQ(Cal->Day(), 5);
    EXPECT_TRUE(Changes.empty());
    std::set<std::pair<int, int>> Want{{3, 0}};
    for (int D : {5, 12, 19, 26})
        Want.insert(CellOf(D));
    EXPECT_EQ(Selected(), Want);
    // Down from the heading goes back to the first day of the column.
    Key(Qt::Key_Down);
    EXPECT_EQ(Cal->Day(), 5);
    EXPECT_EQ(Selected(), (std::set<std::pair<int, int>>{CellOf(5)}));
}

TEST_F(MonthCalendarReading, KeysAlongTheHeadingRow) {
    Cal->SetHeadingSelect(true);
    ClickAt(Grid(), CellCentre(2, 0));
    ASSERT_EQ((std::pair{Cal->FocusCol(), Cal->FocusRow()}), (std::pair{2, 0}));
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier); // not from the heading row
    std::set<std::pair<int, int>> Want;
    for (int C = 2; C <= 4; ++C)
        for (int R = 0; R < 7; ++R)
            if (R == 0 || !Cal->IsCellEmpty(C, R)) Want.insert({C, R});
    EXPECT_EQ(Selected(), Want);
    EXPECT_EQ(Cal->GetDate(), "5/12/2004");
    // Plain Right moves the focus along the headings; Ctrl+Home goes to day 1.
    Key(Qt::Key_Right);
    EXPECT_EQ((std::pair{Cal->FocusCol(), Cal->FocusRow()}), (std::pair{3, 0}));
    EXPECT_EQ(Cal->GetDate(), "5/12/2004");
    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(Cal->GetDate(), "5/1/2004");
    EXPECT_EQ(Selected(), (std::set<std::pair<int, int>>{CellOf(1)}));
}

TEST_F(MonthCalendarReading, SelectedCellsPaintInvertedAndHeadingsShadowed) {
    Cal->SetMultiSelect(true);
    Cal->SetHeadingSelect(true);
    Key(Qt::Key_Right, Qt::ShiftModifier); // 12 and 13 selected, 12 the focus
    const int Border = (Grid()->width() - Cal->StringGrid()->ClientWidth()) / 2;
    QImage I = Grid()->grab().toImage();
    auto PixelAt = [&](int X, int Y) {
        return I.pixelColor(X + Border, Y + Border).rgb() & 0xFFFFFF;
    };
    const TRect S = Cal->StringGrid()->CellRect(CellOf(13).first, CellOf(13).second);
    const TRect U = Cal->StringGrid()->CellRect(CellOf(14).first, CellOf(14).second);
    // Mode 0 is white throughout: black once inverted.
    int BlackSel = 0, BlackUnsel = 0;
    for (int X = S.Left; X < S.Left + 8; ++X)
        BlackSel += PixelAt(X, S.Bottom - 2) == 0;
    for (int X = U.Left; X < U.Left + 8; ++X)
        BlackUnsel += PixelAt(X, U.Bottom - 2) == 0;
    EXPECT_GE(BlackSel, 4);
    EXPECT_EQ(BlackUnsel, 0);
    // Its number is written in white (smoothed at the edges) on the
    // inverted ground.
    auto Light = [](unsigned P) {
        return (P & 0xFF) > 0x90 && ((P >> 8) & 0xFF) > 0x90 && (P >> 16) > 0x90;
    };
    int White = 0;
    for (int Y = S.Top + 2; Y < S.Bottom - 2; ++Y)
        for (int X = S.Left + 2; X < S.Right - 2; ++X)
            White += Light(PixelAt(X, Y));
    EXPECT_GT(White, 10);

    SendMouse(Grid(), QEvent::MouseButtonPress, CellCentre(4, 0));
    SendMouse(Grid(), QEvent::MouseButtonRelease, CellCentre(4, 0));
    I = Grid()->grab().toImage();
    const TRect H = Cal->StringGrid()->CellRect(4, 0);
    const TRect H2 = Cal->StringGrid()->CellRect(5, 0);
    auto Rgb = [](TColor C) {
        return QColor(C & 0xFF, (C >> 8) & 0xFF, (C >> 16) & 0xFF).rgb() & 0xFFFFFF;
    };
    EXPECT_EQ(PixelAt(H.Left + 1, H.Top + 1), Rgb(ColorToRGB(clBtnShadow)));
    EXPECT_EQ(PixelAt(H2.Left + 1, H2.Top + 1), Rgb(ColorToRGB(clBtnFace)));
}

TEST_F(MonthCalendarReading, TodayWhateverTheProcessDateFormat) {
    // Today is taken as a date, not as text read back under the process's
    // format, so a day-first or year-first format neither misreads it nor
    // leaves the calendar without days.
    for (const char* Format : {"d/m/yyyy", "yyyy/mm/dd"}) {
        FormatSettings().ShortDateFormat = Format;
        TMessageBoxRecorder Boxes;
        TPWCalendar Other(Form.get());
        EXPECT_EQ(Other.GetDate(), "5/12/2004") << Format;
        EXPECT_TRUE(Boxes.Boxes.empty()) << Format;
    }
}

TEST_F(MonthCalendarReading, ScrollingHandsTheFocusToTheDays) {
    auto* Other = new TEdit(Form.get());
    Other->SetParent(Form.get());
    Other->SetBounds(230, 5, 60, 20);
    Other->SetFocus();
    ASSERT_FALSE(Cal->Focused());
    Cal->VertScrollBar()->SetPosition(2004 * 12 + 6);
    EXPECT_EQ(Cal->GetDate(), "7/12/2004");
    EXPECT_TRUE(Cal->Focused());
}

TEST_F(MonthCalendarReading, EachDateChangeIsReportedOnce) {
    struct Step {
        const char* What;
        std::function<void()> Do;
        const char* Date;
    } Steps[] = {
        {"SetDate", [&] { Cal->SetDate("6/10/2004"); }, "6/10/2004"},
        {"SetDay", [&] { Cal->SetDay(11); }, "6/11/2004"},
        {"SetMonth", [&] { Cal->SetMonth(7); }, "7/11/2004"},
        {"SetYear", [&] { Cal->SetYear(2006); }, "7/11/2006"},
        {"Right", [&] { Key(Qt::Key_Right); }, "7/12/2006"},
        {"PageDown", [&] { Key(Qt::Key_PageDown); }, "8/12/2006"},
        {"Click", [&] { ClickAt(Grid(), CellCentre(CellOf(20).first, CellOf(20).second)); },
         "8/20/2006"},
    };
    for (const Step& S : Steps) {
        Changes.clear();
        S.Do();
        EXPECT_EQ(Cal->GetDate(), S.Date) << S.What;
        EXPECT_EQ(Changes.size(), 1u) << S.What;
        EXPECT_EQ(Selected().size(), 1u) << S.What;
        EXPECT_EQ(Cal->GetFocusDate(), Cal->DateValue()) << S.What;
    }
}

TEST_F(MonthCalendarReading, NewStartOfWeekKeepsTheFocusOnTheDate) {
    Cal->SetStartOfWeek(DayOfWeek_t::Mon);
    EXPECT_EQ(Cal->GetFocusDate(), EncodeDate(2004, 5, 12));
    EXPECT_EQ(Selected(), (std::set<std::pair<int, int>>{CellOf(12)}));
}

TEST_F(MonthCalendarReading, ClickedDayIsReadUnderTheProcessFormat) {
    FormatSettings().ShortDateFormat = "d/m/yyyy";
    ClickAt(Grid(), CellCentre(CellOf(20).first, CellOf(20).second));
    EXPECT_EQ(Cal->DateValue(), EncodeDate(2004, 5, 20));
    FormatSettings().ShortDateFormat = "yyyy/mm/dd";
    ClickAt(Grid(), CellCentre(CellOf(3).first, CellOf(3).second));
    EXPECT_EQ(Cal->DateValue(), EncodeDate(2004, 5, 3));
}

TEST_F(MonthCalendarReading, DesignedCalendarKeepsItsSize) {
    struct Designed : TPWCalendar {
        using TComponent::SetDesigning;
        using TPWCalendar::TPWCalendar;
    };
    auto* D = new Designed(Form.get());
    D->SetParent(Form.get());
    D->SetDesigning(true);
    D->SetBounds(0, 0, 400, 50);
    EXPECT_EQ(D->Width(), 221);
    EXPECT_EQ(D->Height(), 203);
    // At run time the bounds are taken as they come.
    Cal->SetBounds(5, 5, 250, 220);
    EXPECT_EQ(Cal->Width(), 250);
}

TEST_F(MonthCalendarReading, DaysInMonth) {
    const std::tuple<int, int, int> Cases[] = {{2004, 2, 29}, {2005, 2, 28}, {1900, 2, 28},
                                               {2000, 2, 29}, {2004, 4, 30}, {2004, 12, 31}};
    for (auto [Y, M, N] : Cases)
        EXPECT_EQ(TPWCalendar::DaysInMonth(Y, M), N) << Y << "-" << M;
}

TEST_F(MonthCalendarReading, StartOfWeekEditorOffersTheNames) {
    TDayOfWeekEditor Ed(Cal);
    std::vector<std::string> Names;
    Ed.GetValues([&](const AnsiString& S) { Names.push_back(S.c_str()); });
    EXPECT_EQ(Names, (std::vector<std::string>{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}));
    EXPECT_EQ(Ed.GetValue(), "Sun");
    Ed.SetValue("Wed");
    EXPECT_EQ(Cal->StartOfWeek(), DayOfWeek_t::Wed);
    EXPECT_EQ(Cal->StringGrid()->Cells(0, 0), "Wed");
    Ed.SetValue("Wednesday");
    EXPECT_EQ(Cal->StartOfWeek(), DayOfWeek_t::Wed);
    EXPECT_TRUE(Ed.GetAttributes().Contains(paValueList));
}

} // namespace
} // namespace components
