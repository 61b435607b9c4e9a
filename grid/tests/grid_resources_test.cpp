// The cursors and pictures every grid shares.
#include "grid/foundation/GridCommonCanvas.h"
#include "grid/view/GridResources.h"
#include "platform/gui/Cursors.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/QtApp.h"

#include <gtest/gtest.h>

using namespace grid;

TEST(GridResources, StartingTwiceChangesNothingAndTheMatchingShutdownFrees) {
    EnsureQtApplication();
    // Grids painted before may have started the resources on first use.
    while (GridUnitStarted())
        GridUnitShutdown();
    GridUnitStartup();
    TBitmap* Arrow = GridBitmap(TgxGridBitmap::DotArrowRight);
    TgxMemoryCanvas* Canvas = EditorPaintCanvas();
    GridUnitStartup();
    EXPECT_EQ(GridBitmap(TgxGridBitmap::DotArrowRight), Arrow);
    EXPECT_EQ(EditorPaintCanvas(), Canvas);
    GridUnitShutdown();
    EXPECT_TRUE(GridUnitStarted());
    GridUnitShutdown();
    EXPECT_FALSE(GridUnitStarted());
    GridUnitShutdown(); // one too many does nothing
    EXPECT_FALSE(GridUnitStarted());
    // Asking again starts them afresh.
    EXPECT_NE(GridCheckerPattern(), nullptr);
    EXPECT_TRUE(GridUnitStarted());
}

TEST(GridResources, PicturesHaveTheirSizesAndTheCheckerStartsBlack) {
    EnsureQtApplication();
    struct Case {
        const char* Name;
        int Width;
        int Height;
    };
    const Case Cases[] = {
        {"GXDOTARROWRIGHT", 6, 11}, {"GXINSERTROW", 9, 11},   {"GXCHANGEDROW", 11, 11},
        {"GXARROWCOMBO", 5, 5},     {"GXBUTDETAIL", 7, 5},    {"GXSORTUP", 12, 13},
        {"GXSORTDOWN", 12, 13},     {"GXSORTBULLET", 12, 13}, {"GXSPINUP", 7, 4},
        {"GXSPINDOWN", 7, 4},       {"GXSPINLEFT", 4, 7},     {"GXSPINRIGHT", 4, 7}};
    for (const Case& C : Cases) {
        TBitmap* B = GridBitmapByName(C.Name);
        ASSERT_NE(B, nullptr) << C.Name;
        EXPECT_EQ(B->Width(), C.Width) << C.Name;
        EXPECT_EQ(B->Height(), C.Height) << C.Name;
    }
    EXPECT_EQ(GridButtonBitmap(1), GridBitmapByName("GXSORTUP"));
    EXPECT_EQ(GridSpinBitmap(3), GridBitmapByName("GXSPINRIGHT"));
    EXPECT_THROW(GridBitmapByName("GXNOSUCH"), EResNotFound);

    TBitmap* Checker = GridCheckerPattern();
    EXPECT_EQ(Checker->Width(), 8);
    EXPECT_EQ(Checker->Height(), 8);
    EXPECT_EQ(Checker->Canvas()->Pixels(0, 0), clBlack);
    EXPECT_EQ(Checker->Canvas()->Pixels(1, 0), clWhite);
    EXPECT_EQ(Checker->Canvas()->Pixels(7, 7), clBlack);
}

TEST(GridResources, CursorsAreRegisteredByNumber) {
    EnsureQtApplication();
    for (const char* Name : {"GXARROWREV", "GXHORARROWRIGHT", "GXVERTARROWDOWN"}) {
        const TCursor Id = GridCursorByName(Name);
        HCURSOR Cursor = Screen->Cursors(Id);
        ASSERT_NE(Cursor, nullptr) << Name;
        EXPECT_EQ(CursorSize(Cursor).X, 32) << Name;
        const TPoint Hot = CursorHotSpot(Cursor);
        // The hot spot is on the arrow, not on the screen behind it.
        EXPECT_NE(CursorPixel(Cursor, Hot.X, Hot.Y), clNone) << Name;
    }
    EXPECT_THROW(GridCursorByName("GXNOSUCH"), EResNotFound);
}
