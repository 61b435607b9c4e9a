// The grid foundation's services as the grid view and the company grid use
// them: helpers, containers, the value store's backup row, the shared
// memory canvas and the base grid's counts and top-left moves.
#include "grid/foundation/CellStore.h"
#include "grid/foundation/GridCommonCanvas.h"
#include "grid/foundation/GridCommonCheckBox.h"
#include "grid/foundation/GridCommonControls.h"
#include "grid/foundation/GridCommonDate.h"
#include "grid/foundation/GridCommonText.h"
#include "grid/foundation/GridCommonVariant.h"
#include "grid/foundation/ImageList.h"
#include "grid/foundation/ImageListDraw.h"
#include "grid/foundation/IntLists.h"
#include "grid/foundation/TextLayoutPaint.h"
#include "grid/model/VisibleItems.h"
#include "grid/tests/BaseGridFixture.h"
#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace grid;
using namespace gridtest;

TEST(FoundationServicesReading, SmallIntegerAndGeometryHelpers) {
    EXPECT_EQ(CalcMax(-3, 2), 2);
    EXPECT_EQ(CalcMin(-3, 2), -3);
    EXPECT_EQ(CalcMax(7, 7), 7);
    int A = 1, B = 9;
    SwapLongint(A, B);
    EXPECT_EQ(A, 9);
    EXPECT_EQ(B, 1);
    const TRect R{10, 20, 30, 40};
    EXPECT_TRUE(PointInRect(TPoint{10, 20}, R));
    EXPECT_TRUE(PointInRect(TPoint{15, 25}, R));
    EXPECT_FALSE(PointInRect(TPoint{9, 25}, R));
    EXPECT_FALSE(PointInRect(TPoint{15, 41}, R));
}

TEST(FoundationServicesReading, XmlEscapingKeepsTheExportWellFormed) {
    EXPECT_EQ(CheckForWhiteSpace("a&b 'c' \"d\""), "a&amp;b &apos;c&apos; &quot;d&quot;");
    // A bare "<" is not allowed in an XML attribute value, so the export's
    // brackets are escaped as well.
    EXPECT_EQ(CheckForWhiteSpace("<b>x</b>"), "&lt;b&gt;x&lt;/b&gt;");
    EXPECT_EQ(CheckForWhiteSpace("plain text"), "plain text");
    EXPECT_EQ(CheckForWhiteSpace(""), "");
}

TEST(FoundationServicesReading, AcceleratorMarkIsDroppedAndItsPositionGiven) {
    struct Case {
        const char* Text;
        const char* Shown;
        int Pos;
    };
    const Case Cases[] = {
        {"&File", "File", 1}, {"Sa&ve", "Save", 3}, {"No mark", "No mark", 0},
        {"A&&B", "A&B", 0},   {"", "", 0},
    };
    for (const Case& C : Cases) {
        AnsiString Shown;
        int Pos = -1;
        TextAccelKey(C.Text, Shown, Pos);
        EXPECT_EQ(Shown, C.Shown) << C.Text;
        EXPECT_EQ(Pos, C.Pos) << C.Text;
    }
}

TEST(FoundationServicesReading, AlignmentConversions) {
    EXPECT_EQ(AlignmentToHorzAlignment(taRightJustify, false), htaDefault);
    EXPECT_EQ(AlignmentToHorzAlignment(taLeftJustify, true), htaLeft);
    EXPECT_EQ(AlignmentToHorzAlignment(taRightJustify, true), htaRight);
    EXPECT_EQ(AlignmentToHorzAlignment(taCenter, true), htaCenter);
    EXPECT_EQ(HorzAlignmentToAlignment(htaRight), taRightJustify);
    EXPECT_EQ(HorzAlignmentToAlignment(htaCenter), taCenter);
    EXPECT_EQ(HorzAlignmentToAlignment(htaLeft), taLeftJustify);
    EXPECT_EQ(HorzAlignmentToAlignment(htaDefault), taLeftJustify);
}

TEST(FoundationServicesReading, FormatWideningForEditing) {
    EXPECT_EQ(LongYearFormat("dd/mm/yy"), "dd/mm/yyyy");
    EXPECT_EQ(LongYearFormat("dd/mm/yyyy"), "dd/mm/yyyy");
    EXPECT_EQ(LongHourFormat("h:nn am/pm"), "h:nn");
    EXPECT_EQ(LongHourFormat("hh:nn"), "hh:nn");
}

