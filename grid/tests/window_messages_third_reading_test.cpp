// Window messages around the in-place control: a grid shown in edit mode
// brings its control up with the first paint, a scroll closes an open
// list first, and the size event keeps quiet while the grid loads.
#include "grid/tests/DropDownFixture.h"
#include "grid/tests/LoadingGrid.h"
#include "platform/gui/Messages.h"
#include "platform/gui/WindowScroll.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

using namespace grid;

namespace {

class WindowMessagesThirdReading : public DropDownFixture {};

TEST_F(WindowMessagesThirdReading, EditModeGridShowsItsControlOnceItHasPainted) {
    Grid->SetGridColCount(3);
    Grid->SetGridRowCount(5);
    Grid->SetGridMode(gmEdit);
    Grid->SetFocus();
    QApplication::processEvents();
    Grid->Repaint();
    QApplication::processEvents();
    TWinControl* Control = Editor();
    ASSERT_NE(Control, nullptr);
    EXPECT_TRUE(Control->Visible());
    EXPECT_TRUE(Grid->ControlDisplayed());
}

// Rows added while painting was off leave the scroll range to the next
// paint; a paint that fails still brings the bar up to date.
TEST_F(WindowMessagesThirdReading, ScrollRangePutOffUntilPaintIsSetEvenWhenPaintingFails) {
    Grid->SetGridColCount(3);
    Grid->SetGridRowCount(2);
    QApplication::processEvents();
    int Failures = 0;
    Application->OnException = [&](TObject*, const Exception&) { ++Failures; };
    Grid->OnPaint = [&](TObject*) { throw Exception("paint failed"); };
    Grid->SetEnablePaint(false);
    Grid->SetGridRowCount(200);
    Grid->SetEnablePaint(true);
    Grid->Invalidate();
    QApplication::processEvents();
    Grid->OnPaint = nullptr;
    Application->OnException = nullptr;
    EXPECT_GE(Failures, 1);
    int Min = 0, Max = 0;
    GetScrollRange(Grid, SB_VERT, Min, Max);
    EXPECT_GT(Max, Min);
}

struct ScrollCase {
    unsigned Msg;
    int Code;
};

TEST_F(WindowMessagesThirdReading, AnyScrollMessageClosesTheOpenList) {
    Grid->SetGridColCount(3);
    Grid->SetGridRowCount(40);
    GiveColumnList(1, {"alpha", "beta", "gamma"});
    for (const ScrollCase C : {ScrollCase{WM_VSCROLL, SB_LINEDOWN}, ScrollCase{WM_VSCROLL, SB_LINEUP},
                               ScrollCase{WM_HSCROLL, SB_LINELEFT},
                               ScrollCase{WM_VSCROLL, SB_ENDSCROLL}}) {
        SCOPED_TRACE(testing::Message() << "msg " << C.Msg << " code " << C.Code);
        Grid->SetTopRow(Grid->FixedRows());
        Grid->SetFocus();
        GoTo(1, 1);
        Key(Qt::Key_F4);
        QApplication::processEvents();
        ASSERT_TRUE(Grid->DropDownVisible());
        Grid->Perform(C.Msg, static_cast<WPARAM>(C.Code), 0);
        QApplication::processEvents();
        EXPECT_FALSE(Grid->DropDownVisible());
    }
}

// The end of a scroll brings the window up to date at once; the vertical
// handler does so after every scroll message.
TEST_F(WindowMessagesThirdReading, ScrollMessagesPaintWhatIsDueAtOnce) {
    Grid->SetGridColCount(20);
    Grid->SetGridRowCount(40);
    QApplication::processEvents();
    int Painted = 0;
    Grid->OnPaint = [&](TObject*) { ++Painted; };
    for (const ScrollCase C : {ScrollCase{WM_VSCROLL, SB_ENDSCROLL}, ScrollCase{WM_HSCROLL, SB_ENDSCROLL},
                               ScrollCase{WM_VSCROLL, SB_LINEDOWN}, ScrollCase{WM_VSCROLL, SB_LINEUP}}) {
        SCOPED_TRACE(testing::Message() << "msg " << C.Msg << " code " << C.Code);
        QApplication::processEvents();
        Painted = 0;
        Grid->Invalidate();
        Grid->Perform(C.Msg, static_cast<WPARAM>(C.Code), 0);
        EXPECT_GE(Painted, 1);
    }
}

TEST_F(WindowMessagesThirdReading, SizeEventWaitsUntilTheGridHasLoaded) {
    TLoadingGrid* G = TLoadingGrid::Replace(Grid, Form, 3, 5);
    QApplication::processEvents();
    int Resized = 0;
    G->OnResize = [&](TObject*) { ++Resized; };
    G->BeginLoad();
    G->SetBounds(0, 0, 300, 200);
    QApplication::processEvents();
    EXPECT_EQ(Resized, 0);
    G->Loaded();
    G->SetBounds(0, 0, 320, 220);
    QApplication::processEvents();
    EXPECT_EQ(Resized, 1);
}

} // namespace
