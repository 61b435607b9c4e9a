// The grid unit's shared resources: made once, kept across further
// start-ups, and looked up by their resource names.
#include "grid/view/GridResources.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/QtApp.h"

#include <gtest/gtest.h>

using namespace grid;

namespace {

struct Named {
    const char* Name;
    TgxGridBitmap Which;
    int Width;
    int Height;
};

const Named Bitmaps[] = {
    {"GXDOTARROWRIGHT", TgxGridBitmap::DotArrowRight, 6, 11},
    {"GXINSERTROW", TgxGridBitmap::InsertRow, 9, 11},
    {"GXCHANGEDROW", TgxGridBitmap::ChangedRow, 11, 11},
    {"GXARROWCOMBO", TgxGridBitmap::ArrowCombo, 5, 5},
    {"GXBUTDETAIL", TgxGridBitmap::ButDetail, 7, 5},
    {"GXSORTUP", TgxGridBitmap::SortUp, 12, 13},
    {"GXSORTDOWN", TgxGridBitmap::SortDown, 12, 13},
    {"GXSORTBULLET", TgxGridBitmap::SortBullet, 12, 13},
    {"GXSPINUP", TgxGridBitmap::SpinUp, 7, 4},
    {"GXSPINDOWN", TgxGridBitmap::SpinDown, 7, 4},
    {"GXSPINLEFT", TgxGridBitmap::SpinLeft, 4, 7},
    {"GXSPINRIGHT", TgxGridBitmap::SpinRight, 4, 7},
};

class GridUnitReading : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        GridUnitStartup();
    }
};

} // namespace

TEST_F(GridUnitReading, BitmapsByNameHaveTheirSizes) {
    for (const Named& B : Bitmaps) {
        SCOPED_TRACE(B.Name);
        TBitmap* Bitmap = GridBitmapByName(B.Name);
        ASSERT_NE(Bitmap, nullptr);
        EXPECT_EQ(Bitmap, GridBitmap(B.Which));
        EXPECT_EQ(Bitmap->Width(), B.Width);
        EXPECT_EQ(Bitmap->Height(), B.Height);
        EXPECT_EQ(Bitmap->PixelFormat(), pf8bit);
    }
    // The two arrays the buttons index.
    const TgxGridBitmap Buttons[] = {TgxGridBitmap::ButDetail, TgxGridBitmap::SortUp,
                                     TgxGridBitmap::SortDown, TgxGridBitmap::SortBullet};
    const TgxGridBitmap Spins[] = {TgxGridBitmap::SpinUp, TgxGridBitmap::SpinDown,
                                   TgxGridBitmap::SpinLeft, TgxGridBitmap::SpinRight};
    for (int I = 0; I < 4; ++I) {
        EXPECT_EQ(GridButtonBitmap(I), GridBitmap(Buttons[I]));
        EXPECT_EQ(GridSpinBitmap(I), GridBitmap(Spins[I]));
    }
}

TEST_F(GridUnitReading, CursorsAreRegisteredUnderTheirNames) {
    struct Cursor {
        const char* Name;
        TCursor Number;
    };
    for (const Cursor& C : {Cursor{"GXARROWREV", crGxArrowRev},
                            Cursor{"GXHORARROWRIGHT", crGxHorArrowRight},
                            Cursor{"GXVERTARROWDOWN", crGxVertArrowDown}}) {
        SCOPED_TRACE(C.Name);
        EXPECT_EQ(GridCursorByName(C.Name), C.Number);
    }
}

TEST_F(GridUnitReading, UnknownNamesRaiseResourceNotFound) {
    for (const char* Name : {"GXNOSUCH", ""}) {
        SCOPED_TRACE(Name);
        try {
            GridBitmapByName(Name);
            ADD_FAILURE() << "no exception";
        } catch (const EResNotFound& E) {
            EXPECT_EQ(E.Message, AnsiString("Resource ") + Name + " not found");
        }
        EXPECT_THROW(GridCursorByName(Name), EResNotFound);
    }
}

TEST_F(GridUnitReading, CheckerIsBlackWhereColumnPlusRowIsEven) {
    TBitmap* Checker = GridCheckerPattern();
    ASSERT_EQ(Checker->Width(), 8);
    ASSERT_EQ(Checker->Height(), 8);
    for (int J = 0; J < 8; ++J)
        for (int I = 0; I < 8; ++I)
            EXPECT_EQ(Checker->ScanLine(J)[I] & 0xFFFFFFu, (I + J) % 2 ? 0xFFFFFFu : 0u)
                << I << "," << J;
}

// A further start-up keeps every object; the shut-down matching it frees
// nothing that is still in use.
TEST_F(GridUnitReading, SecondStartupChangesNothing) {
    TBitmap* Sort = GridBitmap(TgxGridBitmap::SortUp);
    TBitmap* Checker = GridCheckerPattern();
    TgxMemoryCanvas* Paint = GridPaintCanvas();
    TgxMemoryCanvas* Editor = EditorPaintCanvas();
    EXPECT_NE(Paint, nullptr);
    EXPECT_NE(Paint, Editor);
    auto* Hooked = &HookedGrids();
    GridUnitStartup();
    GridUnitShutdown();
    EXPECT_TRUE(GridUnitStarted());
    EXPECT_EQ(GridBitmap(TgxGridBitmap::SortUp), Sort);
    EXPECT_EQ(GridCheckerPattern(), Checker);
    EXPECT_EQ(GridPaintCanvas(), Paint);
    EXPECT_EQ(EditorPaintCanvas(), Editor);
    EXPECT_EQ(&HookedGrids(), Hooked);
    EXPECT_EQ(Sort->Width(), 12);
}

// The last shut-down frees everything once; a shut-down too many is
// harmless, and the next use starts the unit afresh.
TEST_F(GridUnitReading, ShutdownFreesOnceAndUseStartsAgain) {
    while (GridUnitStarted())
        GridUnitShutdown();
    GridUnitShutdown();
    EXPECT_FALSE(GridUnitStarted());
    TBitmap* Checker = GridCheckerPattern();
    EXPECT_TRUE(GridUnitStarted());
    ASSERT_EQ(Checker->Width(), 8);
    EXPECT_EQ(Checker->ScanLine(0)[1] & 0xFFFFFFu, 0xFFFFFFu);
    EXPECT_EQ(GridBitmap(TgxGridBitmap::SpinRight)->Width(), 4);
    EXPECT_TRUE(HookedGrids().empty());
}