TEST(FoundationServicesReading, CellValueEqualityAndCheckBoxStates) {
    EXPECT_TRUE(VariantEqual(Variant(3), Variant(3)));
    EXPECT_FALSE(VariantEqual(Variant(3), Variant(4)));
    EXPECT_TRUE(VariantEqual(Variant(AnsiString("x")), Variant(AnsiString("x"))));
    EXPECT_TRUE(VariantEqual(Variant(), Variant()));
    EXPECT_FALSE(VariantEqual(Variant(), Variant(0)));

    const AnsiString Values = "Yes|No|Maybe";
    struct Case {
        Variant Value;
        const char* Values;
        TCheckBoxState State;
    };
    const Case Cases[] = {
        {Variant(0), "", cbUnchecked},
        {Variant(1), "", cbChecked},
        {Variant(2), "", cbGrayed},
        {Variant(AnsiString("Yes")), "Yes|No|Maybe", cbChecked},
        {Variant(AnsiString("no")), "Yes|No|Maybe", cbUnchecked},
        {Variant(AnsiString("Maybe")), "Yes|No|Maybe", cbGrayed},
        {Variant(1), "Yes|No|Maybe", cbChecked},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(VariantToCheckBox(C.Value, C.Values), C.State) << C.Values;
}

TEST(FoundationServicesReading, BackupRowIsRestoredOrDiscarded) {
    Tgx2DStorage Store(4, 4);
    Store.SetValue(1, 2, TgxValueType::vtpString, Variant(AnsiString("kept")));
    Store.SetValue(2, 2, TgxValueType::vtpInteger, Variant(5));
    Store.BackupRow(2);
    Store.SetValue(1, 2, TgxValueType::vtpString, Variant(AnsiString("edited")));
    Store.SetValue(2, 2, TgxValueType::vtpNone, Variant());
    Store.RestoreBackupRow(2);
    EXPECT_TRUE(VariantEqual(Store.GetValue(1, 2), Variant(AnsiString("kept"))));
    EXPECT_TRUE(VariantEqual(Store.GetValue(2, 2), Variant(5)));

    Store.BackupRow(2);
    Store.SetValue(1, 2, TgxValueType::vtpString, Variant(AnsiString("edited")));
    Store.ClearBackupRow();
    // Nothing of the first copy is left to write back.
    Store.RestoreBackupRow(2);
    EXPECT_EQ(Store.GetValueType(1, 2), TgxValueType::vtpNone);
    EXPECT_EQ(Store.GetValueType(2, 2), TgxValueType::vtpNone);
}

TEST(FoundationServicesReading, SortedListAndIntegerSetList) {
    TgxSortIntList L;
    for (int V : {30, 10, 20})
        L.Add(V);
    ASSERT_EQ(L.Count(), 3);
    EXPECT_EQ(L.GetItem(1), 10);
    EXPECT_EQ(L.GetItem(3), 30);
    bool Found = false;
    EXPECT_EQ(L.Locate(20, Found), 2);
    EXPECT_TRUE(Found);
    EXPECT_EQ(L.Locate(25, Found), 3);
    EXPECT_FALSE(Found);
    L.SetItem(2, 21);
    EXPECT_EQ(L.GetItem(2), 21);

    TgxIntegerSetList Sets;
    Sets.SetCount(3);
    EXPECT_EQ(Sets.GetItem(1), nullptr);
    auto* S = new TgxIntegerSet();
    S->Add(4);
    S->Add(9);
    S->Remove(4);
    Sets.SetItem(1, S);
    EXPECT_EQ(Sets.GetItem(1), S);
    EXPECT_EQ(Sets.GetItem(1)->Count(), 1);
}

TEST(FoundationServicesReading, MemoryCanvasLockBelongsToOneGrid) {
    TgxMemoryCanvas Canvas;
    TObject GridA, GridB;
    Canvas.Lock(&GridA);
    EXPECT_FALSE(Canvas.Locked(&GridA));
    EXPECT_TRUE(Canvas.Locked(&GridB));
    Canvas.Unlock();
    EXPECT_FALSE(Canvas.Locked(&GridB));

    Canvas.Prepare(nullptr, 40, 30);
    ASSERT_NE(Canvas.Dc(), nullptr);
    HDC Dc = Canvas.Dc();
    Canvas.Resize(nullptr, 80, 10);
    EXPECT_EQ(Canvas.Dc(), Dc);
    EXPECT_GE(Canvas.Width(), 80);
    EXPECT_GE(Canvas.Height(), 30);
    Canvas.Release();
    EXPECT_EQ(Canvas.Dc(), nullptr);
}

namespace {

// A draw grid that writes down the base grid's calls to its slots.
class TLoggingGrid : public TProbeDrawGrid {
public:
    using TProbeDrawGrid::TProbeDrawGrid;
    std::vector<std::string> Log;

protected:
    void SizeChanged(int OldColCount, int OldRowCount) override {
        Log.push_back("size " + std::to_string(OldColCount) + "," + std::to_string(OldRowCount));
        TProbeDrawGrid::SizeChanged(OldColCount, OldRowCount);
    }
    void TopLeftMoved(const TGridCoord& Old) override {
        Log.push_back("moved from " + std::to_string(Old.X) + "," + std::to_string(Old.Y));
        TProbeDrawGrid::TopLeftMoved(Old);
    }
    void ScrollDataInfo(int DX, int DY, const TGridDrawInfo& Info) override {
        Log.push_back("scroll " + std::to_string(DX) + "," + std::to_string(DY));
        TProbeDrawGrid::ScrollDataInfo(DX, DY, Info);
    }
    void TopLeftChanged() override {
        Log.push_back("changed");
        TProbeDrawGrid::TopLeftChanged();
    }
};

using BaseGridServices = GridOnForm<TLoggingGrid>;

} // namespace

TEST_F(BaseGridServices, CountChangesReportTheOldCounts) {
    Grid->SetColCount(8);
    Grid->SetRowCount(12);
    Grid->Log.clear();
    Grid->SetColCount(6);
    Grid->SetRowCount(20);
    Grid->SetRowCount(20);
    EXPECT_EQ(Grid->Log, (std::vector<std::string>{"size 8,12", "size 6,12"}));
}

TEST_F(BaseGridServices, TopLeftMovesScrollByTheSizesBetweenAndReportOnce) {
    Grid->SetColCount(10);
    Grid->SetRowCount(40);
    Grid->SetFixedCols(1);
    Grid->SetFixedRows(1);
    Grid->SetDefaultColWidth(50);
    Grid->SetDefaultRowHeight(20);
    Grid->SetRowHeights(2, 30);
    PaintAll();
    int Changes = 0;
    Grid->OnTopLeftChanged = [&](TObject*) { ++Changes; };
    Grid->Log.clear();
    Grid->SetTopRow(1);
    EXPECT_TRUE(Grid->Log.empty());
    Grid->SetTopRow(3);
    EXPECT_EQ(Grid->TopRow(), 3);
    const int Line = Grid->GridLineWidth();
    EXPECT_EQ(Grid->Log, (std::vector<std::string>{
                             "moved from 1,1", "scroll 0," + std::to_string(-(20 + 30 + 2 * Line)),
                             "changed"}));
    EXPECT_EQ(Changes, 1);
    Grid->Log.clear();
    Grid->SetLeftCol(2);
    EXPECT_EQ(Grid->LeftCol(), 2);
    EXPECT_EQ(Grid->Log,
              (std::vector<std::string>{
                  "moved from 1,3", "scroll " + std::to_string(-(50 + Line)) + ",0", "changed"}));
    EXPECT_EQ(Changes, 2);

    Grid->Log.clear();
    Grid->MoveTopLeft(Grid->LeftCol(), Grid->TopRow());
    EXPECT_TRUE(Grid->Log.empty());
    Grid->MoveTopLeft(2, 4);
    EXPECT_EQ(Grid->TopRow(), 4);
    ASSERT_FALSE(Grid->Log.empty());
    EXPECT_EQ(Grid->Log.front(), "moved from 2,3");
    EXPECT_EQ(Changes, 3);
}

TEST_F(BaseGridServices, MouseCoordAndDefaultSizes) {
    Grid->SetColCount(3);
    Grid->SetRowCount(3);
    Grid->SetDefaultColWidth(40);
    Grid->SetDefaultRowHeight(20);
    Grid->SetRowHeights(1, 35);
    // A new default replaces the heights of their own too.
    Grid->SetDefaultRowHeight(18);
    EXPECT_EQ(Grid->RowHeights(1), 18);
    EXPECT_EQ(Grid->RowHeights(0), 18);
    EXPECT_EQ(Grid->RowHeights(2), 18);
    EXPECT_EQ(Grid->ColWidths(2), 40);
    const TRect Cell = Grid->CellRect(1, 2);
    const TGridCoord In = Grid->MouseCoord(Cell.Left + 2, Cell.Top + 2);
    EXPECT_EQ(In, (TGridCoord{1, 2}));
    const TGridCoord Out = Grid->MouseCoord(390, 290);
    EXPECT_EQ(Out, (TGridCoord{-1, -1}));
}

namespace {

struct Ink {
    int Count = 0;
    int MinX = 1 << 20;
    int MaxX = -1;
    int MaxY = -1;
};

// The dark pixels of a white bitmap after Draw painted into it.
Ink DrawnInk(int Width, int Height, const std::function<void(TCanvas*)>& Draw) {
    EnsureQtApplication();
    TBitmap Bmp;
    Bmp.SetSize(Width, Height);
    TCanvas* C = Bmp.Canvas();
    C->Brush()->SetColor(clWhite);
    C->FillRect(TRect{0, 0, Width, Height});
    C->Font()->SetColor(clBlack);
    Draw(C);
    Ink Result;
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X)
            if ((C->Pixels(X, Y) & 0xFF) < 0x80) {
                ++Result.Count;
                Result.MinX = std::min(Result.MinX, X);
                Result.MaxX = std::max(Result.MaxX, X);
                Result.MaxY = std::max(Result.MaxY, Y);
            }
    return Result;
}

} // namespace

