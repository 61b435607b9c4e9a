// What cell buttons, focus frames and cells an application paints itself
// look like, read back from the grid's pixels on an offscreen form: idle,
// raised and pressed buttons under the inactive-button settings, the five
// focus borders, and a paint hook that cancels, on screen and in print.
#include "grid/foundation/ImageList.h"
#include "grid/model/Columns.h"
#include "grid/model/GxGrid.h"
#include "grid/tests/GridShot.h"
#include "grid/model/DrawData.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

using namespace grid;

namespace {

class GridCellLooks : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 600, 400);
        Grid = new TgxGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 420, 300);
        Grid->SetGridColCount(4);
        Grid->SetGridRowCount(5);
        Grid->SetColor(clWhite);
        Grid->SetGridMode(gmEdit);
        ShowActive(*Form);
        Grid->SetFocus();
        QApplication::processEvents();
    }
    void TearDown() override { delete Form; }

    void Paint() {
        Grid->Invalidate();
        Grid->Update();
    }
    TColor Pixel(int X, int Y) { return Grid->Canvas()->Pixels(X, Y); }
    int Count(const TRect& R, TColor Color) {
        const TColor Rgb = ColorToRGB(Color);
        int N = 0;
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                if (Pixel(X, Y) == Rgb) ++N;
        return N;
    }
    TRect ButtonRect(int Col, int Row) {
        TgxDrawData Data;
        Grid->GetDrawData(Col, Row, Data, true);
        return Data.ButtonRect;
    }

    TForm* Form = nullptr;
    TgxGrid* Grid = nullptr;
};

} // namespace

// A button the mouse leaves alone: a box in the button colour, or only its
// picture on the cell's colour, or nothing, as the settings ask.
TEST_F(GridCellLooks, IdleButtonsShowTheirBoxAndPictureAsTheSettingsAsk) {
    struct Case {
        const char* Name;
        TgxButtonType Type;
        std::function<void()> Set;
        bool Face;    // the box in clBtnFace
        bool Picture; // black of the arrow or dots
        bool Raised;  // a shadow at the box's right and bottom
    };
    const Case Cases[] = {
        {"combo_flat", btCombo, [] {}, true, true, false},
        {"ellipsis_flat", btNormal, [] {}, true, true, false},
        {"combo_picture_only", btCombo, [&] { Grid->SetInactiveButtonState(ibsPicture); }, false,
         true, false},
        {"combo_nothing_when_inactive", btCombo, [&] { Grid->SetInactiveButtonState(ibsNone); },
         false, false, false},
        {"combo_raised", btCombo, [&] { Grid->SetFlatButtons(false); }, true, true, true},
        {"spin", btVertSpin, [] {}, true, true, true},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->SetInactiveButtonState(ibsBackGround);
        Grid->SetFlatButtons(true);
        Grid->GetCol(2)->SetButtonType(C.Type);
        C.Set();
        Grid->SetCurrentCell(1, 1);
        Paint();
        SaveControlShot(*Grid, (std::string("button_") + C.Name).c_str());
        const TRect B = ButtonRect(2, 2);
        ASSERT_GT(B.Right - B.Left, 8);
        EXPECT_EQ(Count(B, clBtnFace) > 10, C.Face);
        EXPECT_EQ(Count(B, clBlack) > 0, C.Picture);
        EXPECT_EQ(Count(B, clBtnShadow) > 2, C.Raised);
        // Without a box the cell's own colour shows where the box would be.
        if (!C.Face) EXPECT_GT(Count(B, clWhite), (B.Right - B.Left) * (B.Bottom - B.Top) / 2);
    }
}

TEST_F(GridCellLooks, AButtonShowsPressedWhileHeldAndRaisedUnderTheMouse) {
    Grid->GetCol(2)->SetButtonType(btNormal);
    Grid->SetCurrentCell(1, 1);
    Paint();
    const TRect B = ButtonRect(2, 2);
    const QPoint At((B.Left + B.Right) / 2 + 1, B.Top + 4);
    SendMouse(Grid->Widget(), QEvent::MouseButtonPress, At);
    Grid->Update();
    SaveControlShot(*Grid, "button_pressed");
    ASSERT_EQ(Grid->Col(), 2);
    ASSERT_EQ(Grid->MouseStatus(), msButtonDown);
    // Pressed: the shadow along the top; raised: along the right only.
    const TRect Box = ButtonRect(2, 2);
    const TRect TopRow = Rect(Box.Left + 3, Box.Top, Box.Right - 3, Box.Top + 1);
    EXPECT_GT(Count(TopRow, clBtnShadow), 3);
    SendMouse(Grid->Widget(), QEvent::MouseButtonRelease, At);
    SendMouse(Grid->Widget(), QEvent::MouseMove, At + QPoint(1, 0), Qt::NoButton);
    Grid->Update();
    SaveControlShot(*Grid, "button_hot");
    EXPECT_EQ(Count(TopRow, clBtnShadow), 0);
    EXPECT_GT(Count(Box, clBtnShadow), 3);
}

