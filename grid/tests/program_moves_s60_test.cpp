// The current cell moved by program, through each public setter, while the
// in-place editor shows: the old cell's edit ends as leaving the cell would,
// and the editor comes back over the new cell holding that cell's value.
#include "grid/tests/GridEditFixture.h"

#include <functional>

using namespace grid;

namespace {

class ProgramMoves : public GridEditFixture {
protected:
    void Fill() {
        for (int C = 1; C <= 4; ++C)
            for (int R = 1; R <= Grid->GetGridRowCount(); ++R)
                Grid->SetCellValue(C, R, Variant(Name(C, R)));
    }
    static AnsiString Name(int C, int R) {
        return AnsiString("c") + std::to_string(C).c_str() + "r" + std::to_string(R).c_str();
    }
    bool EditorOver(int DisplayCol, int DisplayRow) {
        TgxCustomGridControl* E = Grid->GridControl();
        if (!E || !E->GetVisible()) return false;
        const TRect Cell = Grid->CellRect(DisplayCol, DisplayRow);
        return Cell.Right > Cell.Left && E->GetLeft() >= Cell.Left && E->GetTop() >= Cell.Top &&
               E->GetLeft() + E->GetWidth() <= Cell.Right &&
               E->GetTop() + E->GetHeight() <= Cell.Bottom;
    }

    struct TSetter {
        const char* Name;
        std::function<void(TgxGrid&, int, int)> Move;
        bool Scrolls = true; // puts the new cell in view
    };
    static std::vector<TSetter> Setters() {
        return {
            {"SetCol then SetRow",
             [](TgxGrid& G, int C, int R) {
                 G.SetCol(C);
                 G.SetRow(R);
             }},
            {"SetRow then SetCol",
             [](TgxGrid& G, int C, int R) {
                 G.SetRow(R);
                 G.SetCol(C);
             }},
            {"SetCurrentCell", [](TgxGrid& G, int C, int R) { G.SetCurrentCell(C, R); }, false},
            {"FocusCell", [](TgxGrid& G, int C, int R) { G.FocusCell(C, R, true); }},
            {"MoveCurrent", [](TgxGrid& G, int C, int R) { G.MoveCurrent(C, R, true, true); }},
            {"MoveColRow", [](TgxGrid& G, int C, int R) { G.MoveColRow(C, R, true, true); }},
            {"MoveAnchor", [](TgxGrid& G, int C, int R) { G.MoveAnchor(TGridCoord{C, R}); }},
            {"SetSelection",
             [](TgxGrid& G, int C, int R) { G.SetSelection(TGridRect{C, R, C, R}); }},
        };
    }
};

} // namespace

// Two targets: a cell in view, and one below a short window that needs a
// scroll. The move by cell numbers leaves the view to the program. After the
// move the user edits on with real keys.
TEST_F(ProgramMoves, EverySetterEndsTheOldCellAndLoadsTheEditorWithTheNewCell) {
    for (const int TargetRow : {2, 4}) {
        for (const TSetter& S : Setters()) {
            SCOPED_TRACE(std::string(S.Name) + " to row " + std::to_string(TargetRow));
            Grid->SetBounds(0, 0, 420, TargetRow == 2 ? 300 : 50);
            Fill();
            Grid->SetTopRow(Grid->FixedRows());
            GoTo(1, 1);
            ASSERT_TRUE(EditorOver(1, 1));
            LogEvents();
            Press(Qt::Key_End);
            Type("?");
            S.Move(*Grid, Grid->GetDisplayCol(2), Grid->GetDisplayRow(TargetRow));
            QApplication::processEvents();
            EXPECT_EQ(At(), std::make_pair(2, TargetRow));
            EXPECT_EQ(Log, (std::vector<std::string>{"start cell 1,1", "start row 1",
                                                     "end cell 1,1", "end row 1"}));
            EXPECT_EQ(Stored(1, 1), "c1r1?");
            EXPECT_EQ(EditorText(), Name(2, TargetRow));
            EXPECT_FALSE(EditorOver(1, 1));
            if (!S.Scrolls) Grid->PutCellInView(2, TargetRow);
            EXPECT_TRUE(EditorOver(Grid->Col(), Grid->Row()));
            Press(Qt::Key_End);
            Type("!");
            Press(Qt::Key_Down);
            EXPECT_EQ(Stored(1, 1), "c1r1?");
            EXPECT_EQ(Stored(2, TargetRow), Name(2, TargetRow) + "!");
            Grid->OnStartCellEdit = nullptr;
            Grid->OnEndCellEdit = nullptr;
            Grid->OnStartRowEdit = nullptr;
            Grid->OnEndRowEdit = nullptr;
            Log.clear();
        }
    }
}

// An edit that refuses to end keeps the current cell, the typed text and
// the editor where they are.
TEST_F(ProgramMoves, ARefusedEndKeepsTheCurrentCellAndItsEdit) {
    for (const TSetter& S : Setters()) {
        SCOPED_TRACE(S.Name);
        Fill();
        GoTo(1, 1);
        LogEvents();
        Press(Qt::Key_End);
        Type("?");
        RefuseCell = true;
        S.Move(*Grid, Grid->GetDisplayCol(2), Grid->GetDisplayRow(2));
        QApplication::processEvents();
        EXPECT_EQ(At(), std::make_pair(1, 1));
        EXPECT_EQ(EditorText(), "c1r1?");
        EXPECT_TRUE(EditorOver(Grid->Col(), Grid->Row()));
        EXPECT_TRUE(Grid->CellEditing());
        EXPECT_EQ(Stored(1, 1), "c1r1");
        RefuseCell = false;
        Press(Qt::Key_Escape);
        Press(Qt::Key_Escape);
        Log.clear();
    }
}