TEST(FoundationServicesReading, DisplayTextStaysInItsRectangleAndHonoursAlignmentAndAccelerator) {
    const TRect Cell{10, 0, 90, 20};
    auto Draw = [&](const char* Text, TAlignment Align, int Accel) {
        return DrawnInk(120, 20, [&](TCanvas* C) {
            DisplayText(C, Text, 20, Cell, Cell.Left + 2, 2, Align, vtaTop, false, Accel);
        });
    };
    const Ink Left = Draw("Hi", taLeftJustify, 0);
    const Ink Right = Draw("Hi", taRightJustify, 0);
    ASSERT_GT(Left.Count, 0);
    EXPECT_LT(Left.MinX, Cell.Left + 10);
    EXPECT_GT(Right.MaxX, Cell.Right - 10);
    EXPECT_LE(Right.MaxX, Cell.Right - 1);
    const Ink Long = Draw("WWWWWWWWWWWWWWWWWWWWWWWW", taLeftJustify, 0);
    EXPECT_GE(Long.MinX, Cell.Left);
    EXPECT_LT(Long.MaxX, Cell.Right);
    EXPECT_GT(Draw("Hi", taLeftJustify, 1).Count, Left.Count);

    // Wrapping puts the second word on a second line when the height allows.
    auto Words = [&](bool Wrap) {
        return DrawnInk(60, 60, [&](TCanvas* C) {
            DisplayText(C, "Wide words", 60, TRect{0, 0, 40, 60}, 1, 1, taLeftJustify, vtaTop,
                        Wrap);
        });
    };
    EXPECT_GT(Words(true).MaxY, Words(false).MaxY + 5);
}