// Each border on the current cell of a browsing grid, in red where it has
// a colour of its own.
TEST_F(GridCellLooks, EachFocusBorderDrawsItsOwnFrame) {
    Grid->SetGridMode(gmBrowse);
    Grid->SetAlwaysShowFocus(true);
    Grid->SetFocusBorderColor(clRed);
    Grid->SetCurrentCell(2, 2);
    struct Case {
        TgxFocusBorder Border;
        const char* Name;
        int Frames;    // solid red frames inside each other
        bool Dashes;   // red and white alternate along the top
        bool Inverted; // black dots on the white cell
    };
    const Case Cases[] = {
        {fbNone, "none", 0, false, false},      {fbDot, "dot", 0, false, true},
        {fbSingle, "single", 1, false, false},  {fbDouble, "double", 2, false, false},
        {fbDash, "dash", 0, true, false},
    };
    // The streamed numbers of the borders.
    EXPECT_EQ(static_cast<int>(fbDash), 4);
    EXPECT_EQ(static_cast<int>(fbSingle), 2);
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->SetFocusBorder(C.Border);
        Grid->Update();
        SaveControlShot(*Grid, (std::string("focus_") + C.Name).c_str());
        const TRect Cell = Grid->CellRect(2, 2);
        const int W = Cell.Right - Cell.Left - 2;
        for (int Ring = 0; Ring < 3; ++Ring) {
            // Inside the left sides of both frames.
            const TRect Line =
                Rect(Cell.Left + 3, Cell.Top + Ring, Cell.Right - 3, Cell.Top + Ring + 1);
            if (Ring < C.Frames)
                EXPECT_EQ(Count(Line, clRed), Line.Right - Line.Left) << Ring;
            else if (!C.Dashes || Ring > 0)
                EXPECT_EQ(Count(Line, clRed), 0) << Ring;
        }
        const TRect Top = Rect(Cell.Left, Cell.Top, Cell.Left + W, Cell.Top + 1);
        if (C.Dashes) {
            EXPECT_GT(Count(Top, clRed), 2);
            EXPECT_GT(Count(Top, clWhite), 2);
        }
        EXPECT_EQ(Count(Top, clBlack) > W / 3, C.Inverted);
        // Another cell never carries a frame.
        const TRect Other = Grid->CellRect(3, 3);
        EXPECT_EQ(Count(Other, clRed) + Count(Other, clBlack), 0);
    }
}

