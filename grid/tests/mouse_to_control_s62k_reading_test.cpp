// A press on the current cell that shows its editor lands in the editor:
// the caret goes where the user clicked, the editor takes the focus and,
// while the button is held, the mouse.
#include "ShownMouseFixture.h"

#include "grid/model/Columns.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/InplaceControl.h"
#include "platform/rtl/Clock.h"

#include <string>
#include <vector>

using namespace grid;

namespace {

class MouseToControl : public ShownMouseFixture {
protected:
    void SetUp() override {
        ShowFocused(3, 3);
        Grid->SetStoreData(true);
        Grid->SetGridMode(gmEdit);
        Grid->SetAlwaysShowEditor(false);
        Grid->SetColWidths(1, 220);
        Grid->SetCellValue(1, 1, Variant(AnsiString(Text)));
        Grid->SetCol(1);
        Grid->SetRow(1);
        Grid->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int X, int Y) {
            Downs.push_back(TPoint{X, Y});
        };
        QApplication::processEvents();
    }
    // A point on the text of the current cell, about a third into it.
    QPoint OnText() const {
        const TRect R = Grid->CellRect(1, 1);
        return QPoint(R.Left + 40, (R.Top + R.Bottom) / 2);
    }
    TgxGridControl* Editor() const {
        return Grid->GridControl() ? Grid->GridControl()->Control() : nullptr;
    }
    // Where a press straight on the shown editor at the same place puts
    // the caret (long enough after the last press to make no double click).
    int CaretOfDirectPress(QPoint GridPoint) {
        Ticks.Advance(5000);
        QWidget* E = Editor()->Widget();
        const QPoint P = E->mapFromGlobal(W->mapToGlobal(At(GridPoint)));
        SendMouse(E, QEvent::MouseButtonPress, P);
        SendMouse(E, QEvent::MouseButtonRelease, P);
        return Grid->GridControl()->GetSelStart();
    }

    ManualClock Ticks{0.0, 100000};
    ScopedClock UseTicks{Ticks};
    static constexpr const char* Text = "abcdefghijklmnopqrstuvwxyz";
    std::vector<TPoint> Downs;
};

TEST_F(MouseToControl, APressOnTheCurrentCellPutsTheCaretWhereItLanded) {
    struct Case {
        const char* Name;
        bool Double;
    };
    const Case Cases[] = {{"single press", false}, {"double click", true}};
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->HideEditor();
        Downs.clear();
        ASSERT_FALSE(Grid->EditorShown());
        const QPoint P = OnText();
        if (C.Double) {
            DoubleClick(P);
        } else {
            Press(P);
            ASSERT_TRUE(Grid->EditorShown());
            ASSERT_NE(Editor(), nullptr);
            // The editor holds the mouse while the button is down.
            EXPECT_TRUE(Editor()->MouseCapture());
            EXPECT_FALSE(Grid->MouseCapture());
            Release(P);
        }
        ASSERT_TRUE(Grid->EditorShown());
        EXPECT_TRUE(Editor()->Focused());
        EXPECT_FALSE(Editor()->MouseCapture());
        const int Caret = Grid->GridControl()->GetSelStart();
        EXPECT_GT(Caret, 0);
        EXPECT_LT(Caret, static_cast<int>(std::string(Text).size()));
        EXPECT_EQ(Grid->GridControl()->GetSelLength(), 0);
        // The application hears of the press once, in the grid's coordinates.
        ASSERT_EQ(Downs.size(), 1u);
        EXPECT_EQ(Downs.front().X, P.x());
        EXPECT_EQ(Downs.front().Y, P.y());
        EXPECT_EQ(Caret, CaretOfDirectPress(P));
    }
}

// A press on the heading of the current column is no press in the editor:
// the application hears of it where it was.
TEST_F(MouseToControl, APressOnTheCurrentColumnsHeadingStaysTheGrids) {
    // Columns that cannot be selected take a heading press as one on the
    // column's cell in the current row.
    Grid->SetColSelectMode(csNone);
    Grid->SetColMoving(false);
    const QPoint P = CellMid(1, 0);
    Press(P);
    Release(P);
    ASSERT_EQ(Downs.size(), 1u);
    EXPECT_EQ(Downs.front().X, P.x());
    EXPECT_EQ(Downs.front().Y, P.y());
}

// A check box changes with the press that opens it, and only once.
TEST_F(MouseToControl, APressOnTheCurrentCheckBoxTogglesItOnce) {
    Grid->GetCol(2)->SetControlType(ctCheck);
    Grid->SetCellValue(2, 1, Variant(false));
    Grid->SetCol(2);
    QApplication::processEvents();
    ASSERT_FALSE(Grid->EditorShown());
    const QPoint P = CellMid(2, 1);
    Press(P);
    Release(P);
    ASSERT_TRUE(Grid->EditorShown());
    EXPECT_TRUE(Grid->CurrentCell()->GetValue().AsBoolean());
}

} // namespace