TEST(FoundationServicesReading, StretchDrawLeavesTheTransparentColourOut) {
    EnsureQtApplication();
    TBitmap Pic;
    Pic.SetSize(4, 4);
    Pic.Canvas()->Brush()->SetColor(clRed);
    Pic.Canvas()->FillRect(TRect{0, 0, 4, 4});
    Pic.Canvas()->Brush()->SetColor(clBlack);
    Pic.Canvas()->FillRect(TRect{0, 0, 2, 4});
    for (TColor Transparent : {clNone, clRed}) {
        TBitmap Out;
        Out.SetSize(4, 4);
        TCanvas* C = Out.Canvas();
        C->Brush()->SetColor(clWhite);
        gxStretchDraw(C, TRect{0, 0, 4, 4}, &Pic, Transparent, false, false, false, false);
        EXPECT_EQ(C->Pixels(0, 1) & 0xFFFFFF, 0) << Transparent;
        EXPECT_EQ(C->Pixels(3, 1) & 0xFFFFFF, Transparent == clRed ? 0xFFFFFF : 0x0000FF)
            << Transparent;
    }
}

TEST(FoundationServicesReading, StretchDrawCentresASmallPicture) {
    EnsureQtApplication();
    TBitmap Pic;
    Pic.SetSize(4, 4);
    Pic.Canvas()->Brush()->SetColor(clBlack);
    Pic.Canvas()->FillRect(TRect{0, 0, 4, 4});
    TBitmap Out;
    Out.SetSize(20, 20);
    TCanvas* C = Out.Canvas();
    C->Brush()->SetColor(clWhite);
    gxStretchDraw(C, TRect{0, 0, 20, 20}, &Pic, clNone, true, false, false, false);
    EXPECT_EQ(C->Pixels(10, 10) & 0xFFFFFF, 0);
    EXPECT_EQ(C->Pixels(1, 1) & 0xFFFFFF, 0xFFFFFF);
    EXPECT_EQ(C->Pixels(18, 18) & 0xFFFFFF, 0xFFFFFF);
}