// The dotted frame is drawn in the focus colours, or the grid's colour and
// font colour without them, the same however often the cell is painted;
// the solid frames start one pixel in from the cell's left edge.
TEST_F(GridCellLooks, TheDottedFrameTakesItsTwoColoursAndTheSolidFramesStartOneIn) {
    Grid->SetGridMode(gmBrowse);
    Grid->SetAlwaysShowFocus(true);
    Grid->SetCurrentCell(2, 2);
    const TRect Cell = Grid->CellRect(2, 2);
    struct TCase {
        const char* Name;
        TColor Focus, FocusFont; // as set
        TColor Gap, Dot;         // as drawn
    };
    const TCase Cases[] = {
        {"focus colours", clYellow, clRed, clYellow, clRed},
        {"grid colours", clNone, clNone, clWhite, clBlack},
    };
    Grid->SetFocusBorder(fbDot);
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->SetFocusColor(C.Focus);
        Grid->SetFocusFontColor(C.FocusFont);
        for (int Paints = 1; Paints <= 2; ++Paints) {
            SCOPED_TRACE(Paints);
            Paint();
            SaveControlShot(*Grid, (std::string("focus_dot_") + C.Name).c_str());
            // All round the cell's edge the two colours alternate.
            std::vector<TPoint> Edge;
            for (int X = Cell.Left; X < Cell.Right; ++X) {
                Edge.push_back(Point(X, Cell.Top));
                Edge.push_back(Point(X, Cell.Bottom - 1));
            }
            for (int Y = Cell.Top; Y < Cell.Bottom; ++Y) {
                Edge.push_back(Point(Cell.Left, Y));
                Edge.push_back(Point(Cell.Right - 1, Y));
            }
            for (const TPoint& P : Edge)
                ASSERT_EQ(Pixel(P.X, P.Y), ColorToRGB(((P.X + P.Y) & 1) == 0 ? C.Dot : C.Gap))
                    << P.X << "," << P.Y;
        }
    }

    Grid->SetFocusBorderColor(clRed);
    for (const TgxFocusBorder Border : {fbSingle, fbDouble}) {
        SCOPED_TRACE(Border == fbSingle ? "single" : "double");
        Grid->SetFocusBorder(Border);
        Paint();
        const int Y = (Cell.Top + Cell.Bottom) / 2;
        EXPECT_NE(Pixel(Cell.Left, Y), clRed);
        EXPECT_EQ(Pixel(Cell.Left + 1, Y), clRed);
        EXPECT_EQ(Pixel(Cell.Left + 2, Y) == clRed, Border == fbDouble);
        EXPECT_EQ(Pixel(Cell.Left + 3, Y) == clRed, false);
    }
}

// A hook that paints the cells itself keeps the heading colour behind it,
// on screen and in the picture made for printing, and leaves a cell's
// button room in the cell's colour.
TEST_F(GridCellLooks, ACancellingPaintHookKeepsHeadingsAndButtonRoomOnScreenAndInPrint) {
    Grid->SetGridMode(gmBrowse);
    Grid->SetHeadingColor(clAqua);
    Grid->GetCol(2)->SetColor(clYellow);
    Grid->GetCol(2)->SetButtonType(btCombo);
    Grid->OnPaintCell = [](TObject*, int, int, const TRect&, TgxPaintCellState, bool& Cancel) {
        Cancel = true;
    };
    Grid->SetCurrentCell(1, 1);
    Paint();
    TBitmap Print;
    Print.SetSize(Grid->Width(), Grid->Height());
    Grid->PaintTo(Print.Canvas());
    const TRect Head = Grid->CellRect(2, 0);
    const TRect B = ButtonRect(2, 2);
    const TRect Text = Grid->CellRect(2, 3);
    const int HeadX = Head.Left + 5;
    const int HeadY = Head.Bottom - 3;
    for (TCanvas* C : {Grid->Canvas(), Print.Canvas()}) {
        EXPECT_EQ(C->Pixels(HeadX, HeadY), ColorToRGB(clAqua));
        EXPECT_EQ(C->Pixels(B.Right - 2, B.Bottom - 2), ColorToRGB(clYellow));
    }
    // The text area is the hook's: the print picture shows what the hook left.
    EXPECT_NE(Print.Canvas()->Pixels(Text.Left + 4, Text.Top + 4), ColorToRGB(clYellow));
}

// A picture cell whose value names a picture of the grid's image list
// shows that picture; a name the list does not have leaves the cell empty.
TEST_F(GridCellLooks, APictureCellShowsTheImageListPictureItsValueNames) {
    auto* List = new TgxImageList(Form);
    TBitmap Red;
    Red.SetSize(8, 8);
    Red.Canvas()->Brush()->SetColor(clRed);
    Red.Canvas()->FillRect(Rect(0, 0, 8, 8));
    TgxImage* Image = List->Images()->Add();
    Image->SetRefName("red");
    Image->SetBitmap(&Red);
    Grid->SetImageList(List);
    Grid->SetStoreData(true);
    Grid->SetGridMode(gmBrowse);
    Grid->GetCol(3)->SetControlType(ctPicture);
    Grid->SetCellValue(3, 2, Variant(AnsiString("red")));
    Grid->SetCellValue(3, 3, Variant(AnsiString("blue")));
    Grid->SetCurrentCell(1, 1);
    Paint();
    SaveControlShot(*Grid, "picture_from_image_list");
    const TRect Named = Grid->CellRect(3, 2);
    const TRect Unknown = Grid->CellRect(3, 3);
    EXPECT_GT(Count(Named, clRed), 40);
    EXPECT_EQ(Count(Unknown, clRed), 0);
    EXPECT_EQ(Grid->GetCellValue(3, 2).AsString(), "red");
}

