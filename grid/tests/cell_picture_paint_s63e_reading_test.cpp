// Picture cells as the shown window paints them, on browsing and editing
// grids, while the current cell moves over them and their values change.
#include "ShownGridPixels.h"

#include "grid/foundation/ImageList.h"
#include "grid/model/Columns.h"
#include "platform/gui/Colors.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Variant.h"

#include <memory>

using namespace grid;

namespace {

std::unique_ptr<TBitmap> SolidSquare(TColor C) {
    auto B = std::make_unique<TBitmap>();
    B->SetSize(8, 8);
    B->Canvas()->Brush()->SetColor(C);
    B->Canvas()->FillRect(Rect(0, 0, 8, 8));
    return B;
}

struct ModeCase {
    const char* Name;
    TgxGridMode Mode;
    bool ShowEditor;
};

class PicturePaint : public ShownGridPixels, public ::testing::WithParamInterface<ModeCase> {
protected:
    void SetUp() override {
        ShowGrid(5, 5);
        Grid->SetStoreData(true);
        Grid->SetGridMode(GetParam().Mode);
        Grid->SetAlwaysShowEditor(GetParam().ShowEditor);
        Grid->SetStretchPicture(true);
        for (int R = 1; R <= 4; ++R) Grid->SetCellControlType(2, R, ctPicture);
        Grid->SetCellValue(2, 2, VarFromObject(Red.get()));
        Grid->SetCellValue(2, 3, VarFromObject(Red.get()));
        ShowActive(*Form);
        Grid->SetFocus();
        Grid->SetCol(1);
        Grid->SetRow(2);
        Settle();
    }
    // Share of the cell's inner pixels (3 px in from each edge) in colour C.
    double Share(int Col, int Row, TColor C) {
        Shot();
        TRect R = Grid->CellRect(Col, Row);
        R = Rect(R.Left + 4, R.Top + 3, R.Right - 3, R.Bottom - 3);
        const double All = static_cast<double>((R.Right - R.Left) * (R.Bottom - R.Top));
        return CountOf(R, C) / All;
    }
    QWidget* W() { return Grid->Widget(); }
    void ClickCell(int Col, int Row) {
        const TRect R = Grid->CellRect(Col, Row);
        ClickAt(W(), QPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
        Settle();
    }

    std::unique_ptr<TBitmap> Red = SolidSquare(clRed);
    std::unique_ptr<TBitmap> Blue = SolidSquare(clBlue);
};

TEST_P(PicturePaint, CurrentPictureCellShowsItsPictureAsTheCellMoves) {
    EXPECT_GT(Share(2, 2, clRed), 0.9) << "not current";
    TypeKey(W(), Qt::Key_Right);
    Settle();
    ASSERT_EQ(Grid->Col(), 2);
    EXPECT_GT(Share(2, 2, clRed), 0.9) << "current by key";
    ClickCell(2, 3);
    ASSERT_EQ(Grid->Row(), 3);
    EXPECT_GT(Share(2, 3, clRed), 0.9) << "current by click";
    EXPECT_GT(Share(2, 2, clRed), 0.9) << "left by click";
    // A new value for the current cell shows at once.
    Grid->SetCellValue(2, 3, VarFromObject(Blue.get()));
    Settle();
    EXPECT_GT(Share(2, 3, clBlue), 0.9) << "changed while current";
    // An empty value leaves the cell in its background.
    Grid->SetCellValue(2, 3, Variant());
    Settle();
    EXPECT_EQ(Share(2, 3, clBlue), 0.0) << "emptied while current";
    TypeKey(W(), Qt::Key_Down);
    Settle();
    EXPECT_EQ(Share(2, 3, clBlue), 0.0) << "emptied, then left";
}

TEST_P(PicturePaint, ValueThatIsNoBitmapPaintsTheCellEmpty) {
    struct {
        Variant Value;
        // An editing grid refuses the value for its current cell with its
        // own message.
        bool Refused;
    } const Cases[] = {{Variant("not a picture"), false},
                       {Variant(5), false},
                       {VarFromObject(Form), false},
                       {Variant(3.5), true}};
    const bool Editing = GetParam().Mode != gmBrowse;
    for (const auto& C : Cases) {
        Grid->OnCellLoaded = [&](TObject*, int Col, int Row, Variant& V) {
            if (Col == 2 && Row == 4) V = C.Value;
        };
        for (const int Col : {1, 2}) {
            const bool Refused = Editing && C.Refused && Col == 2;
            try {
                Grid->SetCol(Col);
                Grid->SetRow(4);
                EXPECT_FALSE(Refused) << C.Value.AsString();
            } catch (const std::exception& E) {
                EXPECT_TRUE(Refused) << C.Value.AsString() << ": " << E.what();
                EXPECT_NE(std::string(E.what()).find("picture column requires"), std::string::npos)
                    << E.what();
            }
            Grid->Invalidate();
            Settle();
            Shot();
            // The empty picture cell above shows the background the cell should.
            const TRect E = Grid->CellRect(2, 1);
            const TColor Empty = At((E.Left + E.Right) / 2, (E.Top + E.Bottom) / 2);
            EXPECT_GT(Share(2, 4, Empty), 0.9) << C.Value.AsString() << ", current col " << Col;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, PicturePaint,
                         ::testing::Values(ModeCase{"Browse", gmBrowse, false},
                                           ModeCase{"Edit", gmEdit, false},
                                           ModeCase{"EditShown", gmEdit, true}),
                         [](const auto& I) { return std::string(I.param.Name); });

}  // namespace

namespace {

// A selection or focus colour lies over a picture as a checker: every
// other pixel takes the colour, the picture shows between.
class PictureOverlay : public ShownGridPixels {};

TEST_F(PictureOverlay, SelectionAndFocusColoursCheckerThePicture) {
    ShowFocused(5, 5);
    Grid->SetStretchPicture(true);
    auto Red = SolidSquare(clRed);
    for (int R = 1; R <= 4; ++R) {
        Grid->SetCellControlType(2, R, ctPicture);
        Grid->SetCellValue(2, R, VarFromObject(Red.get()));
    }
    Grid->SetSelectionType(sltColor);
    Grid->SetSelectionColor(clLime);
    Grid->SetFocusColor(clBlue);
    struct {
        const char* Name;
        bool Select;
        int Row;
        TColor Over;
    } const Cases[] = {{"focused", false, 2, clBlue},
                       {"plain", false, 4, clRed},
                       {"selected", true, 3, clLime}};
    for (const auto& C : Cases) {
        if (C.Select) Grid->SelectCells(2, C.Row, 2, C.Row);
        Grid->Invalidate();
        Settle();
        Shot();
        const TRect R = Grid->CellRect(2, C.Row);
        int Over = 0, Picture = 0, Other = 0;
        for (int Y = R.Top + 3; Y < R.Bottom - 3; ++Y)
            for (int X = R.Left + 4; X < R.Right - 3; ++X) {
                const TColor P = At(X, Y);
                // Neighbours across differ under a checker.
                if (C.Over != clRed && P == At(X + 1, Y)) ++Other;
                else if (P == C.Over) ++Over;
                else if (P == clRed) ++Picture;
                else ++Other;
            }
        EXPECT_EQ(Other, 0) << C.Name;
        if (C.Over == clRed) EXPECT_GT(Over, 0) << C.Name;
        else EXPECT_NEAR(Over, Picture, Picture / 8 + 2) << C.Name;
    }
}

}  // namespace

namespace {

// A picture's transparent colour lets the cell show through, whether the
// bitmap or the grid names it, also under an editing grid's current cell.
class ShownPictureTransparency : public ShownGridPixels {};

TEST_F(ShownPictureTransparency, TransparentPixelsShowTheCell) {
    struct {
        const char* Name;
        bool BitmapNamesIt;
        TColor GridColour;
        bool EditingCurrent;
        bool LimeShows;
    } const Cases[] = {{"bitmap", true, clNone, false, false},
                       {"grid", false, clLime, false, false},
                       {"neither", false, clNone, false, true},
                       {"bitmap, editing current", true, clNone, true, false}};
    for (const auto& C : Cases) {
        ShowFocused(5, 5);
        if (C.EditingCurrent) {
            Grid->SetGridMode(gmEdit);
            Grid->SetAlwaysShowEditor(true);
        }
        Grid->SetStretchPicture(true);
        Grid->SetTransparentColor(C.GridColour);
        auto B = SolidSquare(clRed);
        B->Canvas()->Brush()->SetColor(clLime);
        B->Canvas()->FillRect(Rect(0, 0, 4, 8));
        if (C.BitmapNamesIt) {
            B->SetTransparentColor(clLime);
            B->SetTransparent(true);
        }
        Grid->SetCellControlType(2, 3, ctPicture);
        Grid->SetCellValue(2, 3, VarFromObject(B.get()));
        Grid->SetCol(C.EditingCurrent ? 2 : 1);
        Grid->SetRow(3);
        Grid->Invalidate();
        Settle();
        Shot();
        const TRect R = Grid->CellRect(2, 3);
        const TRect In = Rect(R.Left + 4, R.Top + 3, R.Right - 3, R.Bottom - 3);
        EXPECT_EQ(CountOf(In, clLime) > 0, C.LimeShows) << C.Name;
        EXPECT_GT(CountOf(In, clRed), 0) << C.Name;
        delete Form;
        Form = nullptr;
    }
}

}  // namespace

namespace {

// Pictures named from the grid's image list follow the list: a changed
// image repaints, a deleted list leaves the cells empty.
class ShownListPictures : public ShownGridPixels, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(ShownListPictures, CellsFollowTheImageList) {
    ShowFocused(5, 5);
    Grid->SetGridMode(GetParam().Mode);
    Grid->SetAlwaysShowEditor(GetParam().ShowEditor);
    Grid->SetStretchPicture(true);
    auto* List = new TgxImageList(Form);
    TgxImage* Image = List->GetImageCollection()->Add();
    auto Red = SolidSquare(clRed);
    Image->SetBitmap(Red.get());
    Image->SetRefName("shop");
    Grid->SetImageList(List);
    for (const int Row : {2, 3}) {
        Grid->SetCellControlType(2, Row, ctPicture);
        Grid->SetCellValue(2, Row, Variant("shop"));
    }
    Grid->SetCellControlType(2, 4, ctPicture);
    Grid->SetCellValue(2, 4, Variant("nothing of that name"));
    Grid->SetCol(2);
    Grid->SetRow(3);
    Settle();
    auto CountIn = [&](int Row, TColor C) {
        Shot();
        const TRect R = Grid->CellRect(2, Row);
        return CountOf(Rect(R.Left + 4, R.Top + 3, R.Right - 3, R.Bottom - 3), C);
    };
    for (const int Row : {2, 3}) EXPECT_GT(CountIn(Row, clRed), 0) << "named, row " << Row;
    EXPECT_EQ(CountIn(4, clRed), 0) << "unknown name";
    auto Blue = SolidSquare(clBlue);
    Image->SetBitmap(Blue.get());
    Settle();
    for (const int Row : {2, 3}) EXPECT_GT(CountIn(Row, clBlue), 0) << "changed, row " << Row;
    delete List;
    Settle();
    for (const int Row : {2, 3}) EXPECT_EQ(CountIn(Row, clBlue), 0) << "list gone, row " << Row;
}

INSTANTIATE_TEST_SUITE_P(Modes, ShownListPictures,
                         ::testing::Values(ModeCase{"Browse", gmBrowse, false},
                                           ModeCase{"EditShown", gmEdit, true}),
                         [](const auto& I) { return std::string(I.param.Name); });

}  // namespace

namespace {

// The grid's stretch setting gives way to the column's and the cell's own.
class ShownPictureOptions : public ShownGridPixels {};

TEST_F(ShownPictureOptions, OwnStretchOverridesTheGrids) {
    struct {
        const char* Name;
        bool Grid;
        TgxDrawOption Column;
        TgxDrawOption Cell;
        bool Fills;
    } const Cases[] = {{"grid off", false, dopDefault, dopDefault, false},
                       {"grid on", true, dopDefault, dopDefault, true},
                       {"column on", false, dopOn, dopDefault, true},
                       {"column off", true, dopOff, dopDefault, false},
                       {"cell on", false, dopOff, dopOn, true},
                       {"cell off", true, dopOn, dopOff, false}};
    for (const auto& C : Cases) {
        ShowFocused(5, 5);
        auto Red = SolidSquare(clRed);
        Grid->SetStretchPicture(C.Grid);
        Grid->GridCols()->Item(2)->SetStretchPicture(C.Column);
        Grid->SetCellControlType(2, 3, ctPicture);
        Grid->SetCellPicture(2, 3, 1, C.Cell);
        Grid->SetCellValue(2, 3, VarFromObject(Red.get()));
        Grid->Invalidate();
        Settle();
        Shot();
        const TRect R = Grid->CellRect(2, 3);
        const TRect In = Rect(R.Left + 3, R.Top + 1, R.Right - 2, R.Bottom - 2);
        const int All = (In.Right - In.Left) * (In.Bottom - In.Top);
        EXPECT_EQ(CountOf(In, clRed) > All * 9 / 10, C.Fills) << C.Name;
        EXPECT_GT(CountOf(In, clRed), 0) << C.Name;
        delete Form;
        Form = nullptr;
    }
}

}  // namespace

namespace {

// A raised picture cell keeps its raised edge over the picture.
class ShownRaisedPicture : public ShownGridPixels {};

TEST_F(ShownRaisedPicture, EdgeLiesOverThePicture) {
    struct {
        bool Raised;
        bool EditingCurrent;
    } const Cases[] = {{false, false}, {true, false}, {false, true}, {true, true}};
    for (const auto [Raised, EditingCurrent] : Cases) {
        ShowFocused(5, 5);
        if (EditingCurrent) {
            Grid->SetGridMode(gmEdit);
            Grid->SetAlwaysShowEditor(true);
        }
        auto Red = SolidSquare(clRed);
        Grid->SetStretchPicture(true);
        Grid->SetCellControlType(2, 3, ctPicture);
        Grid->SetCellIs3D(2, 3, Raised);
        Grid->SetCellValue(2, 3, VarFromObject(Red.get()));
        if (EditingCurrent) {
            Grid->SetCol(2);
            Grid->SetRow(3);
        }
        Grid->Invalidate();
        Settle();
        Shot();
        const TRect R = Grid->CellRect(2, 3);
        const int MidX = (R.Left + R.Right) / 2, MidY = (R.Top + R.Bottom) / 2;
        const std::string Name = std::string(Raised ? "raised" : "flat") +
                                 (EditingCurrent ? ", editing current" : "");
        EXPECT_EQ(At(MidX, MidY), clRed) << Name;
        EXPECT_EQ(At(MidX, R.Top) != clRed, Raised) << "top, " << Name;
        EXPECT_EQ(At(R.Left, MidY) != clRed, Raised) << "left, " << Name;
        delete Form;
        Form = nullptr;
    }
}

}  // namespace