TEST(FoundationServicesReading, ImageListFindsImagesByNameOrIndex) {
    EnsureQtApplication();
    TComponent Owner(nullptr);
    auto* List = new TgxImageList(&Owner);
    TgxImage* Image = List->Images()->Add();
    Image->SetRefName("Flag");
    Image->SetTransparent(true);
    Image->SetTransparentColor(clLime);
    EXPECT_TRUE(List->IndexExists(Variant(AnsiString("flag"))));
    EXPECT_TRUE(List->IndexExists(Variant(0)));
    EXPECT_FALSE(List->IndexExists(Variant(1)));
    EXPECT_FALSE(List->IndexExists(Variant(AnsiString("none"))));
    TgxImageItem* Found = List->GetImage(Variant(AnsiString("Flag")));
    ASSERT_EQ(Found, Image);
    EXPECT_TRUE(Found->GetTransparent());
    EXPECT_EQ(Found->GetTransparentColor(), clLime);
    EXPECT_NE(Found->GetBitmap(), nullptr);
}

TEST_F(BaseGridServices, FarTopLeftMoveRepaintsInsteadOfScrollingAndOneCellRepaintsAlone) {
    Grid->SetColCount(5);
    Grid->SetRowCount(200);
    Grid->SetDefaultRowHeight(20);
    PaintAll();
    Grid->Log.clear();
    const int PosBefore = GetScrollPos(Grid->Handle(), SB_VERT);
    Grid->SetTopRow(150);
    EXPECT_EQ(Grid->Log, (std::vector<std::string>{"moved from 1,1", "changed"}));
    EXPECT_GT(GetScrollPos(Grid->Handle(), SB_VERT), PosBefore);

    PaintAll();
    Grid->InvalidateCell(2, 152);
    Flush();
    EXPECT_EQ(Painted.Cells, (std::vector<std::pair<int, int>>{{2, 152}}));
}

TEST_F(BaseGridServices, ControlHandleMeansTheControlOrAChildOfIt) {
    EXPECT_TRUE(IsControlHandle(Form->Handle(), Form));
    EXPECT_TRUE(IsControlHandle(Grid->Handle(), Form));
    EXPECT_FALSE(IsControlHandle(Form->Handle(), Grid));
}

TEST(FoundationServicesReading, EditDateFormatFollowsTheShortDateFormat) {
    struct Case {
        const char* Short;
        char Sep;
        bool LongYear;
        const char* Edit;
    };
    const Case Cases[] = {
        {"dd/MM/yyyy", '/', false, "DD/MM/YYYY"},
        {"M/d/yy", '/', false, "M/D/YY"},
        {"M/d/yy", '/', true, "M/D/YYYY"},
        {"yyyy-mm-dd", '-', false, "YYYY-MM-DD"},
    };
    const TFormatSettings Saved = FormatSettings();
    for (const Case& C : Cases) {
        FormatSettings().ShortDateFormat = C.Short;
        FormatSettings().DateSeparator = C.Sep;
        EXPECT_EQ(GetEditDateFormat(C.LongYear), C.Edit) << C.Short;
    }
    FormatSettings() = Saved;
}

TEST_F(BaseGridServices, MouseMessagesReachTheMouseEventsAndThumbTrackingFollowsTheOption) {
    Grid->SetColCount(4);
    Grid->SetRowCount(100);
    Grid->SetDefaultRowHeight(20);
    std::vector<std::string> Events;
    Grid->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int X, int Y) {
        Events.push_back("down " + std::to_string(X) + "," + std::to_string(Y));
    };
    Grid->OnMouseMove = [&](TObject*, TShiftState, int, int) { Events.push_back("move"); };
    Grid->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) {
        Events.push_back("up");
    };
    MouseDown(30, 50);
    MouseMove(31, 50);
    MouseUp(31, 50);
    EXPECT_EQ(Events, (std::vector<std::string>{"down 30,50", "move", "up"}));

    for (bool Tracking : {false, true}) {
        TGridOptions Options = Grid->Options();
        if (Tracking)
            Options.Include(goThumbTracking);
        else
            Options.Exclude(goThumbTracking);
        Grid->SetOptions(Options);
        EXPECT_EQ(Grid->Options().Contains(goThumbTracking), Tracking);
        Grid->SetTopRow(1);
        Grid->Perform(WM_VSCROLL, MakeWParam(SB_THUMBTRACK, 60), 0);
        EXPECT_EQ(Grid->TopRow() > 1, Tracking) << Grid->TopRow();
    }
}