// A text given as such shows as a text at once, also in a check-box cell,
// and is kept as it is.
TEST_F(GridCellLooks, ATextGivenAsSuchShowsAsTextInAnyCell) {
    Grid->SetGridMode(gmBrowse);
    Grid->GetCol(3)->SetControlType(ctCheck);
    Grid->SetCurrentCell(1, 1);
    Paint();
    const TRect Cell = Grid->CellRect(3, 2);
    // Where the text starts; the check box sits in the middle of the cell.
    const TRect Lead = Rect(Cell.Left + 2, Cell.Top, Cell.Left + 14, Cell.Bottom);
    const int Area = (Lead.Right - Lead.Left) * (Lead.Bottom - Lead.Top);
    EXPECT_EQ(Count(Lead, clWhite), Area);
    Grid->SetCellPText(3, 2, "Hello there");
    EXPECT_LT(Count(Lead, clWhite), Area - 5);
    SaveControlShot(*Grid, "text_in_check_cell");

    Grid->SetStoreData(true);
    Grid->SetCellPText(3, 3, "kept");
    Grid->SetCellPText(99, 3, "nowhere");
    EXPECT_EQ(Grid->GetDataValue(3, 3, ctCheck).AsString(), "kept");
}

// A grid that keeps no values shows a value written to it at once, in the
// way its kind of cell shows values; the next paint asks the application.
TEST_F(GridCellLooks, AValueWrittenToAGridThatKeepsNoneShowsAtOnce) {
    Grid->SetGridMode(gmBrowse);
    Grid->GetCol(4)->SetControlType(ctCheck);
    Grid->SetCurrentCell(1, 1);
    Paint();
    const auto Lead = [this](int Col, int Row) {
        const TRect Cell = Grid->CellRect(Col, Row);
        return Rect(Cell.Left + 2, Cell.Top + 1, Cell.Left + 30, Cell.Bottom - 1);
    };
    const auto Middle = [this](int Col, int Row) {
        const TRect Cell = Grid->CellRect(Col, Row);
        const int X = (Cell.Left + Cell.Right) / 2;
        return Rect(X - 6, Cell.Top + 2, X + 6, Cell.Bottom - 2);
    };
    const auto Blank = [this](const TRect& R) {
        return Count(R, clWhite) == (R.Right - R.Left) * (R.Bottom - R.Top);
    };
    ASSERT_TRUE(Blank(Lead(3, 2)));
    ASSERT_TRUE(Blank(Lead(2, 3)));
    const int CheckPixels = Count(Middle(4, 2), clWhite);

    Grid->SetCellValue(3, 2, Variant(AnsiString("Hello")));
    Grid->SetCellValue(2, 3, Variant(12345));
    Grid->SetCellValue(4, 2, Variant(1));
    EXPECT_FALSE(Blank(Lead(3, 2))) << "a text";
    EXPECT_FALSE(Blank(Lead(2, 3))) << "a number in a text cell";
    EXPECT_NE(Count(Middle(4, 2), clWhite), CheckPixels) << "a checked box";

    // Nothing kept it: a repaint asks the application, which has nothing.
    Paint();
    EXPECT_TRUE(Blank(Lead(3, 2)));
}

// Writing outside the grid is no error and writes nowhere.
TEST_F(GridCellLooks, OutOfRangeWritesAreIgnored) {
    Grid->SetName("Grid1");
    Grid->SetStoreData(true);
    for (auto [Col, Row] : {std::pair{99, 1}, std::pair{1, 99}, std::pair{0, 1}, std::pair{1, 0}}) {
        SCOPED_TRACE(std::to_string(Col) + "," + std::to_string(Row));
        EXPECT_NO_THROW(Grid->SetCellValue(Col, Row, Variant(AnsiString("x"))));
        EXPECT_NO_THROW(Grid->SetCellPText(Col, Row, "x"));
        EXPECT_TRUE(Grid->GetCellValue(Col, Row).IsEmpty());
    }
    for (int Col = 1; Col <= Grid->GetGridColCount(); ++Col)
        for (int Row = 1; Row <= Grid->GetGridRowCount(); ++Row)
            EXPECT_EQ(Grid->GetCellValue(Col, Row).AsString(), "") << Col << "," << Row;
}
