// The fixed cells and headings as the shown grid paints them: their lines,
// an empty heading, and where a heading's sort button goes.
#include "ShownGridPixels.h"

#include "grid/model/Columns.h"

using namespace grid;

namespace {

class HeadingsShown : public ShownGridPixels {
protected:
    void SetUp() override {
        ShowFocused(5, 6);
        Grid->SetHeadingColor(clBtnFace);
    }
    TgxCol* Column(int DisplayCol) { return Grid->GridCols()->GetCol(Grid->GetDataCol(DisplayCol)); }
    // Pixels of the heading that are not its colour, inside its edges.
    int MarkedIn(const TRect& R) {
        const TColor Face = ColorToRGB(clBtnFace);
        int N = 0;
        for (const TColor P : Pixels(R)) N += P != Face;
        return N;
    }
};

TEST_F(HeadingsShown, FixedLinesAreGrayWith3DHeadingsAndBlackWithout) {
    for (const bool Raised : {true, false}) {
        SCOPED_TRACE(Raised ? "3D" : "flat");
        Grid->SetHeading3D(Raised);
        Shot();
        const TRect R = Grid->CellRect(2, 0);
        const TColor Line = Raised ? clGray : clBlack;
        // The lines lie under and right of the cell, where the grid lines go.
        EXPECT_EQ(At((R.Left + R.Right) / 2, R.Bottom), Line);
        EXPECT_EQ(At(R.Right, (R.Top + R.Bottom) / 2), Line);
        const TRect Bar = Grid->CellRect(0, 3);
        EXPECT_EQ(At((Bar.Left + Bar.Right) / 2, Bar.Bottom), Line);
        EXPECT_EQ(At(R.Left, R.Top) == clWhite, Raised) << "the raised inner edge";
    }
}

TEST_F(HeadingsShown, AnEmptyHeadingWithoutButtonShowsOnlyItsBackground) {
    for (int C = 1; C <= 4; ++C) Column(C)->SetHeading("");
    Column(3)->SetHeading("WW");
    Shot();
    for (int C : {1, 2}) {
        const TRect R = Grid->CellRect(C, 0);
        EXPECT_EQ(MarkedIn(Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1)), 0) << C;
    }
    const TRect R = Grid->CellRect(3, 0);
    EXPECT_GT(MarkedIn(Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1)), 0);
}

TEST_F(HeadingsShown, ASortButtonGoesLeftOnARightAlignedHeadingElseRight) {
    Grid->SetColWidths(2, 100);
    TgxCol* Col = Column(2);
    Col->SetHeading("");
    Col->SetHeadingButton(cbButton);
    Col->SetSortPicture(spUp);
    struct Case {
        TgxHorzAlignment Align;
        bool Left;
    };
    for (const Case C : {Case{htaLeft, false}, Case{htaRight, true}, Case{htaCenter, false}}) {
        SCOPED_TRACE(static_cast<int>(C.Align));
        Col->SetHeadingHorzAlignment(C.Align);
        Shot();
        const TRect R = Grid->CellRect(2, 0);
        const TRect LeftPart = Rect(R.Left + 1, R.Top + 1, R.Left + 16, R.Bottom - 1);
        const TRect RightPart = Rect(R.Right - 16, R.Top + 1, R.Right - 1, R.Bottom - 1);
        EXPECT_EQ(MarkedIn(LeftPart) > 0, C.Left);
        EXPECT_EQ(MarkedIn(RightPart) > 0, !C.Left);
    }
}

} // namespace