TEST(FoundationServicesReading, VisiblePositionsFollowAMovedPosition) {
    struct Case {
        int From, To;
        std::vector<int> After;
    };
    // Positions 1..6 with 3 hidden.
    const Case Cases[] = {
        {5, 2, {1, 2, 3, 5, 6}},
        {2, 5, {1, 3, 4, 5, 6}},
        {3, 6, {1, 2, 3, 4, 5}},
        {4, 4, {1, 2, 4, 5, 6}},
    };
    for (const Case& C : Cases) {
        TgxVisibleItems L;
        L.SetSize(6, 1);
        L.SetItems({1, 2, 4, 5, 6});
        L.MoveItem(C.From, C.To);
        std::vector<int> Got;
        for (int K = 1; K <= L.VisibleCount(); ++K)
            Got.push_back(L.GetItem(K));
        EXPECT_EQ(Got, C.After) << C.From << " to " << C.To;
    }
}

TEST_F(BaseGridServices, ScrollingWithRowSelectRepaintsTheSelectedRow) {
    Grid->SetColCount(4);
    Grid->SetRowCount(100);
    Grid->SetDefaultRowHeight(20);
    for (bool RowSelect : {false, true}) {
        TGridOptions Options = Grid->Options();
        if (RowSelect)
            Options.Include(goRowSelect);
        else
            Options.Exclude(goRowSelect);
        Grid->SetOptions(Options);
        Grid->SetTopRow(1);
        Grid->SetRow(5);
        PaintAll();
        Grid->SetTopRow(2);
        Flush();
        EXPECT_EQ(Painted.Rows().count(5) == 1, RowSelect) << RowSelect;
    }
}

TEST(FoundationServicesReading, MemoryCanvasDrawingIsClippedToTheGivenArea) {
    EnsureQtApplication();
    TgxMemoryCanvas Memory;
    Memory.Prepare(nullptr, 40, 30);
    TCanvas Canvas;
    Canvas.SetHandle(Memory.Dc());
    Canvas.Brush()->SetColor(clWhite);
    Canvas.FillRect(TRect{0, 0, 40, 30});
    Memory.SetObjects(TRect{0, 0, 10, 10});
    Canvas.Brush()->SetColor(clBlack);
    Canvas.FillRect(TRect{0, 0, 40, 30});
    EXPECT_EQ(Canvas.Pixels(5, 5) & 0xFFFFFF, 0);
    EXPECT_EQ(Canvas.Pixels(20, 20) & 0xFFFFFF, 0xFFFFFF);
    Canvas.SetHandle(nullptr);
    Memory.Release();
}

TEST_F(BaseGridServices, SideScrollCarriesTheFixedHeadingAlong) {
    Grid->SetColCount(10);
    Grid->SetRowCount(10);
    Grid->SetFixedCols(1);
    Grid->SetFixedRows(1);
    Grid->SetDefaultColWidth(50);
    Grid->SetDefaultRowHeight(20);
    Grid->OnDrawCell = [this](TObject*, int ACol, int ARow, TRect Rect, TGridDrawState) {
        Grid->Canvas()->Brush()->SetColor(static_cast<TColor>(ACol * 20 + (ARow == 0 ? 1 : 0)));
        Grid->Canvas()->FillRect(Rect);
    };
    PaintAll();
    Grid->SetLeftCol(3);
    Flush();
    const TRect Heading = Grid->CellRect(3, 0);
    const TRect Data = Grid->CellRect(3, 4);
    const int X = (Heading.Left + Heading.Right) / 2;
    EXPECT_EQ(Grid->Canvas()->Pixels(X, (Heading.Top + Heading.Bottom) / 2) & 0xFFFFFF, 3 * 20 + 1);
    EXPECT_EQ(Grid->Canvas()->Pixels(X, (Data.Top + Data.Bottom) / 2) & 0xFFFFFF, 3 * 20);
    const TRect Fixed = Grid->CellRect(0, 4);
    EXPECT_EQ(
        Grid->Canvas()->Pixels((Fixed.Left + Fixed.Right) / 2, (Fixed.Top + Fixed.Bottom) / 2) &
            0xFFFFFF,
        0);
}
