// The buttons a grid makes for its cells, their sizes and faces, and the
// links through which the grid hears of its image lists and date-time
// definitions.
#include "ShownGridPixels.h"
#include "StubDateTimeDef.h"
#include "grid/foundation/ImageList.h"
#include "grid/foundation/MaskDefs.h"
#include "grid/model/InplaceControl.h"
#include "platform/gui/tests/GuiTestSupport.h"
#include "grid/model/CellButtons.h"
#include "grid/model/Columns.h"
#include "grid/model/GridLinks.h"
#include "platform/gui/Graphics.h"

#include <memory>

using namespace grid;

namespace {

class CellButtonsLinks : public ShownGridPixels {};

struct ButtonCase {
    TgxButtonType Type;
    const char* Class;
    int FullWidth;
    int FullHeight;
};

TEST_F(CellButtonsLinks, EachTypeHasOneButtonOfItsKindAndSize) {
    ShowGrid(3, 3);
    // Grid defaults: edge 2, default face 11 x 9, spin face 11 x 9.
    const ButtonCase Cases[] = {
        {btCombo, "TgxComboButton", 15, 13},
        {btNormal, "TgxNormalButton", 15, 13},
        {btDateTimeDropDown, "TgxDateTimeButton", 15, 13},
        {btDateTimePopup, "TgxDateTimeButton", 15, 13},
        {btVertSpin, "TgxVertSpinButton", 15, 19},
        {btHorzSpin, "TgxHorzSpinButton", 19, 15},
    };
    for (const ButtonCase& C : Cases) {
        SCOPED_TRACE(C.Class);
        TgxCustomButton* B = Grid->GridCellButton(1, C.Type);
        ASSERT_NE(B, nullptr);
        EXPECT_EQ(B->ClassName(), C.Class);
        EXPECT_EQ(B->FullWidth(), C.FullWidth);
        EXPECT_EQ(B->FullHeight(), C.FullHeight);
        EXPECT_EQ(B->GetTransparentColor(), clNone);
        EXPECT_EQ(Grid->GridCellButton(2, C.Type), B) << "one per kind for the whole grid";
    }
    auto* DropDown = static_cast<TgxDateTimeButton*>(Grid->GridCellButton(1, btDateTimeDropDown));
    auto* Popup = static_cast<TgxDateTimeButton*>(Grid->GridCellButton(1, btDateTimePopup));
    EXPECT_NE(DropDown, Popup);
    EXPECT_FALSE(DropDown->Popup());
    EXPECT_TRUE(Popup->Popup());
    EXPECT_EQ(DropDown->GetBitmap(), SharedArrowBitmap());
    EXPECT_EQ(Popup->GetBitmap(), SharedDetailBitmap());
    EXPECT_TRUE(DropDown->IsDefault());
    EXPECT_TRUE(Popup->IsDefault());
    EXPECT_EQ(Grid->GridCellButton(1, btCombo)->GetBitmap(), SharedArrowBitmap());
    EXPECT_EQ(Grid->GridCellButton(1, btNormal)->GetBitmap(), SharedDetailBitmap());
}

TEST_F(CellButtonsLinks, NoneAndDefaultGiveTheComboButtonAsItStands) {
    ShowGrid(3, 3);
    EXPECT_EQ(Grid->GridCellButton(1, btNone), nullptr);
    EXPECT_EQ(Grid->GridCellButton(1, btDefault), nullptr);
    TgxCustomButton* Combo = Grid->GridCellButton(1, btCombo);
    EXPECT_EQ(Grid->GridCellButton(1, btNone), Combo);
    EXPECT_EQ(Grid->GridCellButton(1, btDefault), Combo);
}

TEST_F(CellButtonsLinks, FullSizesFollowTheEdgeWidthExceptTheSpinHalves) {
    ShowGrid(3, 3);
    Grid->SetButtonEdgeWidth(5);
    TgxVertSpinButton Vert(Grid, nullptr, clNone, 11, 8);
    EXPECT_EQ(Vert.FullHeight(), 17);
    EXPECT_EQ(Vert.FullWidth(), 21);
    TgxHorzSpinButton Horz(Grid, nullptr, clNone, 8, 11);
    EXPECT_EQ(Horz.FullWidth(), 17);
    EXPECT_EQ(Horz.FullHeight(), 21);
    Grid->SetButtonEdgeWidth(0);
    EXPECT_EQ(Vert.FullWidth(), 11);
}

TEST_F(CellButtonsLinks, AButtonOnItsOwnPictureKeepsACopy) {
    ShowGrid(3, 3);
    auto Face = std::make_unique<TBitmap>();
    Face->SetSize(7, 5);
    for (const bool DateTime : {false, true}) {
        SCOPED_TRACE(DateTime);
        std::unique_ptr<TgxCustomButton> B;
        if (DateTime)
            B = std::make_unique<TgxDateTimeButton>(Grid, Face.get(), clRed, 7, 5);
        else
            B = std::make_unique<TgxComboButton>(Grid, Face.get(), clRed, 7, 5);
        ASSERT_NE(B->GetBitmap(), nullptr);
        EXPECT_NE(B->GetBitmap(), Face.get());
        EXPECT_EQ(B->GetBitmap()->Width(), 7);
        EXPECT_FALSE(B->IsDefault());
        EXPECT_EQ(B->GetTransparentColor(), clRed);
        if (DateTime) EXPECT_FALSE(static_cast<TgxDateTimeButton*>(B.get())->Popup());
    }
    // The copy is the button's: the picture it was made from may go first.
    TgxNormalButton Normal(Grid, Face.get(), clNone, 7, 5);
    Face.reset();
    EXPECT_EQ(Normal.GetBitmap()->Height(), 5);
    // On the shared face the button keeps nothing of its own.
    TgxComboButton Stock(Grid, SharedArrowBitmap(), clNone, 11, 9);
    EXPECT_FALSE(Stock.OwnsBitmap());
    EXPECT_TRUE(Stock.IsDefault());
}

TEST_F(CellButtonsLinks, TheColumnsOwnButtonStandsForTheNormalButtonOfItsCells) {
    ShowGrid(3, 3);
    TBitmap Face;
    Face.SetSize(6, 6);
    Grid->GetCol(2)->CreateButton(&Face, clNone, 6, 6);
    EXPECT_EQ(Grid->GridCellButton(Grid->GetDisplayCol(2), btNormal), Grid->GetCol(2)->Button());
    TgxCustomButton* Stock = Grid->GridCellButton(Grid->GetDisplayCol(1), btNormal);
    EXPECT_NE(Stock, Grid->GetCol(2)->Button());
    EXPECT_EQ(Stock->GetBitmap(), SharedDetailBitmap());
}

TEST_F(CellButtonsLinks, DefaultButtonsReplacedAndRestored) {
    ShowGrid(3, 3);
    TBitmap Face;
    Face.SetSize(20, 12);
    Grid->CreateDefaultButton(&Face, clBlue, 20, 12);
    Grid->CreateDefaultCombo(&Face, clBlue, 20, 12);
    for (const TgxButtonType T : {btNormal, btCombo}) {
        TgxCustomButton* B = Grid->GridCellButton(1, T);
        EXPECT_EQ(B->GetWidth(), 20);
        EXPECT_EQ(B->GetHeight(), 12);
        EXPECT_EQ(B->GetTransparentColor(), clBlue);
        EXPECT_FALSE(B->IsDefault());
    }
    Grid->DestroyDefaultButton();
    Grid->DestroyDefaultCombo();
    for (const TgxButtonType T : {btNormal, btCombo}) {
        TgxCustomButton* B = Grid->GridCellButton(1, T);
        EXPECT_EQ(B->GetWidth(), 11);
        EXPECT_TRUE(B->IsDefault());
    }
}

// A definition removed while grid, column, row and cell still name it
// leaves none of them pointing at it.
TEST_F(CellButtonsLinks, ADeletedDateTimeDefinitionIsForgottenEverywhere) {
    ShowGrid(3, 3);
    auto* Def = new StubDateTimeDef(nullptr);
    Grid->SetDateTimeDef(Def);
    Grid->GetCol(1)->SetDateTimeDef(Def);
    Grid->SetRowDateTimeDef(2, Def);
    Grid->SetCellDateTimeDef(3, 3, Def);
    delete Def;
    EXPECT_EQ(Grid->DateTimeDef(), nullptr);
    EXPECT_EQ(Grid->GetCol(1)->DateTimeDef(), nullptr);
    EXPECT_EQ(Grid->GetRowDateTimeDef(2), nullptr);
    EXPECT_EQ(Grid->GetCellDateTimeDef(3, 3), nullptr);
}

TEST_F(CellButtonsLinks, AGridGoneBeforeItsDefinitionLeavesNoLink) {
    EnsureQtApplication();
    auto Def = std::make_unique<StubDateTimeDef>(nullptr);
    {
        TgxGrid Temp(nullptr);
        Temp.SetDateTimeDef(Def.get());
        Temp.GetCol(1)->SetDateTimeDef(Def.get());
    }
    Def.reset(); // would tell the grid that went, were its link kept
}

TEST_F(CellButtonsLinks, AnImageListThatGoesIsDroppedAndAChangedImageRepaints) {
    ShowFocused(3, 3);
    auto* List = new TgxImageList(nullptr);
    TgxImage* Image = List->GetImageCollection()->Add();
    Image->SetRefName("dot");
    TBitmap Face;
    Face.SetSize(12, 12);
    Face.Canvas()->Brush()->SetColor(clRed);
    Face.Canvas()->FillRect(Rect(0, 0, 12, 12));
    Image->SetBitmap(&Face);
    Grid->SetImageList(List);
    Grid->GetCol(1)->SetControlType(ctPicture);
    Grid->SetCellValue(1, 1, Variant(AnsiString("dot")));
    const TRect Cell = Grid->CellRect(Grid->GetDisplayCol(1), Grid->GetDisplayRow(1));
    Shot();
    EXPECT_GT(CountOf(Cell, clRed), 0);
    EXPECT_EQ(CountOf(Cell, clLime), 0);
    Face.Canvas()->Brush()->SetColor(clLime);
    Face.Canvas()->FillRect(Rect(0, 0, 12, 12));
    Image->SetBitmap(&Face);
    Shot();
    EXPECT_GT(CountOf(Cell, clLime), 0) << "the grid repaints a changed image";
    delete List;
    EXPECT_EQ(Grid->ImageList(), nullptr);
    Shot();
    EXPECT_EQ(CountOf(Cell, clLime), 0);
}


TEST_F(CellButtonsLinks, StockButtonsFollowTheGridsButtonSizes) {
    ShowGrid(3, 3);
    for (const TgxButtonType T : {btCombo, btNormal, btVertSpin, btHorzSpin})
        Grid->GridCellButton(1, T);
    Grid->SetDefaultButtonWidth(15);
    Grid->SetDefaultButtonHeight(12);
    Grid->SetSpinButtonWidth(13);
    Grid->SetSpinButtonHeight(7);
    EXPECT_EQ(Grid->GridCellButton(1, btCombo)->FullWidth(), 19);
    EXPECT_EQ(Grid->GridCellButton(1, btNormal)->FullHeight(), 16);
    EXPECT_EQ(Grid->GridCellButton(1, btVertSpin)->FullWidth(), 17);
    EXPECT_EQ(Grid->GridCellButton(1, btVertSpin)->FullHeight(), 15);
    EXPECT_EQ(Grid->GridCellButton(1, btHorzSpin)->FullWidth(), 15);
    EXPECT_EQ(Grid->GridCellButton(1, btHorzSpin)->FullHeight(), 17);
}


// The editor of a masked cell checks typed keys against the grid's masks;
// the masks going away must leave it checking nothing, not freed memory.
TEST_F(CellButtonsLinks, MaskDefinitionsThatGoLeaveTheEditorWithout) {
    ShowGrid(3, 3);
    ShowActive(*Form);
    QApplication::processEvents();
    Grid->SetFocus();
    auto* Masks = new TgxMaskDefs(nullptr);
    TgxMask* Digits = Masks->Masks()->Add();
    Digits->SetName("digits");
    Digits->SetPicture("#####");
    Grid->SetMaskDefs(Masks);
    Grid->GetCol(2)->SetMaskName("digits");
    Grid->SetCurrentCell(1, 1);
    Grid->SetCurrentCell(2, 1);
    QApplication::processEvents();
    EXPECT_EQ(Grid->GridControl()->GetMaskDefs(), Masks);
    delete Masks;
    EXPECT_EQ(Grid->GetMaskDefs(), nullptr);
    EXPECT_EQ(Grid->GridControl()->GetMaskDefs(), nullptr);
    TypeText(Grid->GridControl()->GetHandle()->Widget(), "a1");
    QApplication::processEvents();
}

} // namespace
